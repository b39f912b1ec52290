#include "editors/pattern_view.h"

#include "documents/pattern_doc.h"
#include "views/bundle_images.h"
#include "editors/pattern_info_box.h"
#include "engine/affine_map_set.h"
#include "framework/ui_resources.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"
#include "render/gdi_marker_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int kMarkerWidth = 12;
constexpr int kMarkerDrawSize = 10;

// Draws on an editor's marker surface, the line of each step in the colour
// of its arrow: the step drawing colours the arrow by the step's flags and
// draws the line with the current pen, which follows the arrow here so that
// the user tells plain, final and invisible steps apart along their length.
class StepColorSurface : public MarkerSurface
{
public:
    StepColorSurface(GdiMarkerSurface& inner, QPainter& painter)
        : m_inner(inner), m_painter(painter)
    {
    }
    void MoveTo(double x, double y) override { m_inner.MoveTo(x, y); }
    void SetPixel(double x, double y, Color color) override { m_inner.SetPixel(x, y, color); }
    void SetPixel(double x, double y) override { m_inner.SetPixel(x, y); }
    void Line(double x1, double y1, double x2, double y2, Color color) override
    {
        m_inner.Line(x1, y1, x2, y2, color);
    }
    void Line(double x1, double y1, double x2, double y2) override { m_inner.Line(x1, y1, x2, y2); }
    void LineTo(double x, double y, Color color) override { m_inner.LineTo(x, y, color); }
    void LineTo(double x, double y) override { m_inner.LineTo(x, y); }
    void Arrow(Point p, Polar v, int size, Color color) override
    {
        m_inner.Arrow(p, v, size, color);
        m_painter.setPen(QPen(ToQColor(color), 0));
    }
    void Arrow(Point p, Polar v, int size) override { m_inner.Arrow(p, v, size); }
    void Circle(double cx, double cy, double r, Color color) override
    {
        m_inner.Circle(cx, cy, r, color);
    }
    void Circle(double cx, double cy, double r) override { m_inner.Circle(cx, cy, r); }
    const AffineMap* GetTransform() const override { return m_inner.GetTransform(); }
    void DrawImage(double x, double y, int width, int height, int index) override
    {
        m_inner.DrawImage(x, y, width, height, index);
    }
    void DrawText(const std::string& text, double x, double y, Color color) override
    {
        m_inner.DrawText(text, x, y, color);
    }
    void DrawText(const std::string& text, double x, double y) override
    {
        m_inner.DrawText(text, x, y);
    }
    double TextWidth(const std::string& text) override { return m_inner.TextWidth(text); }
    double TextHeight(const std::string& text) override { return m_inner.TextHeight(text); }
    Color SelectColor(int flags) override { return m_inner.SelectColor(flags); }

private:
    GdiMarkerSurface& m_inner;
    QPainter& m_painter;
};

} // namespace

CPatternView::CPatternView()
{
    m_markers = LoadBundleImages(Res::Bitmap::PatternMarkers, kMarkerWidth);
    AddCommand(
        Cmd::FanMode, [this] { ToggleFanMode(); },
        [this](CommandState& state) { state.SetCheck(m_fanMode); });
    AddCommand(
        Cmd::DeleteAllSteps, [this] { DeleteAll(); },
        [this](CommandState& state) {
            const CPatternDoc* document = GetPatternDoc();
            state.Enable(document != nullptr && !document->GetPattern().empty());
        });
    AddCommand(
        Cmd::Counterclockwise, [this] { m_counterclockwise = !m_counterclockwise; },
        [this](CommandState& state) { state.SetCheck(m_counterclockwise); });
    AddValueCommand(Cmd::ShapeBox, [this](const QString& text) { OnShapeText(text); });
    AddCommand(
        Cmd::PatternInfoBox, [this] { ToggleInfoBox(); },
        [this](CommandState& state) { state.SetCheck(m_infoBox && m_infoBox->isVisible()); });
}

CPatternView::~CPatternView() = default;

