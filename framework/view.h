#pragma once

// A view shows its document in one child frame. The framework calls
// OnInitialUpdate once, after the document is loaded and before the frame
// shows; OnUpdate whenever the document tells its views (default: repaint);
// OnDraw from paintEvent; OnActivateView when the active view of the main
// window changes.
//
// Commands reach the active view first (see CommandRouter). A view that
// prints calls EnablePrinting(): Print, Print (direct) and Print Preview
// then reach it and call OnPreparePrinting once, then OnPrint per page.
//
// Only the interface thread uses views.

#include "framework/command_router.h"
#include "framework/forward.h"

#include <QPointer>
#include <QWidget>

class QPainter;
class QPrinter;

class View : public QWidget, public CommandTarget
{
    Q_OBJECT
public:
    explicit View(QWidget* parent = nullptr);
    // Leaves the document's list of views if still in it.
    ~View() override;

    Document* GetDocument() const;
    // The child frame that holds this view, if any.
    ChildFrame* Frame() const;

    // Called once before the frame first shows. Default: OnUpdate(nullptr, 0).
    virtual void OnInitialUpdate();
    // The document changed. Default: repaint the whole view.
    virtual void OnUpdate(View* sender, int hint);
    // Paints the view; called from paintEvent. Default: nothing.
    virtual void OnDraw(QPainter& painter);
    // This view became active (`activate`) or stopped being the active one.
    // `activated` is the view taking over (nullptr when none does),
    // `deactivated` the one giving up (nullptr when none was active).
    virtual void OnActivateView(bool activate, View* activated, View* deactivated);
    // Before printing or preview; false cancels. Default: true.
    virtual bool OnPreparePrinting(QPrinter& printer);
    // Prints the page; `pageRect` is the printable area in device pixels,
    // at (0, 0). Default: OnDraw.
    virtual void OnPrint(QPainter& painter, QPrinter& printer, const QRect& pageRect);

    // Pops up the first submenu of menu `menuId` at `globalPos`; its commands
    // reach this view first, then its document, frame, main frame and the
    // application. False when the menu does not exist.
    bool TrackPopupMenu(int menuId, const QPoint& globalPos);

    // The targets commands offered from this view pass through.
    CommandRouter::Chain CommandChain() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Lets the print commands reach this view.
    void EnablePrinting();

private:
    friend class Document;
    QPointer<Document> m_document;
};
