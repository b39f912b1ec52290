#pragma once

// The ordered maps of an iterated function system: the content of an IFS
// document and the rule of IFS and MCRM fractals. Also the whole-map
// operations and the arrow drawing of a segment that they share.

#include "core/geometry.h"
#include "surface/drawing_surface.h"

#include <cstddef>
#include <vector>

class CTextArchive;

class AffineMapSet
{
public:
    AffineMapSet() = default;
    // count maps copied in order; count < 1 gives an empty set.
    AffineMapSet(int count, const AffineMap* maps);
    // Reads an "[affine]" section, keeping the maps read completely before
    // any format error. Never throws.
    explicit AffineMapSet(CTextArchive& ar);

    // "[affine] n" then one "( a,b,c,d ) ( e,f )" line per map.
    bool Save(CTextArchive& ar) const;

    std::size_t size() const { return m_maps.size(); }
    bool empty() const { return m_maps.empty(); }
    AffineMap& operator[](std::size_t i) { return m_maps[i]; }
    const AffineMap& operator[](std::size_t i) const { return m_maps[i]; }
    auto begin() const { return m_maps.begin(); }
    auto end() const { return m_maps.end(); }
    void Insert(std::size_t position, std::size_t count, const AffineMap& map);
    void Append(const AffineMap& map) { m_maps.push_back(map); }
    void Erase(std::size_t index);
    std::vector<AffineMap>& Maps() { return m_maps; }
    const std::vector<AffineMap>& Maps() const { return m_maps; }

    friend bool operator==(const AffineMapSet&, const AffineMapSet&) = default;

private:
    std::vector<AffineMap> m_maps;
};

// Applies m to both ends of every segment of a copy of `in` and assigns the
// copy to `out` (`in` and `out` may be the same list).
void TransformSegments(const AffineMap& m, SegmentList& out, const SegmentList& in);

// An arrowhead on the first third of the segment, sized 5% of its length,
// then the segment itself; in `color`, or coloured by step `flags` through
// the marker surface's SelectColor (the line then uses the current pen).
void DrawSegmentArrow(DrawingSurface& surface, const Segment& s, Color color);
void DrawSegmentArrow(MarkerSurface& surface, const Segment& s, int flags);
// The colour form on a marker surface, which would otherwise be ambiguous
// between the two above. A plain int (a literal colour) selects the flags
// form: pass colours as Color.
inline void DrawSegmentArrow(MarkerSurface& surface, const Segment& s, Color color)
{
    DrawSegmentArrow(static_cast<DrawingSurface&>(surface), s, color);
}
