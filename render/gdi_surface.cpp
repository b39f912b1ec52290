#include "render/gdi_surface.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Paths longer than this are written as several: a vector file stays
// streamable and a viewer never has to hold one path of millions of points.
constexpr int kMaxPathElements = 8192;
constexpr std::size_t kMaxBatch = 4096;

} // namespace

ScopedPen::ScopedPen(QPainter* painter, Color color, double devicePixels)
    : m_painter(painter), m_previous(painter->pen())
{
    QPen pen(ToQColor(color));
    if (devicePixels > 1.0) {
        pen.setWidthF(devicePixels);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::SquareCap);
    } else {
        pen.setWidth(0);
    }
    painter->setPen(pen);
}

ScopedPen::~ScopedPen()
{
    m_painter->setPen(m_previous);
}

ScopedBrush::ScopedBrush(QPainter* painter, const QBrush& brush)
    : m_painter(painter), m_previous(painter->brush())
{
    painter->setBrush(brush);
}

ScopedBrush::~ScopedBrush()
{
    m_painter->setBrush(m_previous);
}

GdiSurface::GdiSurface(QPainter* painter) : m_painter(painter) {}

GdiSurface::~GdiSurface()
{
    Flush();
}

void GdiSurface::SetTransform(const AffineMap* transform)
{
    Flush();
    m_transform = transform;
}

void GdiSurface::SetColor(Color color)
{
    Flush();
    m_color = color;
}

void GdiSurface::SetBatching(Batching mode)
{
    Flush();
    m_batching = mode;
}

void GdiSurface::SetPointSize(double devicePixels)
{
    Flush();
    m_pointSize = devicePixels;
}

void GdiSurface::Flush()
{
    if (!m_lines.empty()) {
        m_painter->drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
        m_lines.clear();
    }
    if (m_pathElements > 0) {
        // A path would also be filled with the painter's brush.
        ScopedBrush hollow(m_painter, Qt::NoBrush);
        m_painter->drawPath(m_path);
        m_path.clear();
        m_pathElements = 0;
    }
    if (!m_points.empty()) {
        ScopedPen pen(m_painter, m_color, m_pointSize);
        if (m_batching == Batching::Path && m_pointSize <= 1.0) {
            // A vector device turns a point into a square of one unit of
            // the mapped coordinates, which a fitted figure shrinks to
            // nothing; a zero-length stroke of the cosmetic pen stays one
            // device pixel, as on a screen.
            QPainterPath dots;
            for (const QPoint& p : m_points) {
                // A path drops a line to where it already is.
                dots.moveTo(p);
                dots.lineTo(QPointF(p) + QPointF(1e-3, 0.0));
            }
            ScopedBrush hollow(m_painter, Qt::NoBrush);
            m_painter->drawPath(dots);
        } else {
            m_painter->drawPoints(m_points.data(), static_cast<int>(m_points.size()));
        }
        m_points.clear();
    }
}

QPoint GdiSurface::ToDevice(double x, double y) const
{
    if (m_transform != nullptr) {
        const AffineMap& m = *m_transform;
        return {TruncateToDevice(m.a * x + m.b * y + m.e),
                TruncateToDevice(m.c * x + m.d * y + m.f)};
    }
    return {TruncateToDevice(x), TruncateToDevice(y)};
}

void GdiSurface::DrawSegment(QPoint from, QPoint to)
{
    m_current = to;
    switch (m_batching) {
    case Batching::None:
        m_painter->drawLine(from, to);
        return;
    case Batching::Lines:
        m_lines.emplace_back(from, to);
        if (m_lines.size() >= kMaxBatch) {
            Flush();
        }
        return;
    case Batching::Path:
        if (m_pathElements == 0 || m_path.currentPosition() != QPointF(from)) {
            if (m_pathElements >= kMaxPathElements) {
                Flush();
            }
            m_path.moveTo(from);
            ++m_pathElements;
        }
        m_path.lineTo(to);
        ++m_pathElements;
        return;
    }
}

void GdiSurface::MoveTo(double x, double y)
{
    m_current = ToDevice(x, y);
}

void GdiSurface::SetPixel(double x, double y, Color color)
{
    Flush();
    ScopedPen pen(m_painter, color, m_pointSize);
    m_painter->drawPoint(ToDevice(x, y));
}

void GdiSurface::SetPixel(double x, double y)
{
    if (m_batching != Batching::None) {
        if (!m_lines.empty() || m_pathElements > 0) {
            Flush(); // keep the order of lines and pixels
        }
        m_points.push_back(ToDevice(x, y));
        if (m_points.size() >= kMaxBatch) {
            Flush();
        }
        return;
    }
    ScopedPen pen(m_painter, m_color, m_pointSize);
    m_painter->drawPoint(ToDevice(x, y));
}

void GdiSurface::Line(double x1, double y1, double x2, double y2, Color color)
{
    Flush();
    ScopedPen pen(m_painter, color);
    const QPoint from = ToDevice(x1, y1);
    m_current = ToDevice(x2, y2);
    m_painter->drawLine(from, m_current);
}

void GdiSurface::Line(double x1, double y1, double x2, double y2)
{
    if (!m_points.empty()) {
        Flush();
    }
    DrawSegment(ToDevice(x1, y1), ToDevice(x2, y2));
}

void GdiSurface::LineTo(double x, double y, Color color)
{
    Flush();
    ScopedPen pen(m_painter, color);
    const QPoint from = m_current;
    m_current = ToDevice(x, y);
    m_painter->drawLine(from, m_current);
}

void GdiSurface::LineTo(double x, double y)
{
    if (!m_points.empty()) {
        Flush();
    }
    DrawSegment(m_current, ToDevice(x, y));
}

void GdiSurface::Arrow(Point p, Polar v, int size, Color color)
{
    Flush();
    ScopedPen pen(m_painter, color);
    ScopedBrush brush(m_painter, QBrush(ToQColor(color)));
    Arrow(p, v, size);
}

void GdiSurface::Arrow(Point p, Polar v, int size)
{
    Flush();
    // An equilateral triangle of side `size` whose tip is the end of v.
    const Point tip{p.x + std::cos(v.angle) * v.length, p.y + std::sin(v.angle) * v.length};
    const double angle1 = v.angle + 5.0 * pi / 6.0;
    const Point second{tip.x + std::cos(angle1) * size, tip.y + std::sin(angle1) * size};
    const double angle2 = angle1 + 2.0 * pi / 3.0;
    const Point third{second.x + std::cos(angle2) * size, second.y + std::sin(angle2) * size};
    const QPoint corners[3] = {ToDevice(tip.x, tip.y), ToDevice(second.x, second.y),
                               ToDevice(third.x, third.y)};
    m_painter->drawPolygon(corners, 3);
}

void GdiSurface::Circle(double cx, double cy, double r, Color color)
{
    Flush();
    ScopedPen pen(m_painter, color);
    Circle(cx, cy, r);
}

void GdiSurface::Circle(double cx, double cy, double r)
{
    Flush();
    const QPoint a = ToDevice(cx - r, cy - r);
    const QPoint b = ToDevice(cx + r, cy + r);
    ScopedBrush hollow(m_painter, Qt::NoBrush);
    // The ellipse inscribed in the rectangle of the two corners; its right and
    // bottom edges are the corners' own, as with a device context's ellipse.
    m_painter->drawEllipse(QRect(std::min(a.x(), b.x()), std::min(a.y(), b.y()),
                                 std::abs(b.x() - a.x()), std::abs(b.y() - a.y())));
}
