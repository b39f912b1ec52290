#pragma once

// A turtle drawing of an L-system. The derived word is never built: the
// rewriting is a recursion while the turtle moves.

#include "engine/fractal_kind.h"
#include "engine/lsystem.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

struct LsysPreset
{
    const char* name;
    int days;
    int directions;
    int ruleCount;
    const char* axiom;
    const RulePreset* rules;
};

class CLsysFractal : public FractalKind<CLsysFractal>
{
public:
    static constexpr const char* kKeyword = "lsys";

    explicit CLsysFractal(const LsysPreset& preset);
    CLsysFractal(std::string name, int days, const LSystem& lsystem, const Directions& directions);
    explicit CLsysFractal(CTextArchive& ar);

    void DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors) override;
    void DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors) override;
    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    int MaxDays() const override { return kMaxStackDays; }
    ElementCount CountElements(int days) const override;
    LSystem* GetLsystem() override { return &m_lsystem; }
    Directions* GetDirections() override { return &m_directions; }

    Point m_start; // the turtle's start position, always the origin

private:
    friend class FractalKind<CLsysFractal>;
    static constexpr bool kTurtle = true;
    struct Replacement
    {
        const char* text = nullptr; // null: no rule for this byte
        std::size_t length = 0;
    };
    // Built once per drawing: the rule of every byte and the step vector of
    // every heading, already multiplied by the drawing scale.
    // A step of a block: a line or a move along the heading `turn` steps of
    // the compass past the one the block starts with.
    struct BlockStep
    {
        int turn;
        bool line;
    };
    struct Tables
    {
        std::array<Replacement, 256> rules{};
        std::vector<Point> steps; // empty for a huge compass
        double scale = 1.0;
        int headings = 1;
        // The lines and moves of every byte `blockDepth` generations above
        // them, in order, and the turn each byte makes in all: byte c's are
        // [blockOffsets[c], blockOffsets[c + 1]). The last generations are
        // then a loop over steps instead of an interpretation. No blocks
        // (blockDepth 0) with brackets in the rules or a huge compass.
        int blockDepth = 0;
        std::array<std::size_t, 257> blockOffsets{};
        std::array<int, 256> blockTurns{};
        std::vector<BlockStep> blocks;
    };
    // Replaying a piece's predecessors without drawing costs about an
    // eighth of drawing them when it runs through blocks of steps, and
    // nearly half when it interprets every character.
    static double ReplayCost(const Tables& tables) { return tables.blockDepth > 0 ? 0.12 : 0.4; }
    // Larger compasses compute each step as it is taken.
    static constexpr int kMaxStepTable = 1 << 16;
    // One character `depth` generations above the drawing; a character whose
    // rule was unrolled into the tasks after it is only counted.
    struct Task
    {
        char symbol;
        int depth;
        bool countOnly;
    };
    // Where the turtle is, where it heads, and the positions its open
    // brackets saved.
    struct TurtleState
    {
        int heading = 0;
        Point position;
        std::vector<std::pair<int, Point>> saved;
    };
    template <typename Surface> class Walker;
    // Without brackets the turtle's heading after a task is the sum of its
    // turns, known without walking it, and its box moves with its start.
    static constexpr bool kMovableBoxes = true;
    bool StartStates(const Tables& tables, const std::vector<Task>& tasks,
                     std::vector<TurtleState>& starts) const;
    static Point Position(const TurtleState& state) { return state.position; }
    bool Drawable() const { return true; }
    Tables MakeTables() const;
    static void MakeBlocks(Tables& tables);
    void Roots(const Tables& tables, int depth, std::vector<Task>& out) const;
    bool Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const;
    void Weigh(const Tables& tables, const std::vector<Task>& tasks,
               std::vector<double>& weights) const;

    LSystem m_lsystem;
    Directions m_directions;
};

// Instantiated once, beside the kind's walker.
extern template class FractalKind<CLsysFractal>;
