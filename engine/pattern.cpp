#include "engine/pattern.h"

#include "core/text_archive.h"
#include "engine/affine_map_set.h"
#include "engine/lsystem.h"

#include <cmath>
#include <istream>
#include <utility>

namespace {

// The full turn, computed the way every polygon of the program is.
double FullTurn()
{
    return 8.0 * std::atan(1.0);
}

// The step's end point when laid from `from` on a reference of polar form `ref`.
Point StepEnd(Point from, Polar ref, const PatternStep& step)
{
    return from + FromPolar({ref.angle + step.angle, ref.length * step.ratio});
}

} // namespace

// --- Pattern -------------------------------------------------------------

Pattern::Pattern(int n, const int* flags, const double* angles, const double* ratios)
{
    if (n < 1) {
        return;
    }
    m_steps.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        m_steps.push_back({flags[i], angles[i], ratios[i]});
    }
}

Pattern::Pattern(int n, const DirectedStep* steps, int directions)
{
    if (n < 1) {
        return;
    }
    m_steps.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int index = steps[i].direction;
        // A heading outside the compass gets the same non-angle a compass
        // gives for it, rather than an angle of some other compass.
        const double angle = index >= 0 && index < directions ? -FullTurn() * index / directions
                                                              : Directions::kNoAngle;
        m_steps.push_back({steps[i].flags, angle, steps[i].ratio});
    }
}

Pattern::Pattern(const InitiatorSet& initiators)
{
    if (initiators.empty()) {
        return;
    }
    double unit = SegmentPolar(initiators.Segments().front()).length;
    // A first segment of no length cannot serve as the unit: the steps keep
    // their absolute lengths instead of becoming infinite or not a number.
    if (unit == 0.0) {
        unit = 1.0;
    }
    m_steps.reserve(initiators.size());
    for (const Segment& s : initiators) {
        const Polar p = SegmentPolar(s);
        m_steps.push_back({0, p.angle, p.length / unit});
    }
}

Pattern::Pattern(CTextArchive& ar)
{
    try {
        ar.Expect("[generator]");
        int count = 0;
        ar >> count;
        for (int i = 0; i < count; ++i) {
            PatternStep step;
            ar >> step.flags;
            ar.Expect(',') >> step.angle;
            ar.Expect(',') >> step.ratio;
            // Nothing after the ratio would notice it failed to read.
            if (ar.Stream().fail()) {
                break;
            }
            m_steps.push_back(step);
        }
    } catch (...) {
        // Keep the steps read before the damage.
    }
}

Pattern Pattern::Polygon(int n, bool counterclockwise)
{
    Pattern polygon;
    if (n < 1) {
        return polygon;
    }
    const double turn = counterclockwise ? FullTurn() : -FullTurn();
    polygon.m_steps.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        polygon.m_steps.push_back({0, turn * i / n, 1.0});
    }
    return polygon;
}

bool Pattern::Save(CTextArchive& ar) const
{
    ar << "[generator] " << static_cast<int>(m_steps.size()) << '\n';
    for (const PatternStep& step : m_steps) {
        ar << step.flags << ',' << step.angle << ',' << step.ratio << '\n';
    }
    return true;
}

void Pattern::Transform(Polar p)
{
    for (PatternStep& step : m_steps) {
        step.angle += p.angle;
        step.ratio *= p.length;
    }
}

void Pattern::Append(Pattern& other)
{
    Polar carrier{0.0, 1.0};
    if (!m_steps.empty()) {
        carrier = {m_steps.back().angle, m_steps.back().ratio};
        m_steps.pop_back();
    }
    other.Transform(carrier);
    m_steps.insert(m_steps.end(), other.m_steps.begin(), other.m_steps.end());
}

void Pattern::AppendPolygon(int n, bool counterclockwise)
{
    Pattern polygon = Polygon(n, counterclockwise);
    Append(polygon);
}

