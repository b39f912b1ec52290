#pragma once

// An aliased raster's pixels opened to the recursion itself: the walker of
// a kind, instantiated on RasterWriter, maps each end point and lights the
// pixels of its one-pixel line in place, with no virtual call and no batch
// in between. It must light exactly what the raster surface's own Line,
// MoveTo and SetPixel light; the surface hands out its state when opened
// and takes it back (with the calls made) every batch and at the end.

#include "surface/batch_surface.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace drawing {

// Model coordinates to whole device units, truncated toward zero and
// limited, as the painter's surfaces truncate (NaN gives 0).
inline constexpr int kRasterCoordinateLimit = 1 << 24;
inline int RasterUnits(double v)
{
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

// Draws a kind's MoveTo, SetPixel and Line straight into an opened raster
// (RasterTarget); T is the pixel's type, Pixel8 or Pixel32.
template <typename T> class RasterWriter
{
public:
    RasterWriter(BatchSurface& surface, const RasterTarget& target)
        : m_surface(surface), m_t(target)
    {
    }
    ~RasterWriter() { Flush(); }
    RasterWriter(const RasterWriter&) = delete;
    RasterWriter& operator=(const RasterWriter&) = delete;

    void MoveTo(double x, double y)
    {
        m_t.currentX = PixelX(x);
        m_t.currentY = PixelY(y);
        m_t.lastEndX = x;
        m_t.lastEndY = y;
        ++m_counts.moves;
        Counted();
    }

    void SetPixel(double x, double y)
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
    void Line(double x1, double y1, double x2, double y2)
    {
        const std::int64_t ax = x1 == m_t.lastEndX ? m_t.currentX : PixelX(x1);
        const std::int64_t ay = y1 == m_t.lastEndY ? m_t.currentY : PixelY(y1);
        const std::int64_t bx = x2 == m_t.lastEndX ? m_t.currentX : (x2 == x1 ? ax : PixelX(x2));
        const std::int64_t by = y2 == m_t.lastEndY ? m_t.currentY : (y2 == y1 ? ay : PixelY(y2));
        m_t.currentX = bx;
        m_t.currentY = by;
        m_t.lastEndX = x2;
        m_t.lastEndY = y2;
        if (Inside(ax, ay) && Inside(bx, by)) {
            // Most lines of a dense figure are shorter than a pixel: their
            // two ends are all Bresenham would light.
            if (static_cast<std::uint64_t>(bx - ax + 1) <= 2 &&
                static_cast<std::uint64_t>(by - ay + 1) <= 2) {
                const auto value = static_cast<T>(m_t.penValue);
                PutPixel(At(ax, ay), value);
                PutPixel(At(bx, by), value);
            } else {
                RasterBresenham<T>(m_t.bits, m_t.stride, static_cast<int>(ax), static_cast<int>(ay),
                                   static_cast<int>(bx), static_cast<int>(by),
                                   static_cast<T>(m_t.penValue));
            }
        } else {
            m_surface.RasterLine(ax, ay, bx, by);
        }
        ++m_counts.lines;
        Counted();
    }

    // Hands the calls counted so far and the chain's state back.
    void Flush()
    {
        m_surface.RasterDrawn(m_t, m_counts);
        m_counts = {};
        m_pending = 0;
    }

private:
    std::int64_t PixelX(double x) const
    {
        return RasterPixel(RasterUnits(x) * m_t.scale + m_t.offsetX);
    }
    std::int64_t PixelY(double y) const
    {
        return RasterPixel(RasterUnits(y) * m_t.scale + m_t.offsetY);
    }
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
    RasterCounts m_counts;
    std::size_t m_pending = 0;
};

} // namespace drawing
