#include "editors/design_view.h"

#include "documents/component_doc.h"
#include "framework/application.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"
#include "render/gdi_surface.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace {

Color FromQColor(const QColor& color)
{
    return MakeColor(color.red(), color.green(), color.blue());
}

} // namespace

CDesignView::CDesignView()
{
    setMouseTracking(true);
    m_hbar = new QScrollBar(Qt::Horizontal, this);
    m_vbar = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {m_hbar, m_vbar}) {
        bar->setRange(0, m_scrollRange);
        bar->setSingleStep(1);
        bar->setPageStep(10);
        bar->setFocusPolicy(Qt::NoFocus);
    }
    // Truncated, as the positions of every later move.
    m_hbar->setValue(static_cast<int>(m_scrollRange * m_scrollX));
    m_vbar->setValue(static_cast<int>(m_scrollRange * m_scrollY));
    connect(m_hbar, &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(m_hbar, m_scrollX, action); });
    connect(m_vbar, &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(m_vbar, m_scrollY, action); });

    AddCommand(
        Cmd::SquareGrid, [this] { ToggleGrid(m_grids.Square()); },
        [this](CommandState& state) { state.SetCheck(m_grids.Square().shown); });
    AddCommand(
        Cmd::CircleGrid, [this] { ToggleGrid(m_grids.Circle()); },
        [this](CommandState& state) { state.SetCheck(m_grids.Circle().shown); });
    AddCommand(
        Cmd::RayGrid, [this] { ToggleGrid(m_grids.Rays()); },
        [this](CommandState& state) { state.SetCheck(m_grids.Rays().shown); });
    AddCommand(Cmd::ZoomIn, [this] { ZoomIn(); });
    AddCommand(Cmd::ZoomOut, [this] { ZoomOut(); });
    AddCommandRange(Cmd::ColorFirst, Cmd::ColorLast,
                    [this](int id) { ChooseColor(id - Cmd::ColorFirst); });
    // The grid bar's edits send their text as the user types.
    AddValueCommand(Res::Control::GridSquareCount,
                    [this](const QString& text) { OnSquareCountText(text); });
    AddValueCommand(Res::Control::GridRayCount,
                    [this](const QString& text) { OnRayCountText(text); });
}

CDesignView::~CDesignView() = default;

QRect CDesignView::ClientRect() const
{
    return QRect(0, 0, std::max(0, width() - m_vbar->sizeHint().width()),
                 std::max(0, height() - m_hbar->sizeHint().height()));
}

void CDesignView::LayoutScrollBars()
{
    const QRect client = ClientRect();
    m_hbar->setGeometry(0, client.height(), client.width(), height() - client.height());
    m_vbar->setGeometry(client.width(), 0, width() - client.width(), client.height());
}

void CDesignView::resizeEvent(QResizeEvent* event)
{
    View::resizeEvent(event);
    LayoutScrollBars();
}

void CDesignView::OnScrollAction(QScrollBar* bar, double& fraction, int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
        fraction += 0.1;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
        fraction -= 0.1;
        break;
    case QAbstractSlider::SliderMove:
        fraction = static_cast<double>(bar->sliderPosition()) / m_scrollRange;
        break;
    default:
        return;
    }
    if (fraction > 1.0) {
        fraction = 1.0;
    }
    if (fraction < 0.0) {
        fraction = 0.0;
    }
    // The slider takes this position once the action has run.
    bar->setSliderPosition(static_cast<int>(m_scrollRange * fraction));
    update();
}

void CDesignView::ToggleGrid(DesignGrid& grid)
{
    grid.shown = !grid.shown;
    update();
}

void CDesignView::ZoomIn()
{
    if (m_zoom > 1) {
        --m_zoom;
    }
    update();
}

void CDesignView::ZoomOut()
{
    if (m_zoom < 1 << 20) {
        ++m_zoom;
    }
    update();
}

void CDesignView::OnSquareCountText(const QString& text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    if (ok && count >= 1) {
        m_grids.SetSquareAndCircleCount(count);
        update();
    }
}

void CDesignView::OnRayCountText(const QString& text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    if (ok && count >= 1) {
        m_grids.SetRayCount(count);
        update();
    }
}

void CDesignView::ChooseColor(int index)
{
    if (index < 0 || index >= static_cast<int>(m_colors.size())) {
        return;
    }
    QColorDialog dialog(ToQColor(m_colors[static_cast<std::size_t>(index)]),
                        Application::DialogParent());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    SetColor(index, FromQColor(dialog.selectedColor()));
}

void CDesignView::SetColor(int index, Color color)
{
    if (index < 0 || index >= static_cast<int>(m_colors.size())) {
        return;
    }
    m_colors[static_cast<std::size_t>(index)] = color;
    BarsChanged();
    update();
}

QVector<QRgb> CDesignView::BarColors() const
{
    return ToRgbList(m_colors);
}

bool CDesignView::QueryBarControl(int controlId, BarControlState& state) const
{
    if (controlId == Res::Control::GridSquareCount) {
        state.text = QString::number(m_grids.Square().count);
        return true;
    }
    if (controlId == Res::Control::GridRayCount) {
        state.text = QString::number(m_grids.Rays().count);
        return true;
    }
    return false;
}

void CDesignView::OnInitialColors(const QVector<QRgb>& colors)
{
    if (colors.size() == static_cast<int>(m_colors.size())) {
        m_colors = FromRgbList(colors);
    }
}

Point CDesignView::ModelPoint(Point window) const
{
    const double length = m_referencePolar.length;
    if (length <= 0.0) {
        return {};
    }
    return {(window.x - m_reference.start.x) / length, (window.y - m_reference.start.y) / length};
}

void CDesignView::ShowMousePosition(Point window)
{
    const Point model = ModelPoint(window);
    const QString text = ComponentText(CompText::MousePosition, "x = %1, y = %2")
                             .arg(model.x, 0, 'f', 4)
                             .arg(model.y, 0, 'f', 4);
    ShowStatusText(text);
}

void CDesignView::mouseMoveEvent(QMouseEvent* event)
{
    ShowMousePosition({event->position().x(), event->position().y()});
    View::mouseMoveEvent(event);
}

void CDesignView::leaveEvent(QEvent* event)
{
    ShowStatusText(QString());
    View::leaveEvent(event);
}

void CDesignView::OnDraw(QPainter& painter)
{
    Q_UNUSED(painter);
    m_rubberShown = false;
}

QPen CDesignView::GridPen() const
{
    QPen pen(ToQColor(~m_colors[0] & 0xffffff), 1, Qt::DashLine);
    return pen;
}

void CDesignView::ShowPolarGrids(Point centre)
{
    if (!m_grids.Circle().shown && !m_grids.Rays().shown) {
        return;
    }
    if (m_polarShown && m_polarCentre == centre) {
        m_polarShown = false;
    } else {
        m_polarShown = true;
        m_polarCentre = centre;
    }
    update();
}

void CDesignView::DrawPolarOverlay(QPainter& painter)
{
    if (!m_polarShown) {
        return;
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(GridPen());
    painter.setBrush(Qt::NoBrush);
    {
        GdiSurface surface(&painter);
        m_grids.DrawPolar(surface, m_polarCentre, ClientRect());
    }
    painter.restore();
}
