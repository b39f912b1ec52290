#include "framework/child_frame.h"

#include "framework/document.h"
#include "framework/view.h"

#include <QCloseEvent>

ChildFrame::ChildFrame(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

ChildFrame::~ChildFrame()
{
    DetachView();
}

void ChildFrame::SetView(View* view)
{
    m_view = view;
    setWidget(view);
    setFocusProxy(view);
}

Document* ChildFrame::GetDocument() const
{
    return m_view ? m_view->GetDocument() : nullptr;
}

void ChildFrame::CloseWithoutAsking()
{
    m_force = true;
    close();
}

void ChildFrame::closeEvent(QCloseEvent* event)
{
    Document* document = GetDocument();
    if (!m_force && !m_detached && document && !document->CanCloseFrame(this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted()) {
        return;
    }
    DetachView();
}

void ChildFrame::DetachView()
{
    if (m_detached) {
        return;
    }
    m_detached = true;
    if (!m_view) {
        return;
    }
    // The window goes: its view stops whatever still reads the document.
    m_view->OnFrameClosing();
    QPointer<Document> document = m_view->GetDocument();
    if (!document) {
        return;
    }
    document->RemoveView(m_view);
    if (document->Views().isEmpty() && !document->IsClosing()) {
        document->OnCloseDocument();
    }
}
