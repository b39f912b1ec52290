#pragma once

// The classical construction: every initiator segment is replaced by the
// generator, and every segment of the result again, generation after
// generation.

#include "engine/fractal_kind.h"
#include "engine/pattern.h"

#include <vector>

struct StandardPreset
{
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

class CStandardFractal : public FractalKind<CStandardFractal>
{
public:
    static constexpr const char* kKeyword = "std";

    explicit CStandardFractal(const StandardPreset& preset);
    CStandardFractal(std::string name, int days, const Pattern& generator,
                     const InitiatorSet& initiators);
    explicit CStandardFractal(CTextArchive& ar);

    void DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors) override;
    void DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors) override;
    bool Save(CTextArchive& ar) override;
    bool IsValid() const override;
    ElementCount CountElements(int days) const override;
    InitiatorSet* GetInitiators() override { return &m_initiators; }
    Pattern* GetGenerator() override { return &m_generator; }

private:
    friend class FractalKind<CStandardFractal>;
    static constexpr bool kTurtle = false;
    // A generator step as the complex number r·e^(iα): the vector of a
    // child segment is the parent's vector times this.
    struct StepVector
    {
        double x;
        double y;
        int flags;
    };
    struct Tables
    {
        std::vector<StepVector> steps;
        double scale = 1.0;
    };
    static Point Times(Point v, const StepVector& w)
    {
        return {v.x * w.x - v.y * w.y, v.x * w.y + v.y * w.x};
    }
    // A segment `depth` generations above the drawing, or a leaf to draw.
    struct Task
    {
        Point p;
        Point v;
        int depth;
        int flags;
        bool leaf;
    };
    template <typename Surface> class Walker;
    bool Drawable() const { return true; }
    Tables MakeTables() const;
    void Roots(const Tables& tables, int depth, std::vector<Task>& out) const;
    bool Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const;
    void Weigh(const Tables& tables, const std::vector<Task>& tasks,
               std::vector<double>& weights) const;

    InitiatorSet m_initiators;
    Pattern m_generator;
};

// Instantiated once, beside the kind's walker.
extern template class FractalKind<CStandardFractal>;
