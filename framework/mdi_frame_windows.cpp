// The window menu of the main window: arranging the child frames, the list
// of open windows, and the recent files that the file menus carry.

#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/framework_strings.h"
#include "framework/mdi_frame.h"
#include "framework/menu_builder.h"
#include "framework/prompts.h"
#include "framework/recent_files.h"
#include "framework/standard_ids.h"
#include "framework/view.h"

#include <QMdiArea>
#include <QMenu>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace {

const char* const kDynamicProperty = "kaleidraDynamic";
constexpr int kListedWindows = 9;

bool IsWindowMenu(const QMenu* menu)
{
    for (const QAction* action : menu->actions()) {
        const int id = CommandRouter::CommandId(action);
        if ((id >= Cmd::WindowNew && id <= Cmd::WindowTileVert) || id == Cmd::NextWindow ||
            id == Cmd::PrevWindow)
            return true;
    }
    return false;
}

void RemoveDynamicActions(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (action->property(kDynamicProperty).toBool()) {
            menu->removeAction(action);
            delete action;
        }
    }
}

// Splits `length` into `count` parts whose sizes differ by at most one and
// add up to `length`, so tiled windows fill the area exactly.
int PartStart(int length, int count, int index)
{
    return static_cast<int>(static_cast<long long>(length) * index / count);
}

} // namespace

QList<ChildFrame*> MdiFrame::Frames() const
{
    QList<ChildFrame*> frames;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* frame = qobject_cast<ChildFrame*>(window); frame && frame->isVisible())
            frames.append(frame);
    }
    return frames;
}

QList<ChildFrame*> MdiFrame::VisibleFrames() const
{
    QList<ChildFrame*> frames;
    for (ChildFrame* frame : Frames()) {
        if (!frame->isMinimized())
            frames.append(frame);
    }
    return frames;
}

void MdiFrame::Cascade()
{
    // Each window two thirds of the area, each one a title bar lower and to
    // the right of the one before, starting over at the corner when the
    // next would leave the area: every window keeps a usable size and every
    // title bar stays in reach.
    const QList<ChildFrame*> frames = VisibleFrames();
    if (frames.isEmpty()) {
        return;
    }
    QMdiSubWindow* active = m_mdiArea->activeSubWindow();
    for (ChildFrame* frame : frames) {
        if (frame->isMaximized()) {
            frame->showNormal();
        }
    }
    const QRect area = m_mdiArea->viewport()->rect();
    const QSize size(std::max(area.width() * 2 / 3, frames.first()->minimumSizeHint().width()),
                     std::max(area.height() * 2 / 3, frames.first()->minimumSizeHint().height()));
    const int step = std::max(
        frames.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frames.first()),
        8);
    const int room = std::min(area.width() - size.width(), area.height() - size.height());
    const int places = std::max(room / step + 1, 1);
    for (int i = 0; i < static_cast<int>(frames.size()); ++i) {
        const int offset = (i % places) * step;
        frames[i]->setGeometry(QRect(QPoint(offset, offset), size));
        frames[i]->raise();
    }
    // The window the user worked in stays the active one, on top.
    if (active != nullptr && active->isVisible() && !active->isMinimized()) {
        active->raise();
        m_mdiArea->setActiveSubWindow(active);
    }
}

void MdiFrame::TileVertically()
{
    const QList<ChildFrame*> frames = VisibleFrames();
    if (frames.isEmpty())
        return;
    for (ChildFrame* frame : frames) {
        if (frame->isMaximized())
            frame->showNormal();
    }
    const QRect area = m_mdiArea->viewport()->rect();
    const int count = static_cast<int>(frames.size());
    for (int i = 0; i < count; ++i) {
        const int left = PartStart(area.width(), count, i);
        const int right = PartStart(area.width(), count, i + 1);
        frames[i]->setGeometry(left, 0, right - left, area.height());
    }
}

