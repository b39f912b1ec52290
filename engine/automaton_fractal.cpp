#include "engine/automaton_fractal.h"

#include "core/text_archive.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

CAutomatonFractal::CAutomatonFractal(const AutomatonPreset& preset)
    : FractalKind(preset.name != nullptr ? preset.name : "", preset.days, kKeyword)
{
    m_automaton.m_axioms = SymbolList(preset.axiomLength, preset.axiom);
    if (preset.symbolCount > 0 && preset.symbols != nullptr) {
        // Each symbol record is both production k and generator step k.
        std::vector<DirectedStep> steps;
        steps.reserve(static_cast<std::size_t>(preset.symbolCount));
        for (int k = 0; k < preset.symbolCount; ++k) {
            const SymbolPreset& symbol = preset.symbols[k];
            m_automaton.m_productions.emplace_back(symbol.productionLength, symbol.production);
            steps.push_back({symbol.flags, symbol.direction, symbol.length});
        }
        m_generator = Pattern(preset.symbolCount, steps.data(), preset.directions);
    }
    SetValidity(true);
}

CAutomatonFractal::CAutomatonFractal(std::string name, int days, const Automaton& automaton,
                                     const Pattern& generator)
    : FractalKind(std::move(name), days, kKeyword), m_automaton(automaton), m_generator(generator)
{
    SetValidity(true);
}

CAutomatonFractal::CAutomatonFractal(CTextArchive& ar) : FractalKind(ar, kKeyword)
{
    // Each section keeps what it read; a damaged one leaves the rest to
    // IsValid.
    m_automaton = Automaton(ar);
    m_generator = Pattern(ar);
    m_type = kKeyword;
    SetValidity(!m_bad);
}

CAutomatonFractal::Tables CAutomatonFractal::MakeTables() const
{
    const std::vector<SymbolList>& productions = m_automaton.m_productions;
    const double scale = m_bounds.scale;
    Tables tables;
    tables.leaves.resize(productions.size());
    for (std::size_t s = 0; s < productions.size() && s < m_generator.size(); ++s) {
        const PatternStep& step = m_generator[s];
        Leaf& leaf = tables.leaves[s];
        if ((step.flags & StepHidden) != 0) {
            continue;
        }
        leaf.action = (step.flags & StepInvisible) != 0 ? Action::Move : Action::Line;
        const double length = step.ratio * scale;
        leaf.step = {length * std::cos(step.angle), length * std::sin(step.angle)};
    }
    tables.offsets.reserve(productions.size() + 1);
    tables.offsets.push_back(0);
    for (const SymbolList& production : productions) {
        tables.symbols.insert(tables.symbols.end(), production.begin(), production.end());
        tables.offsets.push_back(tables.symbols.size());
    }
    MakeBlocks(tables);
    return tables;
}

void CAutomatonFractal::MakeBlocks(Tables& tables) const
{
    // Blocks small enough to stay in the processor's cache, and deep enough
    // to save most of the recursion's calls.
    constexpr std::size_t kMostPerSymbol = 64;
    constexpr std::size_t kMostInAll = 4096;
    constexpr int kDeepest = 8;
    const std::size_t symbols = tables.leaves.size();
    if (symbols == 0 || tables.offsets.size() != symbols + 1) {
        return;
    }
    for (int c : tables.symbols) {
        if (c < 0 || static_cast<std::size_t>(c) >= symbols) {
            return;
        }
    }
    // Steps of each symbol `depth` generations above its leaves, built a
    // generation at a time while they stay small.
    std::vector<std::vector<Leaf>> steps(symbols);
    for (std::size_t s = 0; s < symbols; ++s) {
        if (tables.leaves[s].action != Action::None) {
            steps[s].push_back(tables.leaves[s]);
        }
    }
    std::vector<std::vector<Leaf>> next(symbols);
    for (int depth = 1; depth <= kDeepest; ++depth) {
        std::size_t all = 0;
        bool fits = true;
        for (std::size_t s = 0; s < symbols && fits; ++s) {
            std::vector<Leaf>& out = next[s];
            out.clear();
            for (std::size_t i = tables.offsets[s]; i < tables.offsets[s + 1] && fits; ++i) {
                const std::vector<Leaf>& child = steps[static_cast<std::size_t>(tables.symbols[i])];
                out.insert(out.end(), child.begin(), child.end());
                fits = out.size() <= kMostPerSymbol;
            }
            all += out.size();
            fits = fits && all <= kMostInAll;
        }
        if (!fits) {
            break;
        }
        steps.swap(next);
        tables.blockDepth = depth;
    }
    if (tables.blockDepth < 2) {
        tables.blockDepth = 0;
        return;
    }
    tables.blockOffsets.reserve(symbols + 1);
    tables.blockOffsets.push_back(0);
    for (const std::vector<Leaf>& block : steps) {
        tables.blocks.insert(tables.blocks.end(), block.begin(), block.end());
        tables.blockOffsets.push_back(tables.blocks.size());
    }
}