CPatternDoc* CPatternView::GetPatternDoc() const
{
    return qobject_cast<CPatternDoc*>(GetDocument());
}

void CPatternView::OnInitialUpdate()
{
    CDesignView::OnInitialUpdate();
    if (m_infoBox == nullptr) {
        m_infoBox = new CPatternInfoBox(this);
        m_infoBox->move(0, 0);
        m_infoBox->show();
        UpdateInfoBox();
    }
}

void CPatternView::OnActivateView(bool activate, View* activated, View* deactivated)
{
    if (activate) {
        m_activatedFlag = true;
        m_pressActivates = true;
        // Only a press delivered while the activation is being handled is
        // the activating click.
        QTimer::singleShot(0, this, [this] { m_pressActivates = false; });
    }
    CDesignView::OnActivateView(activate, activated, deactivated);
}

void CPatternView::ToggleFanMode()
{
    m_fanMode = !m_fanMode;
    update();
}

void CPatternView::DeleteAll()
{
    if (CPatternDoc* document = GetPatternDoc()) {
        document->DeleteAllSteps();
    }
    update();
}

void CPatternView::OnShapeSelected(int entry)
{
    CPatternDoc* document = GetPatternDoc();
    if (entry < 1 || document == nullptr) {
        return;
    }
    document->AppendPolygon(entry + 1, m_counterclockwise);
    m_shapeEntry = 0;
    BarsChanged();
}

int CPatternView::BarSet() const
{
    return Res::Bands::Pattern;
}

bool CPatternView::QueryBarControl(int controlId, BarControlState& state) const
{
    if (controlId == Cmd::ShapeBox) {
        state.current = m_shapeEntry;
        return true;
    }
    return CDesignView::QueryBarControl(controlId, state);
}

void CPatternView::OnShapeText(const QString& text)
{
    const QStringList names =
        UiResources::Current().String(Res::Str::ShapeNames).split(QLatin1Char(','));
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].trimmed() == text.trimmed()) {
            OnShapeSelected(i);
            return;
        }
    }
}

void CPatternView::ToggleInfoBox()
{
    if (m_infoBox != nullptr) {
        m_infoBox->setVisible(!m_infoBox->isVisible());
    }
}

Point CPatternView::EventPoint(const QMouseEvent& event) const
{
    if ((event.modifiers() & Qt::ControlModifier) != 0) {
        return m_reference.end;
    }
    return {event.position().x(), event.position().y()};
}

Point CPatternView::EndFor(Point p) const
{
    return p == m_reference.end ? p : m_grids.Snap(p, m_anchor);
}

PatternStep CPatternView::StepTo(Point end, int flags) const
{
    const Polar polar = ToPolar(end - m_anchor);
    PatternStep step;
    step.flags = flags;
    step.angle = polar.angle - m_referencePolar.angle;
    step.ratio = m_referencePolar.length > 0.0 ? polar.length / m_referencePolar.length : 0.0;
    return step;
}

void CPatternView::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        return;
    }
    if (m_activatedFlag && m_pressActivates) {
        // The click that activated the window draws nothing.
        m_activatedFlag = false;
        m_swallowRelease = true;
        return;
    }
    m_activatedFlag = false;
    if (!m_idle) {
        return;
    }
    ShowPolarGrids(m_anchor);
    m_idle = false;
    m_dragButton = button;
    Track(EventPoint(*event));
}

void CPatternView::mouseMoveEvent(QMouseEvent* event)
{
    CDesignView::mouseMoveEvent(event);
    Track(EventPoint(*event));
}

void CPatternView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_swallowRelease) {
        m_swallowRelease = false;
        return;
    }
    if (m_idle || event->button() != m_dragButton) {
        return;
    }
    ShowPolarGrids(m_anchor);
    int flags = (event->modifiers() & Qt::ShiftModifier) != 0 ? StepFinal : 0;
    if (m_dragButton == Qt::RightButton) {
        flags |= StepInvisible;
    }
    Commit(EventPoint(*event), flags);
    m_idle = true;
    m_dragButton = Qt::NoButton;
}

