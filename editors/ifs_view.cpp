#include "editors/ifs_view.h"

#include "documents/ifs_doc.h"
#include "editors/affine_map_box.h"
#include "views/bundle_images.h"
#include "engine/affine_map_set.h"
#include "framework/ui_resources.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"
#include "render/gdi_marker_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QTimer>

#include <cmath>

namespace {

constexpr int kHandleSize = 16;

QString MapTabText(int index)
{
    return QStringLiteral("[%1]").arg(index);
}

QString AddTabText()
{
    const QString text = UiResources::Current().String(Res::Str::AddMapTab);
    return text.isEmpty() ? QStringLiteral("+") : text;
}

void DrawHandles(MarkerSurface& surface, const MapFrame& frame, int u, int v, int w)
{
    surface.DrawImage(frame.u.x, frame.u.y, kHandleSize, kHandleSize, u);
    surface.DrawImage(frame.v.x, frame.v.y, kHandleSize, kHandleSize, v);
    surface.DrawImage(frame.w.x, frame.w.y, kHandleSize, kHandleSize, w);
}

bool Hits(Point handle, Point mouse)
{
    return std::abs(handle.x - mouse.x) < CIfsView::kHitDistance &&
           std::abs(handle.y - mouse.y) < CIfsView::kHitDistance;
}

} // namespace

CIfsView::CIfsView()
{
    m_handles = LoadBundleImages(Res::Bitmap::IfsHandles, kHandleSize);
    AddCommand(Cmd::AddMap, [this] { AddMap(); });
    AddCommand(
        Cmd::DeleteMap, [this] { DeleteCurrentMap(); },
        [this](CommandState& state) {
            const CIfsDoc* document = GetIfsDoc();
            state.Enable(document != nullptr && document->Maps().size() > 1 && m_selected >= 0);
        });
    AddCommand(
        Cmd::MirrorConstraint, [this] { ToggleConstraint(1); },
        [this](CommandState& state) { state.SetCheck(m_constraint == 1); });
    AddCommand(
        Cmd::QuarterTurnConstraint, [this] { ToggleConstraint(2); },
        [this](CommandState& state) { state.SetCheck(m_constraint == 2); });
    AddCommand(
        Cmd::AffineMapBox, [this] { ToggleMapBox(); },
        [this](CommandState& state) { state.SetCheck(m_mapBox && m_mapBox->isVisible()); });
}

CIfsView::~CIfsView() = default;

CIfsDoc* CIfsView::GetIfsDoc() const
{
    return qobject_cast<CIfsDoc*>(GetDocument());
}

const AffineMap* CIfsView::SelectedMap() const
{
    const CIfsDoc* document = GetIfsDoc();
    if (document == nullptr || m_selected < 0 ||
        static_cast<std::size_t>(m_selected) >= document->Maps().size()) {
        return nullptr;
    }
    return &document->Maps()[static_cast<std::size_t>(m_selected)];
}

void CIfsView::OnInitialUpdate()
{
    if (m_mapBox == nullptr) {
        m_mapBox = new CAffineMapBox(this);
        m_mapBox->move(0, 0);
        m_mapBox->show();
    }
    if (m_tabs == nullptr) {
        m_tabs = new QTabBar(this);
        m_tabs->setObjectName(QString::number(Res::Control::ReportList));
        m_tabs->setShape(QTabBar::RoundedSouth);
        m_tabs->setExpanding(false);
        m_tabs->setDrawBase(true);
        m_tabs->setFocusPolicy(Qt::TabFocus);
        connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) { OnTabChanged(index); });
        LayoutTabs();
        m_tabs->show();
    }
    CDesignView::OnInitialUpdate();
}

int CIfsView::BarSet() const
{
    return Res::Bands::Ifs;
}

void CIfsView::LayoutTabs()
{
    if (m_tabs != nullptr) {
        const QRect client = ClientRect();
        m_tabs->setGeometry(client.left(), client.bottom() + 1 - kTabHeight, client.width(),
                            kTabHeight);
    }
}

void CIfsView::resizeEvent(QResizeEvent* event)
{
    CDesignView::resizeEvent(event);
    LayoutTabs();
}

void CIfsView::OnUpdate(View* sender, int hint)
{
    Q_UNUSED(sender);
    Q_UNUSED(hint);
    RebuildTabs();
    update();
}

