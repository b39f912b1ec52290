#include "editors/in_place_edit.h"

#include <QKeyEvent>

InPlaceEdit::InPlaceEdit(EditOwner& owner, QWidget* parent) : QLineEdit(parent), m_owner(owner)
{
    setFrame(true);
    hide();
}

void InPlaceEdit::Start(const QRect& rect, const QString& text)
{
    setGeometry(rect);
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    setText(text);
    selectAll();
}

void InPlaceEdit::Finish()
{
    clear();
    hide();
}

void InPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_owner.CommitEdit();
    }
    QLineEdit::keyPressEvent(event);
}

void InPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The owner may rebuild the window that holds the box; commit last.
    if (isVisible()) {
        m_owner.CommitEdit();
    }
}
