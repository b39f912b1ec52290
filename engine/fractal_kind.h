#pragma once

// What the five kinds share beyond the abstract fractal: measuring and
// drawing a generation through one recursion, written once per kind as a
// walker over tasks, and cut into pieces that run on several threads.
//
// A kind's recursion is a tree. Its top levels are unrolled into tasks, the
// subtrees in drawing order, by the very arithmetic the recursion uses, so a
// walker running every task in turn makes exactly the calls the plain
// recursion would. Contiguous runs of tasks are the pieces: each piece draws
// onto its own surface (its own box, its own pixels), and the results merge
// exactly (a box is a min and a max, an aliased pixel is set or not).
//
// Kinds whose tasks carry their whole starting point (standard, IFS, MCRM:
// a segment, a point, a map) split for free. Turtles (L-systems, automata)
// carry a position from one subtree to the next: a piece first replays the
// tasks before it without drawing (the same additions in the same order, so
// the very same doubles), then draws its own. Replaying costs about what
// measuring does, so bounds are split otherwise. An automaton's pen is only
// a position moved by fixed steps, and an L-system without brackets carries
// only a position and a heading, whose turns add up: each task's box is
// measured from the origin (heading as the turns before it leave it), on any
// thread, and moved to the task's start (the sum of the moves before it),
// which agrees with the chain's own box to the rounding of those sums, far
// below 1e-9 of the figure. The tasks are a fixed cut of the recursion, so
// the box is the same whatever the number of threads.
//
// A kind provides, besides its constructors:
//   struct Tables;  Tables MakeTables() const;  bool Drawable() const;
//   struct Task;
//   void Roots(const Tables&, int depth, std::vector<Task>&) const;
//   bool Expand(const Tables&, const Task&, std::vector<Task>&) const;
//       (appends the task's children in drawing order; false for a leaf)
//   void Weigh(const Tables&, const std::vector<Task>&, std::vector<double>&) const;
//       (elements under each task, for the split; infinite is allowed)
//   template <typename Surface> class Walker
//       (Walker(Kind&, const Tables&, Surface&, const DrawContext&);
//        void Run(const Task&); State GetState() const; void SetState(const State&))
//   static constexpr bool kTurtle;
//   static double ReplayCost(const Tables&) (turtles only: replaying tasks
//       without drawing, as a share of drawing them)
//   static constexpr bool kMovableBoxes (optional, for the bounds above,
//       with bool StartStates(const Tables&, const std::vector<Task>&,
//       std::vector<State>&) const, each task's state with the pen at the
//       origin, false when the tasks cannot be measured apart; and
//       static Point Position(const State&))

#include "engine/fractal.h"
#include "engine/worker_pool.h"
#include "surface/coverage_writer.h"
#include "surface/raster_writer.h"

