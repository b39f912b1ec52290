#include "framework/mdi_frame.h"

#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/framework_strings.h"
#include "framework/menu_builder.h"
#include "framework/standard_ids.h"
#include "framework/ui_resources.h"
#include "framework/view.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

namespace {

const char* const kWantedProperty = "kaleidraWanted";

QStringList LocalFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.append(url.toLocalFile());
        }
    }
    return files;
}

} // namespace

MdiFrame::MdiFrame(int resourceId, QWidget* parent) : QMainWindow(parent), m_resourceId(resourceId)
{
    // The title: the application title, else the first field of the main
    // window's own string.
    m_title = UiResources::Current().String(FrameworkString::AppTitle);
    if (m_title.isEmpty()) {
        m_title = UiResources::Current().String(resourceId).section(QLatin1Char('\n'), 0, 0);
    }
    if (m_title.isEmpty()) {
        m_title = FrameworkText(FrameworkString::AppTitle);
    }
    setWindowTitle(m_title);
    setWindowIcon(UiResources::Current().Icon(resourceId));
    setAcceptDrops(true);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MdiFrame::OnSubWindowActivated);

    m_router = new CommandRouter([this] { return CommandChain(); }, this);
    connect(qApp, &QApplication::focusChanged, this, [this] { RequestUpdateActions(); });

    const auto anyFrame = [this](CommandState& state) { state.Enable(!Frames().isEmpty()); };
    AddCommand(
        Cmd::WindowNew,
        [this] {
            Document* document = ActiveDocument();
            DocTemplate* docTemplate = document ? document->Template() : nullptr;
            if (!docTemplate) {
                return;
            }
            if (ChildFrame* frame = docTemplate->CreateNewFrame(document)) {
                docTemplate->InitialUpdateFrame(frame);
            }
        },
        [this](CommandState& state) {
            state.Enable(ActiveDocument() && ActiveDocument()->Template());
        });
    AddCommand(
        Cmd::WindowArrange, [this] { ArrangeIcons(); }, anyFrame);
    AddCommand(
        Cmd::WindowCascade, [this] { Cascade(); }, anyFrame);
    AddCommand(
        Cmd::WindowTileHorz, [this] { TileHorizontally(); }, anyFrame);
    AddCommand(
        Cmd::WindowTileVert, [this] { TileVertically(); }, anyFrame);
    const auto severalFrames = [this](CommandState& state) { state.Enable(Frames().size() > 1); };
    AddCommand(
        Cmd::NextWindow, [this] { ActivateNext(); }, severalFrames);
    AddCommand(
        Cmd::PrevWindow, [this] { ActivatePrevious(); }, severalFrames);
    AddCommand(
        Cmd::ViewToolBar, [this] { SetToolBarsShown(!m_toolBarsShown); },
        [this](CommandState& state) { state.SetCheck(m_toolBarsShown); });
    AddCommand(
        Cmd::ViewStatusBar, [this] { statusBar()->setVisible(statusBar()->isHidden()); },
        [this](CommandState& state) { state.SetCheck(!statusBar()->isHidden()); });
    AddCommandRange(
        MdiFrame::kWindowListFirst, MdiFrame::kWindowListLast,
        [this](int id) { ActivateWindowListEntry(id - MdiFrame::kWindowListFirst); },
        [this](int id, CommandState& state) {
            const int index = id - MdiFrame::kWindowListFirst;
            const QList<ChildFrame*> frames = Frames();
            state.Enable(index < frames.size());
            if (id != MdiFrame::kWindowListLast) {
                state.SetCheck(index < frames.size() && frames[index] == ActiveChildFrame());
            }
        });

    if (Application* app = Application::Instance(); app && !app->MainFrame()) {
        app->SetMainFrame(this);
    }
}

MdiFrame::~MdiFrame()
{
    // The child frames go with this window: close their documents while the
    // window is whole, and let no signal of theirs reach it half destroyed.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(m_mdiArea, nullptr, this, nullptr);
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        disconnect(window, nullptr, this, nullptr);
    }
    if (Application* app = Application::Instance(); app && app->MainFrame() == this) {
        app->CloseAllDocuments();
    }
}

bool MdiFrame::Create()
{
    if (!createMenus() || !createToolBars() || !createDockWindows() || !createStatusBar()) {
        return false;
    }
    UpdateActions();
    return true;
}

// The menus and their actions, from the bundle: the main window's own menu
// now, each document type's the first time one of its windows is active.
bool MdiFrame::createMenus()
{
    SwitchMenu(m_resourceId);
    return !m_menuSets.value(m_resourceId).topActions.isEmpty();
}

bool MdiFrame::createToolBars()
{
    return true;
}

bool MdiFrame::createDockWindows()
{
    return true;
}

bool MdiFrame::createStatusBar()
{
    m_idleLabel = new QLabel(FrameworkText(FrameworkString::IdleMessage), this);
    statusBar()->addWidget(m_idleLabel, 1);
    return true;
}

