#pragma once

// Our own aliased rasteriser: one-pixel lines and pixels written straight
// into a QImage's bits, for the pictures where a painter's per-call cost
// would dominate (tens of millions of segments). It reproduces what a
// GdiSurface does on a painter with an isotropic mapping: model point ->
// optional transform -> truncation toward zero (logical units) -> the
// mapping's scale and origin -> the pixel a painter's aliased one-pixel pen
// would light. Lines are Bresenham lines between the two end pixels, both
// included.
//
// Antialiased, vector and printer output, overlays and text stay with
// QPainter; this surface is for the fractal's own drawing.

#include "render/gdi_surface.h"
#include "render/isotropic_mapping.h"
#include "surface/batch_surface.h"
#include "surface/drawing_surface.h"
#include "surface/progress.h"

#include <QImage>

#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

class RasterSurface final : public BatchSurface
{
public:
    // The image must outlive the surface and be of format RGB32, ARGB32,
    // ARGB32_Premultiplied or Indexed8 (colours are then found in, or added
    // to, its colour table). Any other format draws nothing.
    explicit RasterSurface(QImage& image);

    // The logical-to-device mapping; identity (one unit, one pixel) at first.
    void SetMapping(const IsotropicParams& mapping);
    // Model to logical units, applied before the truncation; null is none.
    void SetTransform(const AffineMap* transform)
    {
        m_transform = transform;
        ForgetLastEnd();
    }
    // The colour of SetPixel without a colour.
    void SetColor(Color color);
    // The colour of the operations without a colour that draw lines (what a
    // painter's selected pen would be).
    void SetPenColor(Color color);
    // Called with `arg` after every 2^shift drawn elements (lines, pixels and
    // moves together), on the drawing thread.
    void SetProgress(ProgressFn progress, void* arg, int shift = 16);
    // Asked (with the progress argument) before each progress call whether
    // the pieces other threads are drawing should show in the image first,
    // for a picture published while the drawing goes on; null never asks.
    // The pieces' pixels are then laid into the image as they are so far.
    void SetPiecesWanted(bool (*wanted)(void*)) { m_piecesWanted = wanted; }
    // Lays into the image what the pieces not yet joined have drawn so far,
    // on this surface's thread, while they draw on theirs.
    void ShowPieces();

    // Every pixel of the image in one colour; not a drawing call.
    void Fill(Color color);

    // Calls made so far: both Line, both LineTo; both SetPixel; MoveTo.
    std::int64_t Lines() const { return m_lines; }
    std::int64_t Pixels() const { return m_pixels; }
    std::int64_t Moves() const { return m_moves; }

    void MoveTo(double x, double y) override;
    void SetPixel(double x, double y, Color color) override;
    void SetPixel(double x, double y) override;
    void Line(double x1, double y1, double x2, double y2, Color color) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void LineTo(double x, double y, Color color) override;
    void LineTo(double x, double y) override;
    // A filled triangle (pen and fill in one colour) and the outline of an
    // ellipse, in the same pixels' terms.
    void Arrow(Point p, Polar v, int size, Color color) override;
    void Arrow(Point p, Polar v, int size) override;
    void Circle(double cx, double cy, double r, Color color) override;
    void Circle(double cx, double cy, double r) override;
    const AffineMap* GetTransform() const override { return m_transform; }

    void Take(const DrawElement* elements, std::size_t count) override;
    // Pieces draw into their own 8-bit mask, set into this image's pixels
    // when joined: exact when lines and pixels share one colour (otherwise
    // the surface does not split).
    std::unique_ptr<BatchSurface> Fork() override;
    ~RasterSurface() override;
    RasterSurface(const RasterSurface&) = delete;
    RasterSurface& operator=(const RasterSurface&) = delete;
    void Join(BatchSurface& piece) override;
    // Open without a transform, on a 32- or 8-bit image.
    bool OpenRaster(RasterTarget& target) override;
    void RasterLine(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) override;
    void RasterDrawn(RasterTarget& target, const RasterCounts& counts) override;

    // The pixel of a model point as the end of a line, and as a single
    // pixel; either may lie outside the image.
    struct Pixel
    {
        std::int64_t x;
        std::int64_t y;
        friend bool operator==(Pixel, Pixel) = default;
    };
    Pixel ToPixel(double x, double y) const
    {
        double X = x;
        double Y = y;
        if (m_transform != nullptr) {
            const AffineMap& m = *m_transform;
            X = m.a * x + m.b * y + m.e;
            Y = m.c * x + m.d * y + m.f;
        }
        // Whole logical units first, exactly as the painter's surface
        // truncates.
        const double lx = TruncateToDevice(X);
        const double ly = TruncateToDevice(Y);
        return {PixelOf(lx * m_scale + m_offsetX), PixelOf(ly * m_scale + m_offsetY)};
    }
    Pixel ToPointPixel(double x, double y) const;

    // The pixel a device coordinate falls in, as a painter's aliased
    // one-pixel pen picks it: lines take the pixel whose span [x, x + 1)
    // holds the point, single pixels the nearest one (add a half first).
    static std::int64_t PixelOf(double device)
    {
        const auto i = static_cast<std::int64_t>(device);
        return device < static_cast<double>(i) ? i - 1 : i;
    }

private:
    void SetCurrent(double x, double y)
    {
        m_current = ToPixel(x, y);
        m_lastEndX = x;
        m_lastEndY = y;
    }
    void ForgetLastEnd() { m_lastEndX = m_lastEndY = std::numeric_limits<double>::quiet_NaN(); }
    // A colour as the image stores it.
    std::uint32_t Encode(Color color);
    void Count(std::int64_t& counter)
    {
        ++counter;
        if (m_progress != nullptr && (++m_elements & m_progressMask) == 0) {
            Progress();
        }
    }
    void Progress();
    void Plot(Pixel p, std::uint32_t value);
    void DrawLine(Pixel a, Pixel b, std::uint32_t value);
    void TakeOne(const DrawElement& element);
    template <typename T> void TakeLines(const DrawElement* elements, std::size_t count);
    void FillTriangle(const Pixel (&corners)[3], std::uint32_t value);

    // A piece's own mask and the surface it was forked from (pieces only).
    std::unique_ptr<QImage> m_mask;
    RasterSurface* m_parent = nullptr;
    // The pieces forked and not yet joined.
    std::vector<RasterSurface*> m_pieces;
    bool (*m_piecesWanted)(void*) = nullptr;
    QImage* m_image;
    uchar* m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    int m_depth = 0; // bytes per pixel: 4, 1, or 0 for an unusable image

    IsotropicParams m_mapping;
    // Device x = logical x * m_scale + m_offsetX, and likewise for y.
    double m_scale = 1.0;
    double m_offsetX = 0.0;
    double m_offsetY = 0.0;
    const AffineMap* m_transform = nullptr;

    std::uint32_t m_colorValue = 0;
    std::uint32_t m_penValue = 0;
    Color m_color = 0;
    Color m_penColor = 0;
    Pixel m_current{0, 0};
    // The model point the last uncoloured Line ended at (m_current is its
    // pixel); NaN when unknown, which equals nothing.
    double m_lastEndX = std::numeric_limits<double>::quiet_NaN();
    double m_lastEndY = std::numeric_limits<double>::quiet_NaN();

    std::int64_t m_lines = 0;
    std::int64_t m_pixels = 0;
    std::int64_t m_moves = 0;
    std::int64_t m_elements = 0;
    std::int64_t m_progressMask = 0;
    ProgressFn m_progress = nullptr;
    void* m_progressArg = nullptr;
};
