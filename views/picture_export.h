#pragma once

// Pictures of a fractal as a window shows it, made away from the interface
// thread: a PNG, SVG or PDF file (the writers kaleidra-render uses), or an
// image for the clipboard. The work waits for the fractal's drawing lock
// while a window draws it, measures the bounds of the current day count and
// draws; a file is replaced only by a complete picture, so a cancelled or
// failed export leaves whatever was there before.

#include "engine/fractal.h"
#include "render/picture_writers.h"

#include <QImage>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

enum class ExportStatus
{
    Done,
    Failed,
    Cancelled
};

struct ExportOutcome
{
    ExportStatus status = ExportStatus::Done;
    // Why it failed, to show after the file name.
    QString error;
};

// The picture type of a file name's extension, in any case; none for
// another extension.
std::optional<PictureType> PictureTypeOf(const QString& path);

// Writes `fractal` into the file at `path`. Any thread; the stop flag of
// `options` cancels (also while waiting for the lock).
ExportOutcome ExportFractalPicture(const FractalPtr& fractal, const QString& path, PictureType type,
                                   const PictureOptions& options);

// Paints `fractal` into `image` (RGB32, the size of the picture) exactly as a
// window of that size shows it. Any thread; the stop flag of `options`
// cancels.
ExportOutcome PaintFractalImage(const FractalPtr& fractal, const PictureOptions& options,
                                QImage& image);

// Runs `work` on a thread of its own while the interface stays responsive;
// a progress dialog labelled `label` appears after half a second and its
// Cancel sets the stop flag `work` is given. Returns when `work` has ended.
// Interface thread only.
void RunWithProgress(QWidget* parent, const QString& label,
                     const std::function<void(const StopFlag& stop)>& work);
