#pragma once

// Generators and initiators: a Pattern is a motif of steps laid on a
// reference segment; an InitiatorSet is the absolute segments a standard
// fractal starts from. Both are value types with deep copies.

#include "core/geometry.h"
#include "surface/drawing_surface.h"

#include <cstddef>
#include <vector>

class CTextArchive;

// Step flag bits; other bits are kept and written but otherwise ignored.
enum StepFlags : int
{
    StepInvisible = 2, // moves the pen without drawing
    StepFinal = 4,     // drawn unchanged, never replaced
    StepHidden = 8,    // neither drawn nor moved to
};

// One step relative to a reference segment of polar form (theta, L): it runs
// from P to P + FromPolar(theta + angle, L * ratio).
struct PatternStep
{
    int flags = 0;
    double angle = 0.0;
    double ratio = 0.0;

    friend bool operator==(const PatternStep&, const PatternStep&) = default;
};

// A step of a direction-indexed record (automaton presets).
struct DirectedStep
{
    int flags = 0;
    int direction = 0;
    double ratio = 1.0;
};

class InitiatorSet;

class Pattern
{
public:
    Pattern() = default;
    // n steps from parallel arrays; n < 1 gives an empty pattern.
    Pattern(int n, const int* flags, const double* angles, const double* ratios);
    // n steps whose angles are those of direction `index` of a compass of
    // `directions` headings (-2*pi*index/directions); a heading outside the
    // compass gets the compass's non-angle, Directions::kNoAngle.
    Pattern(int n, const DirectedStep* steps, int directions);
    // Each segment becomes one step: absolute angle, length relative to the
    // first segment's length (absolute lengths when that one has none). An
    // empty set gives an empty pattern.
    explicit Pattern(const InitiatorSet& initiators);
    // Reads a "[generator]" section, keeping the steps read completely
    // before any format error. Never throws.
    explicit Pattern(CTextArchive& ar);

    // n steps of ratio 1 turning by 2*pi/n (counter-clockwise as computed)
    // or by -2*pi/n; n < 1 gives an empty pattern.
    static Pattern Polygon(int n, bool counterclockwise);

    bool Save(CTextArchive& ar) const;

    // Adds p.angle to every angle and multiplies every ratio by p.length.
    void Transform(Polar p);
    // Replaces the last step by `other`, turned and scaled onto that step;
    // on an empty pattern copies `other`. `other` is changed in place.
    void Append(Pattern& other);
    void AppendPolygon(int n, bool counterclockwise);

    // Lays the pattern on `ref` head to tail: images A and B (10x10) on each
    // step's ends, then the step as an arrow coloured by its flags. Returns
    // the last end point (ref's start when empty).
    Point DrawChained(MarkerSurface& surface, const Segment& ref, int imageA, int imageB) const;
    // Draws every step from ref's start instead of chaining them.
    void DrawVectors(MarkerSurface& surface, const Segment& ref, int imageA, int imageB) const;

    std::size_t size() const { return m_steps.size(); }
    bool empty() const { return m_steps.empty(); }
    PatternStep& operator[](std::size_t i) { return m_steps[i]; }
    const PatternStep& operator[](std::size_t i) const { return m_steps[i]; }
    std::vector<PatternStep>& Steps() { return m_steps; }
    const std::vector<PatternStep>& Steps() const { return m_steps; }
    auto begin() const { return m_steps.begin(); }
    auto end() const { return m_steps.end(); }

    friend bool operator==(const Pattern&, const Pattern&) = default;

private:
    std::vector<PatternStep> m_steps;
};

class InitiatorSet
{
public:
    InitiatorSet() = default;
    // The polyline through n + 1 points; n < 1 gives an empty set.
    InitiatorSet(int n, const double* x, const double* y);
    // The pattern chained from the origin with reference angle 0, length 1.
    explicit InitiatorSet(const Pattern& pattern);
    // The pattern laid on `ref`, flags ignored: every step gives a segment.
    InitiatorSet(const Pattern& pattern, const Segment& ref);
    // Reads an "[initiators]" section, keeping the segments read before any
    // format error. Never throws.
    explicit InitiatorSet(CTextArchive& ar);

    // (0,0)-(0,side), (0,side)-(side,side), (side,side)-(side,0), (side,0)-(0,0).
    static InitiatorSet Square(double side);

    bool Save(CTextArchive& ar) const;

    // Every segment with the current pen; or the first one in `color` and
    // the rest with the current pen.
    void DrawSegments(DrawingSurface& surface) const;
    void DrawSegments(DrawingSurface& surface, Color color) const;

    std::size_t size() const { return m_segments.size(); }
    bool empty() const { return m_segments.empty(); }
    SegmentList& Segments() { return m_segments; }
    const SegmentList& Segments() const { return m_segments; }
    auto begin() const { return m_segments.begin(); }
    auto end() const { return m_segments.end(); }

    friend bool operator==(const InitiatorSet&, const InitiatorSet&) = default;

private:
    SegmentList m_segments;
};