Point Pattern::DrawChained(MarkerSurface& surface, const Segment& ref, int imageA, int imageB) const
{
    const Polar r = SegmentPolar(ref);
    Point p = ref.start;
    for (const PatternStep& step : m_steps) {
        const Point q = StepEnd(p, r, step);
        surface.DrawImage(p.x, p.y, 10, 10, imageA);
        surface.DrawImage(q.x, q.y, 10, 10, imageB);
        DrawSegmentArrow(surface, {p, q}, step.flags);
        p = q;
    }
    return p;
}

void Pattern::DrawVectors(MarkerSurface& surface, const Segment& ref, int imageA, int imageB) const
{
    const Polar r = SegmentPolar(ref);
    for (const PatternStep& step : m_steps) {
        const Point q = StepEnd(ref.start, r, step);
        DrawSegmentArrow(surface, {ref.start, q}, step.flags);
        surface.DrawImage(q.x, q.y, 10, 10, imageA);
    }
    surface.DrawImage(ref.start.x, ref.start.y, 10, 10, imageB);
}

// --- InitiatorSet --------------------------------------------------------

InitiatorSet::InitiatorSet(int n, const double* x, const double* y)
{
    for (int i = 0; i < n; ++i) {
        m_segments.push_back({{x[i], y[i]}, {x[i + 1], y[i + 1]}});
    }
}

InitiatorSet::InitiatorSet(const Pattern& pattern) : InitiatorSet(pattern, {{0.0, 0.0}, {1.0, 0.0}})
{
}

InitiatorSet::InitiatorSet(const Pattern& pattern, const Segment& ref)
{
    const Polar r = SegmentPolar(ref);
    Point p = ref.start;
    for (const PatternStep& step : pattern) {
        const Point q = StepEnd(p, r, step);
        m_segments.push_back({p, q});
        p = q;
    }
}

InitiatorSet::InitiatorSet(CTextArchive& ar)
{
    try {
        ar.Expect("[initiators]");
        int count = 0;
        ar >> count;
        Point p;
        ar >> p.x;
        ar.Expect(',') >> p.y;
        for (int i = 0; i < count; ++i) {
            Point q;
            ar >> q.x;
            ar.Expect(',') >> q.y;
            // A failed y would otherwise only show at the next header.
            if (ar.Stream().fail()) {
                break;
            }
            m_segments.push_back({p, q});
            p = q;
        }
    } catch (...) {
        // Keep the segments read before the damage.
    }
}

InitiatorSet InitiatorSet::Square(double side)
{
    InitiatorSet square;
    square.m_segments = {{{0.0, 0.0}, {0.0, side}},
                         {{0.0, side}, {side, side}},
                         {{side, side}, {side, 0.0}},
                         {{side, 0.0}, {0.0, 0.0}}};
    return square;
}

bool InitiatorSet::Save(CTextArchive& ar) const
{
    ar << "[initiators] " << static_cast<int>(m_segments.size()) << '\n';
    // The reader always takes a start point, so an empty set still writes one.
    const Point first = m_segments.empty() ? Point{} : m_segments.front().start;
    ar << first.x << ',' << first.y << '\n';
    for (const Segment& s : m_segments) {
        ar << s.end.x << ',' << s.end.y << '\n';
    }
    return true;
}

void InitiatorSet::DrawSegments(DrawingSurface& surface) const
{
    for (const Segment& s : m_segments) {
        surface.Line(s.start.x, s.start.y, s.end.x, s.end.y);
    }
}

void InitiatorSet::DrawSegments(DrawingSurface& surface, Color color) const
{
    bool first = true;
    for (const Segment& s : m_segments) {
        if (first) {
            surface.Line(s.start.x, s.start.y, s.end.x, s.end.y, color);
            first = false;
        } else {
            surface.Line(s.start.x, s.start.y, s.end.x, s.end.y);
        }
    }
}
