#pragma once

// A drawing surface over a QPainter: a window's image, a printer page, an SVG
// or PDF generator. Model coordinates go through the optional transform in
// doubles and are then truncated toward zero to whole device units of the
// painter, which may itself carry a window/viewport mapping.

#include "surface/drawing_surface.h"

#include <QBrush>
#include <QColor>
#include <QLine>
#include <QPainterPath>
#include <QPen>
#include <QPoint>

#include <vector>

class QPainter;

// Whole device coordinates are limited to this magnitude: far beyond any
// page, well inside what the painter's fixed-point rasteriser survives, and
// a figure zoomed to absurd sizes stays defined behaviour.
inline constexpr int kDeviceCoordinateLimit = 1 << 24;

// A stored colour (red in the low byte) as Qt's colour, fully opaque.
inline QColor ToQColor(Color c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// Truncation toward zero, limited to +-kDeviceCoordinateLimit; NaN gives 0.
// Inline: the rasteriser calls it for every point of every line.
inline int TruncateToDevice(double v)
{
    if (v >= kDeviceCoordinateLimit) {
        return kDeviceCoordinateLimit;
    }
    if (v <= -kDeviceCoordinateLimit) {
        return -kDeviceCoordinateLimit;
    }
    return v == v ? static_cast<int>(v) : 0;
}

class GdiSurface : public virtual DrawingSurface
{
public:
    // How consecutive uncoloured lines and pixels reach the painter. One at a
    // time is the plain behaviour; the batched modes give the same picture
    // with fewer painter calls, and Path joins connected lines into one path
    // (what vector output wants). A batch is flushed by every operation with
    // a colour, by SetColor, SetTransform, Flush and the destructor: owners
    // that change the painter's pen themselves call Flush first.
    enum class Batching
    {
        None,
        Lines,
        Path
    };

    // The painter is not owned and must be active for the surface's life.
    explicit GdiSurface(QPainter* painter);
    ~GdiSurface() override;
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    // The transform must outlive every drawing call; null is the identity.
    void SetTransform(const AffineMap* transform);
    void SetColor(Color color);
    Color GetColor() const { return m_color; }
    QPainter* Painter() const { return m_painter; }
    void SetBatching(Batching mode);
    // The width, in device pixels, of a pixel drawn by SetPixel: 1 on a
    // screen; more on a device whose pixels are much smaller than a
    // screen's, such as a printer.
    void SetPointSize(double devicePixels);
    void Flush();

    void MoveTo(double x, double y) override;
    void SetPixel(double x, double y, Color color) override;
    void SetPixel(double x, double y) override;
    void Line(double x1, double y1, double x2, double y2, Color color) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void LineTo(double x, double y, Color color) override;
    void LineTo(double x, double y) override;
    void Arrow(Point p, Polar v, int size, Color color) override;
    void Arrow(Point p, Polar v, int size) override;
    void Circle(double cx, double cy, double r, Color color) override;
    void Circle(double cx, double cy, double r) override;
    const AffineMap* GetTransform() const override { return m_transform; }

    // A model point in the painter's whole units: transform, then truncation.
    QPoint ToDevice(double x, double y) const;

private:
    void DrawSegment(QPoint from, QPoint to);

    QPainter* m_painter;
    const AffineMap* m_transform = nullptr;
    Color m_color = 0;
    double m_pointSize = 1.0;
    // The current position, in the painter's units, as a device context
    // keeps it: where MoveTo, Line and LineTo leave the pen.
    QPoint m_current;

    Batching m_batching = Batching::None;
    std::vector<QLine> m_lines;
    std::vector<QPoint> m_points;
    QPainterPath m_path;
    int m_pathElements = 0;
};

// Scoped painter state: a solid cosmetic one-pixel pen of a colour, put back
// when the scope ends, also when a stopped drawing unwinds through it. A
// width above 1 gives a cosmetic pen of that many device pixels with square
// ends (how a point is enlarged on a printer).
class ScopedPen
{
public:
    ScopedPen(QPainter* painter, Color color, double devicePixels = 1.0);
    ~ScopedPen();
    ScopedPen(const ScopedPen&) = delete;
    ScopedPen& operator=(const ScopedPen&) = delete;

private:
    QPainter* m_painter;
    QPen m_previous;
};

// The same for a brush; a null brush style means hollow.
class ScopedBrush
{
public:
    ScopedBrush(QPainter* painter, const QBrush& brush);
    ~ScopedBrush();
    ScopedBrush(const ScopedBrush&) = delete;
    ScopedBrush& operator=(const ScopedBrush&) = delete;

private:
    QPainter* m_painter;
    QBrush m_previous;
};
