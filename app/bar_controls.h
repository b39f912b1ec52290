#pragma once

// Controls on the main frame's bars that issue commands: a combo box whose
// confirmed selection, or an edit whose text the user changes, goes through
// the command router like a tool button, and whose enabled state follows
// the update handlers (a control no target handles is disabled).

class CommandRouter;
class QAction;
class QComboBox;
class QLineEdit;
class QWidget;

// The hidden action that stands for `control`: bound to command `id`, its
// enabled state copied to the control. Triggering it issues the command.
QAction* BindBarControl(CommandRouter& router, QWidget* control, int id);

// Confirming a selection (activation, also of the entry already selected)
// issues `id`.
QAction* BindComboBox(CommandRouter& router, QComboBox* box, int id);

// Every change the user makes to the text issues `id`.
QAction* BindEdit(CommandRouter& router, QLineEdit* edit, int id);
