#pragma once

// Plane geometry shared by every layer. All values are doubles in model
// units; angles are radians, counter-clockwise from +x as computed, which on
// the screen (y pointing down) turns clockwise.

#include <list>

// The constant every angle computation uses; equal to 4 * atan(1).
inline constexpr double pi = 3.141592653589793238462643383279502884;

struct Point
{
    double x = 0.0;
    double y = 0.0;

    Point& operator+=(Point v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    Point& operator-=(Point v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    friend Point operator+(Point p, Point v) { return p += v; }
    friend Point operator-(Point p, Point v) { return p -= v; }
    friend Point operator*(double k, Point v) { return {k * v.x, k * v.y}; }
    friend bool operator==(Point, Point) = default;
};

// The polar form of a vector: angle in radians, then length.
struct Polar
{
    double angle = 0.0;
    double length = 0.0;

    friend bool operator==(Polar, Polar) = default;
};

struct Segment
{
    Point start;
    Point end;

    friend bool operator==(const Segment&, const Segment&) = default;
};

// x' = a*x + b*y + e, y' = c*x + d*y + f. (a, c) is the image of the unit x
// vector, (b, d) that of the unit y vector, (e, f) the translation. The same
// layout serves IFS maps and the model-to-device transform of a surface.
struct AffineMap
{
    double a = 1.0;
    double b = 0.0;
    double c = 0.0;
    double d = 1.0;
    double e = 0.0;
    double f = 0.0;

    friend bool operator==(const AffineMap&, const AffineMap&) = default;
};

inline constexpr AffineMap kIdentityMap{1.0, 0.0, 0.0, 1.0, 0.0, 0.0};

// The three handles of an affine map as the IFS editor shows them:
// u = (a, c), v = (b, d), w = (e, f).
struct MapFrame
{
    Point u;
    Point v;
    Point w;

    friend bool operator==(const MapFrame&, const MapFrame&) = default;
};

// The segment list shared by initiator sets and segment transforms.
using SegmentList = std::list<Segment>;

// Angle in (-pi/2, 3pi/2); the zero vector gives (pi/2, 0).
Polar ToPolar(Point v);
Point FromPolar(Polar p);

// (angle + by.angle, length * by.length) and its inverse.
Polar RotateScale(Polar p, Polar by);
Polar RotateScaleInverse(Polar p, Polar by);

// Polar form of end - start.
Polar SegmentPolar(const Segment& s);

// A(p), in place.
inline void Apply(const AffineMap& m, Point& p)
{
    const double x = p.x;
    p.x = m.a * x + m.b * p.y + m.e;
    p.y = m.c * x + m.d * p.y + m.f;
}

// The map a∘b: b applied first, then a.
AffineMap Compose(const AffineMap& a, const AffineMap& b);

MapFrame FrameFromMap(const AffineMap& m);
AffineMap MapFromFrame(const MapFrame& f);

// Move a frame between unit coordinates and view coordinates relative to the
// reference segment `ref` (its start is the view origin of the unit frame,
// its length the view size of one unit) and the map's translation `t`.
// `ref` must have a positive length for the inverse operations.
MapFrame FrameToView(const MapFrame& frame, Point t, const Segment& ref);
MapFrame FrameFromView(const MapFrame& frame, Point t, const Segment& ref);

// Map a view point into the frame's local coordinates, mirror it in the
// diagonal (x, y) -> (y, x) or turn it a quarter turn (x, y) -> (-y, x),
// and map it back to view coordinates.
Point MirrorInFrame(Point p, Point t, const Segment& ref);
Point QuarterTurnInFrame(Point p, Point t, const Segment& ref);
