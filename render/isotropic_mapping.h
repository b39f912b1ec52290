#pragma once

// Maps a window rectangle in logical units onto a target rectangle of device
// pixels with one scale for both axes, the window centred in the target: how
// a fractal, drawn in its own units, is fitted to a client area or a page.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTransform>

class QPainter;

struct IsotropicParams
{
    // Device pixels per logical unit, equal on both axes.
    double scale = 1.0;
    // The device point the window origin lands on.
    QPoint viewportOrigin;
    QPoint windowOrigin;
    // Two whole extents whose ratio is exactly `scale` (device over
    // logical), so the painter's window and viewport carry no rounding.
    int logicalExtent = 1;
    int deviceExtent = 1;
    // Added to every device coordinate: 0.5 moves the whole-pixel grid onto
    // the pixel centres, where an antialiased or vector stroke of one pixel
    // covers whole pixels. The aliased rasteriser picks whole pixels itself
    // and leaves it at 0.
    double pixelOffset = 0.0;

    // Device coordinates of a logical point, before any pixel rounding.
    double DeviceX(double x) const
    {
        return viewportOrigin.x() + (x - windowOrigin.x()) * scale + pixelOffset;
    }
    double DeviceY(double y) const
    {
        return viewportOrigin.y() + (y - windowOrigin.y()) * scale + pixelOffset;
    }
};

// The scale is the smaller of target/extent over the two axes, an axis with a
// zero extent not counting; the window is centred in the target with
// truncation toward zero. An extent of zero on both axes maps one unit to one
// pixel rather than to an infinite scale.
IsotropicParams ComputeIsotropic(QSize target, QPoint windowOrigin, QSize windowExtent);

// Sets the mapping on a painter for its lifetime and puts the previous window,
// viewport and view-transform state back when it ends, also when a stopped
// drawing unwinds through it.
class IsotropicMapping
{
public:
    IsotropicMapping(QPainter& painter, QSize target, QPoint windowOrigin, QSize windowExtent);
    // A mapping computed beforehand, its pixel offset included.
    IsotropicMapping(QPainter& painter, const IsotropicParams& params);
    ~IsotropicMapping();
    IsotropicMapping(const IsotropicMapping&) = delete;
    IsotropicMapping& operator=(const IsotropicMapping&) = delete;

    const IsotropicParams& Params() const { return m_params; }

private:
    QPainter& m_painter;
    IsotropicParams m_params;
    QRect m_previousWindow;
    QRect m_previousViewport;
    bool m_previousEnabled;
    QTransform m_previousWorld;
    bool m_previousWorldEnabled;
};
