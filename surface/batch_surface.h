#pragma once

// The batched form of the fractal's own drawing: what the engine's
// recursions hand to a surface that can take many elements at once and
// split a drawing into pieces for other threads.

#include "surface/drawing_surface.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

// A drawing element as a batch carries it: MoveTo(x2, y2), SetPixel(x2, y2)
// or Line(x1, y1, x2, y2).
struct DrawElement
{
    enum Op : int
    {
        Move,
        Pixel,
        Line
    };
    Op op;
    double x1;
    double y1;
    double x2;
    double y2;
};

// An aliased raster's pixels and mapping, opened for drawing in place
// (drawing::RasterWriter), with the state of the chain of lines drawn so
// far: the pixel of the last end and the model point it came from (NaN
// when unknown).
struct RasterTarget
{
    unsigned char* bits = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    // Bytes per pixel: 1 or 4.
    int depth = 0;
    // Device x = whole units of model x * scale + offsetX, likewise for y.
    double scale = 1.0;
    double offsetX = 0.0;
    double offsetY = 0.0;
    // The stored values of the lines' colour and the single pixels'.
    std::uint32_t penValue = 0;
    std::uint32_t colorValue = 0;
    std::int64_t currentX = 0;
    std::int64_t currentY = 0;
    double lastEndX = 0.0;
    double lastEndY = 0.0;
};

// A pixel's coverage, 0 (none) to 255 (whole). Not a character type: a
// store through it cannot alias the drawing's own state, which the compiler
// may then keep in registers from one line to the next.
enum class Coverage : std::uint8_t
{
};

// An antialiased raster's coverage (a byte a pixel) and mapping, opened for
// drawing in place (drawing::CoverageWriter), with the state of the chain
// of lines drawn so far: the device point of the last end, in 256ths of a
// pixel, and the model point it came from (NaN when unknown).
struct CoverageTarget
{
    Coverage* cover = nullptr;
    int width = 0;
    int height = 0;
    // Device x = whole units of model x * scale + offsetX, likewise for y.
    double scale = 1.0;
    double offsetX = 0.0;
    double offsetY = 0.0;
    std::int64_t currentX = 0;
    std::int64_t currentY = 0;
    double lastEndX = std::numeric_limits<double>::quiet_NaN();
    double lastEndY = std::numeric_limits<double>::quiet_NaN();
};

// Calls drawn into an opened raster or coverage.
struct RasterCounts
{
    std::int64_t lines = 0;
    std::int64_t pixels = 0;
    std::int64_t moves = 0;

    // Adds the calls to a surface's totals and to its count of elements;
    // true when that count passed a multiple of the progress period
    // (periodMask + 1), where counting one by one would have reported.
    bool AddTo(std::int64_t& totalLines, std::int64_t& totalPixels, std::int64_t& totalMoves,
               std::int64_t& elements, std::int64_t periodMask) const
    {
        totalLines += lines;
        totalPixels += pixels;
        totalMoves += moves;
        const std::int64_t before = elements;
        elements += lines + pixels + moves;
        return (before & ~periodMask) != (elements & ~periodMask);
    }
};

// A surface that takes a fractal's own drawing in batches, so that the
// drawing recursion makes no virtual call per element, and that may be split
// so that pieces of the drawing run on other threads. The elements are the
// uncoloured MoveTo, SetPixel and Line calls, with their meaning.
class BatchSurface : public DrawingSurface
{
public:
    static constexpr std::size_t kBatch = 1024;

    // Draws the elements in order.
    virtual void Take(const DrawElement* elements, std::size_t count) = 0;
    // A surface for a piece of the same drawing, drawn on another thread
    // while this one draws; null when the surface cannot be split. Join
    // folds a piece's drawing back in, on this surface's thread, once the
    // piece is complete (or stopped).
    virtual std::unique_ptr<BatchSurface> Fork() { return nullptr; }
    virtual void Join(BatchSurface&) {}

    // Fills `target` and returns true when the uncoloured MoveTo, SetPixel
    // and Line may be drawn straight into the surface's pixels instead of
    // being handed over in batches.
    virtual bool OpenRaster(RasterTarget&) { return false; }
    // A line between two pixels, one of them (or both) outside the image.
    virtual void RasterLine(std::int64_t, std::int64_t, std::int64_t, std::int64_t) {}
    // Takes back the chain's state and the calls drawn since the last time,
    // and gives the pixels' address and values again (a progress call may
    // have moved them).
    virtual void RasterDrawn(RasterTarget&, const RasterCounts&) {}

    // The same for antialiased lines: fills `target` and returns true when
    // the uncoloured calls may be laid straight into the surface's coverage.
    virtual bool OpenCoverage(CoverageTarget&) { return false; }
    // Takes back the chain's state and the calls drawn since the last time,
    // and gives the coverage's address again.
    virtual void CoverageDrawn(CoverageTarget&, const RasterCounts&) {}
};
