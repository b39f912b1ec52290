#pragma once

// Antialiased hairlines into a coverage buffer (a byte a pixel), and the
// writer that draws a kind's MoveTo, SetPixel and Line straight into it from
// the recursion, with no virtual call and no batch in between. The antialiased
// raster surface draws its own calls with the same functions, so both give
// the very same coverage.
//
// A line lights, in every pixel column (or row, for steep lines) it crosses,
// the two pixels whose centres are nearest its centre, split by distance,
// and its ends reach half a pixel beyond its points, as a square cap does.
// Each line's coverage is laid over what is there as source-over lays an
// alpha (the background left showing is the product of 1 - alpha).

#include "surface/batch_surface.h"
#include "surface/raster_writer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace drawing {

// floor() without a library call, for the coordinates a picture can have.
inline int FloorToInt(double v)
{
    const int i = static_cast<int>(v);
    return v < static_cast<double>(i) ? i - 1 : i;
}

// Device coordinates far outside any picture are held here, so that the
// integer arithmetic below never overflows; lines are still cut exactly at
// the picture's edge by their own loops.
inline constexpr double kCoverageFar = 1 << 28;

inline double LimitDevice(double v)
{
    return v < -kCoverageFar ? -kCoverageFar : (v > kCoverageFar ? kCoverageFar : v);
}

// Device coordinates in 256ths of a pixel: the lines along a row or a column,
// which make most figures, are then laid with integer arithmetic alone.
using Fixed = std::int64_t;
inline constexpr int kFixedBits = 8;
inline constexpr Fixed kFixedOne = Fixed{1} << kFixedBits;
inline constexpr Fixed kFixedHalf = kFixedOne / 2;

// A device coordinate (already limited) in 256ths, floored.
inline Fixed ToFixed(double device)
{
    const double v = device * static_cast<double>(kFixedOne);
    const auto i = static_cast<Fixed>(v);
    return v < static_cast<double>(i) ? i - 1 : i;
}
struct FixedPoint
{
    Fixed x = 0;
    Fixed y = 0;
};
inline double FromFixed(Fixed v)
{
    return static_cast<double>(v) / static_cast<double>(kFixedOne);
}

// v / 255 rounded to the nearest, for v in 0 .. 255 * 255.
constexpr int Div255(int v)
{
    v += 128;
    return (v + (v >> 8)) >> 8;
}

// What a pixel's coverage becomes with another laid over it, for every
// pair: a look-up instead of a multiplication and a division. Built by the
// compiler, so it is there before anything draws.
struct OverTable
{
    std::uint8_t over[256][256] = {};
    constexpr OverTable()
    {
        for (int p = 0; p < 256; ++p) {
            for (int a = 0; a < 256; ++a) {
                over[p][a] = static_cast<std::uint8_t>(p + Div255((255 - p) * a));
            }
        }
    }
};
inline constexpr OverTable kOverTable;

// Lays a coverage `a` (0 .. 255) over a pixel's, as source-over lays an
// alpha: what showed through keeps showing through 1 - a of it. The
// coverage is taken as a byte, so the look-up never leaves the table.
inline void Cover(Coverage& pixel, int a)
{
    pixel = static_cast<Coverage>(
        kOverTable.over[static_cast<std::uint8_t>(pixel)][static_cast<std::uint8_t>(a)]);
}

// A fraction of a pixel (0 .. 1) in 255ths, rounded half up: the fraction
// is never negative, so adding a half and truncating rounds it.
inline int Levels(double fraction)
{
    return static_cast<int>(fraction * 255.0 + 0.5); // NOLINT(bugprone-incorrect-roundings)
}

// A coverage buffer: width * height bytes, row after row.
struct CoverageImage
{
    CoverageImage() = default;
    CoverageImage(Coverage* c, int w, int h)
        : cover(c), width(w), height(h), ends{Fixed{w} << kFixedBits, Fixed{h} << kFixedBits},
          inner{std::max<Fixed>((Fixed{w} - 3) * kFixedOne, 0),
                std::max<Fixed>((Fixed{h} - 3) * kFixedOne, 0)}
    {
    }
    Coverage* cover = nullptr;
    int width = 0;
    int height = 0;
    // In 256ths, per axis (x, y): the picture's end, and how far beyond its
    // first pixel a straight line's entry (its centre less half a pixel)
    // may lie for both pixels it is split between, and a pixel to spare,
    // to be inside the picture. The quick loops need no other test.
    Fixed ends[2] = {};
    Fixed inner[2] = {};
};