void MdiFrame::OnActiveViewChanged(View* view)
{
    Q_UNUSED(view);
}

void MdiFrame::OnViewBarsChanged(View* view)
{
    if (view == m_activeView) {
        OnActiveViewChanged(view);
    }
}

void MdiFrame::OnViewStatusChanged(View* view, const QString& text)
{
    Q_UNUSED(text);
    ShowStatusOf(view);
}

void MdiFrame::ShowStatusOf(View* view)
{
    if (view == m_activeView && m_idleLabel) {
        m_idleLabel->setText(StatusText());
    }
}

QString MdiFrame::StatusText() const
{
    const QString text = m_activeView ? m_activeView->StatusText() : QString();
    return text.isEmpty() ? FrameworkText(FrameworkString::IdleMessage) : text;
}

CommandRouter::Chain MdiFrame::CommandChain() const
{
    CommandRouter::Chain chain;
    ChildFrame* frame = ActiveChildFrame();
    if (View* view = frame ? frame->GetView() : nullptr) {
        chain.append(view);
        if (Document* document = view->GetDocument()) {
            chain.append(document);
        }
    }
    if (frame) {
        chain.append(frame);
    }
    chain.append(const_cast<MdiFrame*>(this));
    if (Application* app = Application::Instance()) {
        chain.append(app);
    }
    return chain;
}

ChildFrame* MdiFrame::ActiveChildFrame() const
{
    return qobject_cast<ChildFrame*>(m_mdiArea->currentSubWindow());
}

View* MdiFrame::ActiveView() const
{
    ChildFrame* frame = ActiveChildFrame();
    return frame ? frame->GetView() : nullptr;
}

Document* MdiFrame::ActiveDocument() const
{
    View* view = ActiveView();
    return view ? view->GetDocument() : nullptr;
}

void MdiFrame::ActivateFrame(ChildFrame* frame)
{
    if (frame->isMinimized()) {
        frame->showNormal();
    }
    m_mdiArea->setActiveSubWindow(frame);
}

void MdiFrame::ShowNewFrame(ChildFrame* frame)
{
    connect(frame, &QWidget::windowTitleChanged, this, &MdiFrame::UpdateFrameTitle,
            Qt::UniqueConnection);
    connect(frame, &QMdiSubWindow::windowStateChanged, this, &MdiFrame::UpdateFrameTitle,
            Qt::UniqueConnection);
    ChildFrame* active = ActiveChildFrame();
    if (active && active != frame && active->isMaximized()) {
        frame->showMaximized();
    } else {
        frame->show();
    }
    m_mdiArea->setActiveSubWindow(frame);
}

void MdiFrame::UpdateActions()
{
    m_router->UpdateActions();
}

void MdiFrame::RequestUpdateActions()
{
    m_router->RequestUpdate();
}

QList<QAction*> MdiFrame::MenuActions(int id) const
{
    QList<QAction*> found;
    const MenuSet set = m_menuSets.value(m_menuResource);
    for (QAction* action : set.topActions) {
        if (CommandRouter::CommandId(action) == id) {
            found.append(action);
        }
    }
    for (QMenu* menu : set.allMenus) {
        for (QAction* action : menu->actions()) {
            if (CommandRouter::CommandId(action) == id) {
                found.append(action);
            }
        }
    }
    return found;
}

QList<QMenu*> MdiFrame::TopMenus() const
{
    QList<QMenu*> menus;
    for (QAction* action : m_menuSets.value(m_menuResource).topActions) {
        if (action->menu()) {
            menus.append(action->menu());
        }
    }
    return menus;
}

const MdiFrame::MenuSet& MdiFrame::MenuSetFor(int resourceId)
{
    auto it = m_menuSets.find(resourceId);
    if (it != m_menuSets.end()) {
        return *it;
    }
    MenuSet set;
    const QVector<MenuItem> items = UiResources::Current().Menu(resourceId);
    const auto bind = [this](QAction* action, int id) { m_router->Bind(action, id); };
    for (const MenuItem& item : items) {
        if (item.separator) {
            continue;
        }
        if (item.items.isEmpty()) {
            QAction* action = CreateCommandAction(item, this);
            bind(action, item.id);
            set.topActions.append(action);
            continue;
        }
        auto* menu = new QMenu(SplitMenuText(item.text).caption, this);
        FillMenu(menu, item.items, bind);
        set.topActions.append(menu->menuAction());
        set.allMenus.append(menu);
        set.allMenus += menu->findChildren<QMenu*>();
    }
    for (QMenu* menu : std::as_const(set.allMenus)) {
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { OnMenuAboutToShow(menu); });
    }
    return *m_menuSets.insert(resourceId, set);
}

