#include "engine/automaton_fractal.h"

#include "core/text_archive.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

CAutomatonFractal::CAutomatonFractal(const AutomatonPreset& preset)
    : CFractal(preset.name != nullptr ? preset.name : "", preset.days, kKeyword)
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
    : CFractal(std::move(name), days, kKeyword), m_automaton(automaton), m_generator(generator)
{
    SetValidity(true);
}

CAutomatonFractal::CAutomatonFractal(CTextArchive& ar) : CFractal(ar, kKeyword)
{
    // Each section keeps what it read; a damaged one leaves the rest to
    // IsValid.
    m_automaton = Automaton(ar);
    m_generator = Pattern(ar);
    m_type = kKeyword;
    SetValidity(!m_bad);
}

// One run of the chain. Built once per drawing: every symbol's step vector
// (already multiplied by the drawing scale) and what it does, and the
// productions as one flat array, so a leaf costs a lookup and a line.
template <typename Surface> class CAutomatonFractal::Chain
{
public:
    // The automaton must be well-formed: every symbol names a production.
    Chain(CAutomatonFractal& fractal, Surface& surface, const DrawContext& ctx)
        : m_fractal(fractal), m_surface(surface), m_ctx(ctx), m_position(fractal.m_start)
    {
        const std::vector<SymbolList>& productions = fractal.m_automaton.m_productions;
        const Pattern& generator = fractal.m_generator;
        const double scale = fractal.m_bounds.scale;

        m_leaves.resize(productions.size());
        for (std::size_t s = 0; s < productions.size() && s < generator.size(); ++s) {
            const PatternStep& step = generator[s];
            Leaf& leaf = m_leaves[s];
            if ((step.flags & StepHidden) != 0) {
                continue;
            }
            leaf.action = (step.flags & StepInvisible) != 0 ? Action::Move : Action::Line;
            const double length = step.ratio * scale;
            leaf.step = {length * std::cos(step.angle), length * std::sin(step.angle)};
        }

        m_offsets.reserve(productions.size() + 1);
        m_offsets.push_back(0);
        for (const SymbolList& production : productions) {
            m_symbols.insert(m_symbols.end(), production.begin(), production.end());
            m_offsets.push_back(m_symbols.size());
        }
    }

    // The leaves of `symbol` after `depth` generations, in order.
    void Grow(int symbol, int depth)
    {
        if (depth == 0) {
            DrawLeaf(symbol);
            return;
        }
        // Productions that empty out make work without leaves, so the stop
        // flag is also read here (without counting an element): a closing
        // window never waits for a drawing that draws nothing.
        if (m_ctx.stop != nullptr && m_ctx.stop->load(std::memory_order_relaxed)) {
            throw -1;
        }
        const std::size_t first = m_offsets[static_cast<std::size_t>(symbol)];
        const std::size_t last = m_offsets[static_cast<std::size_t>(symbol) + 1];
        if (depth == 1) {
            for (std::size_t i = first; i < last; ++i) {
                DrawLeaf(m_symbols[i]);
            }
        } else {
            for (std::size_t i = first; i < last; ++i) {
                Grow(m_symbols[i], depth - 1);
            }
        }
    }

private:
    enum class Action : unsigned char
    {
        None,
        Move,
        Line
    };
    struct Leaf
    {
        Point step;
        Action action = Action::None; // None: hidden, or no generator step
    };

    // Every leaf counts, drawn or not.
    void DrawLeaf(int symbol)
    {
        m_fractal.CountElement(m_ctx);
        const Leaf& leaf = m_leaves[static_cast<std::size_t>(symbol)];
        switch (leaf.action) {
        case Action::None:
            break;
        case Action::Move:
            m_position += leaf.step;
            m_surface.MoveTo(m_position.x, m_position.y);
            break;
        case Action::Line: {
            const Point to = m_position + leaf.step;
            m_surface.Line(m_position.x, m_position.y, to.x, to.y);
            m_position = to;
            break;
        }
        }
    }

    CAutomatonFractal& m_fractal;
    Surface& m_surface;
    const DrawContext& m_ctx;
    Point m_position;
    std::vector<Leaf> m_leaves;
    std::vector<std::size_t> m_offsets;
    std::vector<int> m_symbols;
};

template <typename Surface>
bool CAutomatonFractal::Run(Surface& surface, int depth, const DrawContext& ctx)
{
    if (!m_automaton.IsValid()) {
        return false;
    }
    Chain<Surface> chain(*this, surface, ctx);
    for (const int symbol : m_automaton.m_axioms) {
        chain.Grow(symbol, depth);
    }
    return true;
}

bool CAutomatonFractal::ComputeBounds(int days, FractalBounds& out, const StopFlag* stop,
                                      ProgressFn progress, void* arg)
{
    ExtentSurface extent;
    const DrawContext ctx{&extent, stop, progress, arg};
    if (!Run(extent, BoundsDepth(days), ctx)) {
        return false;
    }
    out = extent.Bounds();
    return true;
}

bool CAutomatonFractal::Draw(DrawingSurface& surface, const StopFlag* stop)
{
    if (m_days < 1) {
        return false;
    }
    const DrawContext ctx{&surface, stop, nullptr, nullptr};
    return Run(surface, ClampDepth(m_days), ctx);
}

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
