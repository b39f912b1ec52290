#pragma once

// The main window: a QMdiArea of child frames, menus and tool bars built
// from the language bundle, a status bar with fly-by help, and the standard
// window commands. The menu bar shows the menu of the active document's
// template (its resource number) and the main window's own menu when no
// document is open.
//
// Build it in named steps: construct, then Create(), which runs
// createMenus (menus and their actions come from the bundle), createToolBars,
// createDockWindows and createStatusBar, then asks every update handler
// (UpdateActions); a derived main window overrides the steps it extends and
// calls the base step first. Create() fails when a step fails.
//
// Commands handled here: Window New, Cascade, Tile (both), Arrange Icons,
// next / previous window, the window list, show/hide tool bars and status
// bar.
//
// Only the interface thread uses it.

#include "framework/command_router.h"
#include "framework/forward.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QLabel;
class QToolBar;

class MdiFrame : public QMainWindow, public CommandTarget
{
    Q_OBJECT
public:
    // Commands of the window list at the end of the window menu: one per
    // window for the first nine, then "More Windows...".
    static constexpr int kWindowListFirst = 0xFF00;
    static constexpr int kWindowListLast = 0xFF09;

    // `resourceId` numbers the main window's menu and title (string: the
    // title as its first "\n" field).
    explicit MdiFrame(int resourceId = 128, QWidget* parent = nullptr);
    ~MdiFrame() override;

    bool Create();

    int ResourceId() const { return m_resourceId; }
    QMdiArea* MdiArea() const { return m_mdiArea; }
    CommandRouter& Router() { return *m_router; }
    // Active view, its document, its frame, this window, the application.
    CommandRouter::Chain CommandChain() const;

    ChildFrame* ActiveChildFrame() const;
    View* ActiveView() const;
    Document* ActiveDocument() const;
    void ActivateFrame(ChildFrame* frame);
    // Shows a frame that was just created, maximized when the active one is.
    void ShowNewFrame(ChildFrame* frame);

    // Asks the update handlers for every action and bound control now;
    // RequestUpdateActions does it once control returns to the event loop.
    void UpdateActions();
    void RequestUpdateActions();

    // The menu resource the menu bar shows now.
    int MenuResource() const { return m_menuResource; }
    // The actions of command `id` in the menus now shown (sub-menus too).
    QList<QAction*> MenuActions(int id) const;
    // The top-level menus now shown, left to right.
    QList<QMenu*> TopMenus() const;

    // A tool bar from tool bar resource `resourceId` (buttons with images of
    // its bitmap, 16 pixels wide); nullptr when there is no such tool bar.
    QToolBar* AddCommandToolBar(int resourceId);
    // Shows or hides a bar. Tool bars also follow the show-tool-bars command:
    // one is visible when both it and the command say so.
    void ShowControlBar(QWidget* bar, bool show);
    bool ToolBarsShown() const { return m_toolBarsShown; }
    void SetToolBarsShown(bool shown);

    // The window commands, also for other parts of the program.
    void Cascade();
    // Windows side by side, each the full height of the area.
    void TileVertically();
    // Windows one above the other, each the full width.
    void TileHorizontally();
    // Minimized windows in a row along the bottom.
    void ArrangeIcons();
    void ActivateNext();
    void ActivatePrevious();

    // Files dropped on the window. Default: open each.
    virtual void OnDropFiles(const QStringList& paths);

    // The caption: the title, then " - " and the active window's title.
    void UpdateFrameTitle();

    // The status bar's text now: the active view's status text, or the idle
    // text.
    QString StatusText() const;

protected:
    // The active view changed (null: no view is active), or the active view
    // said its bars changed (View::BarsChanged). A main window with bars
    // shows the view's band set and fills its bar controls here. Default:
    // nothing.
    virtual void OnActiveViewChanged(View* view);

    virtual bool createMenus();
    virtual bool createToolBars();
    virtual bool createDockWindows();
    virtual bool createStatusBar();

    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct MenuSet
    {
        QList<QAction*> topActions;
        QList<QMenu*> allMenus;
    };

    const MenuSet& MenuSetFor(int resourceId);
    void SwitchMenu(int resourceId);
    void OnSubWindowActivated(QMdiSubWindow* window);
    void ShowStatusOf(View* view);
    void OnViewBarsChanged(View* view);
    void OnViewStatusChanged(View* view, const QString& text);
    void OnMenuAboutToShow(QMenu* menu);
    void RefreshRecentFiles(QMenu* menu);
    void RefreshWindowList(QMenu* menu);
    QList<ChildFrame*> Frames() const;
    QList<ChildFrame*> VisibleFrames() const;
    void ActivateWindowListEntry(int index);

    int m_resourceId;
    QString m_title;
    QMdiArea* m_mdiArea = nullptr;
    CommandRouter* m_router = nullptr;
    QLabel* m_idleLabel = nullptr;
    QHash<int, MenuSet> m_menuSets;
    int m_menuResource = 0;
    QPointer<View> m_activeView;
    QList<QPointer<QToolBar>> m_toolBars;
    bool m_toolBarsShown = true;
};
