#pragma once

// A turtle drawing of an L-system. The derived word is never built: the
// rewriting is a recursion while the turtle moves.

#include "engine/fractal.h"
#include "engine/lsystem.h"

struct LsysPreset
{
    const char* name;
    int days;
    int directions;
    int ruleCount;
    const char* axiom;
    const RulePreset* rules;
};

class CLsysFractal : public CFractal
{
public:
    static constexpr const char* kKeyword = "lsys";

    explicit CLsysFractal(const LsysPreset& preset);
    CLsysFractal(std::string name, int days, const LSystem& lsystem, const Directions& directions);
    explicit CLsysFractal(CTextArchive& ar);

    bool ComputeBounds(int days, FractalBounds& out, const StopFlag* stop, ProgressFn progress,
                       void* arg) override;
    bool Draw(DrawingSurface& surface, const StopFlag* stop) override;
    void DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors) override;
    void DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors) override;
    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    LSystem* GetLsystem() override { return &m_lsystem; }
    Directions* GetDirections() override { return &m_directions; }

    Point m_start; // the turtle's start position, always the origin

private:
    // Interprets the axiom rewritten `depth` times on `surface`, which is also
    // ctx.surface (passed typed so the measuring run binds statically).
    template <typename Surface> void Run(Surface& surface, int depth, const DrawContext& ctx);
    // The state of one run: turtle, stack and the tables built for it.
    template <typename Surface> class Turtle;

    LSystem m_lsystem;
    Directions m_directions;
};
