#pragma once

// An iterated function system drawn by deterministic iteration: generation n
// is every point reached from the origin by a sequence of n maps, each drawn
// once, the top-level map varying slowest.

#include "engine/affine_map_set.h"
#include "engine/fractal.h"

struct IfsPreset
{
    const char* name;
    int days;
    int count;
    const AffineMap* maps;
};

class CIfsFractal : public CFractal
{
public:
    static constexpr const char* kKeyword = "ifs";

    explicit CIfsFractal(const IfsPreset& preset);
    CIfsFractal(std::string name, int days, const AffineMapSet& maps);
    explicit CIfsFractal(CTextArchive& ar);

    bool ComputeBounds(int days, FractalBounds& out, const StopFlag* stop, ProgressFn progress,
                       void* arg) override;
    bool Draw(DrawingSurface& surface, const StopFlag* stop) override;
    // The first step of every map, and every map after every map, from the
    // origin with the translations times scale / m_days (one day when the
    // fractal has none yet), as arrows in the first and second colour.
    void DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors) override;
    void DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors) override;
    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    AffineMapSet* GetAffineMaps() override { return &m_maps; }

protected:
    // For the MCRM kind, which reads and builds its maps the same way but
    // has its own keyword. Neither applies the validity rule.
    CIfsFractal(const IfsPreset& preset, std::string type);
    CIfsFractal(std::string name, int days, const AffineMapSet& maps, std::string type);
    CIfsFractal(CTextArchive& ar, std::string type);

    // The common header was read; always true when built from values.
    bool m_readOk = false;
    AffineMapSet m_maps;

private:
    template <typename Surface> void Run(Surface& surface, int depth, const DrawContext& ctx);
};
