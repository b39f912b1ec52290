#pragma once

// The common base of the graphical component editors (pattern editor, IFS
// editor). It owns what both share, all of it view state: a colour set of
// its own, the zoom divisor, the two scroll fractions that slide the
// drawing across the free space of the window, the reference segment (its
// length is one model unit, in pixels), the three construction grids with
// snapping, and the dashed polar overlay about a point while the mouse is
// held.
//
// Window coordinates are doubles in pixels of the client area (the view
// without its scroll bars), y pointing down. Overlays that the editors
// draw while the mouse moves (rubber bands, the polar overlay) are view
// state painted by OnDraw in exclusive-or mode, so what the user sees is the
// same as drawing them straight onto the window.
//
// Only the interface thread uses the view.

#include "editors/design_grids.h"
#include "framework/view.h"
#include "render/display_settings.h"

#include <QRect>

class QPainter;
class QScrollBar;

class CDesignView : public View
{
    Q_OBJECT
public:
    CDesignView();
    ~CDesignView() override;

    // The client area: the view without its scroll bars, at (0, 0).
    virtual QRect ClientRect() const;

    // The colour bar shows the view's colours, the grid bar its counts.
    QVector<QRgb> BarColors() const override;
    bool QueryBarControl(int controlId, BarControlState& state) const override;
    void OnInitialColors(const QVector<QRgb>& colors) override;

    // The commands, also for tests.
    void ToggleGrid(DesignGrid& grid);
    void ZoomIn();
    void ZoomOut();
    // Text of the grid bar's edits: a whole number of at least 1 sets the
    // counts (squares and circles, or rays) and repaints; anything else is
    // ignored.
    void OnSquareCountText(const QString& text);
    void OnRayCountText(const QString& text);
    // Opens the colour dialog for entry `index` (0 background, 1 to 6).
    void ChooseColor(int index);
    // Stores colour `index`, repaints, and has the colour bar follow.
    void SetColor(int index, Color color);

    // The model point (in reference units, from the reference start) of a
    // window point, as the status bar shows it.
    virtual Point ModelPoint(Point window) const;

    QScrollBar* HorizontalBar() const { return m_hbar; }
    QScrollBar* VerticalBar() const { return m_vbar; }

    ColorSet m_colors = kDefaultColorSet;
    Segment m_reference;
    Polar m_referencePolar;
    int m_zoom = 2;
    DesignGrids m_grids{&m_reference};
    double m_scrollX = 0.5;
    double m_scrollY = 0.5;
    int m_scrollRange = 100;
    bool m_rubberShown = false;
    bool m_idle = true;
    bool m_swallowRelease = false;

protected:
    // Every subclass calls it first: a repaint starts from a clean window.
    void OnDraw(QPainter& painter) override;
    // Shows or hides the polar overlay about `centre`: a second call with the
    // same centre hides it. Nothing while neither polar grid is shown.
    void ShowPolarGrids(Point centre);
    // Draws the overlay if it is shown; for OnDraw of the subclasses.
    void DrawPolarOverlay(QPainter& painter);
    // A dashed one-pixel pen in the complement of the background, for
    // exclusive-or drawing of grids and overlays.
    QPen GridPen() const;
    // Tells the status bar where the mouse is in model units.
    void ShowMousePosition(Point window);

    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void OnScrollAction(QScrollBar* bar, double& fraction, int action);
    void LayoutScrollBars();

    QScrollBar* m_hbar = nullptr;
    QScrollBar* m_vbar = nullptr;
    bool m_polarShown = false;
    Point m_polarCentre;
};
