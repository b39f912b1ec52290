#pragma once

// A multiple-copy reduction machine: a polygon figure is copied through
// every map, the copies again through every map, for the number of
// generations; the last generation is drawn as segments.

#include "engine/ifs_fractal.h"
#include "engine/pattern.h"

struct McrmPreset {
    const IfsPreset* ifs; // name and maps; days = its days - 3
    int sides;            // of the counter-clockwise polygon generator
};

class CMcrmFractal : public CIfsFractal {
public:
    static constexpr const char* kKeyword = "mcrm";

    explicit CMcrmFractal(const McrmPreset& preset);
    CMcrmFractal(std::string name, int days, const AffineMapSet& maps, const Pattern& generator);
    explicit CMcrmFractal(CTextArchive& ar);

    bool ComputeBounds(int days, FractalBounds& out, const StopFlag* stop, ProgressFn progress,
                       void* arg) override;
    bool Draw(DrawingSurface& surface, const StopFlag* stop) override;
    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    Pattern* GetGenerator() override { return &m_generator; }

private:
    template <typename Surface> void Run(Surface& surface, int depth, const DrawContext& ctx);

    Pattern m_generator;
};
