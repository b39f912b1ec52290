#pragma once

// What the command line asks of a start: the language, the files to open or
// print, and the options of unattended runs (presets to open, a screenshot
// to write). Parsing is kept apart from the application object so that every
// rule here can be checked without starting anything.
//
// Switches may be written "/name", "-name" or "--name", in any letter case.
// A language switch matches when the switch begins with the language's name
// ("/FRENCH", "--french", "-englishman" all count), as users of the shell
// verbs expect. Every other argument is a file: opened, or printed when a
// print switch ("/p", "--print") appears anywhere on the line.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

enum class LanguageSwitch
{
    None = 0,
    English = 1,
    French = 2,
    German = 3,
    Spanish = 4
};

struct PresetChoice
{
    int kind = 0;
    int index = 0;
    friend bool operator==(const PresetChoice&, const PresetChoice&) = default;
};

struct StartOptions
{
    LanguageSwitch language = LanguageSwitch::None;
    // Files named on the line, in order.
    QStringList files;
    // The line asked to print the files (and then to end).
    bool print = false;
    // "/pt FILE PRINTER [DRIVER PORT]": the printer to print on; empty for
    // the default one.
    QString printerName;
    // Own options of unattended runs.
    QVector<PresetChoice> presets; // "--preset KIND:INDEX", repeatable
    QString screenshotPath;        // "--screenshot PATH"
    bool unattended = false;       // "--unattended": no dialog waits for anybody
    // Options whose value was missing or malformed, in the user's words.
    QStringList errors;
};

// Parses the arguments after the program's name.
StartOptions ParseStartOptions(const QStringList& arguments);

// The switch's name without its "/", "-" or "--", or an empty string when
// `argument` is not a switch. A "/" only makes a switch of a bare name: an
// absolute path stays a file.
QString SwitchName(const QString& argument);

// The language a switch selects; None for any other switch.
LanguageSwitch LanguageOfSwitch(const QString& name);

// The language code of a start: "en", "fr", "de" or "es" from a switch,
// otherwise the locale's two-letter language in capitals ("DE").
QString LanguageCodeFor(LanguageSwitch language, const QLocale& locale);

// The codes to try in order: the chosen one, then English when the code came
// from the locale (a desktop in a language without a bundle still starts).
// A language asked for by a switch is never replaced by another.
QStringList LanguageCodesToTry(LanguageSwitch language, const QString& code);

// The message shown when no bundle can be found: the one text built into the
// program, since there is no bundle to take it from.
QString MissingBundleMessage(const QString& bundleFileName);
