#include "render/fractal_painter.h"

#include "render/aa_raster_surface.h"
#include "render/gdi_marker_surface.h"
#include "render/isotropic_mapping.h"
#include "render/raster_surface.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

constexpr int kProgressShift = 16;

// Passes every call on to another surface, counting the drawing's calls and
// reporting progress, for the painter path (the rasteriser counts itself).
class CountingSurface final : public DrawingSurface
{
public:
    CountingSurface(DrawingSurface& inner, const PaintOptions& options)
        : m_inner(inner), m_progress(options.progress), m_arg(options.progressArg)
    {
    }

    PaintCounts counts;

    void MoveTo(double x, double y) override
    {
        m_inner.MoveTo(x, y);
        Count(counts.moves);
    }
    void SetPixel(double x, double y, Color color) override
    {
        m_inner.SetPixel(x, y, color);
        Count(counts.pixels);
    }
    void SetPixel(double x, double y) override
    {
        m_inner.SetPixel(x, y);
        Count(counts.pixels);
    }
    void Line(double x1, double y1, double x2, double y2, Color color) override
    {
        m_inner.Line(x1, y1, x2, y2, color);
        Count(counts.lines);
    }
    void Line(double x1, double y1, double x2, double y2) override
    {
        m_inner.Line(x1, y1, x2, y2);
        Count(counts.lines);
    }
    void LineTo(double x, double y, Color color) override
    {
        m_inner.LineTo(x, y, color);
        Count(counts.lines);
    }
    void LineTo(double x, double y) override
    {
        m_inner.LineTo(x, y);
        Count(counts.lines);
    }
    void Arrow(Point p, Polar v, int size, Color color) override
    {
        m_inner.Arrow(p, v, size, color);
    }
    void Arrow(Point p, Polar v, int size) override { m_inner.Arrow(p, v, size); }
    void Circle(double cx, double cy, double r, Color color) override
    {
        m_inner.Circle(cx, cy, r, color);
    }
    void Circle(double cx, double cy, double r) override { m_inner.Circle(cx, cy, r); }
    const AffineMap* GetTransform() const override { return m_inner.GetTransform(); }

private:
    void Count(std::int64_t& counter)
    {
        ++counter;
        if (m_progress != nullptr && (++m_elements & ((1 << kProgressShift) - 1)) == 0) {
            m_progress(m_arg);
        }
    }

    DrawingSurface& m_inner;
    ProgressFn m_progress;
    void* m_arg;
    std::int64_t m_elements = 0;
};

// Draws the pending batch while the fractal's pen and mapping are still in
// place, also when the stop exception passes.
class FlushOnExit
{
public:
    explicit FlushOnExit(GdiSurface& surface) : m_surface(surface) {}
    ~FlushOnExit() { m_surface.Flush(); }
    FlushOnExit(const FlushOnExit&) = delete;
    FlushOnExit& operator=(const FlushOnExit&) = delete;

private:
    GdiSurface& m_surface;
};

// Steps 4 to 8 of a painting: background, then the overlays the flags ask
// for, on a marker surface mapped by the overlay transform.
void PaintBackgroundAndOverlays(QPainter& painter, QSize client, const PaintGeometry& g,
                                CFractal& fractal, const DisplaySettings& settings,
                                GdiMarkerSurface& surface)
{
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(QRect(QPoint(0, 0), client), ToQColor(settings.Background()));
    surface.SetTransform(&g.overlayTransform);
    if ((settings.flags & kShowInitiator) != 0) {
        const Color c = settings.InitiatorColor();
        fractal.DrawInitiatorOverlay(surface, {c, ScaleColor(c, 0.5)});
    }
    if ((settings.flags & kShowGenerator) != 0) {
        const Color c = settings.GeneratorColor();
        fractal.DrawGeneratorOverlay(surface, {c, ScaleColor(c, 0.5)});
    }
    surface.Flush();
}

// Step 9 on the painter path.
void PaintFractalWithPainter(QPainter& painter, QSize client, const PaintGeometry& g,
                             CFractal& fractal, const DisplaySettings& settings,
                             GdiMarkerSurface& surface, const StopFlag* stop,
                             const PaintOptions& options)
{
    surface.SetTransform(nullptr);
    IsotropicMapping mapping(painter, client, g.windowOrigin, g.windowExtent);
    ScopedPen pen(&painter, settings.FractalColor());
    surface.SetColor(settings.FractalColor());
    surface.SetBatching(options.batching);
    FlushOnExit flush(surface);
    if (options.counts == nullptr && options.progress == nullptr) {
        fractal.Draw(surface, stop);
        return;
    }
    CountingSurface counting(surface, options);
    struct Report
    {
        CountingSurface& from;
        PaintCounts* to;
        ~Report()
        {
            if (to != nullptr) {
                *to = from.counts;
            }
        }
    } report{counting, options.counts};
    fractal.Draw(counting, stop);
}

} // namespace

Color ScaleColor(Color color, double k)
{
    const auto channel = [k](int value) {
        const double scaled = value * k;
        if (!(scaled > 0.0)) {
            return 0;
        }
        return scaled >= 255.0 ? 255 : static_cast<int>(scaled);
    };
    return MakeColor(channel(RedOf(color)), channel(GreenOf(color)), channel(BlueOf(color)));
}

