#include "editors/directions_view.h"

#include "documents/directions_doc.h"
#include "framework/application.h"
#include "framework/standard_ids.h"
#include "framework/ui_resources.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"
#include "render/fractal_painter.h"
#include "render/gdi_surface.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

QRgb ToRgb(Color c)
{
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

Color Complement(Color c)
{
    return MakeColor(255 - RedOf(c), 255 - GreenOf(c), 255 - BlueOf(c));
}

// The standard decimal conversion: leading blanks, a sign, then digits as
// far as they go; 0 when the text does not start with a number. Out of the
// int range it is clamped.
int TextToInt(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    errno = 0;
    const long value = std::strtol(bytes.constData(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

// Writes `text` with its top-left corner at (x, y), as text is placed on
// the window.
void DrawTextAt(QPainter& painter, double x, double y, const QString& text)
{
    painter.drawText(QRectF(x, y, 10000, 1000), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     text);
}

} // namespace

CompassLayout CompassLayout::Make(int width, int height, int count)
{
    CompassLayout layout;
    const int compassHeight = height - kTop;
    layout.centre = QPoint(width / 2, compassHeight / 2 + kTop);
    layout.radius = std::min(width, compassHeight) / 2 - 32;
    const Directions directions(count);
    const int spokes = std::min(directions.Count(), kMaxSpokes);
    const bool labels = directions.Count() <= kMaxLabels;
    for (int k = 0; k < spokes; ++k) {
        // Evenly over the whole compass when there are more headings.
        const int heading =
            static_cast<int>(static_cast<long long>(k) * directions.Count() / spokes);
        const double theta = directions.Angle(heading);
        const double r = layout.radius;
        layout.spokeEnds.append(QPoint(static_cast<int>(layout.centre.x() + r * std::cos(theta)),
                                       static_cast<int>(layout.centre.y() + r * std::sin(theta))));
        if (labels) {
            layout.labelCentres.append(
                QPointF(layout.centre.x() + (r + kLabelGap) * std::cos(theta),
                        layout.centre.y() + (r + kLabelGap) * std::sin(theta)));
        }
    }
    return layout;
}

CDirectionsView::CDirectionsView()
{
    AddCommand(Cmd::EditEntry, [this] { OnEditCount(); });
    AddCommand(Cmd::Color(0), [this] { OnChooseBackground(); });
    m_edit = new InPlaceEdit(*this, this);
}

CDirectionsDoc* CDirectionsView::GetDocument() const
{
    return qobject_cast<CDirectionsDoc*>(View::GetDocument());
}

QString CDirectionsView::HeaderText(int count)
{
    return count == 0 ? QStringLiteral("0") : QString::asprintf("%d (%f)", count, 360.0 / count);
}

void CDirectionsView::OnInitialUpdate()
{
    m_edit->hide();
    View::OnInitialUpdate();
}

void CDirectionsView::OnInitialColors(const QVector<QRgb>& colors)
{
    for (int i = 0; i < std::min<int>(colors.size(), static_cast<int>(m_colors.size())); ++i) {
        const QRgb rgb = colors[i];
        m_colors[static_cast<std::size_t>(i)] = MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
}

QVector<QRgb> CDirectionsView::BarColors() const
{
    QVector<QRgb> colors;
    for (Color c : m_colors) {
        colors.append(ToRgb(c));
    }
    return colors;
}

void CDirectionsView::OnDraw(QPainter& painter)
{
    const CDirectionsDoc* document = GetDocument();
    const int n = document ? document->GetDirections().Count() : 0;
    const Color background = m_colors[0];
    const QColor band = ToQColor(ScaleColor(background, 0.8));

    painter.fillRect(rect(), ToQColor(background));
    painter.fillRect(QRect(0, 0, width(), CompassLayout::kBandHeight), band);
    painter.setPen(ToQColor(Complement(background)));
    DrawTextAt(painter, 5, kTextY, UiResources::Current().String(Res::Str::DirectionsLabel));
    DrawTextAt(painter, kCountX, kTextY, HeaderText(n));

    const CompassLayout layout = CompassLayout::Make(width(), height(), n);
    painter.setBrush(band);
    painter.setPen(Qt::black);
    painter.drawEllipse(layout.centre, layout.radius, layout.radius);
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(Qt::black);
    for (const QPoint& end : layout.spokeEnds) {
        painter.drawLine(layout.centre, end);
    }
    painter.setPen(ToQColor(Complement(background)));
    for (int k = 0; k < layout.labelCentres.size(); ++k) {
        const QString label = QString::number(k);
        const QPointF at = layout.labelCentres[k];
        DrawTextAt(painter, at.x() - metrics.horizontalAdvance(label) / 2,
                   at.y() - metrics.height() / 2, label);
    }
}

void CDirectionsView::OnEditCount()
{
    const CDirectionsDoc* document = GetDocument();
    if (document == nullptr) {
        return;
    }
    m_edit->Start(QRect(kCountX, kTextY, 150, 20),
                  QString::number(document->GetDirections().Count()));
}

void CDirectionsView::CommitEdit()
{
    CDirectionsDoc* document = GetDocument();
    const int count = TextToInt(m_edit->text());
    // A count the compass cannot take keeps the box open with its text.
    if (document == nullptr || count < 1 || !document->SetCount(count)) {
        return;
    }
    m_edit->Finish();
    update();
}

void CDirectionsView::SetBackground(Color color)
{
    m_colors[0] = color;
    update();
    BarsChanged();
}

void CDirectionsView::OnChooseBackground()
{
    QColorDialog dialog(ToQColor(m_colors[0]), Application::DialogParent());
    if (dialog.exec() == QDialog::Accepted) {
        const QColor chosen = dialog.selectedColor();
        SetBackground(MakeColor(chosen.red(), chosen.green(), chosen.blue()));
    }
}

void CDirectionsView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        TrackPopupMenu(Res::Popup::Directions, event->globalPosition().toPoint());
    }
    View::mousePressEvent(event);
}