#include <cmath>
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace drawing {

// The surface a replay draws on.
struct NullSink
{
    void MoveTo(double, double) {}
    void SetPixel(double, double) {}
    void Line(double, double, double, double) {}
};

// Grows a box as an ExtentSurface does (the same points, so the same box),
// without a virtual call or a branch per point. A cache line of its own:
// the boxes of a drawing's pieces lie side by side, and threads writing
// into one line would take it from each other at every point (a fern's
// bounds took twice as long on two cores as on one).
class alignas(64) BoxSink
{
public:
    void MoveTo(double x, double y) { Add(x, y); }
    void SetPixel(double x, double y) { Add(x, y); }
    void Line(double x1, double y1, double x2, double y2)
    {
        Add(x1, y1);
        Add(x2, y2);
    }
    void Add(double x, double y)
    {
        m_minX = x < m_minX ? x : m_minX;
        m_minY = y < m_minY ? y : m_minY;
        m_maxX = x > m_maxX ? x : m_maxX;
        m_maxY = y > m_maxY ? y : m_maxY;
    }
    // Hands the box, moved by (dx, dy), to an ExtentSurface, which gives it
    // its final form.
    void AddTo(ExtentSurface& extent, double dx = 0.0, double dy = 0.0) const
    {
        if (m_minX <= m_maxX) {
            extent.Add(m_minX + dx, m_minY + dy);
            extent.Add(m_maxX + dx, m_maxY + dy);
        }
    }

private:
    double m_minX = std::numeric_limits<double>::max();
    double m_minY = std::numeric_limits<double>::max();
    double m_maxX = std::numeric_limits<double>::lowest();
    double m_maxY = std::numeric_limits<double>::lowest();
};

// Collects elements for a BatchSurface and hands them over a batch at a
// time; the rest when flushed or destroyed (also when the stop exception
// passes, so what was drawn before the stop shows).
class BatchWriter
{
public:
    explicit BatchWriter(BatchSurface& surface) : m_surface(surface) {}
    ~BatchWriter() { Flush(); }
    BatchWriter(const BatchWriter&) = delete;
    BatchWriter& operator=(const BatchWriter&) = delete;

    void MoveTo(double x, double y) { Put({DrawElement::Move, 0.0, 0.0, x, y}); }
    void SetPixel(double x, double y) { Put({DrawElement::Pixel, 0.0, 0.0, x, y}); }
    void Line(double x1, double y1, double x2, double y2)
    {
        Put({DrawElement::Line, x1, y1, x2, y2});
    }
    void Flush()
    {
        if (m_count > 0) {
            m_surface.Take(m_elements, m_count);
            m_count = 0;
        }
    }

private:
    void Put(const DrawElement& element)
    {
        m_elements[m_count] = element;
        if (++m_count == BatchSurface::kBatch) {
            Flush();
        }
    }

    BatchSurface& m_surface;
    DrawElement m_elements[BatchSurface::kBatch];
    std::size_t m_count = 0;
};

// The threads a drawing may use: the machine's cores, at most 8, unless
// limited (tests and measurements compare with one thread).
int DrawingThreads();
// 0 gives back the machine's count.
void LimitDrawingThreads(int threads);

// Below this many elements a drawing stays on one thread.
inline constexpr double kParallelElements = 262144.0;

// The tasks an automaton's bounds are cut into: enough for any machine's
// threads to share evenly, independent of how many there are.
inline constexpr std::size_t kBoundsTasks = 256;

// The first task of each of `threads` pieces, and the end: threads + 1
// indices. Pieces cost about the same when the piece that starts at task i
// must first replay the tasks before it at `replay` of their weight.
std::vector<std::size_t> SplitTasks(const std::vector<double>& weights, int threads, double replay);

} // namespace drawing

// The common ComputeBounds and Draw of the five kinds over the kind's
// walker. `Base` is CFractal, or the kind another one extends.
template <typename Kind, typename Base = CFractal> class FractalKind : public Base
{
public:
    bool ComputeBounds(int days, FractalBounds& out, const StopFlag* stop, ProgressFn progress,
                       void* arg) override;
    bool Draw(DrawingSurface& surface, const StopFlag* stop) override;

protected:
    using Base::Base;

private:
    // The box of an automaton's generation from tasks measured apart; false
    // (nothing measured) when the generation is too small to be worth it.
    template <typename Tables>
    bool MovableBounds(const Tables& tables, int depth, ExtentSurface& extent, const StopFlag* stop,
                       ProgressFn progress, void* arg);

    struct Plan
    {
        std::vector<typename Kind::Task> tasks;
        // One piece (two entries) when the drawing stays on one thread.
        std::vector<std::size_t> starts;
    };

    Kind& Self() { return static_cast<Kind&>(*this); }

    template <typename Tables> Plan MakePlan(const Tables& tables, int depth)
    {
        Plan plan;
        const int threads = drawing::DrawingThreads();
        plan.tasks = TopTasks(tables, depth, threads > 1 ? 64U * threads : 1U);
        plan.starts = {0, plan.tasks.size()};
        if (threads > 1 && plan.tasks.size() > 1) {
            std::vector<double> weights;
            Self().Weigh(tables, plan.tasks, weights);
            double total = 0.0;
            for (const double w : weights) {
                total += w;
            }
            if (std::isfinite(total) && total >= drawing::kParallelElements) {
                double replay = 0.0;
                if constexpr (Kind::kTurtle) {
                    replay = Kind::ReplayCost(tables);
                }
                plan.starts = drawing::SplitTasks(weights, threads, replay);
            }
        }
        return plan;
    }

    // The top levels of the recursion unrolled until there are enough tasks
    // to split, or none can be expanded.
    template <typename Tables> auto TopTasks(const Tables& tables, int depth, std::size_t target)
    {
        std::vector<typename Kind::Task> tasks;
        Self().Roots(tables, depth, tasks);
        std::vector<typename Kind::Task> next;
        while (tasks.size() < target) {
            next.clear();
            bool expanded = false;
            for (const auto& task : tasks) {
                if (Self().Expand(tables, task, next)) {
                    expanded = true;
                } else {
                    next.push_back(task);
                }
            }
            if (!expanded) {
                break;
            }
            tasks.swap(next);
        }
        return tasks;
    }

    // Calls draw(writer) with what the surface's elements go through: its
    // pixels written in place by the recursion when it opens them, batches
    // otherwise.
    template <typename Draw> static void WithWriter(BatchSurface& surface, Draw&& draw)
    {
        CoverageTarget coverage;
        if (surface.OpenCoverage(coverage)) {
            drawing::CoverageWriter writer(surface, coverage);
            draw(writer);
            return;
        }
        RasterTarget raster;
        if (surface.OpenRaster(raster)) {
            if (raster.depth == 4) {
                drawing::RasterWriter<drawing::Pixel32> writer(surface, raster);
                draw(writer);
            } else {
                drawing::RasterWriter<drawing::Pixel8> writer(surface, raster);
                draw(writer);
            }
            return;
        }
        drawing::BatchWriter writer(surface);
        draw(writer);
    }

    // The whole generation on one surface, on this thread.
    template <typename Tables, typename Surface>
    void RunAll(const Tables& tables, Surface& surface, int depth, const DrawContext& ctx)
    {
        std::vector<typename Kind::Task> roots;
        Self().Roots(tables, depth, roots);
        typename Kind::template Walker<Surface> walker(Self(), tables, surface, ctx);
        for (const auto& task : roots) {
            walker.Run(task);
        }
    }
};

