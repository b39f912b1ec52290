#include "engine/affine_map_set.h"

#include "core/text_archive.h"

#include <cassert>
#include <climits>
#include <cstddef>
#include <utility>

AffineMapSet::AffineMapSet(int count, const AffineMap* maps)
{
    if (count > 0 && maps != nullptr) {
        m_maps.assign(maps, maps + count);
    }
}

AffineMapSet::AffineMapSet(CTextArchive& ar)
{
    try {
        ar.Expect("[affine]");
        int count = 0;
        ar >> count;
        for (int i = 0; i < count; ++i) {
            AffineMap m;
            ar.Expect('(') >> m.a;
            ar.Expect(',') >> m.b;
            ar.Expect(',') >> m.c;
            ar.Expect(',') >> m.d;
            ar.Expect(')');
            ar.Expect('(') >> m.e;
            ar.Expect(',') >> m.f;
            // A number that failed to read fails the stream, so this closing
            // parenthesis also guards the coefficients before it.
            ar.Expect(')');
            m_maps.push_back(m);
        }
    } catch (...) {
        // Keep the maps read completely before the damage.
    }
}

bool AffineMapSet::Save(CTextArchive& ar) const
{
    ar << "[affine] " << static_cast<int>(m_maps.size()) << '\n';
    for (const AffineMap& m : m_maps) {
        ar << "( " << m.a << ',' << m.b << ',' << m.c << ',' << m.d << " ) ( " << m.e << ',' << m.f
           << " )\n";
    }
    return true;
}

void AffineMapSet::Insert(std::size_t position, std::size_t count, const AffineMap& map)
{
    assert(position <= m_maps.size());
    if (position > m_maps.size()) {
        position = m_maps.size();
    }
    m_maps.insert(m_maps.begin() + static_cast<std::ptrdiff_t>(position), count, map);
}

void AffineMapSet::Erase(std::size_t index)
{
    assert(index < m_maps.size());
    if (index < m_maps.size()) {
        m_maps.erase(m_maps.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void TransformSegments(const AffineMap& m, SegmentList& out, const SegmentList& in)
{
    SegmentList copy = in;
    for (Segment& s : copy) {
        Apply(m, s.start);
        Apply(m, s.end);
    }
    out = std::move(copy);
}

namespace {

// The integer part of 5% of the length. Lengths beyond int (absurd maps) or
// not a number give sizes that still convert safely.
int ArrowSize(double length)
{
    const double size = 0.05 * length;
    if (!(size > 0.0)) {
        return 0;
    }
    if (size >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    return static_cast<int>(size);
}

} // namespace

void DrawSegmentArrow(DrawingSurface& surface, const Segment& s, Color color)
{
    const Polar p = SegmentPolar(s);
    surface.Arrow(s.start, {p.angle, p.length / 3.0}, ArrowSize(p.length), color);
    surface.Line(s.start.x, s.start.y, s.end.x, s.end.y, color);
}

void DrawSegmentArrow(MarkerSurface& surface, const Segment& s, int flags)
{
    const Polar p = SegmentPolar(s);
    const Color color = surface.SelectColor(flags);
    surface.Arrow(s.start, {p.angle, p.length / 3.0}, ArrowSize(p.length), color);
    surface.Line(s.start.x, s.start.y, s.end.x, s.end.y);
}
