#pragma once

// The graphical editor of a set of affine maps. It shows one map at a time:
// the unit square of the model and its image under the selected map, with
// three handles to drag (the images of the unit x and y vectors, u and v,
// and of the origin, w). Tabs at the bottom select a map; the last tab adds
// one. The mirror and quarter-turn constraints move the other vector handle
// with the one dragged. A box shows the selected map's coefficients.
//
// Model coordinates map to the window by (L, 0, 0, L, s.x, s.y): one model
// unit is the reference length L in pixels, the model origin sits on the
// reference start s, y points down. The map changes live while a handle is
// dragged; the whole drag is one undoable edit of the document.
//
// Only the interface thread uses the view.

#include "editors/design_view.h"
#include "engine/pattern.h"
#include "render/marker_images.h"

class CAffineMapBox;
class CIfsDoc;
class QTabBar;

class CIfsView : public CDesignView
{
    Q_OBJECT
public:
    static constexpr int kTabHeight = 24;
    static constexpr int kHitDistance = 10;

    CIfsView();
    ~CIfsView() override;

    CIfsDoc* GetIfsDoc() const;

    void OnInitialUpdate() override;
    void OnUpdate(View* sender, int hint) override;
    // The editor tool bar and the grid bar, with the colour bar.
    int BarSet() const override;

    // The commands, also for tests.
    void AddMap();
    void DeleteCurrentMap();
    void ToggleConstraint(int constraint);
    void ToggleMapBox();
    // Selects map `index` (its tab becomes current).
    void SelectMap(int index);

    Point ModelPoint(Point window) const override;

    QTabBar* Tabs() const { return m_tabs; }
    CAffineMapBox* MapBox() const { return m_mapBox; }

    int m_selected = -1;
    MapFrame m_mapFrame;
    MapFrame m_unitFrame;
    InitiatorSet m_unitSquare = InitiatorSet::Square(1.0);
    InitiatorSet m_mapSquare;
    Point m_mouse;
    Point m_dragAnchor;
    Point m_originCorner;
    Point m_xCorner;
    Point m_yCorner;
    AffineMap m_viewTransform = kIdentityMap;
    int m_constraint = 0;
    int m_dragHandle = 0;

protected:
    void OnDraw(QPainter& painter) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void RebuildTabs();
    void RelabelTabs();
    void OnTabChanged(int index);
    void DragTo(Point p, int handle);
    void ComputeMapSquare(const AffineMap& map);
    void LayoutTabs();
    const AffineMap* SelectedMap() const;

    ImageList m_handles;
    CAffineMapBox* m_mapBox = nullptr;
    QTabBar* m_tabs = nullptr;
    // The map as it was when the drag began, for the undo history.
    AffineMap m_dragStartMap;
    bool m_updatingTabs = false;
};
