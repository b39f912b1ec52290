#pragma once

// The outputs of kaleidra-render, each into an opened file that is replaced
// only when the caller commits it. The pictures come from the writers a
// window's Export uses; the text exchange format is the renderer's own. They
// draw the fractal as a window shows it (the bounds must be prepared),
// record the drawing's calls and times in the stats, drive the progress bar,
// and let the stop exception (the int -1) pass when the stop flag is set.

#include "engine/fractal.h"
#include "progress_bar.h"
#include "render/picture_writers.h"
#include "render_job.h"
#include "render_options.h"

class QSaveFile;

using DrawResult = PictureResult;

// PNG, SVG or PDF as the type says, with the options' size, zoom, colours
// and raster path.
DrawResult DrawPicture(PictureType type, QSaveFile& file, CFractal& fractal,
                       const RenderOptions& options, const DisplaySettings& settings,
                       const ImageList& markers, const StopFlag& stop, ProgressBar& bar,
                       RenderStats& stats);
// Text: every element of the fractal's own drawing in model units.
DrawResult DrawText(QSaveFile& file, CFractal& fractal, const StopFlag& stop, RenderStats& stats);
