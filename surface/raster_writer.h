#pragma once

// An aliased raster's pixels opened to the recursion itself: the walker of
// a kind, instantiated on RasterWriter, maps each end point and lights the
// pixels of its one-pixel line in place, with no virtual call and no batch
// in between. It must light exactly what the raster surface's own Line,
// MoveTo and SetPixel light; the surface hands out its state when opened
// and takes it back (with the calls made) every batch and at the end.

#include "surface/batch_surface.h"

#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace drawing {

// Model coordinates to whole device units, truncated toward zero and
// limited, as the painter's surfaces truncate (NaN gives 0).
inline constexpr int kRasterCoordinateLimit = 1 << 24;
inline int RasterUnits(double v)
{
    // Inside the limits (NaN never is) the truncation is all there is.
    if (std::abs(v) < kRasterCoordinateLimit) [[likely]] {
        return static_cast<int>(v);
    }
    if (v >= kRasterCoordinateLimit) {
        return kRasterCoordinateLimit;
    }
    if (v <= -kRasterCoordinateLimit) {
        return -kRasterCoordinateLimit;
    }
    return v == v ? static_cast<int>(v) : 0;
}

// The pixel whose span [p, p + 1) holds a device coordinate.
inline std::int64_t RasterPixel(double device)
{
    const auto i = static_cast<std::int64_t>(device);
    return device < static_cast<double>(i) ? i - 1 : i;
}

// The pixel types the writer stores. Not character or plain integer types:
// a store through them cannot alias the writer's own state, which the
// compiler may then keep in registers from one element to the next.
enum class Pixel8 : std::uint8_t
{
};
enum class Pixel32 : std::uint32_t
{
};

// A pixel's store. A piece's mask may be read by another thread while the
// piece draws: every store is an atomic one, which costs a plain store.
template <typename T> inline void PutPixel(T* pixel, T value)
{
    std::atomic_ref<T>(*pixel).store(value, std::memory_order_relaxed);
}

// Bresenham between two pixels inside the image, both ends lit.
template <typename T>
void RasterBresenham(unsigned char* bits, std::ptrdiff_t stride, int x0, int y0, int x1, int y1,
                     T value)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const std::ptrdiff_t step = stride / static_cast<std::ptrdiff_t>(sizeof(T));
    const std::ptrdiff_t sy = y0 < y1 ? step : -step;
    T* p = reinterpret_cast<T*>(bits + y0 * stride) + x0;
    int err = dx + dy;
    for (int n = dx > -dy ? dx : -dy; n > 0; --n) {
        PutPixel(p, value);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p += sy;
        }
    }
    PutPixel(p, value);
}

// What the whole device units that fall in the picture (and a little around
// it) map to, computed once: mapping a point is then a truncation and a
// look-up instead of a chain of conversions and multiplications, with the
// very same result. Map holds the axis's scale and offset and maps whole
// units; its values there fit 32 bits. The table is filled by Build(), when
// the drawing has shown that it is worth its cost.
template <typename Map> class UnitAxis
{
public:
    UnitAxis() = default;
    UnitAxis(int size, Map map) : m_map(map)
    {
        constexpr double kMost = 1 << 18;
        if (!(map.scale > 0.0) || !std::isfinite(map.offset)) {
            return;
        }
        const double from = std::floor((-1.0 - map.offset) / map.scale) - 2.0;
        const double to = std::ceil((size + 1.0 - map.offset) / map.scale) + 2.0;
        if (!(to - from < kMost) || from < -kRasterCoordinateLimit || to > kRasterCoordinateLimit) {
            return;
        }
        m_first = static_cast<std::int64_t>(from);
        m_entries = static_cast<std::size_t>(to - from) + 1;
    }

    std::size_t Entries() const { return m_entries; }
    void Build()
    {
        m_values.resize(m_entries);
        for (std::size_t i = 0; i < m_entries; ++i) {
            m_values[i] = static_cast<std::int32_t>(
                m_map(static_cast<int>(m_first + static_cast<std::int64_t>(i))));
        }
        m_built = m_entries;
    }

    [[gnu::always_inline]] std::int64_t operator()(double v) const
    {
        const int units = RasterUnits(v);
        const auto i = static_cast<std::uint64_t>(units - m_first);
        if (i < m_built) [[likely]] {
            return m_values[i];
        }
        return Mapped(units);
    }

private:
    // Units outside the table, or all of them before it is filled.
    [[gnu::noinline]] std::int64_t Mapped(int units) const { return m_map(units); }

    std::vector<std::int32_t> m_values;
    std::size_t m_entries = 0;
    // Entries filled (m_values.size(), kept where the look-up reads it in
    // one load).
    std::size_t m_built = 0;
    std::int64_t m_first = 0;
    Map m_map;
};

// A picture's two axes. Their tables are filled once as many elements have
// been drawn as they hold entries: a small figure maps its few points
// directly rather than fill tables larger than itself.
template <typename Map> class UnitAxes
{
public:
    UnitAxes(int width, int height, double scale, double offsetX, double offsetY)
        : x(width, {scale, offsetX}), y(height, {scale, offsetY})
    {
    }
    void Drawn(std::size_t elements)
    {
        if (m_built) {
            return;
        }
        m_drawn += elements;
        if (m_drawn >= x.Entries() + y.Entries()) {
            x.Build();
            y.Build();
            m_built = true;
        }
    }

    UnitAxis<Map> x;
    UnitAxis<Map> y;

private:
    std::size_t m_drawn = 0;
    bool m_built = false;
};

