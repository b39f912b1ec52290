#include "engine/ifs_fractal.h"

#include "core/text_archive.h"

#include <utility>
#include <vector>

CIfsFractal::CIfsFractal(const IfsPreset& preset) : CIfsFractal(preset, kKeyword)
{
    SetValidity(m_readOk);
}

CIfsFractal::CIfsFractal(std::string name, int days, const AffineMapSet& maps)
    : CIfsFractal(std::move(name), days, maps, kKeyword)
{
    SetValidity(m_readOk);
}

CIfsFractal::CIfsFractal(CTextArchive& ar) : CIfsFractal(ar, kKeyword)
{
    SetValidity(m_readOk);
}

CIfsFractal::CIfsFractal(const IfsPreset& preset, std::string type)
    : CFractal(preset.name, preset.days, std::move(type)), m_readOk(true),
      m_maps(preset.count, preset.maps)
{
}

CIfsFractal::CIfsFractal(std::string name, int days, const AffineMapSet& maps, std::string type)
    : CFractal(std::move(name), days, std::move(type)), m_readOk(true), m_maps(maps)
{
}

// The maps are read even after a damaged header, so that as much as possible
// of the file survives; m_bad still holds the header's outcome here.
CIfsFractal::CIfsFractal(CTextArchive& ar, std::string type)
    : CFractal(ar, std::move(type)), m_readOk(!m_bad), m_maps(ar)
{
}

namespace {

// The maps of one drawing, their translations already multiplied by the
// drawing scale, so that a point costs four products and four sums.
std::vector<AffineMap> ScaledMaps(const AffineMapSet& maps, double scale)
{
    std::vector<AffineMap> scaled(maps.begin(), maps.end());
    for (AffineMap& m : scaled) {
        m.e *= scale;
        m.f *= scale;
    }
    return scaled;
}

// The overlays spread the construction over the days so that it stays
// readable whatever the generation; a fractal with no days yet is shown as
// if it had one rather than divided by zero.
double OverlayStep(double scale, int days)
{
    return scale / (days > 0 ? days : 1);
}

} // namespace

template <typename Surface>
void CIfsFractal::Run(Surface& surface, int depth, const DrawContext& ctx)
{
    const std::vector<AffineMap> maps = ScaledMaps(m_maps, m_bounds.scale);

    struct Walker
    {
        CIfsFractal& fractal;
        Surface& surface;
        const DrawContext& ctx;
        const AffineMap* first;
        const AffineMap* last;

        void Leaf(double x, double y)
        {
            surface.SetPixel(x, y);
            fractal.CountElement(ctx);
        }

        void Iterate(double x, double y, int depth)
        {
            if (depth == 0) {
                Leaf(x, y);
                return;
            }
            for (const AffineMap* m = first; m != last; ++m) {
                const double qx = m->a * x + m->b * y + m->e;
                const double qy = m->c * x + m->d * y + m->f;
                if (depth == 1) {
                    Leaf(qx, qy);
                } else {
                    Iterate(qx, qy, depth - 1);
                }
            }
        }
    };

    Walker walker{*this, surface, ctx, maps.data(), maps.data() + maps.size()};
    walker.Iterate(0.0, 0.0, depth);
}

bool CIfsFractal::ComputeBounds(int days, FractalBounds& out, const StopFlag* stop,
                                ProgressFn progress, void* arg)
{
    ExtentSurface surface;
    const DrawContext ctx{&surface, stop, progress, arg};
    Run(surface, BoundsDepth(days), ctx);
    out = surface.Bounds();
    return true;
}

bool CIfsFractal::Draw(DrawingSurface& surface, const StopFlag* stop)
{
    if (m_days < 1) {
        return false;
    }
    const DrawContext ctx{&surface, stop, nullptr, nullptr};
    Run(surface, ClampDepth(m_days), ctx);
    return true;
}

void CIfsFractal::DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors)
{
    const double s = OverlayStep(m_bounds.scale, m_days);
    const Point origin{0.0, 0.0};
    for (const AffineMap& m : m_maps) {
        const Point q{s * m.e, s * m.f};
        DrawSegmentArrow(surface, {origin, q}, colors.first);
        surface.DrawImage(q.x, q.y, 16, 16, 1);
    }
    surface.DrawImage(origin.x, origin.y, 16, 16, 9);
}

void CIfsFractal::DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors)
{
    const double s = OverlayStep(m_bounds.scale, m_days);
    for (const AffineMap& m1 : m_maps) {
        const Point p{s * m1.e, s * m1.f};
        for (const AffineMap& m2 : m_maps) {
            const Point q{m2.a * p.x + m2.b * p.y + s * m2.e, m2.c * p.x + m2.d * p.y + s * m2.f};
            DrawSegmentArrow(surface, {p, q}, colors.second);
            surface.DrawImage(q.x, q.y, 16, 16, 8);
        }
    }
}

bool CIfsFractal::Save(CTextArchive& ar)
{
    const bool header = CFractal::Save(ar);
    const bool maps = m_maps.Save(ar);
    return header && maps;
}

bool CIfsFractal::IsValid() const
{
    return !m_maps.empty();
}
