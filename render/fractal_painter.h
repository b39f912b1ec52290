#pragma once

// The painting of a fractal as a fractal window shows it, shared by the
// window's drawing thread, the headless renderer and printing: the bounds
// enlarged or reduced by the zoom factor about the figure's centre, fitted
// to the client area with one scale for both axes and centred, the
// background, the construction overlays first and the fractal over them.
//
// The fractal's bounds must be current (PrepareBounds) before painting. Every
// function here runs on the calling thread and lets the stop exception (the
// int -1 thrown by the drawing when the stop flag is set) pass to the caller,
// with the painter's pens, brushes and mapping put back on the way.

#include "engine/fractal.h"
#include "render/display_settings.h"
#include "render/gdi_surface.h"
#include "render/isotropic_mapping.h"
#include "render/marker_images.h"

#include <QPoint>
#include <QSize>

#include <cstdint>

class QImage;
class QPainter;

// Each of red, green and blue multiplied by k, truncated toward zero and
// limited to 0..255; nothing in the top byte.
Color ScaleColor(Color color, double k);

// Where one painting puts things, all derived from the bounds, the zoom
// factor and the client size. The figure's box is fitted between the first
// and the last pixel centre of each axis, so a stroke on its right or bottom
// edge lands on the last column or row rather than one past it. A box with
// no width or no height (a straight line) is fitted by its other side and
// centred across; a box that is a single point sits in the middle.
struct PaintGeometry
{
    // False only when the figure or the zoom has no finite size: then
    // nothing is painted at all.
    bool paintable = false;
    // The model rectangle the client shows, in drawing units (model units
    // multiplied by the bounds' scale).
    double x0 = 0.0;
    double y0 = 0.0;
    double width = 0.0;
    double height = 0.0;
    // The uniform fit of that rectangle into the client, centred.
    double s = 0.0;
    // The area the fit fills: the client less one pixel on each axis, the
    // distance from the first pixel centre to the last.
    QSize fitArea;
    int ox = 0;
    int oy = 0;
    // Drawing units to device pixels, for the overlays.
    AffineMap overlayTransform;
    // The window the fractal itself is mapped from: the rectangle truncated.
    QPoint windowOrigin;
    QSize windowExtent;
    // That window fitted into fitArea: the fractal's own mapping.
    IsotropicParams fractalMapping;
};

PaintGeometry ComputePaintGeometry(const FractalBounds& bounds, double zoom, QSize client);

// What the fractal's own drawing made: calls of both Line and both LineTo,
// of both SetPixel, and of MoveTo.
struct PaintCounts
{
    std::int64_t lines = 0;
    std::int64_t pixels = 0;
    std::int64_t moves = 0;
};

enum class FractalPath
{
    // Through a GdiSurface on the painter: antialiased, vector and printed
    // output, and anything else a painter can do.
    Painter,
    // Through our own rasterisers straight into the image's bits (images
    // only): one-pixel lines and pixels at many times the speed, aliased, or
    // antialiased by coverage when `antialias` is set. Both may draw pieces
    // of the figure on several threads.
    Direct
};

struct PaintOptions
{
    FractalPath path = FractalPath::Painter;
    bool antialias = false;
    // How the GdiSurface hands uncoloured lines to the painter.
    GdiSurface::Batching batching = GdiSurface::Batching::Lines;
    // Called during the fractal's drawing after every 2^16 elements.
    ProgressFn progress = nullptr;
    void* progressArg = nullptr;
    // On the aliased direct path: asked with progressArg before each
    // progress call whether what other threads have drawn so far should be
    // in the image first (a picture is about to be shown); null never asks.
    bool (*piecesWanted)(void*) = nullptr;
    // Filled with the fractal drawing's calls, also when it is stopped.
    PaintCounts* counts = nullptr;
};

// Paints onto an active painter whose client area is `client` pixels from
// its origin. False when the figure could not be painted (bounds of no
// finite size): the device then keeps what it had. Antialiased, the
// fractal's lines run through the pixel centres (half a pixel in from the
// integer grid), so the outermost strokes light whole pixels. FractalPath::Direct is not
// available here and is treated as Painter.
bool PaintFractal(QPainter& painter, QSize client, CFractal& fractal, double zoom,
                  const DisplaySettings& settings, const ImageList* markers, const StopFlag* stop,
                  const PaintOptions& options = {});

// Paints into an image of format RGB32, ARGB32 or ARGB32_Premultiplied, the
// whole image being the client area. An Indexed8 image is accepted for the
// fractal alone (no overlay flags) with FractalPath::Direct: the fast path
// of pictures that hold two colours.
bool PaintFractal(QImage& image, CFractal& fractal, double zoom, const DisplaySettings& settings,
                  const ImageList* markers, const StopFlag* stop, const PaintOptions& options = {});

// The printed page: the fractal's bounds (prepared by the caller) mapped
// isotropically onto the page, their rectangle filled with the background,
// the fractal drawn over it in black with a stop flag that is never set. The
// zoom, overlays and drawing colours play no part. A single point is printed
// as large as one screen pixel would be at the device's resolution (a
// 300-dpi page prints it about three device pixels wide), so a figure of
// points looks on paper as it does in the window.
void PrintFractal(QPainter& painter, QSize page, CFractal& fractal, Color background);
