#include "app/start_options.h"

#include "engine/presets.h"

#include <algorithm>

namespace {

struct LanguageName
{
    const char* name;
    LanguageSwitch language;
};

// Each name is compared over its full length, so "/fren" is no switch of
// ours while "/frenchy" still is one.
constexpr LanguageName kLanguageNames[] = {
    {"french", LanguageSwitch::French},
    {"english", LanguageSwitch::English},
    {"german", LanguageSwitch::German},
    {"spanish", LanguageSwitch::Spanish},
};

bool IsBareName(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 128 && c.isLetter();
    });
}

// "KIND:INDEX" of an existing preset.
bool ParsePreset(const QString& text, PresetChoice& choice)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 2) {
        return false;
    }
    bool kindOk = false;
    bool indexOk = false;
    choice.kind = parts[0].trimmed().toInt(&kindOk);
    choice.index = parts[1].trimmed().toInt(&indexOk);
    return kindOk && indexOk && choice.kind >= 0 && choice.kind < kKindCount && choice.index >= 0 &&
           choice.index < PresetCount(choice.kind);
}

} // namespace

QString SwitchName(const QString& argument)
{
    if (argument.startsWith(QLatin1String("--"))) {
        return argument.mid(2);
    }
    if (argument.startsWith(QLatin1Char('-'))) {
        return argument.mid(1);
    }
    if (argument.startsWith(QLatin1Char('/')) && IsBareName(QStringView(argument).mid(1))) {
        return argument.mid(1);
    }
    return {};
}

LanguageSwitch LanguageOfSwitch(const QString& name)
{
    for (const LanguageName& entry : kLanguageNames) {
        if (name.startsWith(QLatin1String(entry.name), Qt::CaseInsensitive)) {
            return entry.language;
        }
    }
    return LanguageSwitch::None;
}

StartOptions ParseStartOptions(const QStringList& arguments)
{
    StartOptions options;
    // After "/pt": the file, then the printer, then driver and port (which
    // only the shell fills in and which mean nothing here).
    enum class PrintTo
    {
        None,
        File,
        Printer,
        Driver,
        Port
    };
    PrintTo printTo = PrintTo::None;

    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        QString name = SwitchName(argument);
        if (name.isEmpty()) {
            switch (printTo) {
            case PrintTo::None:
            case PrintTo::File:
                options.files.append(argument);
                printTo = printTo == PrintTo::File ? PrintTo::Printer : PrintTo::None;
                break;
            case PrintTo::Printer:
                options.printerName = argument;
                printTo = PrintTo::Driver;
                break;
            case PrintTo::Driver:
                printTo = PrintTo::Port;
                break;
            case PrintTo::Port:
                printTo = PrintTo::None;
                break;
            }
            continue;
        }
        printTo = PrintTo::None;

        if (const LanguageSwitch language = LanguageOfSwitch(name);
            language != LanguageSwitch::None) {
            options.language = language;
            continue;
        }

        // Own options take their value from "name=value" or the next argument.
        QString value;
        bool hasValue = false;
        if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
            hasValue = true;
        }
        const QString lower = name.toLower();
        const auto takeValue = [&]() {
            if (!hasValue && i + 1 < arguments.size()) {
                value = arguments[++i];
                hasValue = true;
            }
            return hasValue && !value.isEmpty();
        };

        if (lower == QLatin1String("p") || lower == QLatin1String("print")) {
            options.print = true;
        } else if (lower == QLatin1String("pt") || lower == QLatin1String("printto")) {
            options.print = true;
            printTo = PrintTo::File;
        } else if (lower == QLatin1String("unattended")) {
            options.unattended = true;
        } else if (lower == QLatin1String("preset")) {
            PresetChoice choice;
            if (takeValue() && ParsePreset(value, choice)) {
                options.presets.append(choice);
            } else {
                options.errors.append(argument + (hasValue ? QLatin1Char(' ') + value : QString()));
            }
        } else if (lower == QLatin1String("screenshot")) {
            if (takeValue()) {
                options.screenshotPath = value;
            } else {
                options.errors.append(argument);
            }
        }
        // Any other switch belongs to the shell or the toolkit: ignored.
    }
    return options;
}

QString LanguageCodeFor(LanguageSwitch language, const QLocale& locale)
{
    switch (language) {
    case LanguageSwitch::English:
        return QStringLiteral("en");
    case LanguageSwitch::French:
        return QStringLiteral("fr");
    case LanguageSwitch::German:
        return QStringLiteral("de");
    case LanguageSwitch::Spanish:
        return QStringLiteral("es");
    case LanguageSwitch::None:
        break;
    }
    // "de_DE" gives "DE"; the "C" locale gives "C", which no bundle matches.
    return locale.name().left(2).toUpper();
}

QStringList LanguageCodesToTry(LanguageSwitch language, const QString& code)
{
    QStringList codes{code};
    if (language == LanguageSwitch::None &&
        code.compare(QLatin1String("en"), Qt::CaseInsensitive) != 0) {
        codes.append(QStringLiteral("en"));
    }
    return codes;
}

QString MissingBundleMessage(const QString& bundleFileName)
{
    return QStringLiteral("Cannot find resource DLL (%1)").arg(bundleFileName);
}
