#pragma once

// The picture files of a fractal as a window shows it: PNG, SVG and PDF, for
// the headless renderer and a window's Export alike. Each writer draws into
// an opened device (a QSaveFile the caller commits, or cancels when the
// result is not ok or the drawing was stopped). The fractal's bounds must be
// current (PrepareBounds) and the caller holds its drawing lock.
//
// A writer runs entirely on the calling thread, which need not be the
// interface thread (no widgets are touched; text overlays need a Gui
// application for fonts). When the stop flag is set the drawing throws the
// stop exception (the int -1) out of the writer; the device then holds a
// partial picture that must not be kept.

#include "engine/fractal.h"
#include "render/display_settings.h"
#include "render/marker_images.h"
#include "surface/progress.h"

#include <QSize>

#include <cstdint>
#include <string>

class QIODevice;

// `text` with the five characters XML and HTML give a meaning written as
// entities, for titles in SVG and names in the renderer's gallery page.
std::string XmlEscape(const std::string& text);

// Which rasteriser draws a PNG, aliased or antialiased: our own (the
// default, exactly a window's pixels when aliased) or the painter, kept for
// comparisons and measurements.
enum class RasterPath
{
    Direct,
    Painter
};

enum class PictureType
{
    Png,
    Svg,
    Pdf
};

struct PictureOptions
{
    // Pixels for PNG; points for SVG and PDF (one point per window pixel).
    QSize size{1024, 1024};
    double zoom = 1.0;
    // PNG only: vector pictures are always smooth.
    bool antialias = true;
    RasterPath rasterPath = RasterPath::Direct;
    DisplaySettings settings;
    // The overlays' marker images; null draws the overlays without them.
    const ImageList* markers = nullptr;
    // Null never stops.
    const StopFlag* stop = nullptr;
    // Called on the writing thread after every 2^16 elements of the fractal.
    ProgressFn progress = nullptr;
    void* progressArg = nullptr;
    // Named in the file as the program that made it.
    std::string creator = "kaleidra";
};

// What the fractal's own drawing made (calls of Line and LineTo, SetPixel,
// MoveTo; filled also when stopped) and how long the work took.
struct PictureStats
{
    std::int64_t lines = 0;
    std::int64_t pixels = 0;
    std::int64_t moves = 0;
    double secondsDraw = 0.0;
    double secondsEncode = 0.0;
};

// A write that failed, with the reason to show after the path.
struct PictureResult
{
    bool ok = true;
    std::string error;
};

// PNG: our rasteriser for aliased pictures, the painter for antialiased
// ones unless the raster path says otherwise.
PictureResult WritePngPicture(QIODevice& out, CFractal& fractal, const PictureOptions& options,
                              PictureStats& stats);
// SVG: background and overlays from Qt's generator, then the fractal
// streamed straight into the device.
PictureResult WriteSvgPicture(QIODevice& out, CFractal& fractal, const PictureOptions& options,
                              PictureStats& stats);
// PDF: one page of the picture's size, everything through the painter.
PictureResult WritePdfPicture(QIODevice& out, CFractal& fractal, const PictureOptions& options,
                              PictureStats& stats);
// One of the three by type.
PictureResult WritePicture(PictureType type, QIODevice& out, CFractal& fractal,
                           const PictureOptions& options, PictureStats& stats);
