#pragma once

// The word an automaton derives, drawn as a chain of generator steps: symbol
// i is step i (absolute angle, ratio times the scale), laid end to end from
// the origin. The derived word is never stored.

#include "engine/automaton.h"
#include "engine/fractal_kind.h"
#include "engine/pattern.h"

#include <cstddef>
#include <vector>

// One symbol of a preset: its generator step and its production.
struct SymbolPreset
{
    int flags;
    int direction;
    double length;
    int productionLength;
    const int* production;
};

struct AutomatonPreset
{
    const char* name;
    int days;
    int symbolCount;
    const SymbolPreset* symbols;
    int directions;
    int axiomLength;
    const int* axiom;
};

class CAutomatonFractal : public FractalKind<CAutomatonFractal>
{
public:
    static constexpr const char* kKeyword = "automaton";

    explicit CAutomatonFractal(const AutomatonPreset& preset);
    CAutomatonFractal(std::string name, int days, const Automaton& automaton,
                      const Pattern& generator);
    explicit CAutomatonFractal(CTextArchive& ar);

    void DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors) override;
    void DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors) override;
    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    int MaxDays() const override { return kMaxStackDays; }
    ElementCount CountElements(int days) const override;
    Pattern* GetGenerator() override { return &m_generator; }
    Automaton* GetAutomaton() override { return &m_automaton; }

    Point m_start; // the start of the chain, always the origin

private:
    friend class FractalKind<CAutomatonFractal>;
    static constexpr bool kTurtle = true;
    // The pen's state is its position alone and every leaf moves it by a
    // fixed step, so a piece's box measured from the origin, moved to where
    // the piece starts, is the piece's box: the bounds need no replay.
    static constexpr bool kMovableBoxes = true;
    template <typename Tables, typename Tasks>
    bool StartStates(const Tables&, const Tasks& tasks, std::vector<Point>& starts) const
    {
        starts.assign(tasks.size(), Point{0.0, 0.0});
        return true;
    }
    static Point Position(Point at) { return at; }
    enum class Action : unsigned char
    {
        None, // hidden, or no generator step
        Move,
        Line
    };
    struct Leaf
    {
        Point step; // already multiplied by the drawing scale
        Action action = Action::None;
    };
    // Built once per drawing: what every symbol does as a leaf, and the
    // productions as one flat array, so a leaf costs a lookup and a line.
    struct Tables
    {
        std::vector<Leaf> leaves;
        std::vector<std::size_t> offsets; // production k: [offsets[k], offsets[k + 1])
        std::vector<int> symbols;
        // The leaves that move the pen, of every symbol `blockDepth`
        // generations above them, in order: symbol k's are
        // [blockOffsets[k], blockOffsets[k + 1]). The last generations are
        // then a loop over steps instead of a recursion. No blocks when
        // blockDepth is below 2.
        int blockDepth = 0;
        std::vector<std::size_t> blockOffsets;
        std::vector<Leaf> blocks;
    };
    // Replaying a piece's predecessors without drawing costs about a sixth
    // of drawing them through blocks of steps, nearly half without.
    static double ReplayCost(const Tables& tables) { return tables.blockDepth > 0 ? 0.15 : 0.4; }
    // A symbol `depth` generations above its leaves.
    struct Task
    {
        int symbol;
        int depth;
    };
    template <typename Surface> class Walker;
    // The symbols index the productions: only a well-formed automaton draws.
    bool Drawable() const { return m_automaton.IsValid(); }
    Tables MakeTables() const;
    void MakeBlocks(Tables& tables) const;
    void Roots(const Tables& tables, int depth, std::vector<Task>& out) const;
    bool Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const;
    void Weigh(const Tables& tables, const std::vector<Task>& tasks,
               std::vector<double>& weights) const;

    Automaton m_automaton;
    Pattern m_generator;
};

// Instantiated once, beside the kind's walker.
extern template class FractalKind<CAutomatonFractal>;