// The chain: the leaves of each symbol in order, the pen carried from one to
// the next. The recursion is kept on the heap (a range of a production per
// generation), so any day count the memory allows is drawn as asked.
template <typename Surface> class CAutomatonFractal::Walker
{
    // Generations drawn by plain recursion: a few KiB of call stack.
    static constexpr int kOnCallStack = 64;

public:
    Walker(CAutomatonFractal& fractal, const Tables& tables, Surface& surface,
           const DrawContext& ctx)
        : m_fractal(fractal), m_surface(surface), m_ctx(ctx), m_leaves(tables.leaves.data()),
          m_offsets(tables.offsets.data()), m_symbols(tables.symbols.data()),
          m_blockDepth(ctx.progress == nullptr ? tables.blockDepth : 0),
          m_blockOffsets(tables.blockOffsets.data()), m_blocks(tables.blocks.data()),
          m_position(fractal.m_start)
    {
    }

    void Run(const Task& task) { Grow(task.symbol, task.depth); }
    Point GetState() const { return m_position; }
    void SetState(Point position) { m_position = position; }

private:
    struct Frame
    {
        const int* next;
        const int* last;
    };

    // The leaves of `symbol` after `depth` generations, in order. The
    // generations far from the leaves go on the heap, the last ones on the
    // call stack, where they are cheapest.
    void Grow(int symbol, int depth)
    {
        if (depth <= kOnCallStack) {
            GrowHere(symbol, depth);
            return;
        }
        m_frames.clear();
        Push(symbol);
        // Frame k holds symbols depth - 1 - k generations above their
        // leaves; those kOnCallStack above go to the recursion.
        const std::size_t handOver = static_cast<std::size_t>(depth - kOnCallStack);
        while (!m_frames.empty()) {
            Frame& frame = m_frames.back();
            if (m_frames.size() == handOver) {
                for (const int* s = frame.next; s != frame.last; ++s) {
                    GrowHere(*s, kOnCallStack);
                }
                m_frames.pop_back();
            } else if (frame.next == frame.last) {
                m_frames.pop_back();
            } else {
                Push(*frame.next++);
            }
        }
    }

    void GrowHere(int symbol, int depth)
    {
        if (depth == 0) {
            DrawLeaf(symbol);
            return;
        }
        StopPoint();
        const auto s = static_cast<std::size_t>(symbol);
        if (depth == m_blockDepth) {
            // The stop flag was read just above; without progress to report
            // the leaves need neither test nor count.
            // The pen is carried in a local, which no store of the
            // surface's can reach: it stays in a register.
            Point at = m_position;
            const Leaf* const end = m_blocks + m_blockOffsets[s + 1];
            for (const Leaf* leaf = m_blocks + m_blockOffsets[s]; leaf != end; ++leaf) {
                DrawStep(*leaf, at);
            }
            m_position = at;
            return;
        }
        const int* first = m_symbols + m_offsets[s];
        const int* last = m_symbols + m_offsets[s + 1];
        if (depth == 1) {
            if (m_ctx.progress == nullptr) {
                // The stop flag was read just above, a production's length
                // ago: the leaves need neither test nor count here.
                Point at = m_position;
                for (const int* c = first; c != last; ++c) {
                    DrawStep(m_leaves[static_cast<std::size_t>(*c)], at);
                }
                m_position = at;
            } else {
                for (const int* c = first; c != last; ++c) {
                    DrawLeaf(*c);
                }
            }
        } else {
            for (const int* c = first; c != last; ++c) {
                GrowHere(*c, depth - 1);
            }
        }
    }

    // Productions that empty out make work without leaves, so the stop flag
    // is also read at every inner symbol (without counting an element): a
    // closing window never waits for a drawing that draws nothing.
    void StopPoint() const
    {
        if (m_ctx.stop != nullptr && m_ctx.stop->load(std::memory_order_relaxed)) {
            throw -1;
        }
    }

    void Push(int symbol)
    {
        StopPoint();
        const auto s = static_cast<std::size_t>(symbol);
        m_frames.push_back({m_symbols + m_offsets[s], m_symbols + m_offsets[s + 1]});
    }

    // Every leaf counts, drawn or not.
    void DrawLeaf(int symbol)
    {
        m_fractal.CountElement(m_ctx);
        DrawStep(m_leaves[static_cast<std::size_t>(symbol)], m_position);
    }

    // A leaf's step from `at`, which it moves.
    [[gnu::always_inline]] void DrawStep(const Leaf& leaf, Point& at)
    {
        // Lines first: most leaves draw one, and a test that holds is
        // cheaper than a jump through a table.
        if (leaf.action == Action::Line) [[likely]] {
            const Point to = at + leaf.step;
            m_surface.Line(at.x, at.y, to.x, to.y);
            at = to;
        } else if (leaf.action == Action::Move) {
            at += leaf.step;
            m_surface.MoveTo(at.x, at.y);
        }
    }

    CAutomatonFractal& m_fractal;
    Surface& m_surface;
    const DrawContext& m_ctx;
    const Leaf* m_leaves;
    const std::size_t* m_offsets;
    const int* m_symbols;
    int m_blockDepth;
    const std::size_t* m_blockOffsets;
    const Leaf* m_blocks;
    Point m_position;
    std::vector<Frame> m_frames;
};