void CIfsView::RebuildTabs()
{
    const CIfsDoc* document = GetIfsDoc();
    const int n = document != nullptr ? static_cast<int>(document->Maps().size()) : 0;
    if (n == 0) {
        m_selected = -1;
    } else if (m_selected < 0) {
        m_selected = 0;
    } else if (m_selected >= n) {
        // The maps went (an undo of an addition, a file): the last one left.
        m_selected = n - 1;
    }
    if (m_tabs == nullptr) {
        return;
    }
    m_updatingTabs = true;
    while (m_tabs->count() > 0) {
        m_tabs->removeTab(0);
    }
    for (int i = 0; i < n; ++i) {
        m_tabs->addTab(MapTabText(i));
    }
    m_tabs->addTab(AddTabText());
    if (m_selected >= 0) {
        m_tabs->setCurrentIndex(m_selected);
    }
    m_updatingTabs = false;
}

void CIfsView::RelabelTabs()
{
    if (m_tabs == nullptr) {
        return;
    }
    for (int i = 0; i + 1 < m_tabs->count(); ++i) {
        m_tabs->setTabText(i, MapTabText(i));
    }
}

void CIfsView::OnTabChanged(int index)
{
    if (m_updatingTabs || m_tabs == nullptr) {
        return;
    }
    const CIfsDoc* document = GetIfsDoc();
    if (document != nullptr && index >= 0 &&
        static_cast<std::size_t>(index) < document->Maps().size()) {
        m_selected = index;
        update();
    } else if (index == m_tabs->count() - 1) {
        // The adding tab, by a click or the keyboard: a new map, once the tab
        // bar has finished with the event.
        QTimer::singleShot(0, this, [this] {
            if (m_tabs != nullptr && m_tabs->currentIndex() == m_tabs->count() - 1) {
                AddMap();
            }
        });
    }
}

void CIfsView::SelectMap(int index)
{
    const CIfsDoc* document = GetIfsDoc();
    if (document == nullptr || index < 0 ||
        static_cast<std::size_t>(index) >= document->Maps().size()) {
        return;
    }
    m_selected = index;
    if (m_tabs != nullptr) {
        m_updatingTabs = true;
        m_tabs->setCurrentIndex(index);
        m_updatingTabs = false;
    }
    update();
}

void CIfsView::AddMap()
{
    CIfsDoc* document = GetIfsDoc();
    if (document == nullptr) {
        return;
    }
    document->AddMap();
    // The document's update has rebuilt the tabs.
    SelectMap(static_cast<int>(document->Maps().size()) - 1);
}

void CIfsView::DeleteCurrentMap()
{
    CIfsDoc* document = GetIfsDoc();
    const int k = m_tabs != nullptr ? m_tabs->currentIndex() : m_selected;
    if (document == nullptr || document->Maps().size() < 2 || k < 0 ||
        static_cast<std::size_t>(k) >= document->Maps().size()) {
        return;
    }
    if (document->DeleteMap(k)) {
        RelabelTabs();
        SelectMap(static_cast<int>(document->Maps().size()) - 1);
    }
}

void CIfsView::ToggleConstraint(int constraint)
{
    m_constraint = m_constraint != constraint ? constraint : 0;
}

void CIfsView::ToggleMapBox()
{
    if (m_mapBox != nullptr) {
        m_mapBox->setVisible(!m_mapBox->isVisible());
    }
}

Point CIfsView::ModelPoint(Point window) const
{
    const double length = m_viewTransform.a;
    if (length == 0.0) {
        return {};
    }
    return {(window.x - m_viewTransform.e) / length, (window.y - m_viewTransform.f) / length};
}

void CIfsView::ComputeMapSquare(const AffineMap& map)
{
    const AffineMap k = Compose(m_viewTransform, map);
    TransformSegments(k, m_mapSquare.Segments(), m_unitSquare.Segments());
}

