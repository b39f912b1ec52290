#pragma once

// The writers of kaleidra-render's outputs, each into an opened file that is
// replaced only when the caller commits it. They draw the fractal as a
// window shows it (the bounds must be prepared), record the drawing's calls
// and times in the stats, drive the progress bar, and let the stop
// exception (the int -1) pass when the stop flag is set.

#include "engine/fractal.h"
#include "progress_bar.h"
#include "render/display_settings.h"
#include "render/marker_images.h"
#include "render_job.h"
#include "render_options.h"

#include <string>

class QSaveFile;

// A write that failed, with the reason to show after the path.
struct DrawResult
{
    bool ok = true;
    std::string error;
};

// PNG: our rasteriser for aliased pictures, the painter for antialiased ones.
DrawResult DrawPng(QSaveFile& file, CFractal& fractal, const RenderOptions& options,
                   const DisplaySettings& settings, const ImageList& markers, const StopFlag& stop,
                   ProgressBar& bar, RenderStats& stats);
// SVG: background and overlays from Qt's generator, then the fractal
// streamed straight into the file.
DrawResult DrawSvg(QSaveFile& file, CFractal& fractal, const RenderOptions& options,
                   const DisplaySettings& settings, const ImageList& markers, const StopFlag& stop,
                   ProgressBar& bar, RenderStats& stats);
// PDF: everything through the painter.
DrawResult DrawPdf(QSaveFile& file, CFractal& fractal, const RenderOptions& options,
                   const DisplaySettings& settings, const ImageList& markers, const StopFlag& stop,
                   ProgressBar& bar, RenderStats& stats);
// Text: every element of the fractal's own drawing in model units.
DrawResult DrawText(QSaveFile& file, CFractal& fractal, const StopFlag& stop, RenderStats& stats);
