#pragma once

// The language resource library: everything the user reads or sees (strings,
// menus, tool bars, document strings, bitmaps, icons, the manual, a version
// record), looked up by number in the bundle "kaleidra-<code>.rcc" chosen at
// start-up. Only the message for a missing bundle is built into the program.
// The numbers are in resource_ids.h and command_ids.h.
//
// Bundle layout (resource paths below ":/kaleidra/"):
//   strings.json    { "<number>": "text", ... }       strings, document strings,
//                                                     dialog texts, tool tips, status texts
//   menus.json      { "<number>": [ MenuItem, ... ] } top-level entries of each menu
//                   MenuItem: { "text": "&Open...\tCtrl+O", "id": 57601 }
//                           | { "separator": true }
//                           | { "text": "&File", "items": [ MenuItem, ... ] }
//                   a pop-up menu is a menu whose first entry is a sub-menu
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
#include <QJsonObject>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

struct MenuItem
{
    QString text; // with '&' mnemonics and an optional "\t<shortcut>"
    int id = 0;   // the command issued; 0 for a sub-menu or a separator
    bool separator = false;
    QVector<MenuItem> items; // a sub-menu when not empty

    // The text before the tab, and the shortcut after it in the portable form
    // QKeySequence understands ("Ctrl+O"); empty when there is none.
    QString Caption() const { return text.section(QLatin1Char('\t'), 0, 0); }
    QString Shortcut() const { return text.section(QLatin1Char('\t'), 1); }
};

struct ToolBarSpec
{
    int bitmap = 0;
    QVector<int> buttons; // command ids, 0 = separator
};

class ResourceLibrary
{
public:
    // The bundle's file name for a language code ("kaleidra-fr.rcc"). The code
    // keeps its case; the lookup ignores it.
    static QString BundleName(const QString& code);

    // Looks the bundle up (case-insensitively) beside the executable, in the
    // build tree and in ../share/kaleidra/, registers it and reads its
    // tables. False when the code is not a plain language code or the bundle
    // cannot be found or read; a library that was loaded stays loaded then.
    bool Load(const QString& code);
    void Unload();
    bool IsLoaded() const { return !m_path.isEmpty(); }
    QString Path() const { return m_path; }
    QString Code() const { return m_code; }

    // Where Load looks, in order: the executable's folder, the build tree (the
    // folder named by the environment variable KALEIDRA_BUNDLE_DIR, then those
    // added here), ../share/kaleidra beside the executable.
    static QStringList SearchDirectories();
    static void AddBuildDirectory(const QString& dir);

    // The text of a string number, or an empty string when it is missing.
    QString String(int id) const;
    bool HasString(int id) const { return m_strings.contains(id); }
    // Status text and tool tip of a command: the two halves of string `id`
    // around its first line feed (the tool tip is empty when there is none).
    QString StatusText(int id) const;
    QString ToolTip(int id) const;
    // One field of the document string of a document type (130 to 136).
    QString DocString(int id, int field) const;

    // The entries of a menu; empty when the bundle has no such menu.
    QVector<MenuItem> Menu(int id) const;
    std::optional<ToolBarSpec> ToolBar(int id) const;
    // A bitmap as stored (null when missing); ImageList cuts a strip into
    // images of `width` pixels (a partial image at the end is dropped) with
    // pure green made transparent.
    QImage Bitmap(int id) const;
    QVector<QPixmap> ImageList(int id, int width) const;
    QIcon Icon(int id) const;
    // The manual's entry page as a resource path (under the bundle's own root);
    // empty while no bundle is loaded.
    QString ManualPath() const;
    // Copies the manual's files into `dir` (created when needed) so that a
    // browser can open them; returns the local path of the entry page, or an
    // empty string when nothing could be written.
    QString ExtractManual(const QString& dir) const;
    // The version record; empty when the bundle carries none.
    QJsonObject Version() const { return m_version; }

    // Every number the bundle defines, per table, ascending, for consistency checks.
    QList<int> StringIds() const;
    QList<int> MenuIds() const;
    QList<int> ToolBarIds() const;
    QList<int> BitmapIds() const;
    QList<int> IconIds() const;

    // The library of the running program.
    static ResourceLibrary& Instance();

    // A library of its own, registered under a resource root of its own, so
    // that several languages can be open at once (the tests compare them).
    ResourceLibrary();
    ~ResourceLibrary();
    ResourceLibrary(const ResourceLibrary&) = delete;
    ResourceLibrary& operator=(const ResourceLibrary&) = delete;

private:
    struct SharedRoot
    {
    };
    explicit ResourceLibrary(SharedRoot);
    QString ResourcePath(const QString& relative) const;

    bool m_sharedRoot = false; // the program's library also answers under ":/kaleidra/"
    QString m_root;            // the bundle's own resource root
    QString m_path;
    QString m_code;
    QByteArray m_data; // the registered bundle; must outlive its registration
    QHash<int, QString> m_strings;
    QHash<int, QVector<MenuItem>> m_menus;
    QHash<int, ToolBarSpec> m_toolbars;
    QJsonObject m_version;
};

// Shorthand for ResourceLibrary::Instance().String(id).
QString Tr(int id);
