#include "app/bar_controls.h"

#include "framework/command_router.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

QAction* BindBarControl(CommandRouter& router, QWidget* control, int id)
{
    auto* action = new QAction(control);
    router.Bind(action, id);
    QObject::connect(action, &QAction::changed, control,
                     [control, action] { control->setEnabled(action->isEnabled()); });
    control->setEnabled(action->isEnabled());
    return action;
}

QAction* BindComboBox(CommandRouter& router, QComboBox* box, int id)
{
    QAction* action = BindBarControl(router, box, id);
    QObject::connect(box, &QComboBox::activated, action, [&router, box, id](int index) {
        (void)router.ExecuteValue(id, box->itemText(index));
    });
    return action;
}

QAction* BindEdit(CommandRouter& router, QLineEdit* edit, int id)
{
    QAction* action = BindBarControl(router, edit, id);
    QObject::connect(edit, &QLineEdit::textEdited, action,
                     [&router, id](const QString& text) { (void)router.ExecuteValue(id, text); });
    return action;
}