// A line from (a1, b1) to (a2, b2), a1 <= a2, where `a` runs along the
// major axis (y when Steep) and `b` across it; every pixel is tested
// against the picture's edges.
template <bool Steep>
[[gnu::noinline]] void CoverSpan(const CoverageImage& image, double a1, double b1, double a2,
                                 double b2)
{
    if (a1 > a2) {
        std::swap(a1, a2);
        std::swap(b1, b2);
    }
    const int majorSize = Steep ? image.height : image.width;
    const int minorSize = Steep ? image.width : image.height;
    const double length = a2 - a1;
    const double slope = length > 0.0 ? (b2 - b1) / length : 0.0;
    // The square cap: half a pixel beyond each end.
    const double start = a1 - 0.5;
    const double end = a2 + 0.5;
    const int from = FloorToInt(start);
    const int to = FloorToInt(end);
    Coverage* const cover = image.cover;
    const auto stride = static_cast<std::size_t>(image.width);
    const auto coverAt = [start, end](int i) {
        return std::min(end, i + 1.0) - std::max(start, double(i));
    };
    // The line's centre across each column is sampled half a pixel after
    // the column's centre, as the painter's stroker steps it, and split
    // between the two pixels whose centres are nearest.
    const int first = std::max(from, 0);
    const int last = std::min(to, majorSize - 1);
    double centre = b1 + slope * (first + 1.0 - a1) - 0.5;
    for (int i = first; i <= last; ++i, centre += slope) {
        double whole = 1.0;
        if (i == first || i == last) {
            whole = coverAt(i);
            if (whole <= 0.0) {
                continue;
            }
        }
        const int j = FloorToInt(centre);
        const int below = Levels((centre - j) * whole);
        const int above = Levels(whole) - below;
        const auto major = static_cast<std::size_t>(i);
        if (j >= 0 && j < minorSize) {
            Cover(cover[Steep ? major * stride + j : j * stride + major], above);
        }
        if (j + 1 >= 0 && j + 1 < minorSize) {
            const std::size_t k = static_cast<std::size_t>(j) + 1;
            Cover(cover[Steep ? major * stride + k : k * stride + major], below);
        }
    }
}

// A line along the major axis at `level` across it, between a1 and a2 (in
// either order), in 256ths: as all of a right-angled figure's lines are.
// Every column is split alike, only the caps cover less.
template <bool Steep>
[[gnu::always_inline]] inline void CoverStraight(const CoverageImage& image, Fixed level, Fixed a1,
                                                 Fixed a2)
{
    const Fixed lo = std::min(a1, a2);
    const Fixed hi = std::max(a1, a2);
    // The square cap: half a pixel beyond each end; the line's centre
    // split between the two pixels whose centres are nearest.
    const Fixed start = lo - kFixedHalf;
    const Fixed end = hi + kFixedHalf;
    const Fixed entry = level - kFixedHalf;
    if (start < 0 || end >= image.ends[Steep ? 1 : 0] ||
        static_cast<std::uint64_t>(entry - kFixedOne) >=
            static_cast<std::uint64_t>(image.inner[Steep ? 0 : 1])) [[unlikely]] {
        // Near or beyond an edge: every pixel tested.
        CoverSpan<Steep>(image, FromFixed(lo), FromFixed(level), FromFixed(hi), FromFixed(level));
        return;
    }
    const auto from = static_cast<int>(start >> kFixedBits);
    const auto to = static_cast<int>(end >> kFixedBits);
    const auto stride = static_cast<std::size_t>(image.width);
    const std::size_t along = Steep ? stride : 1;
    const std::size_t across = Steep ? 1 : stride;
    const auto split = static_cast<int>(entry & (kFixedOne - 1));
    Coverage* p = image.cover + static_cast<std::size_t>(from) * along +
                  static_cast<std::size_t>(entry >> kFixedBits) * across;
    // A column covered `w` 256ths along: w * 255 / 256 levels, of which the
    // split's share goes to the pixel below. From > to cannot be: a line
    // with its caps is at least a pixel long.
    const int share = split * 255;
    const auto cap = [&](int w) {
        const int below = (share * w + 32768) >> 16;
        Cover(p[0], ((w * 255 + 128) >> 8) - below);
        Cover(p[across], below);
    };
    cap(static_cast<int>(kFixedOne - (start & (kFixedOne - 1))));
    p += along;
    const int below = (share + 128) >> 8;
    for (int i = from + 1; i < to; ++i, p += along) {
        Cover(p[0], 255 - below);
        Cover(p[across], below);
    }
    cap(static_cast<int>(end & (kFixedOne - 1)));
}

