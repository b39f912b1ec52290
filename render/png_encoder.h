#pragma once

// A PNG writer tuned for speed: fractal pictures are mostly one background
// colour, which deflate's fastest level already packs well, so the rows go
// unfiltered and the compression is split over the machine's cores. The
// file is an ordinary PNG (one zlib stream in IDAT chunks) any reader takes.

#include <QString>

class QIODevice;
class QImage;

// Writes `image` to `out`. Indexed8 images are written with their palette,
// RGB32 as 8-bit RGB, every other format as 8-bit RGBA (converted first).
// False with a reason in `error` (when given) if the image is empty or the
// device refuses the bytes.
bool WritePng(const QImage& image, QIODevice& out, QString* error = nullptr);
