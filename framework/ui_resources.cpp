#include "framework/ui_resources.h"

namespace {

const UiResources* s_current = nullptr;

} // namespace

const UiResources& UiResources::Current()
{
    static const BundleResources bundle;
    return s_current ? *s_current : bundle;
}

void UiResources::SetCurrent(const UiResources* resources)
{
    s_current = resources;
}

QString BundleResources::String(int id) const
{
    return ResourceLibrary::Instance().String(id);
}

QVector<MenuItem> BundleResources::Menu(int id) const
{
    return ResourceLibrary::Instance().Menu(id);
}

std::optional<ToolBarSpec> BundleResources::ToolBar(int id) const
{
    return ResourceLibrary::Instance().ToolBar(id);
}

QVector<QPixmap> BundleResources::ImageList(int id, int width) const
{
    return ResourceLibrary::Instance().ImageList(id, width);
}

QIcon BundleResources::Icon(int id) const
{
    return ResourceLibrary::Instance().Icon(id);
}

std::optional<ToolBarSpec> MemoryResources::ToolBar(int id) const
{
    auto it = m_toolBars.find(id);
    if (it == m_toolBars.end()) {
        return std::nullopt;
    }
    return *it;
}

QVector<QPixmap> MemoryResources::ImageList(int id, int width) const
{
    Q_UNUSED(width);
    return m_images.value(id);
}

MenuItem MenuCommand(const QString& text, int id)
{
    MenuItem item;
    item.text = text;
    item.id = id;
    return item;
}

MenuItem MenuPopup(const QString& text, const QVector<MenuItem>& items)
{
    MenuItem item;
    item.text = text;
    item.items = items;
    return item;
}

MenuItem MenuSeparator()
{
    MenuItem item;
    item.separator = true;
    return item;
}
