#include "engine/mcrm_fractal.h"

#include "core/text_archive.h"

#include <utility>
#include <vector>

namespace {

// The IFS records carry the days of their own kind; the same maps make a
// machine whose copies multiply far faster, so it runs three generations fewer.
constexpr int kDaysBelowIfs = 3;

} // namespace

CMcrmFractal::CMcrmFractal(const McrmPreset& preset)
    : CIfsFractal(*preset.ifs, kKeyword), m_generator(Pattern::Polygon(preset.sides, true))
{
    m_days = preset.ifs->days - kDaysBelowIfs;
    SetValidity(m_readOk);
}

CMcrmFractal::CMcrmFractal(std::string name, int days, const AffineMapSet& maps,
                           const Pattern& generator)
    : CIfsFractal(std::move(name), days, maps, kKeyword), m_generator(generator)
{
    SetValidity(m_readOk);
}

CMcrmFractal::CMcrmFractal(CTextArchive& ar) : CIfsFractal(ar, kKeyword), m_generator(ar)
{
    SetValidity(m_readOk);
}

template <typename Surface>
void CMcrmFractal::Run(Surface& surface, int depth, const DrawContext& ctx)
{
    const double s = m_bounds.scale;

    // The figure: the generator laid from the origin pointing down the screen
    // at size s. Its segments chain head to tail, so it is kept as the
    // polyline of its points; every copy then transforms each point once.
    const InitiatorSet laid(m_generator, {{0.0, 0.0}, {0.0, s}});
    std::vector<Point> figure;
    figure.reserve(laid.size() + 1);
    if (!laid.empty()) {
        figure.push_back(laid.Segments().front().start);
        for (const Segment& segment : laid) {
            figure.push_back(segment.end);
        }
    }
    // One buffer for the copy at every leaf.
    std::vector<Point> copy(figure.size());

    // Translations times s: the machine of the unscaled maps, magnified by s.
    std::vector<AffineMap> maps(m_maps.begin(), m_maps.end());
    for (AffineMap& m : maps) {
        m.e *= s;
        m.f *= s;
    }

    struct Walker
    {
        CMcrmFractal& fractal;
        Surface& surface;
        const DrawContext& ctx;
        const std::vector<Point>& figure;
        std::vector<Point>& copy;
        const std::vector<AffineMap>& maps;

        void Leaf(const AffineMap& m)
        {
            const std::size_t n = figure.size();
            for (std::size_t i = 0; i < n; ++i) {
                copy[i] = figure[i];
                Apply(m, copy[i]);
            }
            for (std::size_t i = 1; i < n; ++i) {
                surface.Line(copy[i - 1].x, copy[i - 1].y, copy[i].x, copy[i].y);
            }
            // One element per copy, not per segment.
            fractal.CountElement(ctx);
        }

        // `m` is the product of the maps chosen above, the top one applied first.
        void Copy(int depth, const AffineMap& m)
        {
            if (depth == 0) {
                Leaf(m);
                return;
            }
            for (const AffineMap& a : maps) {
                Copy(depth - 1, Compose(a, m));
            }
        }
    };

    Walker walker{*this, surface, ctx, figure, copy, maps};
    walker.Copy(depth, kIdentityMap);
}

bool CMcrmFractal::ComputeBounds(int days, FractalBounds& out, const StopFlag* stop,
                                 ProgressFn progress, void* arg)
{
    ExtentSurface surface;
    const DrawContext ctx{&surface, stop, progress, arg};
    Run(surface, BoundsDepth(days), ctx);
    out = surface.Bounds();
    return true;
}

bool CMcrmFractal::Draw(DrawingSurface& surface, const StopFlag* stop)
{
    if (m_days < 1) {
        return false;
    }
    const DrawContext ctx{&surface, stop, nullptr, nullptr};
    Run(surface, ClampDepth(m_days), ctx);
    return true;
}

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
