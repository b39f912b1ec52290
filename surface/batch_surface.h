#pragma once

// The batched form of the fractal's own drawing: what the engine's
// recursions hand to a surface that can take many elements at once and
// split a drawing into pieces for other threads.

#include "surface/drawing_surface.h"

#include <cstddef>
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
};
