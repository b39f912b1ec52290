#pragma once

// An iterated function system drawn by deterministic iteration: generation n
// is every point reached from the origin by a sequence of n maps, each drawn
// once, the top-level map varying slowest.

#include "engine/affine_map_set.h"
#include "engine/fractal_kind.h"

#include <vector>

struct IfsPreset
{
    const char* name;
    int days;
    int count;
    const AffineMap* maps;
};

class CIfsFractal : public FractalKind<CIfsFractal>
{
public:
    static constexpr const char* kKeyword = "ifs";

    explicit CIfsFractal(const IfsPreset& preset);
    CIfsFractal(std::string name, int days, const AffineMapSet& maps);
    explicit CIfsFractal(CTextArchive& ar);

    // The first step of every map, and every map after every map, from the
    // origin with the translations times scale / m_days (one day when the
    // fractal has none yet), as arrows in the first and second colour.
    void DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors) override;
    void DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors) override;
    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    ElementCount CountElements(int days) const override;
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
    friend class FractalKind<CIfsFractal>;
    static constexpr bool kTurtle = false;
    // The maps of one drawing, their translations multiplied by its scale.
    struct Tables
    {
        std::vector<AffineMap> maps;
    };
    // The point (x, y) with `depth` maps still to apply.
    struct Task
    {
        double x;
        double y;
        int depth;
    };
    template <typename Surface> class Walker;
    bool Drawable() const { return true; }
    Tables MakeTables() const;
    void Roots(const Tables& tables, int depth, std::vector<Task>& out) const;
    bool Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const;
    void Weigh(const Tables& tables, const std::vector<Task>& tasks,
               std::vector<double>& weights) const;
};

// Instantiated once, beside the kind's walker.
extern template class FractalKind<CIfsFractal>;