// A point is one whole pixel, the nearest, as a cosmetic pen's point.
inline void CoverDot(const CoverageImage& image, Fixed x, Fixed y)
{
    const Fixed px = (x + kFixedHalf) >> kFixedBits;
    const Fixed py = (y + kFixedHalf) >> kFixedBits;
    if (px < 0 || py < 0 || px >= image.width || py >= image.height) {
        return;
    }
    image.cover[static_cast<std::size_t>(py) * static_cast<std::size_t>(image.width) +
                static_cast<std::size_t>(px)] = Coverage{255};
}

// Any line between two device points (in 256ths) that is not along a row or
// a column.
[[gnu::noinline]] inline void CoverSlanted(const CoverageImage& image, Fixed fax, Fixed fay,
                                           Fixed fbx, Fixed fby)
{
    const double ax = FromFixed(fax);
    const double ay = FromFixed(fay);
    const double bx = FromFixed(fbx);
    const double by = FromFixed(fby);
    const bool steep = std::abs(by - ay) > std::abs(bx - ax);
    // `a` runs along the major axis, `b` across it, `a` growing. Chosen
    // without branches: a figure's lines turn every which way, and a
    // mispredicted branch costs what a column of pixels does.
    const double u1 = steep ? ay : ax;
    const double v1 = steep ? ax : ay;
    const double u2 = steep ? by : bx;
    const double v2 = steep ? bx : by;
    const bool reversed = u1 > u2;
    const double a1 = reversed ? u2 : u1;
    const double b1 = reversed ? v2 : v1;
    const double a2 = reversed ? u1 : u2;
    const double b2 = reversed ? v1 : v2;
    const int majorSize = steep ? image.height : image.width;
    const int minorSize = steep ? image.width : image.height;
    const double slope = (b2 - b1) / (a2 - a1);
    const double start = a1 - 0.5;
    const double end = a2 + 0.5;
    const int from = FloorToInt(start);
    const int to = FloorToInt(end);
    const double entry = b1 + slope * (from + 1.0 - a1) - 0.5;
    const double exit = entry + slope * (to - from);
    if (from < 0 || to >= majorSize || std::min(entry, exit) < 1.0 ||
        std::max(entry, exit) >= minorSize - 2.0) {
        // Near or beyond an edge: every pixel tested.
        if (steep) {
            CoverSpan<true>(image, a1, b1, a2, b2);
        } else {
            CoverSpan<false>(image, a1, b1, a2, b2);
        }
        return;
    }
    const auto stride = static_cast<std::size_t>(image.width);
    const std::size_t along = steep ? stride : 1;
    const std::size_t across = steep ? 1 : stride;
    double centre = entry;
    for (int i = from; i <= to; ++i, centre += slope) {
        const auto j = static_cast<int>(centre);
        // The part of the column the line covers: all of it but at the caps.
        const double whole = std::min(end, i + 1.0) - std::max(start, double(i));
        const int below = Levels((centre - j) * whole);
        Coverage* const p = image.cover + static_cast<std::size_t>(i) * along +
                            static_cast<std::size_t>(j) * across;
        Cover(p[0], Levels(whole) - below);
        Cover(p[across], below);
    }
}

