#include "editors/report_list_view.h"

#include "framework/standard_ids.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

QString BundleText(int id)
{
    return UiResources::Current().String(id);
}

ReportListView::ReportListView(int bitmapId, ColumnSpec column1, ColumnSpec column2)
    : m_bitmapId(bitmapId), m_columns{{Res::Str::TypeLabel, 100}, column1, column2}
{
    m_list = new QTableWidget(0, 3, this);
    m_list->verticalHeader()->hide();
    // Report rows as tall as a line of text and a 16-pixel image.
    m_list->verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), 16) + 6);
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->viewport()->installEventFilter(this);
    m_list->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    m_edit = new InPlaceEdit(*this, m_list->viewport());
}

int ReportListView::BarSet() const
{
    return Res::Bands::List;
}

void ReportListView::OnInitialUpdate()
{
    m_images = UiResources::Current().ImageList(m_bitmapId, 16);
    m_list->setIconSize(QSize(16, 16));
    QStringList captions;
    for (int column = 0; column < 3; ++column) {
        captions.append(BundleText(m_columns[column].captionId));
        m_list->setColumnWidth(column, m_columns[column].width);
    }
    m_list->setHorizontalHeaderLabels(captions);
    View::OnInitialUpdate();
}

void ReportListView::OnUpdate(View*, int)
{
    m_list->clearContents();
    m_list->setRowCount(0);
    BuildRows();
}

void ReportListView::AddRow(int image, const QString& column0, const QString& column1,
                            const QString& column2)
{
    const int row = m_list->rowCount();
    m_list->insertRow(row);
    const QString texts[3] = {column0, column1, column2};
    for (int column = 0; column < 3; ++column) {
        auto* item = new QTableWidgetItem(texts[column]);
        if (column == 0) {
            item->setData(Qt::UserRole, image);
            if (image >= 0 && image < m_images.size()) {
                item->setIcon(QIcon(m_images[image]));
            }
        }
        m_list->setItem(row, column, item);
    }
}

int ReportListView::RowCount() const
{
    return m_list->rowCount();
}

QString ReportListView::CellText(int row, int column) const
{
    const QTableWidgetItem* item = m_list->item(row, column);
    return item ? item->text() : QString();
}

int ReportListView::RowImage(int row) const
{
    const QTableWidgetItem* item = m_list->item(row, 0);
    return item ? item->data(Qt::UserRole).toInt() : kNoImage;
}

int ReportListView::SelectedRow() const
{
    int first = -1;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows()) {
        if (first < 0 || index.row() < first) {
            first = index.row();
        }
    }
    return first;
}

void ReportListView::SelectRow(int row)
{
    if (row >= 0 && row < m_list->rowCount()) {
        m_list->selectRow(row);
    } else {
        m_list->clearSelection();
    }
}

void ReportListView::StartEdit(int row, int column, const QString& text)
{
    if (row < 0 || row >= m_list->rowCount()) {
        return;
    }
    const int left = m_list->columnViewportPosition(0);
    const int right = m_list->columnViewportPosition(2) + m_list->columnWidth(2);
    const int w0 = m_list->columnWidth(0);
    const int w2 = m_list->columnWidth(2);
    const int top = m_list->rowViewportPosition(row);
    const int height = m_list->rowHeight(row);
    const QRect box = column == 1
                          ? QRect(QPoint(left + w0, top), QPoint(right - w2 - 1, top + height - 1))
                          : QRect(QPoint(right - w2, top), QPoint(right - 1, top + height - 1));
    m_editRow = row;
    m_editColumn = column;
    m_edit->Start(box, text);
}

void ReportListView::CommitEdit()
{
    if (m_editRow < 0) {
        return;
    }
    const int row = m_editRow;
    const int column = m_editColumn;
    const QString text = m_edit->text();
    // Idle before storing: the store rebuilds the list, and the focus the
    // box loses on the way must find nothing left to commit.
    m_editRow = -1;
    m_editColumn = -1;
    m_edit->Finish();
    StoreEdit(row, column, text);
}

bool ReportListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Enter in the list does nothing.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            return true;
        }
    }
    if (watched == m_list && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        // The menu key offers what a click on the selected row offers.
        const int row = SelectedRow();
        const QRect cell = m_list->visualRect(m_list->model()->index(std::max(row, 0), 0));
        TrackPopupMenu(PopupMenuFor(row), m_list->viewport()->mapToGlobal(cell.center()));
        return true;
    }
    if (watched == m_list->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const int row = m_list->rowAt(mouse->position().toPoint().y());
                SelectRow(row);
                const QPoint global = mouse->globalPosition().toPoint();
                const int menu = PopupMenuFor(row);
                // After the release has been handled: the menu runs its own loop.
                QMetaObject::invokeMethod(
                    this, [this, menu, global] { TrackPopupMenu(menu, global); },
                    Qt::QueuedConnection);
            }
        }
    }
    return View::eventFilter(watched, event);
}