void CPatternView::Track(Point p)
{
    if (m_idle) {
        return;
    }
    m_freeEnd = EndFor(p);
    m_rubberShown = true;
    if (m_infoBox != nullptr) {
        const CPatternDoc* document = GetPatternDoc();
        const PatternStep step = StepTo(m_freeEnd, 0);
        m_infoBox->Show(document ? static_cast<int>(document->GetPattern().size()) + 1 : 1, &step);
    }
    update();
}

void CPatternView::Commit(Point p, int flags)
{
    if (m_idle) {
        return;
    }
    m_rubberShown = false;
    m_freeEnd = EndFor(p);
    const PatternStep step = StepTo(m_freeEnd, flags);
    if (CPatternDoc* document = GetPatternDoc()) {
        // The document tells its views, which repaint with the new step.
        document->AppendStep(step);
    }
    update();
}

void CPatternView::UpdateInfoBox()
{
    if (m_infoBox == nullptr) {
        return;
    }
    const CPatternDoc* document = GetPatternDoc();
    if (document == nullptr || document->GetPattern().empty()) {
        m_infoBox->Show(0, nullptr);
        return;
    }
    const Pattern& pattern = document->GetPattern();
    m_infoBox->Show(static_cast<int>(pattern.size()), &pattern[pattern.size() - 1]);
}

void CPatternView::OnDraw(QPainter& painter)
{
    const bool dragging = !m_idle && m_rubberShown;
    const Point dragEnd = m_freeEnd;
    CDesignView::OnDraw(painter);

    const QRect client = ClientRect();
    m_reference = ReferenceFrame(client, m_zoom, 0, m_scrollX, m_scrollY);
    m_referencePolar = SegmentPolar(m_reference);

    painter.save();
    painter.setClipRect(client);
    {
        GdiMarkerSurface surface(&painter, &m_colors[3], &m_markers);
        painter.fillRect(client, ToQColor(m_colors[0]));

        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(GridPen());
        m_grids.DrawSquare(surface, client, DesignGrids::kExtendRight);
        painter.restore();

        if (ShowsReference()) {
            painter.setPen(QPen(ToQColor(m_colors[1]), 2));
            surface.Line(m_reference.start.x, m_reference.start.y, m_reference.end.x,
                         m_reference.end.y);
        }
        const CPatternDoc* document = GetPatternDoc();
        m_freeEnd = m_reference.start;
        if (document != nullptr && !document->GetPattern().empty()) {
            painter.save();
            StepColorSurface steps(surface, painter);
            if (m_fanMode) {
                document->GetPattern().DrawVectors(steps, m_reference, 0, 1);
            } else {
                m_freeEnd = document->GetPattern().DrawChained(steps, m_reference, 0, 1);
            }
            painter.restore();
        }
        m_anchor = m_freeEnd;
        if (m_fanMode) {
            surface.DrawImage(m_freeEnd.x, m_freeEnd.y, kMarkerDrawSize, kMarkerDrawSize, 0);
            surface.DrawImage(m_reference.start.x, m_reference.start.y, kMarkerDrawSize,
                              kMarkerDrawSize, 1);
        } else {
            surface.DrawImage(m_anchor.x, m_anchor.y, kMarkerDrawSize, kMarkerDrawSize, 0);
            surface.DrawImage(m_freeEnd.x, m_freeEnd.y, kMarkerDrawSize, kMarkerDrawSize, 1);
        }
    }
    if (!dragging) {
        UpdateInfoBox();
    }
    DrawPolarOverlay(painter);
    if (dragging) {
        // The rubber band: white in exclusive or, as a drag always showed it.
        m_freeEnd = dragEnd;
        m_rubberShown = true;
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0));
        GdiSurface surface(&painter);
        surface.Line(m_anchor.x, m_anchor.y, m_freeEnd.x, m_freeEnd.y);
    }
    painter.restore();
}