template <typename Kind, typename Base>
bool FractalKind<Kind, Base>::ComputeBounds(int days, FractalBounds& out, const StopFlag* stop,
                                            ProgressFn progress, void* arg)
{
    const int depth = this->BoundsDepth(days);
    if (depth > this->MaxDays() || !Self().Drawable()) {
        return false;
    }
    const typename Kind::Tables tables = Self().MakeTables();
    ExtentSurface extent;
    if constexpr (requires { Kind::kMovableBoxes; }) {
        if (MovableBounds(tables, depth, extent, stop, progress, arg)) {
            out = extent.Bounds();
            return true;
        }
    }
    if constexpr (!Kind::kTurtle) {
        const Plan plan = MakePlan(tables, depth);
        if (plan.starts.size() > 2) {
            const int pieces = static_cast<int>(plan.starts.size()) - 1;
            std::vector<drawing::BoxSink> boxes(static_cast<std::size_t>(pieces));
            drawing::RunOnThreads(pieces, [&](int k) {
                drawing::BoxSink& box = boxes[static_cast<std::size_t>(k)];
                // Only the first piece reports progress and counts for it.
                const DrawContext own{&extent, stop, k == 0 ? progress : nullptr, arg};
                typename Kind::template Walker<drawing::BoxSink> walker(Self(), tables, box, own);
                for (std::size_t i = plan.starts[static_cast<std::size_t>(k)];
                     i < plan.starts[static_cast<std::size_t>(k) + 1]; ++i) {
                    walker.Run(plan.tasks[i]);
                }
            });
            // In drawing order, so that even the sign of a zero is the one a
            // single thread would keep.
            for (const drawing::BoxSink& box : boxes) {
                box.AddTo(extent);
            }
            out = extent.Bounds();
            return true;
        }
    }
    drawing::BoxSink box;
    RunAll(tables, box, depth, DrawContext{&extent, stop, progress, arg});
    box.AddTo(extent);
    out = extent.Bounds();
    return true;
}

