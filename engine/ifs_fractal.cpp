#include "engine/ifs_fractal.h"

#include "core/text_archive.h"

#include <cmath>
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
    : FractalKind(preset.name, preset.days, std::move(type)), m_readOk(true),
      m_maps(preset.count, preset.maps)
{
}

CIfsFractal::CIfsFractal(std::string name, int days, const AffineMapSet& maps, std::string type)
    : FractalKind(std::move(name), days, std::move(type)), m_readOk(true), m_maps(maps)
{
}

// The maps are read even after a damaged header, so that as much as possible
// of the file survives; m_bad still holds the header's outcome here.
CIfsFractal::CIfsFractal(CTextArchive& ar, std::string type)
    : FractalKind(ar, std::move(type)), m_readOk(!m_bad), m_maps(ar)
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

CIfsFractal::Tables CIfsFractal::MakeTables() const
{
    return {ScaledMaps(m_maps, m_bounds.scale)};
}

template <typename Surface> class CIfsFractal::Walker
{
public:
    Walker(CIfsFractal& fractal, const Tables& tables, Surface& surface, const DrawContext& ctx)
        : m_fractal(fractal), m_surface(surface), m_ctx(ctx), m_first(tables.maps.data()),
          m_last(tables.maps.data() + tables.maps.size())
    {
    }

    void Run(const Task& task) { Iterate(task.x, task.y, task.depth); }
    int GetState() const { return 0; }
    void SetState(int) {}

private:
    void Leaf(double x, double y)
    {
        m_surface.SetPixel(x, y);
        m_fractal.CountElement(m_ctx);
    }
    void Iterate(double x, double y, int depth)
    {
        if (depth == 0) {
            Leaf(x, y);
            return;
        }
        for (const AffineMap* m = m_first; m != m_last; ++m) {
            const double qx = m->a * x + m->b * y + m->e;
            const double qy = m->c * x + m->d * y + m->f;
            if (depth == 1) {
                Leaf(qx, qy);
            } else {
                Iterate(qx, qy, depth - 1);
            }
        }
    }

    CIfsFractal& m_fractal;
    Surface& m_surface;
    const DrawContext& m_ctx;
    const AffineMap* m_first;
    const AffineMap* m_last;
};

void CIfsFractal::Roots(const Tables&, int depth, std::vector<Task>& out) const
{
    out.push_back({0.0, 0.0, depth});
}

bool CIfsFractal::Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const
{
    if (task.depth == 0) {
        return false;
    }
    for (const AffineMap& m : tables.maps) {
        out.push_back(
            {m.a * task.x + m.b * task.y + m.e, m.c * task.x + m.d * task.y + m.f, task.depth - 1});
    }
    return true;
}

void CIfsFractal::Weigh(const Tables& tables, const std::vector<Task>& tasks,
                        std::vector<double>& weights) const
{
    for (const Task& task : tasks) {
        weights.push_back(std::pow(static_cast<double>(tables.maps.size()), task.depth));
    }
}

template class FractalKind<CIfsFractal>;

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
