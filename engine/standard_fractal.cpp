#include "engine/standard_fractal.h"

#include "core/text_archive.h"

#include <cmath>
#include <utility>
#include <vector>

CStandardFractal::CStandardFractal(const StandardPreset& preset)
    : CFractal(preset.name, preset.days, kKeyword),
      m_initiators(preset.segments, preset.x, preset.y),
      m_generator(preset.steps, preset.flags, preset.angles, preset.ratios)
{
    SetValidity(true);
}

CStandardFractal::CStandardFractal(std::string name, int days, const Pattern& generator,
                                   const InitiatorSet& initiators)
    : CFractal(std::move(name), days, kKeyword), m_initiators(initiators), m_generator(generator)
{
    SetValidity(true);
}

// The sections are read even after a damaged header, so that as much as
// possible of the file survives; m_bad still holds the header's outcome.
CStandardFractal::CStandardFractal(CTextArchive& ar)
    : CFractal(ar, kKeyword), m_initiators(ar), m_generator(ar)
{
    SetValidity(!m_bad);
}

namespace {

// A generator step as the complex number r·e^(iα): the vector of a child
// segment is the parent's vector times this, which is the polar
// rotate-and-scale without any trigonometry per element.
struct StepVector
{
    double x;
    double y;
    int flags;
};

inline Point Times(Point v, const StepVector& w)
{
    return {v.x * w.x - v.y * w.y, v.x * w.y + v.y * w.x};
}

} // namespace

template <typename Surface>
void CStandardFractal::Run(Surface& surface, int depth, const DrawContext& ctx)
{
    std::vector<StepVector> steps;
    steps.reserve(m_generator.size());
    for (const PatternStep& step : m_generator) {
        steps.push_back(
            {step.ratio * std::cos(step.angle), step.ratio * std::sin(step.angle), step.flags});
    }

    // Everything the recursion needs, passed by one reference; each level
    // keeps only its running point and vector in its frame.
    struct Walker
    {
        CStandardFractal& fractal;
        Surface& surface;
        const DrawContext& ctx;
        const StepVector* steps;
        const StepVector* stepsEnd;

        void Leaf(Point p, Point v, int flags)
        {
            if ((flags & StepHidden) == 0) {
                if ((flags & StepInvisible) != 0) {
                    surface.MoveTo(p.x + v.x, p.y + v.y);
                } else {
                    surface.Line(p.x, p.y, p.x + v.x, p.y + v.y);
                }
            }
            // Hidden segments are elements too: the count and the stop test
            // do not depend on what a step looks like.
            fractal.CountElement(ctx);
        }

        // The segment from p along v, at `depth` generations above the drawing.
        void Substitute(Point p, Point v, int depth, int flags)
        {
            if (depth == 0) {
                Leaf(p, v, flags);
                return;
            }
            for (const StepVector* w = steps; w != stepsEnd; ++w) {
                const Point child = Times(v, *w);
                if ((w->flags & StepFinal) != 0 || depth == 1) {
                    Leaf(p, child, w->flags);
                } else {
                    Substitute(p, child, depth - 1, w->flags);
                }
                p += child;
            }
        }
    };

    Walker walker{*this, surface, ctx, steps.data(), steps.data() + steps.size()};
    const double scale = m_bounds.scale;
    for (const Segment& s : m_initiators) {
        const Point start = scale * s.start;
        walker.Substitute(start, scale * s.end - start, depth, 0);
    }
}

bool CStandardFractal::ComputeBounds(int days, FractalBounds& out, const StopFlag* stop,
                                     ProgressFn progress, void* arg)
{
    ExtentSurface surface;
    const DrawContext ctx{&surface, stop, progress, arg};
    Run(surface, BoundsDepth(days), ctx);
    out = surface.Bounds();
    return true;
}

bool CStandardFractal::Draw(DrawingSurface& surface, const StopFlag* stop)
{
    if (m_days < 1) {
        return false;
    }
    const DrawContext ctx{&surface, stop, nullptr, nullptr};
    Run(surface, ClampDepth(m_days), ctx);
    return true;
}

void CStandardFractal::DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors)
{
    const double scale = m_bounds.scale;
    for (const Segment& s : m_initiators) {
        const Point start = scale * s.start;
        const Point end = scale * s.end;
        surface.Line(start.x, start.y, end.x, end.y, colors.first);
        surface.DrawImage(start.x, start.y, 16, 16, 4);
        surface.DrawImage(end.x, end.y, 16, 16, 4);
    }
    surface.DrawImage(0.0, -8.0, 16, 16, 9);
}

void CStandardFractal::DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors)
{
    if (m_initiators.empty() || m_generator.empty()) {
        return;
    }
    const double scale = m_bounds.scale;
    const Segment& first = m_initiators.Segments().front();
    const Polar ref = SegmentPolar({scale * first.start, scale * first.end});
    Point p = scale * first.start;
    for (const PatternStep& step : m_generator) {
        const Point q = p + FromPolar({ref.angle + step.angle, ref.length * step.ratio});
        if ((step.flags & StepHidden) != 0) {
            // Neither drawn nor moved to.
        } else if ((step.flags & StepInvisible) != 0) {
            surface.MoveTo(q.x, q.y);
        } else {
            surface.Line(p.x, p.y, q.x, q.y, colors.first);
        }
        surface.DrawImage(p.x, p.y, 16, 16, 2);
        surface.DrawImage(q.x, q.y, 16, 16, 2);
        p = q;
    }
}

bool CStandardFractal::Save(CTextArchive& ar)
{
    const bool header = CFractal::Save(ar);
    const bool initiators = m_initiators.Save(ar);
    const bool generator = m_generator.Save(ar);
    return header && initiators && generator;
}

bool CStandardFractal::IsValid() const
{
    return !m_initiators.empty() && !m_generator.empty();
}