PaintGeometry ComputePaintGeometry(const FractalBounds& bounds, double zoom, QSize client)
{
    PaintGeometry g;
    double W = (bounds.maxX - bounds.minX) * bounds.scale;
    double H = (bounds.maxY - bounds.minY) * bounds.scale;
    if (W == 0.0 || H == 0.0 || !std::isfinite(W) || !std::isfinite(H) || !std::isfinite(zoom)) {
        return g;
    }
    const double d = (zoom - 1.0) * 0.5;
    g.x0 = bounds.scale * bounds.minX - d * W;
    g.y0 = bounds.scale * bounds.minY - d * H;
    W *= zoom;
    H *= zoom;
    g.width = W;
    g.height = H;
    const double cw = client.width();
    const double ch = client.height();
    g.s = std::min(cw / W, ch / H);
    g.ox = TruncateToDevice((cw - g.s * W) * 0.5);
    g.oy = TruncateToDevice((ch - g.s * H) * 0.5);
    g.overlayTransform = {g.s, 0.0, 0.0, g.s, g.ox - g.s * g.x0, g.oy - g.s * g.y0};
    g.windowOrigin = QPoint(TruncateToDevice(g.x0), TruncateToDevice(g.y0));
    g.windowExtent = QSize(TruncateToDevice(W), TruncateToDevice(H));
    g.paintable = true;
    return g;
}

bool PaintFractal(QPainter& painter, QSize client, CFractal& fractal, double zoom,
                  const DisplaySettings& settings, const ImageList* markers, const StopFlag* stop,
                  const PaintOptions& options)
{
    const PaintGeometry g = ComputePaintGeometry(fractal.m_bounds, zoom, client);
    if (!g.paintable) {
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing, options.antialias);
    GdiMarkerSurface surface(&painter, settings.MarkerColors(), markers);
    PaintBackgroundAndOverlays(painter, client, g, fractal, settings, surface);
    if ((settings.flags & kShowFractal) != 0) {
        PaintFractalWithPainter(painter, client, g, fractal, settings, surface, stop, options);
    }
    return true;
}

bool PaintFractal(QImage& image, CFractal& fractal, double zoom, const DisplaySettings& settings,
                  const ImageList* markers, const StopFlag* stop, const PaintOptions& options)
{
    const bool indexed = image.format() == QImage::Format_Indexed8;
    assert(!indexed || ((settings.flags & (kShowInitiator | kShowGenerator)) == 0 &&
                        options.path == FractalPath::Direct));
    const QSize client = image.size();
    const PaintGeometry g = ComputePaintGeometry(fractal.m_bounds, zoom, client);
    if (!g.paintable) {
        return false;
    }
    if (indexed) {
        RasterSurface(image).Fill(settings.Background());
    } else {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, options.antialias);
        GdiMarkerSurface surface(&painter, settings.MarkerColors(), markers);
        PaintBackgroundAndOverlays(painter, client, g, fractal, settings, surface);
        if (options.path == FractalPath::Painter) {
            if ((settings.flags & kShowFractal) != 0) {
                PaintFractalWithPainter(painter, client, g, fractal, settings, surface, stop,
                                        options);
            }
            return true;
        }
    }
    if ((settings.flags & kShowFractal) == 0) {
        return true;
    }
    // The painter has ended: from here the rasteriser owns the bits.
    const IsotropicParams mapping = ComputeIsotropic(client, g.windowOrigin, g.windowExtent);
    if (options.antialias && !indexed) {
        AaRasterSurface surface(image);
        surface.SetMapping(mapping);
        surface.SetColor(settings.FractalColor());
        if (options.progress != nullptr) {
            surface.SetProgress(options.progress, options.progressArg, kProgressShift);
        }
        // What was drawn shows also when the drawing is stopped.
        struct Report
        {
            AaRasterSurface& from;
            PaintCounts* to;
            ~Report()
            {
                from.Finish();
                if (to != nullptr) {
                    *to = {from.Lines(), from.Pixels(), from.Moves()};
                }
            }
        } report{surface, options.counts};
        fractal.Draw(surface, stop);
        return true;
    }
    RasterSurface surface(image);
    surface.SetMapping(mapping);
    surface.SetColor(settings.FractalColor());
    surface.SetPenColor(settings.FractalColor());
    if (options.progress != nullptr) {
        surface.SetProgress(options.progress, options.progressArg, kProgressShift);
    }
    struct Report
    {
        RasterSurface& from;
        PaintCounts* to;
        ~Report()
        {
            if (to != nullptr) {
                *to = {from.Lines(), from.Pixels(), from.Moves()};
            }
        }
    } report{surface, options.counts};
    fractal.Draw(surface, stop);
    return true;
}

void PrintFractal(QPainter& painter, QSize page, CFractal& fractal, Color background)
{
    const FractalBounds& b = fractal.m_bounds;
    const int x0 = TruncateToDevice(b.scale * b.minX);
    const int y0 = TruncateToDevice(b.scale * b.minY);
    int w = TruncateToDevice((b.maxX - b.minX) * b.scale);
    int h = TruncateToDevice((b.maxY - b.minY) * b.scale);
    w = w == 0 ? 1 : w;
    h = h == 0 ? 1 : h;
    GdiSurface surface(&painter);
    IsotropicMapping mapping(painter, page, QPoint(x0, y0), QSize(w, h));
    painter.fillRect(QRect(x0, y0, w, h), ToQColor(background));
    // The device's default pen: black, one pixel whatever the mapping.
    ScopedPen pen(&painter, 0);
    const StopFlag never{false};
    FlushOnExit flush(surface);
    fractal.Draw(surface, &never);
}
