// The element counts of the five kinds. Each follows its kind's drawing
// exactly (which steps are leaves, which symbols expand at which depth), so
// that a count can be trusted as the length of the drawing it announces.

#include "engine/automaton_fractal.h"
#include "engine/ifs_fractal.h"
#include "engine/lsys_fractal.h"
#include "engine/mcrm_fractal.h"
#include "engine/standard_fractal.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace {

// n^days, saturating.
std::uint64_t Power(std::uint64_t n, int days)
{
    std::uint64_t result = 1;
    for (int d = 0; d < days && result != kElementCountSaturated && result != 0; ++d) {
        result = CountMul(result, n);
    }
    return result;
}

// A substitution system over symbols 0 .. n-1 as counts: after d
// generations symbol s stands for counted[s] elements of which drawn[s]
// reach the surface. `Step` computes generation d from generation d - 1.
// Iterates until `days`, or until a generation equals the one before (a
// fixed point stays one), which keeps deep one-symbol rules cheap.
struct SymbolCounts
{
    std::vector<std::uint64_t> counted;
    std::vector<std::uint64_t> drawn;
    friend bool operator==(const SymbolCounts&, const SymbolCounts&) = default;
};

template <typename StepFn> SymbolCounts Iterate(SymbolCounts counts, int days, StepFn step)
{
    SymbolCounts next = counts;
    for (int d = 1; d <= days; ++d) {
        step(d, counts, next);
        if (next == counts) {
            break;
        }
        std::swap(counts, next);
    }
    return counts;
}

bool IsTurtleCommand(char ch)
{
    return ch == '+' || ch == '-' || ch == '|' || ch == '[' || ch == ']';
}

bool DrawsAsLeaf(char ch)
{
    return ch == 'F' || ch == 'D' || ch == 'G' || ch == 'M' || ch == 'f';
}

} // namespace

ElementCount CStandardFractal::CountElements(int days) const
{
    if (m_bad || days < 1 || days > MaxDays()) {
        return {};
    }
    // Leaves under one segment `d` generations above the drawing: at d = 1
    // every step is a leaf, above it only the final ones are. Hidden leaves
    // count but draw nothing.
    std::uint64_t counted = 0;
    std::uint64_t drawn = 0;
    for (const PatternStep& step : m_generator) {
        counted = CountAdd(counted, 1);
        drawn = CountAdd(drawn, (step.flags & StepHidden) != 0 ? 0 : 1);
    }
    for (int d = 2; d <= days; ++d) {
        std::uint64_t nextCounted = 0;
        std::uint64_t nextDrawn = 0;
        for (const PatternStep& step : m_generator) {
            if ((step.flags & StepFinal) != 0) {
                nextCounted = CountAdd(nextCounted, 1);
                nextDrawn = CountAdd(nextDrawn, (step.flags & StepHidden) != 0 ? 0 : 1);
            } else {
                nextCounted = CountAdd(nextCounted, counted);
                nextDrawn = CountAdd(nextDrawn, drawn);
            }
        }
        if (nextCounted == counted && nextDrawn == drawn) {
            break;
        }
        counted = nextCounted;
        drawn = nextDrawn;
    }
    const std::uint64_t segments = m_initiators.size();
    return {CountMul(segments, counted), CountMul(segments, drawn), false};
}

ElementCount CIfsFractal::CountElements(int days) const
{
    if (m_bad || days < 1 || days > MaxDays()) {
        return {};
    }
    const std::uint64_t points = Power(m_maps.size(), days);
    return {points, points, false};
}

ElementCount CMcrmFractal::CountElements(int days) const
{
    if (m_bad || days < 1 || days > MaxDays()) {
        return {};
    }
    // One element per copy; each copy draws the whole figure, a line per
    // generator step.
    const std::uint64_t copies = Power(m_maps.size(), days);
    return {copies, CountMul(copies, m_generator.size()), false};
}

