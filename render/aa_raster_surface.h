#pragma once

// Our own antialiased hairline rasteriser: the one-pixel lines and pixels of
// a fractal's drawing with coverage, many times faster than a painter's
// antialiased cosmetic pen and close to what it draws. Points go through the
// same mapping as on a GdiSurface (model -> optional transform -> whole
// logical units -> the isotropic mapping), then stay fractional, in 256ths
// of a pixel; the lines are laid by surface/coverage_writer.h, which the
// recursion also uses to lay the uncoloured ones in place.
//
// Coverage is gathered per pixel in one byte, each line's laid over what is
// there as source-over lays an alpha (the background left showing is the
// product of 1 - alpha), which hardly depends on the order of drawing, so
// pieces drawn on other threads merge as one thread would have drawn them;
// Finish() lays the colour over the image once. A byte a pixel keeps the
// coverage of a large picture in the processor's cache.

#include "render/isotropic_mapping.h"
#include "surface/batch_surface.h"
#include "surface/coverage_writer.h"
#include "surface/progress.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

class AaRasterSurface final : public BatchSurface
{
public:
    // The image (RGB32, ARGB32 or ARGB32_Premultiplied; any other format
    // draws nothing) must outlive the surface.
    explicit AaRasterSurface(QImage& image);

    void SetMapping(const IsotropicParams& mapping);
    void SetTransform(const AffineMap* transform)
    {
        m_transform = transform;
        ForgetLastEnd();
    }
    // The colour of every uncoloured operation.
    void SetColor(Color color) { m_color = color; }
    void SetProgress(ProgressFn progress, void* arg, int shift = 16);
    // Lays what was drawn so far over the image in the colour, and starts
    // afresh. Also done by the coloured operations, before and after.
    void Finish();

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
    // The outline of the triangle or of the circle (as a fine polygon).
    void Arrow(Point p, Polar v, int size, Color color) override;
    void Arrow(Point p, Polar v, int size) override;
    void Circle(double cx, double cy, double r, Color color) override;
    void Circle(double cx, double cy, double r) override;
    const AffineMap* GetTransform() const override { return m_transform; }

    void Take(const DrawElement* elements, std::size_t count) override;
    bool OpenCoverage(CoverageTarget& target) override;
    void CoverageDrawn(CoverageTarget& target, const RasterCounts& counts) override;
    std::unique_ptr<BatchSurface> Fork() override;
    void Join(BatchSurface& piece) override;

    // A model point in device coordinates (fractional pixels).
    QPointF ToDevice(double x, double y) const;

private:
    // A piece of the same drawing: same size, mapping and colour, its own
    // coverage, no image.
    AaRasterSurface(const AaRasterSurface& parent, int);

    void Count(std::int64_t& counter)
    {
        ++counter;
        if (m_progress != nullptr && (++m_elements & m_progressMask) == 0) {
            m_progress(m_progressArg);
        }
    }
    void SetCurrent(double x, double y)
    {
        m_current = ToFixed(x, y);
        m_lastX = x;
        m_lastY = y;
    }
    void ForgetLastEnd() { m_lastX = m_lastY = std::numeric_limits<double>::quiet_NaN(); }
    drawing::FixedPoint ToFixed(double x, double y) const;
    void Segment(drawing::FixedPoint a, drawing::FixedPoint b);
    void Segment(QPointF a, QPointF b);
    drawing::CoverageImage Image() { return {m_cover.data(), m_width, m_height}; }
    void Allocate()
    {
        if (m_cover.empty()) {
            m_cover.assign(static_cast<std::size_t>(m_width) * m_height, Coverage{});
        }
    }
    void Dot(drawing::FixedPoint p);
    // Lays the coverage of rows [from, to) over the image's bits.
    void Composite(uchar* bits, qsizetype stride, int from, int to);
    void WithColor(Color color, const std::function<void()>& draw);

    QImage* m_image = nullptr;
    int m_width = 0;
    int m_height = 0;
    // Per pixel, the coverage of the drawing, 0 (none) to 255 (whole).
    // Allocated on first use.
    std::vector<Coverage> m_cover;
    // The coverage of pieces drawn on other threads, joined but not yet
    // laid over the picture.
    std::vector<std::vector<Coverage>> m_pieces;
    double m_scale = 1.0;
    double m_offsetX = 0.0;
    double m_offsetY = 0.0;
    const AffineMap* m_transform = nullptr;
    Color m_color = 0;
    drawing::FixedPoint m_current;
    // The model point m_current was mapped from; NaN (equal to nothing)
    // when unknown.
    double m_lastX = std::numeric_limits<double>::quiet_NaN();
    double m_lastY = std::numeric_limits<double>::quiet_NaN();

    std::int64_t m_lines = 0;
    std::int64_t m_pixels = 0;
    std::int64_t m_moves = 0;
    std::int64_t m_elements = 0;
    std::int64_t m_progressMask = 0;
    ProgressFn m_progress = nullptr;
    void* m_progressArg = nullptr;
};
