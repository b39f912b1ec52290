#pragma once

// The fractal information dialog: a read-only report of a fractal's name,
// kind, day count and drawing box, followed by the box of every day count
// measured so far. Label, value and an image per row.
//
// Only the interface thread uses it; the bounds are read through the
// fractal's snapshots, so a drawing may go on meanwhile.

#include "engine/fractal.h"

#include <QDialog>

class QTableWidget;

class CFractalInfoDlg : public QDialog
{
    Q_OBJECT
public:
    // Column 0: the label, column 1: the value. Each row's image number is
    // also the label item's Qt::UserRole data.
    static constexpr int kImageRole = Qt::UserRole;

    explicit CFractalInfoDlg(const FractalPtr& fractal, QWidget* parent = nullptr);

    QTableWidget* Report() const { return m_report; }

private:
    void AddRow(const QString& label, const QString& value, int image);
    void FitColumns();

    QTableWidget* m_report = nullptr;
    QVector<QPixmap> m_images;
};