// The pixel whose span holds whole units mapped to the device.
struct PixelMap
{
    double scale = 1.0;
    double offset = 0.0;
    std::int64_t operator()(int units) const { return RasterPixel(units * scale + offset); }
};

// Draws a kind's MoveTo, SetPixel and Line straight into an opened raster
// (RasterTarget); T is the pixel's type, Pixel8 or Pixel32.
template <typename T> class RasterWriter
{
public:
    RasterWriter(BatchSurface& surface, const RasterTarget& target)
        : m_surface(surface), m_t(target),
          m_axes(target.width, target.height, target.scale, target.offsetX, target.offsetY)
    {
    }
    ~RasterWriter() { Flush(); }
    RasterWriter(const RasterWriter&) = delete;
    RasterWriter& operator=(const RasterWriter&) = delete;

    [[gnu::always_inline]] void MoveTo(double x, double y)
    {
        m_t.currentX = PixelX(x);
        m_t.currentY = PixelY(y);
        m_t.lastEndX = x;
        m_t.lastEndY = y;
        ++m_counts.moves;
        Counted();
    }

    [[gnu::always_inline]] void SetPixel(double x, double y)
    {
        // A single pixel takes the nearest one, not the span's.
        const std::int64_t px = RasterPixel(RasterUnits(x) * m_t.scale + m_t.offsetX + 0.5);
        const std::int64_t py = RasterPixel(RasterUnits(y) * m_t.scale + m_t.offsetY + 0.5);
        if (Inside(px, py)) {
            PutPixel(At(px, py), static_cast<T>(m_t.colorValue));
        }
        ++m_counts.pixels;
        Counted();
    }

    // A chain starts each line where the last one ended, whose pixel is
    // known; each axis maps on its own, so an end that keeps one coordinate
    // keeps its pixel there.
    [[gnu::always_inline]] void Line(double x1, double y1, double x2, double y2)
    {
        const std::int64_t ax = x1 == m_t.lastEndX ? m_t.currentX : PixelX(x1);
        const std::int64_t ay = y1 == m_t.lastEndY ? m_t.currentY : PixelY(y1);
        const std::int64_t bx = x2 == m_t.lastEndX ? m_t.currentX : (x2 == x1 ? ax : PixelX(x2));
        const std::int64_t by = y2 == m_t.lastEndY ? m_t.currentY : (y2 == y1 ? ay : PixelY(y2));
        m_t.currentX = bx;
        m_t.currentY = by;
        m_t.lastEndX = x2;
        m_t.lastEndY = y2;
        // Most lines of a dense figure are shorter than a pixel, inside the
        // picture: their two ends are all Bresenham would light.
        if (static_cast<std::uint64_t>(bx - ax + 1) <= 2 &&
            static_cast<std::uint64_t>(by - ay + 1) <= 2 && Inside(ax, ay) && Inside(bx, by))
            [[likely]] {
            const auto value = static_cast<T>(m_t.penValue);
            PutPixel(At(ax, ay), value);
            PutPixel(At(bx, by), value);
        } else {
            LongLine(ax, ay, bx, by);
        }
        ++m_counts.lines;
        Counted();
    }

    // Hands the calls counted so far and the chain's state back.
    [[gnu::noinline]] void Flush()
    {
        m_surface.RasterDrawn(m_t, m_counts);
        m_axes.Drawn(m_pending);
        m_counts = {};
        m_pending = 0;
    }

private:
    // Lines longer than a pixel, or not wholly inside the picture, out of
    // the way of the short ones.
    [[gnu::noinline]] void LongLine(std::int64_t ax, std::int64_t ay, std::int64_t bx,
                                    std::int64_t by)
    {
        if (Inside(ax, ay) && Inside(bx, by)) {
            RasterBresenham<T>(m_t.bits, m_t.stride, static_cast<int>(ax), static_cast<int>(ay),
                               static_cast<int>(bx), static_cast<int>(by),
                               static_cast<T>(m_t.penValue));
        } else {
            m_surface.RasterLine(ax, ay, bx, by);
        }
    }

    std::int64_t PixelX(double x) const { return m_axes.x(x); }
    std::int64_t PixelY(double y) const { return m_axes.y(y); }
    bool Inside(std::int64_t x, std::int64_t y) const
    {
        return static_cast<std::uint64_t>(x) < static_cast<std::uint64_t>(m_t.width) &&
               static_cast<std::uint64_t>(y) < static_cast<std::uint64_t>(m_t.height);
    }
    T* At(std::int64_t x, std::int64_t y) const
    {
        return reinterpret_cast<T*>(m_t.bits + y * m_t.stride) + x;
    }
    // The surface counts (and reports progress) a batch at a time, as it
    // would for batches handed to it.
    void Counted()
    {
        if (++m_pending == BatchSurface::kBatch) {
            Flush();
        }
    }

    BatchSurface& m_surface;
    RasterTarget m_t;
    UnitAxes<PixelMap> m_axes;
    RasterCounts m_counts;
    std::size_t m_pending = 0;
};

} // namespace drawing
