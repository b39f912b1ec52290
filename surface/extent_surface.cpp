#include "surface/extent_surface.h"

void ExtentSurface::Circle(double cx, double cy, double r)
{
    Add(cx - r, cy - r);
    Add(cx + r, cy + r);
}

FractalBounds ExtentSurface::Bounds() const
{
    if (IsEmpty()) {
        // Nothing was drawn: an empty box at the origin, which every caller
        // already treats as a figure that cannot be painted.
        return {0.0, 0.0, 0.0, 0.0, 1.0, true};
    }
    return {m_minY, m_maxY, m_minX, m_maxX, 1.0, true};
}
