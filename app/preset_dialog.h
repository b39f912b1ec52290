#pragma once

// The preset chooser: five lists, one per kind; confirming a selection in
// any of them closes the dialog with that (kind, index).

#include <QDialog>

class CPresetDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPresetDialog(QWidget* parent = nullptr);

    int Kind() const { return m_kind; }
    // -1 while nothing has been chosen.
    int Index() const { return m_index; }

private:
    int m_kind = 0;
    int m_index = -1;
};
