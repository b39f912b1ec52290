#pragma once

// The graphical editor of generators and initiators: the user draws the
// motif segment by segment with the mouse, each new segment starting where
// the previous one ended (or, in fan mode, at the reference start).
//
// Left button: a plain step (Shift: a final one); right button: an
// invisible step (Shift: invisible and final). Ctrl puts the end on the
// reference end point (angle 0, ratio 1). While the button is held, a
// rubber band runs from the anchor to the (snapped) mouse and the polar
// grids show about the anchor. The click that only activates the window
// adds nothing.
//
// A step is relative to the reference segment: its angle minus the
// reference angle, its length over the reference length. The document
// records each step as one undoable edit.
//
// Only the interface thread uses the view.

#include "editors/design_view.h"
#include "engine/pattern.h"
#include "render/marker_images.h"

class CPatternDoc;
class CPatternInfoBox;

class CPatternView : public CDesignView
{
    Q_OBJECT
public:
    CPatternView();
    ~CPatternView() override;

    CPatternDoc* GetPatternDoc() const;
    // Whether the reference segment is drawn (generators only).
    virtual bool ShowsReference() const { return false; }

    void OnInitialUpdate() override;
    void OnActivateView(bool activate, View* activated, View* deactivated) override;
    // The editor and pattern bars and the grid bar, with the colour bar.
    int BarSet() const override;
    bool QueryBarControl(int controlId, BarControlState& state) const override;

    // The commands, also for tests.
    void ToggleFanMode();
    void DeleteAll();
    // Shape entry k: a regular polygon of k + 1 sides for k of at least 1.
    void OnShapeSelected(int entry);
    // The shape box's text: the entry of that name in the bundle's list.
    void OnShapeText(const QString& text);
    // The shape box shows this entry (it goes back to 0 after a polygon).
    int ShapeEntry() const { return m_shapeEntry; }
    void ToggleInfoBox();

    CPatternInfoBox* InfoBox() const { return m_infoBox; }

    Point m_anchor;
    Point m_freeEnd;
    bool m_counterclockwise = true;
    bool m_activatedFlag = false;
    bool m_fanMode = false;

protected:
    void OnDraw(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The point a mouse event stands for: the reference end with Ctrl held.
    Point EventPoint(const QMouseEvent& event) const;
    // The end a point gives: the reference end itself, else snapped about
    // the anchor.
    Point EndFor(Point p) const;
    void Track(Point p);
    void Commit(Point p, int flags);
    PatternStep StepTo(Point end, int flags) const;
    void UpdateInfoBox();

    CPatternInfoBox* m_infoBox = nullptr;
    ImageList m_markers;
    Qt::MouseButton m_dragButton = Qt::NoButton;
    int m_shapeEntry = 0;
    // Set while a press that activated the window is being delivered.
    bool m_pressActivates = false;
};

class CGeneratorView : public CPatternView
{
    Q_OBJECT
public:
    bool ShowsReference() const override { return true; }
};

class CInitiatorView : public CPatternView
{
    Q_OBJECT
};