void MdiFrame::TileHorizontally()
{
    const QList<ChildFrame*> frames = VisibleFrames();
    if (frames.isEmpty())
        return;
    for (ChildFrame* frame : frames) {
        if (frame->isMaximized())
            frame->showNormal();
    }
    const QRect area = m_mdiArea->viewport()->rect();
    const int count = static_cast<int>(frames.size());
    for (int i = 0; i < count; ++i) {
        const int top = PartStart(area.height(), count, i);
        const int bottom = PartStart(area.height(), count, i + 1);
        frames[i]->setGeometry(0, top, area.width(), bottom - top);
    }
}

void MdiFrame::ArrangeIcons()
{
    const QRect area = m_mdiArea->viewport()->rect();
    int x = 0;
    int y = area.height();
    for (ChildFrame* frame : Frames()) {
        if (!frame->isMinimized())
            continue;
        const QSize size = frame->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        if (x == 0 && y == area.height())
            y -= size.height();
        frame->move(x, y);
        x += size.width();
    }
}

void MdiFrame::ActivateNext()
{
    m_mdiArea->activateNextSubWindow();
}

void MdiFrame::ActivatePrevious()
{
    m_mdiArea->activatePreviousSubWindow();
}

void MdiFrame::ActivateWindowListEntry(int index)
{
    const QList<ChildFrame*> frames = Frames();
    if (index == MdiFrame::kWindowListLast - MdiFrame::kWindowListFirst) {
        // "More Windows...": every window to choose from.
        QStringList titles;
        for (ChildFrame* frame : frames)
            titles.append(frame->windowTitle());
        index = Prompts::Current().ChooseItem(Application::DialogParent(),
                                              FrameworkText(FrameworkString::SelectWindowCaption),
                                              QString(), titles);
    }
    if (index >= 0 && index < frames.size())
        ActivateFrame(frames[index]);
}

void MdiFrame::RefreshWindowList(QMenu* menu)
{
    if (!IsWindowMenu(menu))
        return;
    RemoveDynamicActions(menu);
    const QList<ChildFrame*> frames = Frames();
    if (frames.isEmpty())
        return;
    QAction* separator = menu->addSeparator();
    separator->setProperty(kDynamicProperty, true);
    const int listed = std::min(static_cast<int>(frames.size()), kListedWindows);
    for (int i = 0; i <= listed; ++i) {
        QString text;
        if (i < listed) {
            QString title = frames[i]->windowTitle();
            title.replace(QLatin1Char('&'), QStringLiteral("&&"));
            text = QStringLiteral("&%1 %2").arg(i + 1).arg(title);
        } else if (frames.size() > kListedWindows) {
            text = FrameworkText(FrameworkString::MoreWindows);
        } else {
            break;
        }
        const int id = i < listed ? MdiFrame::kWindowListFirst + i : MdiFrame::kWindowListLast;
        auto* action = new QAction(text, menu);
        action->setProperty(kDynamicProperty, true);
        menu->addAction(action);
        m_router->Bind(action, id);
    }
}

void MdiFrame::RefreshRecentFiles(QMenu* menu)
{
    QAction* placeholder = nullptr;
    for (QAction* action : menu->actions()) {
        if (CommandRouter::CommandId(action) == Cmd::FileMruFirst &&
            !action->property(kDynamicProperty).toBool()) {
            placeholder = action;
            break;
        }
    }
    if (!placeholder)
        return;
    RemoveDynamicActions(menu);
    Application* app = Application::Instance();
    if (!app)
        return;
    const RecentFileList& recent = app->RecentFiles();
    const int count = std::min(recent.Size(), Cmd::FileMruLast - Cmd::FileMruFirst + 1);
    for (int i = 0; i < count; ++i) {
        auto* action = new QAction(recent.MenuText(i), menu);
        action->setProperty(kDynamicProperty, true);
        action->setStatusTip(CommandStringsFor(Cmd::FileMruFirst + i).statusTip);
        menu->insertAction(placeholder, action);
        m_router->Bind(action, Cmd::FileMruFirst + i);
    }
    // The bundle's entry stands in for an empty list, disabled.
    placeholder->setVisible(count == 0);
}