template <typename Kind, typename Base>
template <typename Tables>
bool FractalKind<Kind, Base>::MovableBounds(const Tables& tables, int depth, ExtentSurface& extent,
                                            const StopFlag* stop, ProgressFn progress, void* arg)
{
    const std::vector<typename Kind::Task> tasks = TopTasks(tables, depth, drawing::kBoundsTasks);
    if (tasks.size() < 2) {
        return false;
    }
    std::vector<double> weights;
    Self().Weigh(tables, tasks, weights);
    double total = 0.0;
    for (const double w : weights) {
        total += w;
    }
    if (!std::isfinite(total) || total < drawing::kParallelElements) {
        return false;
    }
    // The state each task starts from: the pen at the origin, and whatever
    // else it carries from task to task that changes what a task draws.
    using State = std::decay_t<
        decltype(std::declval<typename Kind::template Walker<drawing::BoxSink>&>().GetState())>;
    std::vector<State> starts;
    if (!Self().StartStates(tables, tasks, starts)) {
        return false;
    }
    struct Piece
    {
        drawing::BoxSink box;
        Point move; // where the task leaves the pen, from the origin
    };
    std::vector<Piece> pieces(tasks.size());
    const std::vector<std::size_t> split =
        drawing::SplitTasks(weights, drawing::DrawingThreads(), 0.0);
    drawing::RunOnThreads(static_cast<int>(split.size()) - 1, [&](int k) {
        // Only the first thread reports progress and counts for it.
        const DrawContext own{&extent, stop, k == 0 ? progress : nullptr, arg};
        for (std::size_t i = split[static_cast<std::size_t>(k)];
             i < split[static_cast<std::size_t>(k) + 1]; ++i) {
            Piece& piece = pieces[i];
            typename Kind::template Walker<drawing::BoxSink> walker(Self(), tables, piece.box, own);
            walker.SetState(starts[i]);
            walker.Run(tasks[i]);
            piece.move = Kind::Position(walker.GetState());
        }
    });
    // In drawing order, the pen carried from task to task.
    Point at = Self().m_start;
    for (const Piece& piece : pieces) {
        piece.box.AddTo(extent, at.x, at.y);
        at += piece.move;
    }
    return true;
}

template <typename Kind, typename Base>
bool FractalKind<Kind, Base>::Draw(DrawingSurface& surface, const StopFlag* stop)
{
    const int depth = this->m_days;
    if (depth < 1 || depth > this->MaxDays() || !Self().Drawable()) {
        return false;
    }
    const typename Kind::Tables tables = Self().MakeTables();
    auto* batch = dynamic_cast<BatchSurface*>(&surface);
    const DrawContext ctx{&surface, stop, nullptr, nullptr};
    if (batch == nullptr) {
        RunAll(tables, surface, depth, ctx);
        return true;
    }
    const Plan plan = MakePlan(tables, depth);
    std::vector<std::unique_ptr<BatchSurface>> forks;
    for (std::size_t k = 2; k < plan.starts.size(); ++k) {
        std::unique_ptr<BatchSurface> fork = batch->Fork();
        if (!fork) {
            forks.clear();
            break;
        }
        forks.push_back(std::move(fork));
    }
    if (forks.empty()) {
        WithWriter(*batch, [&](auto& writer) { RunAll(tables, writer, depth, ctx); });
        return true;
    }
    struct JoinOnExit
    {
        BatchSurface& into;
        std::vector<std::unique_ptr<BatchSurface>>& pieces;
        ~JoinOnExit()
        {
            for (auto& piece : pieces) {
                into.Join(*piece);
            }
        }
    } join{*batch, forks};
    drawing::RunOnThreads(static_cast<int>(forks.size()) + 1, [&](int k) {
        BatchSurface& target = k == 0 ? *batch : *forks[static_cast<std::size_t>(k) - 1];
        const std::size_t first = plan.starts[static_cast<std::size_t>(k)];
        const std::size_t last = plan.starts[static_cast<std::size_t>(k) + 1];
        const DrawContext own{&target, stop, nullptr, nullptr};
        WithWriter(target, [&](auto& writer) {
            using Writer = std::remove_reference_t<decltype(writer)>;
            typename Kind::template Walker<Writer> walker(Self(), tables, writer, own);
            if constexpr (Kind::kTurtle) {
                if (first > 0) {
                    drawing::NullSink none;
                    typename Kind::template Walker<drawing::NullSink> replay(Self(), tables, none,
                                                                             own);
                    for (std::size_t i = 0; i < first; ++i) {
                        replay.Run(plan.tasks[i]);
                    }
                    walker.SetState(replay.GetState());
                }
            }
            for (std::size_t i = first; i < last; ++i) {
                walker.Run(plan.tasks[i]);
            }
        });
    });
    return true;
}
