#include "engine/mcrm_fractal.h"

#include "core/text_archive.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

// The IFS records carry the days of their own kind; the same maps make a
// machine whose copies multiply far faster, so it runs three generations fewer.
constexpr int kDaysBelowIfs = 3;

} // namespace

CMcrmFractal::CMcrmFractal(const McrmPreset& preset)
    : Machine(*preset.ifs, kKeyword), m_generator(Pattern::Polygon(preset.sides, true))
{
    m_days = preset.ifs->days - kDaysBelowIfs;
    SetValidity(m_readOk);
}

CMcrmFractal::CMcrmFractal(std::string name, int days, const AffineMapSet& maps,
                           const Pattern& generator)
    : Machine(std::move(name), days, maps, kKeyword), m_generator(generator)
{
    SetValidity(m_readOk);
}

CMcrmFractal::CMcrmFractal(CTextArchive& ar) : Machine(ar, kKeyword), m_generator(ar)
{
    SetValidity(m_readOk);
}

CMcrmFractal::Tables CMcrmFractal::MakeTables() const
{
    const double s = m_bounds.scale;
    Tables tables;
    // Its segments chain head to tail, so every copy transforms each point
    // once.
    const InitiatorSet laid(m_generator, {{0.0, 0.0}, {0.0, s}});
    if (!laid.empty()) {
        tables.figure.reserve(laid.size() + 1);
        tables.figure.push_back(laid.Segments().front().start);
        for (const Segment& segment : laid) {
            tables.figure.push_back(segment.end);
        }
    }
    // Translations times s: the machine of the unscaled maps, magnified by s.
    tables.maps.assign(m_maps.begin(), m_maps.end());
    for (AffineMap& m : tables.maps) {
        m.e *= s;
        m.f *= s;
    }
    return tables;
}

template <typename Surface> class CMcrmFractal::Walker
{
public:
    Walker(CMcrmFractal& fractal, const Tables& tables, Surface& surface, const DrawContext& ctx)
        : m_fractal(fractal), m_surface(surface), m_ctx(ctx), m_figure(tables.figure),
          m_copy(tables.figure.size()), m_maps(tables.maps)
    {
    }

    void Run(const Task& task) { Copy(task.depth, task.m); }
    int GetState() const { return 0; }
    void SetState(int) {}

private:
    void Leaf(const AffineMap& m)
    {
        const std::size_t n = m_figure.size();
        for (std::size_t i = 0; i < n; ++i) {
            m_copy[i] = m_figure[i];
            Apply(m, m_copy[i]);
        }
        for (std::size_t i = 1; i < n; ++i) {
            m_surface.Line(m_copy[i - 1].x, m_copy[i - 1].y, m_copy[i].x, m_copy[i].y);
        }
        // One element per copy, not per segment.
        m_fractal.CountElement(m_ctx);
    }
    // `m` is the product of the maps chosen above, the top one applied first.
    void Copy(int depth, const AffineMap& m)
    {
        if (depth == 0) {
            Leaf(m);
            return;
        }
        for (const AffineMap& a : m_maps) {
            Copy(depth - 1, Compose(a, m));
        }
    }

    CMcrmFractal& m_fractal;
    Surface& m_surface;
    const DrawContext& m_ctx;
    const std::vector<Point>& m_figure;
    // One buffer for the copy at every leaf.
    std::vector<Point> m_copy;
    const std::vector<AffineMap>& m_maps;
};

void CMcrmFractal::Roots(const Tables&, int depth, std::vector<Task>& out) const
{
    out.push_back({depth, kIdentityMap});
}

bool CMcrmFractal::Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const
{
    if (task.depth == 0) {
        return false;
    }
    for (const AffineMap& a : tables.maps) {
        out.push_back({task.depth - 1, Compose(a, task.m)});
    }
    return true;
}

void CMcrmFractal::Weigh(const Tables& tables, const std::vector<Task>& tasks,
                         std::vector<double>& weights) const
{
    // A copy costs a line per figure segment.
    const double lines = static_cast<double>(tables.figure.size());
    for (const Task& task : tasks) {
        weights.push_back(lines * std::pow(static_cast<double>(tables.maps.size()), task.depth));
    }
}

template class FractalKind<CMcrmFractal, CIfsFractal>;

bool CMcrmFractal::Save(CTextArchive& ar)
{
    // The header and the "[affine]" section as an IFS fractal writes them.
    const bool ifs = CIfsFractal::Save(ar);
    const bool generator = m_generator.Save(ar);
    return ifs && generator;
}

bool CMcrmFractal::IsValid() const
{
    return CIfsFractal::IsValid() && !m_generator.empty();
}
