#include "core/geometry.h"

#include <cmath>

Polar ToPolar(Point v)
{
    Polar p;
    if (v.x != 0.0) {
        p.angle = std::atan(v.y / v.x);
        if (v.x < 0.0) {
            p.angle += pi;
        }
    } else {
        p.angle = v.y >= 0.0 ? pi / 2 : -pi / 2;
    }
    p.length = std::hypot(v.x, v.y);
    return p;
}

Point FromPolar(Polar p)
{
    return {std::cos(p.angle) * p.length, std::sin(p.angle) * p.length};
}

Polar RotateScale(Polar p, Polar by)
{
    return {p.angle + by.angle, p.length * by.length};
}

Polar RotateScaleInverse(Polar p, Polar by)
{
    return {p.angle - by.angle, p.length / by.length};
}

Polar SegmentPolar(const Segment& s)
{
    return ToPolar(s.end - s.start);
}

AffineMap Compose(const AffineMap& a, const AffineMap& b)
{
    return {a.a * b.a + a.b * b.c, a.a * b.b + a.b * b.d,       a.c * b.a + a.d * b.c,
            a.c * b.b + a.d * b.d, a.a * b.e + a.b * b.f + a.e, a.c * b.e + a.d * b.f + a.f};
}

MapFrame FrameFromMap(const AffineMap& m)
{
    return {{m.a, m.c}, {m.b, m.d}, {m.e, m.f}};
}

AffineMap MapFromFrame(const MapFrame& f)
{
    return {f.u.x, f.v.x, f.u.y, f.v.y, f.w.x, f.w.y};
}

namespace {

Point Turn(Point p, Polar by)
{
    return FromPolar(RotateScale(ToPolar(p), by));
}

Point TurnBack(Point p, Polar by)
{
    return FromPolar(RotateScaleInverse(ToPolar(p), by));
}

// View point -> local coordinates of the frame.
Point ToLocal(Point p, Point t, const Segment& ref)
{
    const Polar r = SegmentPolar(ref);
    return TurnBack(p - ref.start - r.length * t, r);
}

Point FromLocal(Point q, Point t, const Segment& ref)
{
    const Polar r = SegmentPolar(ref);
    return Turn(q, r) + r.length * t + ref.start;
}

} // namespace

MapFrame FrameToView(const MapFrame& frame, Point t, const Segment& ref)
{
    const Polar r = SegmentPolar(ref);
    MapFrame out{Turn(frame.u, r), Turn(frame.v, r), Turn(frame.w, r)};
    out.u += r.length * t;
    out.v += r.length * t;
    out.u += ref.start;
    out.v += ref.start;
    out.w += ref.start;
    return out;
}

MapFrame FrameFromView(const MapFrame& frame, Point t, const Segment& ref)
{
    const Polar r = SegmentPolar(ref);
    MapFrame out{frame.u - ref.start, frame.v - ref.start, frame.w - ref.start};
    out.u -= r.length * t;
    out.v -= r.length * t;
    return {TurnBack(out.u, r), TurnBack(out.v, r), TurnBack(out.w, r)};
}

Point MirrorInFrame(Point p, Point t, const Segment& ref)
{
    const Point q = ToLocal(p, t, ref);
    return FromLocal({q.y, q.x}, t, ref);
}

Point QuarterTurnInFrame(Point p, Point t, const Segment& ref)
{
    const Point q = ToLocal(p, t, ref);
    return FromLocal({-q.y, q.x}, t, ref);
}
