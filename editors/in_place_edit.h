#pragma once

// The small edit box laid over a cell (list editors) or a text (directions
// editor). Enter and the loss of the keyboard focus both hand the text to
// the owner's CommitEdit; the owner decides what to store and whether the
// box closes. Enter commits once: the focus loss that follows when the box
// hides finds the owner idle. Escape is not handled.
//
// Only the interface thread uses it.

#include <QLineEdit>

class EditOwner
{
public:
    virtual ~EditOwner() = default;
    virtual void CommitEdit() = 0;
};

class InPlaceEdit : public QLineEdit
{
    Q_OBJECT
public:
    InPlaceEdit(EditOwner& owner, QWidget* parent);

    // Moves the box over `rect` (parent coordinates), shows it with `text`
    // all selected and gives it the focus.
    void Start(const QRect& rect, const QString& text);
    // Clears and hides the box.
    void Finish();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    EditOwner& m_owner;
};
