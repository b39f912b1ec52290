#pragma once

// The window of one view inside the main window's MDI area. Closing it asks
// the document first (CanCloseFrame, which prompts to save when this is the
// document's last frame); once closed, the view leaves the document, and the
// document closes with its last view. The frame deletes itself (and its
// view) when control returns to the event loop.
//
// Only the interface thread uses frames.

#include "framework/command_router.h"
#include "framework/forward.h"

#include <QMdiSubWindow>
#include <QPointer>

class ChildFrame : public QMdiSubWindow, public CommandTarget
{
    Q_OBJECT
public:
    explicit ChildFrame(QWidget* parent = nullptr);
    ~ChildFrame() override;

    View* GetView() const { return m_view; }
    // Makes `view` the frame's widget (the frame owns it).
    void SetView(View* view);
    Document* GetDocument() const;

    // Closes without asking the document (the document is closing anyway).
    void CloseWithoutAsking();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void DetachView();

    QPointer<View> m_view;
    bool m_force = false;
    bool m_detached = false;
};
