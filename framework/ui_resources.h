#pragma once

// Where the document/view layer reads what the user sees: strings, menus,
// tool bars, image lists and icons, all by number. In the program this is
// the language bundle (ResourceLibrary); tests and tools install an
// in-memory table instead, so that nothing here needs a bundle on disk.
//
// Only the interface thread uses it.

#include "framework/resource_library.h"

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QVector>

#include <optional>

class UiResources
{
public:
    virtual ~UiResources() = default;

    // The text of string `id`, empty when the source has none.
    virtual QString String(int id) const = 0;
    // The top-level entries of menu `id`, empty when there is none.
    virtual QVector<MenuItem> Menu(int id) const = 0;
    virtual std::optional<ToolBarSpec> ToolBar(int id) const = 0;
    // Bitmap `id` cut into images `width` pixels wide, pure green transparent.
    virtual QVector<QPixmap> ImageList(int id, int width) const = 0;
    virtual QIcon Icon(int id) const = 0;

    // The source in use: the one installed with SetCurrent, else the
    // language bundle of the running program.
    static const UiResources& Current();
    // Installs `resources` (not owned; nullptr goes back to the bundle).
    static void SetCurrent(const UiResources* resources);
};

// The language bundle as a source.
class BundleResources : public UiResources
{
public:
    QString String(int id) const override;
    QVector<MenuItem> Menu(int id) const override;
    std::optional<ToolBarSpec> ToolBar(int id) const override;
    QVector<QPixmap> ImageList(int id, int width) const override;
    QIcon Icon(int id) const override;
};

// A table filled by hand; what tests use.
class MemoryResources : public UiResources
{
public:
    void SetString(int id, const QString& text) { m_strings[id] = text; }
    void SetMenu(int id, const QVector<MenuItem>& items) { m_menus[id] = items; }
    void SetToolBar(int id, const ToolBarSpec& spec) { m_toolBars[id] = spec; }
    // Images of the given bitmap, already cut.
    void SetImages(int id, const QVector<QPixmap>& images) { m_images[id] = images; }
    void SetIcon(int id, const QIcon& icon) { m_icons[id] = icon; }

    QString String(int id) const override { return m_strings.value(id); }
    QVector<MenuItem> Menu(int id) const override { return m_menus.value(id); }
    std::optional<ToolBarSpec> ToolBar(int id) const override;
    QVector<QPixmap> ImageList(int id, int width) const override;
    QIcon Icon(int id) const override { return m_icons.value(id); }

private:
    QHash<int, QString> m_strings;
    QHash<int, QVector<MenuItem>> m_menus;
    QHash<int, ToolBarSpec> m_toolBars;
    QHash<int, QVector<QPixmap>> m_images;
    QHash<int, QIcon> m_icons;
};

// Shorthands for menu items, mostly for tests and fixed menus.
MenuItem MenuCommand(const QString& text, int id);
MenuItem MenuPopup(const QString& text, const QVector<MenuItem>& items);
MenuItem MenuSeparator();
