#pragma once

// The classical construction: every initiator segment is replaced by the
// generator, and every segment of the result again, generation after
// generation.

#include "engine/fractal.h"
#include "engine/pattern.h"

struct StandardPreset {
    const char* name;
    int days;
    int segments;     // n initiator segments
    const double* x;  // n + 1 values
    const double* y;  // n + 1 values
    int steps;        // m generator steps
    const int* flags; // m values
    const double* angles;
    const double* ratios;
};

class CStandardFractal : public CFractal {
public:
    static constexpr const char* kKeyword = "std";

    explicit CStandardFractal(const StandardPreset& preset);
    CStandardFractal(std::string name, int days, const Pattern& generator,
                     const InitiatorSet& initiators);
    explicit CStandardFractal(CTextArchive& ar);

    bool ComputeBounds(int days, FractalBounds& out, const StopFlag* stop, ProgressFn progress,
                       void* arg) override;
    bool Draw(DrawingSurface& surface, const StopFlag* stop) override;
    void DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors) override;
    void DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors) override;
    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    InitiatorSet* GetInitiators() override { return &m_initiators; }
    Pattern* GetGenerator() override { return &m_generator; }

private:
    template <typename Surface> void Run(Surface& surface, int depth, const DrawContext& ctx);

    InitiatorSet m_initiators;
    Pattern m_generator;
};
