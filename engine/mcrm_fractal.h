#pragma once

// A multiple-copy reduction machine: a polygon figure is copied through
// every map, the copies again through every map, for the number of
// generations; the last generation is drawn as segments.

#include "engine/ifs_fractal.h"
#include "engine/pattern.h"

struct McrmPreset
{
    const IfsPreset* ifs; // name and maps; days = its days - 3
    int sides;            // of the counter-clockwise polygon generator
};

class CMcrmFractal : public FractalKind<CMcrmFractal, CIfsFractal>
{
public:
    static constexpr const char* kKeyword = "mcrm";

    explicit CMcrmFractal(const McrmPreset& preset);
    CMcrmFractal(std::string name, int days, const AffineMapSet& maps, const Pattern& generator);
    explicit CMcrmFractal(CTextArchive& ar);

    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    ElementCount CountElements(int days) const override;
    Pattern* GetGenerator() override { return &m_generator; }

private:
    using Machine = FractalKind<CMcrmFractal, CIfsFractal>;
    friend Machine;
    static constexpr bool kTurtle = false;
    struct Tables
    {
        // The generator laid from the origin pointing down the screen at the
        // drawing's size, as the polyline of its points.
        std::vector<Point> figure;
        // The maps with their translations times the drawing's scale.
        std::vector<AffineMap> maps;
    };
    // A copy `depth` generations above the drawing, through map `m`.
    struct Task
    {
        int depth;
        AffineMap m;
    };
    template <typename Surface> class Walker;
    bool Drawable() const { return true; }
    Tables MakeTables() const;
    void Roots(const Tables& tables, int depth, std::vector<Task>& out) const;
    bool Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const;
    void Weigh(const Tables& tables, const std::vector<Task>& tasks,
               std::vector<double>& weights) const;

    Pattern m_generator;
};

// Instantiated once, beside the kind's walker.
extern template class FractalKind<CMcrmFractal, CIfsFractal>;
