#pragma once

// The three construction grids of the graphical editors and the snapping
// they offer. Everything is in window coordinates (doubles, y pointing
// down); the square and circle grids are measured in units of a reference
// segment the owner keeps (its length is one model unit).
//
// Snapping rounds to the nearest whole number of steps, halves away from
// zero. Precedence: both polar grids shown, the circle then the ray snap
// about the centre; one of them, that one; else the square grid; else the
// point unchanged.

#include "core/geometry.h"
#include "surface/drawing_surface.h"

#include <QRect>

#include <vector>

struct DesignGrid
{
    static constexpr int kDefaultCount = 4;

    explicit DesignGrid(int initialCount) : count(initialCount > 0 ? initialCount : kDefaultCount)
    {
    }
    int count;
    bool shown = false;
};

class DesignGrids
{
public:
    static constexpr int kRayCount = 24;
    // Extend bits of DrawSquare.
    static constexpr int kExtendRight = 1;
    static constexpr int kExtendDown = 2;

    // `reference` is read at every use and must outlive the grids.
    explicit DesignGrids(const Segment* reference);

    DesignGrid& Square() { return m_square; }
    DesignGrid& Circle() { return m_circle; }
    DesignGrid& Rays() { return m_rays; }
    const DesignGrid& Square() const { return m_square; }
    const DesignGrid& Circle() const { return m_circle; }
    const DesignGrid& Rays() const { return m_rays; }
    // Counts below 1 are ignored.
    void SetSquareAndCircleCount(int count);
    void SetRayCount(int count);

    // The lines of the square grid across `client`, when shown.
    void DrawSquare(DrawingSurface& surface, const QRect& client, int extend) const;
    // The ray grid, then the circle grid, about `centre`, those shown.
    void DrawPolar(DrawingSurface& surface, Point centre, const QRect& client) const;

    Point Snap(Point p, Point centre) const;
    Point SquareSnap(Point p) const;
    Point CircleSnap(Point p, Point centre) const;
    Point RaySnap(Point p, Point centre) const;

    // Nearest whole number, halves away from zero.
    static double Round(double v);

private:
    double ReferenceLength() const;

    const Segment* m_reference;
    DesignGrid m_square{DesignGrid::kDefaultCount};
    DesignGrid m_circle{DesignGrid::kDefaultCount};
    DesignGrid m_rays{kRayCount};
};

// The reference segment of a client rectangle: horizontal, of the smaller
// side divided by `hDivisor` (0 gives length 0), its start placed at the
// fractions (fx, fy) of the free space left by a and by side / vDivisor.
Segment ReferenceFrame(const QRect& client, int hDivisor, int vDivisor, double fx, double fy);
