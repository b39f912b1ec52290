#include "editors/design_grids.h"

#include <algorithm>
#include <cmath>

DesignGrids::DesignGrids(const Segment* reference) : m_reference(reference) {}

void DesignGrids::SetSquareAndCircleCount(int count)
{
    if (count >= 1) {
        m_square.count = count;
        m_circle.count = count;
    }
}

void DesignGrids::SetRayCount(int count)
{
    if (count >= 1) {
        m_rays.count = count;
    }
}

double DesignGrids::ReferenceLength() const
{
    return SegmentPolar(*m_reference).length;
}

double DesignGrids::Round(double v)
{
    return std::trunc(v >= 0.0 ? v + 0.5 : v - 0.5);
}

void DesignGrids::DrawSquare(DrawingSurface& surface, const QRect& client, int extend) const
{
    if (!m_square.shown) {
        return;
    }
    const int n = m_square.count;
    const double step = ReferenceLength() / n;
    const Point start = m_reference->start;
    const double left = client.left();
    const double top = client.top();
    const double right = client.left() + client.width();
    const double bottom = client.top() + client.height();
    const int lastX = (extend & kExtendRight) != 0 ? 2 * n : n;
    for (int k = -n; k <= lastX; ++k) {
        const double x = start.x + k * step;
        surface.Line(x, top, x, bottom);
    }
    const int lastY = (extend & kExtendDown) != 0 ? 2 * n : n;
    for (int k = -n; k <= lastY; ++k) {
        const double y = start.y + k * step;
        surface.Line(left, y, right, y);
    }
}

void DesignGrids::DrawPolar(DrawingSurface& surface, Point centre, const QRect& client) const
{
    if (m_rays.shown) {
        const double r = std::max(client.width(), client.height());
        std::vector<double> angles(static_cast<std::size_t>(m_rays.count));
        for (int k = 0; k < m_rays.count; ++k) {
            angles[static_cast<std::size_t>(k)] = -2.0 * pi * k / m_rays.count;
        }
        for (const double angle : angles) {
            surface.Line(centre.x, centre.y, centre.x + r * std::cos(angle),
                         centre.y + r * std::sin(angle));
        }
    }
    if (m_circle.shown) {
        const double step = ReferenceLength() / m_circle.count;
        for (int i = 0; i <= m_circle.count; ++i) {
            surface.Circle(centre.x, centre.y, i * step);
        }
    }
}

Point DesignGrids::SquareSnap(Point p) const
{
    const double step = ReferenceLength() / m_square.count;
    if (step == 0.0) {
        return p;
    }
    const Point start = m_reference->start;
    return {Round((p.x - start.x) / step) * step + start.x,
            Round((p.y - start.y) / step) * step + start.y};
}

Point DesignGrids::CircleSnap(Point p, Point centre) const
{
    const double step = ReferenceLength() / m_circle.count;
    if (step == 0.0) {
        return p;
    }
    const Polar polar = ToPolar(p - centre);
    return centre + FromPolar({polar.angle, Round(polar.length / step) * step});
}

Point DesignGrids::RaySnap(Point p, Point centre) const
{
    const double step = 2.0 * pi / m_rays.count;
    const Polar polar = ToPolar(p - centre);
    return centre + FromPolar({Round(polar.angle / step) * step, polar.length});
}

Point DesignGrids::Snap(Point p, Point centre) const
{
    if (m_rays.shown && m_circle.shown) {
        return RaySnap(CircleSnap(p, centre), centre);
    }
    if (m_rays.shown) {
        return RaySnap(p, centre);
    }
    if (m_circle.shown) {
        return CircleSnap(p, centre);
    }
    if (m_square.shown) {
        return SquareSnap(p);
    }
    return p;
}

Segment ReferenceFrame(const QRect& client, int hDivisor, int vDivisor, double fx, double fy)
{
    const int w = client.width();
    const int h = client.height();
    const int side = std::min(w, h);
    const int a = hDivisor != 0 ? side / hDivisor : 0;
    const int b = vDivisor != 0 ? side / vDivisor : 0;
    Segment s;
    s.start = {(w - a) * fx + client.left(), (h - b) * fy + client.top()};
    s.end = {s.start.x + a, s.start.y};
    return s;
}
