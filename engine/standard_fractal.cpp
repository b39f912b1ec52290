#include "engine/standard_fractal.h"

#include "core/text_archive.h"

#include <cmath>
#include <utility>
#include <vector>

CStandardFractal::CStandardFractal(const StandardPreset& preset)
    : FractalKind(preset.name, preset.days, kKeyword),
      m_initiators(preset.segments, preset.x, preset.y),
      m_generator(preset.steps, preset.flags, preset.angles, preset.ratios)
{
    SetValidity(true);
}

CStandardFractal::CStandardFractal(std::string name, int days, const Pattern& generator,
                                   const InitiatorSet& initiators)
    : FractalKind(std::move(name), days, kKeyword), m_initiators(initiators), m_generator(generator)
{
    SetValidity(true);
}

// The sections are read even after a damaged header, so that as much as
// possible of the file survives; m_bad still holds the header's outcome.
CStandardFractal::CStandardFractal(CTextArchive& ar)
    : FractalKind(ar, kKeyword), m_initiators(ar), m_generator(ar)
{
    SetValidity(!m_bad);
}

CStandardFractal::Tables CStandardFractal::MakeTables() const
{
    Tables tables;
    tables.steps.reserve(m_generator.size());
    for (const PatternStep& step : m_generator) {
        tables.steps.push_back(
            {step.ratio * std::cos(step.angle), step.ratio * std::sin(step.angle), step.flags});
    }
    tables.scale = m_bounds.scale;
    return tables;
}

// The segment from p along v: its children are v times each step, laid end
// to end, which is the polar rotate-and-scale without any trigonometry per
// element. Each level keeps only its running point and vector.
template <typename Surface> class CStandardFractal::Walker
{
public:
    Walker(CStandardFractal& fractal, const Tables& tables, Surface& surface,
           const DrawContext& ctx)
        : m_fractal(fractal), m_surface(surface), m_ctx(ctx), m_steps(tables.steps.data()),
          m_stepsEnd(tables.steps.data() + tables.steps.size())
    {
    }

    void Run(const Task& task)
    {
        if (task.leaf) {
            Leaf(task.p, task.v, task.flags);
        } else {
            Substitute(task.p, task.v, task.depth, task.flags);
        }
    }
    int GetState() const { return 0; }
    void SetState(int) {}

private:
    void Leaf(Point p, Point v, int flags)
    {
        Step(p, v, flags);
        // Hidden segments are elements too: the count and the stop test do
        // not depend on what a step looks like.
        m_fractal.CountElement(m_ctx);
    }
    [[gnu::always_inline]] void Step(Point p, Point v, int flags)
    {
        if ((flags & StepHidden) == 0) {
            if ((flags & StepInvisible) != 0) {
                m_surface.MoveTo(p.x + v.x, p.y + v.y);
            } else {
                m_surface.Line(p.x, p.y, p.x + v.x, p.y + v.y);
            }
        }
    }
    // The segment from p along v, at `depth` generations above the drawing.
    void Substitute(Point p, Point v, int depth, int flags)
    {
        if (depth == 0) {
            Leaf(p, v, flags);
            return;
        }
        if (depth == 1 && m_ctx.progress == nullptr) {
            // The last generation with one stop test for the generator's
            // steps: nothing else counts them while drawing.
            if (m_ctx.stop != nullptr && m_ctx.stop->load(std::memory_order_relaxed)) {
                throw -1;
            }
            for (const StepVector* w = m_steps; w != m_stepsEnd; ++w) {
                const Point child = Times(v, *w);
                Step(p, child, w->flags);
                p += child;
            }
            return;
        }
        for (const StepVector* w = m_steps; w != m_stepsEnd; ++w) {
            const Point child = Times(v, *w);
            if ((w->flags & StepFinal) != 0 || depth == 1) {
                Leaf(p, child, w->flags);
            } else {
                Substitute(p, child, depth - 1, w->flags);
            }
            p += child;
        }
    }

    CStandardFractal& m_fractal;
    Surface& m_surface;
    const DrawContext& m_ctx;
    const StepVector* m_steps;
    const StepVector* m_stepsEnd;
};

void CStandardFractal::Roots(const Tables& tables, int depth, std::vector<Task>& out) const
{
    const double scale = tables.scale;
    for (const Segment& s : m_initiators) {
        const Point start = scale * s.start;
        out.push_back({start, scale * s.end - start, depth, 0, false});
    }
}

bool CStandardFractal::Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const
{
    if (task.leaf || task.depth == 0) {
        return false;
    }
    // Exactly the arithmetic of Walker::Substitute.
    Point p = task.p;
    for (const StepVector& w : tables.steps) {
        const Point child = Times(task.v, w);
        const bool leaf = (w.flags & StepFinal) != 0 || task.depth == 1;
        out.push_back({p, child, task.depth - 1, w.flags, leaf});
        p += child;
    }
    return true;
}

void CStandardFractal::Weigh(const Tables& tables, const std::vector<Task>& tasks,
                             std::vector<double>& weights) const
{
    // Leaves under a segment `d` generations above the drawing.
    std::vector<double> leaves{1.0};
    for (const Task& task : tasks) {
        while (!task.leaf && static_cast<int>(leaves.size()) <= task.depth) {
            const int d = static_cast<int>(leaves.size());
            double n = 0.0;
            for (const StepVector& w : tables.steps) {
                n += (w.flags & StepFinal) != 0 || d == 1 ? 1.0 : leaves.back();
            }
            leaves.push_back(n);
        }
        weights.push_back(task.leaf ? 1.0 : leaves[static_cast<std::size_t>(task.depth)]);
    }
}

template class FractalKind<CStandardFractal>;

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