void MdiFrame::SwitchMenu(int resourceId)
{
    // A type without a menu of its own keeps the main window's menu.
    if (resourceId != m_resourceId && UiResources::Current().Menu(resourceId).isEmpty() &&
        !m_menuSets.contains(resourceId)) {
        resourceId = m_resourceId;
    }
    if (resourceId == m_menuResource && !m_menuSets.value(resourceId).topActions.isEmpty()) {
        return;
    }
    const MenuSet& next = MenuSetFor(resourceId);
    QMenuBar* bar = menuBar();
    for (QAction* action : m_menuSets.value(m_menuResource).topActions) {
        bar->removeAction(action);
    }
    for (QAction* action : next.topActions) {
        bar->addAction(action);
    }
    m_menuResource = resourceId;
}

void MdiFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    Q_UNUSED(window);
    View* next = ActiveView();
    View* previous = m_activeView;
    if (next != previous) {
        m_activeView = next;
        if (previous) {
            previous->OnActivateView(false, next, previous);
        }
        if (next) {
            next->OnActivateView(true, next, previous);
            // A view tells whoever shows it; only the active one is heeded.
            connect(next, &View::barsChanged, this, &MdiFrame::OnViewBarsChanged,
                    Qt::UniqueConnection);
            connect(next, &View::statusTextChanged, this, &MdiFrame::OnViewStatusChanged,
                    Qt::UniqueConnection);
        }
        OnActiveViewChanged(next);
        ShowStatusOf(next);
    }
    Document* document = ActiveDocument();
    SwitchMenu(document && document->Template() ? document->Template()->ResourceId()
                                                : m_resourceId);
    UpdateFrameTitle();
    UpdateActions();
}

void MdiFrame::OnMenuAboutToShow(QMenu* menu)
{
    RefreshRecentFiles(menu);
    RefreshWindowList(menu);
    m_router->UpdateMenu(menu);
}

QToolBar* MdiFrame::AddCommandToolBar(int resourceId)
{
    const std::optional<ToolBarSpec> spec = UiResources::Current().ToolBar(resourceId);
    if (!spec) {
        return nullptr;
    }
    const QVector<QPixmap> images = UiResources::Current().ImageList(spec->bitmap, 16);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar%1").arg(resourceId));
    bar->setIconSize(QSize(16, 16));
    int image = 0;
    for (int id : spec->buttons) {
        if (id == 0) {
            bar->addSeparator();
            continue;
        }
        const CommandStrings strings = CommandStringsFor(id);
        auto* action = new QAction(bar);
        if (image < images.size()) {
            action->setIcon(QIcon(images[image]));
        }
        ++image;
        action->setText(strings.toolTip.isEmpty() ? strings.statusTip : strings.toolTip);
        action->setToolTip(strings.toolTip);
        action->setStatusTip(strings.statusTip);
        bar->addAction(action);
        m_router->Bind(action, id);
    }
    addToolBar(Qt::TopToolBarArea, bar);
    bar->setProperty(kWantedProperty, true);
    bar->setVisible(m_toolBarsShown);
    m_toolBars.append(bar);
    return bar;
}

void MdiFrame::ShowControlBar(QWidget* bar, bool show)
{
    bar->setProperty(kWantedProperty, show);
    if (qobject_cast<QToolBar*>(bar)) {
        bar->setVisible(show && m_toolBarsShown);
    } else {
        bar->setVisible(show);
    }
}

void MdiFrame::SetToolBarsShown(bool shown)
{
    m_toolBarsShown = shown;
    for (QToolBar* bar : findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QVariant wanted = bar->property(kWantedProperty);
        bar->setVisible(shown && (!wanted.isValid() || wanted.toBool()));
    }
}

void MdiFrame::UpdateFrameTitle()
{
    ChildFrame* frame = ActiveChildFrame();
    // A maximized window's title is added by the MDI area itself, as
    // "title - [window]"; adding it here too would show it twice.
    if (frame && !frame->isMaximized() && !frame->windowTitle().isEmpty()) {
        setWindowTitle(m_title + QStringLiteral(" - ") + frame->windowTitle());
    } else {
        setWindowTitle(m_title);
    }
}

void MdiFrame::OnDropFiles(const QStringList& paths)
{
    Application* app = Application::Instance();
    if (!app) {
        return;
    }
    for (const QString& path : paths) {
        (void)app->OpenDocumentFile(path);
    }
}

void MdiFrame::closeEvent(QCloseEvent* event)
{
    Application* app = Application::Instance();
    if (app && app->MainFrame() == this) {
        if (!app->SaveAllModified()) {
            event->ignore();
            return;
        }
        app->CloseAllDocuments();
    }
    QMainWindow::closeEvent(event);
}

void MdiFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    } else {
        QMainWindow::dragEnterEvent(event);
    }
}

void MdiFrame::dropEvent(QDropEvent* event)
{
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    OnDropFiles(files);
}
