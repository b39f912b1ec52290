#pragma once

// The language resource library: everything the user reads or sees (strings,
// menus, tool bars, document strings, bitmaps, icons, the manual, a version
// record), looked up by number in the bundle "kaleidra-<code>.rcc" chosen at
// start-up. Only the message for a missing bundle is built into the program.
//
// Bundle layout (resource paths below ":/kaleidra/"):
//   strings.json    { "<number>": "text", ... }       strings, document strings,
//                                                     dialog texts, tool tips, status texts
//   menus.json      { "<number>": [ MenuItem, ... ] } top-level entries of each menu
//                   MenuItem: { "text": "&Open...\tCtrl+O", "id": 57601 }
//                           | { "separator": true }
//                           | { "text": "&File", "items": [ MenuItem, ... ] }
//   toolbars.json   { "<number>": { "bitmap": <number>, "buttons": [ id or 0 for a separator ] } }
//                   the bitmap is a strip of 16x16 images, one per non-separator button
//   bitmaps/<number>.png   image strips; pure green (0x00FF00) is transparent
//   icons/<number>.png
//   manual/index.html (+ files it links)
//   version.json    { "ProductName": ..., "FileDescription": ..., "ProductVersion": ...,
//                     "FileVersion": ..., "CompanyName": ..., "LegalCopyright": ...,
//                     "PrivateBuild": ..., "SpecialBuild": ..., "Version": [a, b, c, d] }
//
// Only the interface thread uses it.

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

struct MenuItem {
    QString text;   // with '&' mnemonics and an optional "\t<shortcut>"
    int id = 0;     // the command issued; 0 for a sub-menu or a separator
    bool separator = false;
    QVector<MenuItem> items; // a sub-menu when not empty
};

struct ToolBarSpec {
    int bitmap = 0;
    QVector<int> buttons; // command ids, 0 = separator
};

class ResourceLibrary {
public:
    // The bundle's file name for a language code ("kaleidra-fr.rcc").
    static QString BundleName(const QString& code);

    // Looks the bundle up (case-insensitively) beside the executable, in the
    // build tree and in ../share/kaleidra/, registers it and reads its
    // tables. False when it cannot be found or read.
    bool Load(const QString& code);
    void Unload();
    bool IsLoaded() const { return !m_path.isEmpty(); }
    QString Path() const { return m_path; }
    QString Code() const { return m_code; }

    // The text of a string number, or an empty string when it is missing.
    QString String(int id) const;
    bool HasString(int id) const { return m_strings.contains(id); }
    QVector<MenuItem> Menu(int id) const;
    std::optional<ToolBarSpec> ToolBar(int id) const;
    // A bitmap as stored; ImageList cuts a strip into images of `width`
    // pixels with pure green made transparent.
    QImage Bitmap(int id) const;
    QVector<QPixmap> ImageList(int id, int width) const;
    QIcon Icon(int id) const;
    // The manual's entry page as a resource path.
    QString ManualPath() const;
    QJsonObject Version() const;

    // Every number the bundle defines, per table, for consistency checks.
    QList<int> StringIds() const { return m_strings.keys(); }
    QList<int> MenuIds() const;
    QList<int> ToolBarIds() const;
    QList<int> BitmapIds() const;
    QList<int> IconIds() const;

    // The library of the running program.
    static ResourceLibrary& Instance();

private:
    QString m_path;
    QString m_code;
    QHash<int, QString> m_strings;
    QJsonObject m_menus;
    QJsonObject m_toolbars;
    QJsonObject m_version;
};

// Shorthand for ResourceLibrary::Instance().String(id).
QString Tr(int id);
