#include "views/fractal_info_dialog.h"

#include "framework/ui_resources.h"
#include "ids/resource_ids.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QIcon>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kInfoImageWidth = 16;
constexpr int kLabelWidth = 100;
constexpr int kValueWidth = 300;

// Image numbers of the rows in bitmap 916.
constexpr int kImageType = 0;
constexpr int kImageName = 1;
constexpr int kImageCachedDay = 2;
constexpr int kImagePosition = 3;
constexpr int kImageWidth = 4;
constexpr int kImageHeight = 5;

QString Label(int id)
{
    const QString text = UiResources::Current().String(id);
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString Number(double value)
{
    return QString::asprintf("%lf", value);
}

} // namespace

CFractalInfoDlg::CFractalInfoDlg(const FractalPtr& fractal, QWidget* parent)
    : QDialog(parent),
      m_images(UiResources::Current().ImageList(Res::Bitmap::InfoRows, kInfoImageWidth))
{
    setWindowTitle(UiResources::Current().String(Res::Text::FractalInfoCaption));
    m_report = new QTableWidget(0, 2, this);
    m_report->setObjectName(QStringLiteral("report"));
    m_report->setHorizontalHeaderLabels({Label(Res::Str::NameLabel), Label(Res::Str::ValueColumn)});
    m_report->verticalHeader()->hide();
    m_report->setShowGrid(true);
    m_report->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_report->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_report->setIconSize(QSize(kInfoImageWidth, kInfoImageWidth));
    m_report->setColumnWidth(0, kLabelWidth);
    m_report->setColumnWidth(1, kValueWidth);
    m_report->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_report);
    layout->addWidget(buttons);
    resize(kLabelWidth + kValueWidth + 60, 360);

    if (!fractal) {
        return;
    }
    const CFractal& f = *fractal;
    const FractalBounds b = f.BoundsSnapshot();
    AddRow(Label(Res::Str::NameLabel), QString::fromStdString(f.m_name), kImageName);
    AddRow(Label(Res::Str::TypeLabel), QString::fromStdString(f.m_type), kImageType);
    AddRow(Label(Res::Str::GenerationsLabel), QString::number(f.m_days.load()), kImageType);
    // The box in use, in drawing units; the cached boxes below in model units.
    AddRow(QStringLiteral("x"), Number(b.minX * b.scale), kImagePosition);
    AddRow(QStringLiteral("y"), Number(b.minY * b.scale), kImagePosition);
    AddRow(QStringLiteral("cx"), Number((b.maxX - b.minX) * b.scale), kImageWidth);
    AddRow(QStringLiteral("cy"), Number((b.maxY - b.minY) * b.scale), kImageWidth);
    const auto cache = f.CacheSnapshot();
    for (int day = 0; day < CFractal::kCacheSize; ++day) {
        const FractalBounds& entry = cache[static_cast<std::size_t>(day)];
        if (!entry.valid) {
            continue;
        }
        AddRow(Label(Res::Str::GenerationsLabel), QString::number(day), kImageCachedDay);
        AddRow(QStringLiteral("x"), Number(entry.minX), kImagePosition);
        AddRow(QStringLiteral("y"), Number(entry.minY), kImagePosition);
        AddRow(QStringLiteral("cx"), Number(entry.maxX - entry.minX), kImageWidth);
        AddRow(QStringLiteral("cy"), Number(entry.maxY - entry.minY), kImageHeight);
    }
    FitColumns();
}

void CFractalInfoDlg::FitColumns()
{
    // Each column as wide as its widest text (icon and header included) in
    // the bundle's language, never cut; the dialog grows to show both.
    m_report->resizeColumnsToContents();
    QHeaderView* header = m_report->horizontalHeader();
    int width = 0;
    for (int column = 0; column < m_report->columnCount(); ++column) {
        const int wanted = std::max({m_report->columnWidth(column), header->sectionSizeHint(column),
                                     column == 0 ? kLabelWidth : kValueWidth});
        m_report->setColumnWidth(column, wanted);
        width += wanted;
    }
    const int frame =
        2 * m_report->frameWidth() + m_report->verticalScrollBar()->sizeHint().width() + 40;
    resize(std::max(this->width(), width + frame), height());
}

void CFractalInfoDlg::AddRow(const QString& label, const QString& value, int image)
{
    const int row = m_report->rowCount();
    m_report->insertRow(row);
    auto* labelItem = new QTableWidgetItem(label);
    labelItem->setData(kImageRole, image);
    if (image < m_images.size()) {
        labelItem->setIcon(QIcon(m_images[image]));
    }
    m_report->setItem(row, 0, labelItem);
    m_report->setItem(row, 1, new QTableWidgetItem(value));
}
