#pragma once

// The word an automaton derives, drawn as a chain of generator steps: symbol
// i is step i (absolute angle, ratio times the scale), laid end to end from
// the origin. The derived word is never stored.

#include "engine/automaton.h"
#include "engine/fractal.h"
#include "engine/pattern.h"

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

class CAutomatonFractal : public CFractal
{
public:
    static constexpr const char* kKeyword = "automaton";

    explicit CAutomatonFractal(const AutomatonPreset& preset);
    CAutomatonFractal(std::string name, int days, const Automaton& automaton,
                      const Pattern& generator);
    explicit CAutomatonFractal(CTextArchive& ar);

    bool ComputeBounds(int days, FractalBounds& out, const StopFlag* stop, ProgressFn progress,
                       void* arg) override;
    bool Draw(DrawingSurface& surface, const StopFlag* stop) override;
    void DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors) override;
    void DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors) override;
    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    Pattern* GetGenerator() override { return &m_generator; }
    Automaton* GetAutomaton() override { return &m_automaton; }

    Point m_start; // the start of the chain, always the origin

private:
    // Draws the axioms rewritten `depth` times on `surface`, which is also
    // ctx.surface (passed typed so the measuring run binds statically).
    // Draws nothing when the automaton is not well-formed, since its symbols
    // index the productions; false then.
    template <typename Surface> bool Run(Surface& surface, int depth, const DrawContext& ctx);
    // The state of one run: pen position and the tables built for it.
    template <typename Surface> class Chain;

    Automaton m_automaton;
    Pattern m_generator;
};