void CAutomatonFractal::Roots(const Tables&, int depth, std::vector<Task>& out) const
{
    for (const int symbol : m_automaton.m_axioms) {
        out.push_back({symbol, depth});
    }
}

bool CAutomatonFractal::Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const
{
    if (task.depth == 0) {
        return false;
    }
    const auto s = static_cast<std::size_t>(task.symbol);
    for (std::size_t i = tables.offsets[s]; i < tables.offsets[s + 1]; ++i) {
        out.push_back({tables.symbols[i], task.depth - 1});
    }
    return true;
}

void CAutomatonFractal::Weigh(const Tables& tables, const std::vector<Task>& tasks,
                              std::vector<double>& weights) const
{
    int deepest = 0;
    for (const Task& task : tasks) {
        deepest = std::max(deepest, task.depth);
    }
    // Beyond this the counts are astronomical or the system degenerate;
    // either way not worth splitting.
    constexpr int kWeighedDepth = 4096;
    if (deepest > kWeighedDepth) {
        weights.assign(tasks.size(), std::numeric_limits<double>::infinity());
        return;
    }
    // Leaves of every symbol, generation by generation.
    const std::size_t symbols = tables.leaves.size();
    std::vector<std::vector<double>> leaves(static_cast<std::size_t>(deepest) + 1);
    leaves[0].assign(symbols, 1.0);
    for (std::size_t d = 1; d < leaves.size(); ++d) {
        leaves[d].assign(symbols, 0.0);
        for (std::size_t s = 0; s < symbols; ++s) {
            for (std::size_t i = tables.offsets[s]; i < tables.offsets[s + 1]; ++i) {
                leaves[d][s] += leaves[d - 1][static_cast<std::size_t>(tables.symbols[i])];
            }
        }
    }
    for (const Task& task : tasks) {
        weights.push_back(
            leaves[static_cast<std::size_t>(task.depth)][static_cast<std::size_t>(task.symbol)]);
    }
}

template class FractalKind<CAutomatonFractal>;

void CAutomatonFractal::DrawInitiatorOverlay(MarkerSurface& surface, ColorPair)
{
    surface.DrawImage(0.0, 0.0, 16, 16, 9);
}

void CAutomatonFractal::DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors)
{
    // Each axiom symbol on the first line, the word it becomes under it.
    const double h = surface.TextHeight("X");
    const double minWidth = surface.TextWidth("XXX");
    const std::vector<SymbolList>& productions = m_automaton.m_productions;
    double x = 16.0;
    for (const int symbol : m_automaton.m_axioms) {
        surface.DrawText(std::to_string(symbol), x, h, colors.first);
        // A symbol without a production (an automaton not yet valid) shows
        // an empty word rather than reading outside the list.
        const bool known = symbol >= 0 && static_cast<std::size_t>(symbol) < productions.size();
        const std::string word =
            known ? productions[static_cast<std::size_t>(symbol)].ToText() : "";
        surface.DrawText(word, x, 2.0 * h, colors.second);
        x += std::max(minWidth, surface.TextWidth(word));
    }
    surface.DrawText("...", 16.0, 3.0 * h, colors.second);
}

bool CAutomatonFractal::Save(CTextArchive& ar)
{
    bool ok = CFractal::Save(ar);
    ok = m_automaton.Save(ar) && ok;
    ok = m_generator.Save(ar) && ok;
    return ok;
}

bool CAutomatonFractal::IsValid() const
{
    return m_automaton.IsValid() &&
           (m_generator.empty() || m_automaton.m_productions.size() >= m_generator.size());
}