void CIfsView::OnDraw(QPainter& painter)
{
    CDesignView::OnDraw(painter);
    const QRect client = ClientRect();
    painter.save();
    painter.setClipRect(client);

    // Both free spaces are shared out by the fractions; the grid is laid on
    // the same reference that snapping uses, so snapped points lie on it.
    m_reference = ReferenceFrame(client, m_zoom, m_zoom, m_scrollX, m_scrollY);
    m_referencePolar = SegmentPolar(m_reference);
    const double length = m_referencePolar.length;
    m_viewTransform = {length, 0.0, 0.0, length, m_reference.start.x, m_reference.start.y};

    GdiMarkerSurface surface(&painter, &m_colors[3], &m_handles);
    painter.fillRect(client, ToQColor(m_colors[0]));
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(GridPen());
    m_grids.DrawSquare(surface, client, DesignGrids::kExtendRight | DesignGrids::kExtendDown);
    painter.restore();

    m_unitFrame = FrameToView(FrameFromMap(kIdentityMap), {0.0, 0.0}, m_reference);
    DrawHandles(surface, m_unitFrame, 4, 5, 3);

    painter.setPen(QPen(ToQColor(m_colors[1]), 2));
    InitiatorSet unit;
    TransformSegments(m_viewTransform, unit.Segments(), m_unitSquare.Segments());
    unit.DrawSegments(surface);
    m_originCorner = unit.Segments().front().start;
    m_yCorner = unit.Segments().front().end;
    m_xCorner = unit.Segments().back().start;

    if (const AffineMap* map = SelectedMap()) {
        ComputeMapSquare(*map);
        m_mapSquare.DrawSegments(surface, m_colors[1]);
        m_mapFrame = FrameToView(FrameFromMap(*map), {map->e, map->f}, m_reference);
        DrawHandles(surface, m_mapFrame, 1, 2, 0);
        if (m_mapBox != nullptr) {
            m_mapBox->ShowMap(m_selected, *map);
        }
    }
    DrawPolarOverlay(painter);
    if (!m_idle && SelectedMap() != nullptr) {
        // The rubber square of the drag: white in exclusive or.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0));
        GdiSurface rubber(&painter);
        m_mapSquare.DrawSegments(rubber);
        m_rubberShown = true;
    }
    painter.restore();
}

void CIfsView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        TrackPopupMenu(Res::Popup::IfsEditor, event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !m_idle) {
        return;
    }
    m_mouse = {event->position().x(), event->position().y()};
    const AffineMap* map = SelectedMap();
    if (map != nullptr) {
        int hit = -1;
        if (Hits(m_mapFrame.u, m_mouse)) {
            hit = 1;
        } else if (Hits(m_mapFrame.v, m_mouse)) {
            hit = 2;
        } else if (Hits(m_mapFrame.w, m_mouse)) {
            hit = 0;
        }
        if (hit >= 0) {
            m_idle = false;
            m_dragHandle = hit;
            m_dragStartMap = *map;
            DragTo(m_mouse, m_dragHandle);
        }
    }
    m_dragAnchor = m_dragHandle == 0 ? m_originCorner : m_dragHandle == 1 ? m_xCorner : m_yCorner;
    ShowPolarGrids(m_dragAnchor);
}

void CIfsView::mouseMoveEvent(QMouseEvent* event)
{
    CDesignView::mouseMoveEvent(event);
    if (m_idle) {
        return;
    }
    m_mouse = m_grids.Snap({event->position().x(), event->position().y()}, m_dragAnchor);
    DragTo(m_mouse, m_dragHandle);
}

void CIfsView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // The overlay goes with the press that showed it, hit or not.
    ShowPolarGrids(m_dragAnchor);
    if (!m_idle) {
        m_mouse = m_grids.Snap({event->position().x(), event->position().y()}, m_dragAnchor);
        DragTo(m_mouse, m_dragHandle);
        m_idle = true;
        if (CIfsDoc* document = GetIfsDoc()) {
            document->CommitMapChange(m_selected, m_dragStartMap);
        }
    }
    m_idle = true;
    m_dragHandle = 0;
    update();
}

void CIfsView::DragTo(Point p, int handle)
{
    CIfsDoc* document = GetIfsDoc();
    const AffineMap* map = SelectedMap();
    if (m_idle || document == nullptr || map == nullptr) {
        return;
    }
    const Point t{map->e, map->f};
    const Segment& s = m_reference;
    if (SegmentPolar(s).length <= 0.0) {
        return;
    }
    if (handle == 0) {
        m_mapFrame.w = p;
    } else if (handle == 1) {
        m_mapFrame.u = p;
        if (m_constraint == 1) {
            m_mapFrame.v = MirrorInFrame(p, t, s);
        } else if (m_constraint == 2) {
            m_mapFrame.v = QuarterTurnInFrame(p, t, s);
        }
    } else {
        m_mapFrame.v = p;
        if (m_constraint == 1) {
            m_mapFrame.u = MirrorInFrame(p, t, s);
        } else if (m_constraint == 2) {
            m_mapFrame.u = QuarterTurnInFrame(p, t, s);
        }
    }
    const AffineMap changed = MapFromFrame(FrameFromView(m_mapFrame, t, s));
    document->SetMapLive(m_selected, changed);
    m_mapFrame = FrameToView(FrameFromMap(changed), {changed.e, changed.f}, s);
    ComputeMapSquare(changed);
    m_rubberShown = true;
    if (m_mapBox != nullptr) {
        m_mapBox->ShowMap(m_selected, changed);
    }
    update();
}
