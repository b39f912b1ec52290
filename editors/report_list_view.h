#pragma once

// The machinery shared by the two list editors (L-system and automaton): a
// report list of three columns with grid lines, row images from a bitmap,
// the in-place edit box over one cell, and a pop-up menu on every left
// click chosen by the clicked row. The list is rebuilt from the document on
// every update, so the selection does not survive an edit.
//
// Only the interface thread uses it.

#include "editors/in_place_edit.h"
#include "framework/view.h"

#include <QPixmap>
#include <QVector>

class QTableWidget;

class ReportListView : public View, public EditOwner
{
    Q_OBJECT
public:
    // Row images.
    static constexpr int kStartWordImage = 0;
    static constexpr int kEntryImage = 1;
    static constexpr int kSummaryImage = 2;
    static constexpr int kProblemImage = 3;
    static constexpr int kNoImage = -1;

    struct ColumnSpec
    {
        int captionId;
        int width;
    };

    ReportListView(int bitmapId, ColumnSpec column1, ColumnSpec column2);

    void OnInitialUpdate() override;
    void OnUpdate(View* sender, int hint) override;
    // The main tool bar only, no colour bar: a list has no colours.
    int BarSet() const override;

    QTableWidget* List() const { return m_list; }
    InPlaceEdit* EditBox() const { return m_edit; }
    int RowCount() const;
    // The text of a cell, empty outside the list.
    QString CellText(int row, int column) const;
    // The image of a row, kNoImage when it has none.
    int RowImage(int row) const;
    // The first selected row, -1 when none.
    int SelectedRow() const;
    void SelectRow(int row);
    bool IsEditing() const { return m_editRow >= 0; }
    int EditRow() const { return m_editRow; }
    int EditColumn() const { return m_editColumn; }

    // Lays the edit box over cell (row, column) with `text`.
    void StartEdit(int row, int column, const QString& text);
    // The menu a left click on `row` (-1: empty space) pops up.
    virtual int PopupMenuFor(int row) const = 0;
    // Stores the box's text (Enter or focus loss); nothing while idle.
    void CommitEdit() final;

protected:
    // Appends a row.
    void AddRow(int image, const QString& column0, const QString& column1, const QString& column2);
    // Fills the list from the document (the list is empty on entry).
    virtual void BuildRows() = 0;
    // Stores the box's text for the cell being edited; called only while
    // editing. The common ending (box hidden, idle) follows.
    virtual void StoreEdit(int row, int column, const QString& text) = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_bitmapId;
    ColumnSpec m_columns[3];
    QVector<QPixmap> m_images;
    QTableWidget* m_list = nullptr;
    InPlaceEdit* m_edit = nullptr;
    int m_editRow = -1;
    int m_editColumn = -1;
};

// A string of the bundle, formatted the way the fixed editor strings are
// written ("%c", "%d", "%s").
QString BundleText(int id);
