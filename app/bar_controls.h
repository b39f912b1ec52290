#pragma once

// Controls on the main frame's bars that issue value commands: a combo box's
// confirmed entry, or the text the user types into an edit, goes along the
// command router with the command's number (CommandRouter::ExecuteValue),
// and the control's enabled state follows the update handlers (a control no
// target handles is disabled).

class CommandRouter;
class QAction;
class QComboBox;
class QLineEdit;
class QWidget;

// The hidden action that stands for `control`: bound to command `id` so the
// update handlers reach it, its enabled state copied to the control.
QAction* BindBarControl(CommandRouter& router, QWidget* control, int id);

// Confirming a selection (activation, also of the entry already selected)
// issues `id` with the entry's text.
QAction* BindComboBox(CommandRouter& router, QComboBox* box, int id);

// Every change the user makes to the text issues `id` with the text.
QAction* BindEdit(CommandRouter& router, QLineEdit* edit, int id);