ElementCount CLsysFractal::CountElements(int days) const
{
    if (m_bad || days < 1 || days > MaxDays()) {
        return {};
    }
    // The first rule of a symbol wins, as when drawing.
    std::array<const std::string*, 256> rules{};
    for (const Rule& rule : m_lsystem.rules) {
        const auto c = static_cast<unsigned char>(rule.symbol);
        if (rules[c] == nullptr) {
            rules[c] = &rule.replacement;
        }
    }
    // Only the symbols the axiom can lead to, numbered densely.
    std::array<int, 256> index;
    index.fill(-1);
    std::vector<char> symbols;
    const auto add = [&](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        if (index[c] < 0) {
            index[c] = static_cast<int>(symbols.size());
            symbols.push_back(ch);
        }
    };
    for (const char ch : m_lsystem.axiom.Text()) {
        add(ch);
    }
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const std::string* rule = rules[static_cast<unsigned char>(symbols[i])];
        if (rule != nullptr && !IsTurtleCommand(symbols[i])) {
            for (const char ch : *rule) {
                add(ch);
            }
        }
    }
    // Every symbol interpreted counts, at any depth; only letters at depth 0
    // reach the surface. Turtle commands act and never expand, and a letter
    // without a rule above depth 0 does nothing.
    SymbolCounts start;
    for (const char ch : symbols) {
        start.counted.push_back(1);
        start.drawn.push_back(DrawsAsLeaf(ch) ? 1 : 0);
    }
    const SymbolCounts last =
        Iterate(start, days, [&](int, const SymbolCounts& before, SymbolCounts& after) {
            for (std::size_t s = 0; s < symbols.size(); ++s) {
                const std::string* rule = rules[static_cast<unsigned char>(symbols[s])];
                std::uint64_t counted = 1;
                std::uint64_t drawn = 0;
                if (rule != nullptr && !IsTurtleCommand(symbols[s])) {
                    for (const char ch : *rule) {
                        const auto k =
                            static_cast<std::size_t>(index[static_cast<unsigned char>(ch)]);
                        counted = CountAdd(counted, before.counted[k]);
                        drawn = CountAdd(drawn, before.drawn[k]);
                    }
                }
                after.counted[s] = counted;
                after.drawn[s] = drawn;
            }
        });
    ElementCount total;
    total.boundsOnOneThread = true;
    for (const char ch : m_lsystem.axiom.Text()) {
        const auto k = static_cast<std::size_t>(index[static_cast<unsigned char>(ch)]);
        total.counted = CountAdd(total.counted, last.counted[k]);
        total.drawn = CountAdd(total.drawn, last.drawn[k]);
    }
    return total;
}

ElementCount CAutomatonFractal::CountElements(int days) const
{
    if (m_bad || !Drawable() || days < 1 || days > MaxDays()) {
        return {};
    }
    const std::vector<SymbolList>& productions = m_automaton.m_productions;
    // Only the symbols the axioms can lead to, numbered densely.
    std::vector<int> index(productions.size(), -1);
    std::vector<int> symbols;
    const auto add = [&](int symbol) {
        auto& slot = index[static_cast<std::size_t>(symbol)];
        if (slot < 0) {
            slot = static_cast<int>(symbols.size());
            symbols.push_back(symbol);
        }
    };
    for (const int symbol : m_automaton.m_axioms) {
        add(symbol);
    }
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        for (const int symbol : productions[static_cast<std::size_t>(symbols[i])]) {
            add(symbol);
        }
    }
    // A leaf is a symbol of the last word; it draws when the generator has
    // a step for it that is not hidden.
    SymbolCounts start;
    for (const int symbol : symbols) {
        const auto s = static_cast<std::size_t>(symbol);
        const bool draws = s < m_generator.size() && (m_generator[s].flags & StepHidden) == 0;
        start.counted.push_back(1);
        start.drawn.push_back(draws ? 1 : 0);
    }
    const SymbolCounts last =
        Iterate(start, days, [&](int, const SymbolCounts& before, SymbolCounts& after) {
            for (std::size_t s = 0; s < symbols.size(); ++s) {
                std::uint64_t counted = 0;
                std::uint64_t drawn = 0;
                for (const int symbol : productions[static_cast<std::size_t>(symbols[s])]) {
                    const auto k =
                        static_cast<std::size_t>(index[static_cast<std::size_t>(symbol)]);
                    counted = CountAdd(counted, before.counted[k]);
                    drawn = CountAdd(drawn, before.drawn[k]);
                }
                after.counted[s] = counted;
                after.drawn[s] = drawn;
            }
        });
    ElementCount total;
    total.boundsOnOneThread = true;
    for (const int symbol : m_automaton.m_axioms) {
        const auto k = static_cast<std::size_t>(index[static_cast<std::size_t>(symbol)]);
        total.counted = CountAdd(total.counted, last.counted[k]);
        total.drawn = CountAdd(total.drawn, last.drawn[k]);
    }
    return total;
}