// Any line between two device points, in 256ths.
[[gnu::always_inline]] inline void CoverLine(const CoverageImage& image, Fixed ax, Fixed ay,
                                             Fixed bx, Fixed by)
{
    if (ay == by) {
        if (ax == bx) {
            // A line without length is a point of the pen, as a painter
            // draws it.
            CoverDot(image, ax, ay);
        } else {
            CoverStraight<false>(image, ay, ax, bx);
        }
    } else if (ax == bx) {
        CoverStraight<true>(image, ax, ay, by);
    } else {
        CoverSlanted(image, ax, ay, bx, by);
    }
}

// Whole units mapped to the device, in 256ths.
struct FixedMap
{
    double scale = 1.0;
    double offset = 0.0;
    Fixed operator()(int units) const { return ToFixed(LimitDevice(units * scale + offset)); }
};

// Model coordinates to device coordinates in 256ths: whole logical units
// first, exactly as the painter's surfaces truncate, then the mapping.
struct CoverageMapping
{
    double scale = 1.0;
    double offsetX = 0.0;
    double offsetY = 0.0;

    Fixed X(double x) const { return FixedMap{scale, offsetX}(RasterUnits(x)); }
    Fixed Y(double y) const { return FixedMap{scale, offsetY}(RasterUnits(y)); }
    FixedPoint operator()(double x, double y) const { return {X(x), Y(y)}; }
};

// Draws a kind's MoveTo, SetPixel and Line straight into an opened
// coverage buffer (CoverageTarget). It must lay exactly the coverage the
// antialiased surface's own MoveTo, SetPixel and Line lay; the surface
// hands out its state when opened and takes it back (with the calls made)
// every batch and at the end.
class CoverageWriter
{
public:
    CoverageWriter(BatchSurface& surface, const CoverageTarget& target)
        : m_surface(surface), m_t(target), m_image{target.cover, target.width, target.height},
          m_axes(target.width, target.height, target.scale, target.offsetX, target.offsetY)
    {
    }
    ~CoverageWriter() { Flush(); }
    CoverageWriter(const CoverageWriter&) = delete;
    CoverageWriter& operator=(const CoverageWriter&) = delete;

    [[gnu::always_inline]] void MoveTo(double x, double y)
    {
        m_t.currentX = m_axes.x(x);
        m_t.currentY = m_axes.y(y);
        m_t.lastEndX = x;
        m_t.lastEndY = y;
        ++m_counts.moves;
        Counted();
    }

    [[gnu::always_inline]] void SetPixel(double x, double y)
    {
        CoverDot(m_image, m_axes.x(x), m_axes.y(y));
        ++m_counts.pixels;
        Counted();
    }

    // A chain starts each line where the last one ended, whose device
    // point is known; each axis maps on its own, so an end that keeps a
    // coordinate keeps its device coordinate there.
    [[gnu::always_inline]] void Line(double x1, double y1, double x2, double y2)
    {
        const Fixed ax = x1 == m_t.lastEndX ? m_t.currentX : m_axes.x(x1);
        const Fixed ay = y1 == m_t.lastEndY ? m_t.currentY : m_axes.y(y1);
        const Fixed bx = x2 == x1 ? ax : m_axes.x(x2);
        const Fixed by = y2 == y1 ? ay : m_axes.y(y2);
        m_t.currentX = bx;
        m_t.currentY = by;
        m_t.lastEndX = x2;
        m_t.lastEndY = y2;
        CoverLine(m_image, ax, ay, bx, by);
        ++m_counts.lines;
        Counted();
    }

    // Hands the calls counted so far and the chain's state back.
    [[gnu::noinline]] void Flush()
    {
        m_surface.CoverageDrawn(m_t, m_counts);
        m_image = {m_t.cover, m_t.width, m_t.height};
        m_axes.Drawn(m_pending);
        m_counts = {};
        m_pending = 0;
    }

private:
    // The surface counts (and reports progress) a batch at a time, as it
    // would for batches handed to it.
    void Counted()
    {
        if (++m_pending == BatchSurface::kBatch) {
            Flush();
        }
    }

    BatchSurface& m_surface;
    CoverageTarget m_t;
    CoverageImage m_image;
    UnitAxes<FixedMap> m_axes;
    RasterCounts m_counts;
    std::size_t m_pending = 0;
};

} // namespace drawing
