#pragma once

// The preset chooser: five lists, one per kind; confirming a selection in
// any of them closes the dialog with that (kind, index).
//
// A selection is confirmed by picking an entry from an open list (mouse or
// keyboard) or by Return on a closed one; the arrow keys on a closed list
// only move through it, so the keyboard can browse before choosing.

#include <QComboBox>
#include <QDialog>
#include <QPixmap>
#include <QVector>

#include <array>

// One list of the chooser: an entry is shown with image 0, the current one
// with image 1.
class CPresetList : public QComboBox
{
    Q_OBJECT
public:
    CPresetList(int kind, const QVector<QPixmap>& images, QWidget* parent = nullptr);

    int Kind() const { return m_kind; }

    void showPopup() override;
    void hidePopup() override;

signals:
    // The user confirmed entry `index` (-1 when the list has no selection).
    void Confirmed(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void OnActivated(int index);
    void MarkCurrent(int index);

    int m_kind;
    QIcon m_itemIcon;
    QIcon m_currentIcon;
    bool m_popupOpen = false;
};

class CPresetDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CPresetDialog(QWidget* parent = nullptr);

    int Kind() const { return m_kind; }
    // -1 while nothing has been chosen.
    int Index() const { return m_index; }

    // The list of kind k (0 standard, 1 IFS, 2 MCRM, 3 L-system, 4
    // automaton); null outside 0 to 4.
    CPresetList* List(int kind) const;

private:
    void OnConfirmed(CPresetList* list, int index);

    std::array<CPresetList*, 5> m_lists{};
    int m_kind = 0;
    int m_index = -1;
};

class CFractalDoc;

// Opens the chooser over the program's windows and puts the preset the user
// confirms into `document`; false when the user chose none. The one way both
// the document's preset command and new-from-preset ask for a preset.
bool ChoosePresetFor(CFractalDoc& document);
