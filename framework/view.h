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
#include <QRgb>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QPainter;
class QPrinter;

// What a bar control of the main window (a combo box or an edit) shows while
// a view is active: its entries, its text or selected entry, and whether the
// user may change it.
struct BarControlState
{
    bool enabled = true;
    QStringList items; // a combo box's entries; left empty for an edit
    QString text;      // the edit's or the combo box's text
    int current = -1;  // the selected entry of a combo box, -1 for none
    QString toolTip;   // what the control's tool tip says; empty: its usual one
};

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

    // What the main window shows while this view is active. A view tells the
    // main window nothing directly: the main window asks these when the view
    // becomes active and again whenever the view calls BarsChanged().
    //
    // The band set: bit k shows band k of the main window, bit 8 its colour
    // bar. Default: the main tool bar and the colour bar (0x101).
    virtual int BarSet() const;
    // The colours the colour bar shows, background first; empty (the default)
    // when the view has none, and the bar shows the program's own.
    virtual QVector<QRgb> BarColors() const;
    // Fills `state` for bar control `controlId` and returns true when the view
    // uses that control; false (the default) leaves the control disabled.
    virtual bool QueryBarControl(int controlId, BarControlState& state) const;
    // The view's colours, from its template, before OnInitialUpdate.
    virtual void OnInitialColors(const QVector<QRgb>& colors);
    // The document is closing: stop any work that reads it. Called once,
    // before the frames close. Default: nothing.
    virtual void OnDocumentClosing();
    // This view's window is closing (the document may stay, with other
    // views). Default: nothing.
    virtual void OnFrameClosing();

    // What this view wants on the status bar while it is active (empty: the
    // idle text). Kept until changed.
    QString StatusText() const { return m_statusText; }

    // Pops up the first submenu of menu `menuId` at `globalPos`; its commands
    // reach this view first, then its document, frame, main frame and the
    // application. False when the menu does not exist.
    bool TrackPopupMenu(int menuId, const QPoint& globalPos);

    // The targets commands offered from this view pass through.
    CommandRouter::Chain CommandChain() const;

signals:
    // The band set, colours or a bar control's contents changed.
    void barsChanged(View* view);
    // The status text changed.
    void statusTextChanged(View* view, const QString& text);

protected:
    // Asks the main window to show this view's bars again (if it is active).
    void BarsChanged();
    // Shows `text` on the status bar while this view is active.
    void ShowStatusText(const QString& text);

    void paintEvent(QPaintEvent* event) override;
    // Lets the print commands reach this view.
    void EnablePrinting();

private:
    friend class Document;
    QPointer<Document> m_document;
    QString m_statusText;
};
