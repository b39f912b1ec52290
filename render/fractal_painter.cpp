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
#include <limits>

namespace {

constexpr int kProgressShift = 16;

// The resolution a desktop's pixel stands for: what a point of the window is
// on paper.
constexpr double kScreenDpi = 96.0;

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
void PaintFractalWithPainter(QPainter& painter, const PaintGeometry& g, CFractal& fractal,
                             const DisplaySettings& settings, GdiMarkerSurface& surface,
                             const StopFlag* stop, const PaintOptions& options)
{
    surface.SetTransform(nullptr);
    IsotropicParams params = g.fractalMapping;
    params.pixelOffset = options.antialias ? 0.5 : 0.0;
    IsotropicMapping mapping(painter, params);
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
    if (!std::isfinite(W) || !std::isfinite(H) || !std::isfinite(zoom) || W < 0.0 || H < 0.0) {
        return g;
    }
    const double d = (zoom - 1.0) * 0.5;
    g.x0 = bounds.scale * bounds.minX - d * W;
    g.y0 = bounds.scale * bounds.minY - d * H;
    W *= zoom;
    H *= zoom;
    g.width = W;
    g.height = H;
    // A client of n pixels has n - 1 pixels between its first and last
    // centre: that is the length a box's edges may span.
    g.fitArea = QSize(std::max(client.width() - 1, 0), std::max(client.height() - 1, 0));
    const double fw = g.fitArea.width();
    const double fh = g.fitArea.height();
    // A side without length does not limit the scale; a point has no scale
    // to speak of and sits in the middle at any.
    const double largest = std::numeric_limits<double>::max();
    const double sx = W > 0.0 ? fw / W : largest;
    const double sy = H > 0.0 ? fh / H : largest;
    g.s = W > 0.0 || H > 0.0 ? std::min(sx, sy) : 1.0;
    g.ox = TruncateToDevice((fw - g.s * W) * 0.5);
    g.oy = TruncateToDevice((fh - g.s * H) * 0.5);
    g.overlayTransform = {g.s, 0.0, 0.0, g.s, g.ox - g.s * g.x0, g.oy - g.s * g.y0};
    g.windowOrigin = QPoint(TruncateToDevice(g.x0), TruncateToDevice(g.y0));
    g.windowExtent = QSize(TruncateToDevice(W), TruncateToDevice(H));
    g.fractalMapping = ComputeIsotropic(g.fitArea, g.windowOrigin, g.windowExtent);
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
        PaintFractalWithPainter(painter, g, fractal, settings, surface, stop, options);
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
    } else if (options.path == FractalPath::Direct &&
               (settings.flags & (kShowInitiator | kShowGenerator)) == 0) {
        // Nothing for a painter to draw: the background is a plain fill.
        image.fill(ToQColor(settings.Background()));
    } else {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, options.antialias);
        GdiMarkerSurface surface(&painter, settings.MarkerColors(), markers);
        PaintBackgroundAndOverlays(painter, client, g, fractal, settings, surface);
        if (options.path == FractalPath::Painter) {
            if ((settings.flags & kShowFractal) != 0) {
                PaintFractalWithPainter(painter, g, fractal, settings, surface, stop, options);
            }
            return true;
        }
    }
    if ((settings.flags & kShowFractal) == 0) {
        return true;
    }
    // The painter has ended: from here the rasteriser owns the bits.
    const IsotropicParams& mapping = g.fractalMapping;
    if (options.antialias && !indexed) {
        // Lines on the pixel centres, as on the painter's antialiased path.
        IsotropicParams centred = mapping;
        centred.pixelOffset = 0.5;
        AaRasterSurface surface(image);
        surface.SetMapping(centred);
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
        surface.SetPiecesWanted(options.piecesWanted);
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
    const int w = TruncateToDevice((b.maxX - b.minX) * b.scale);
    const int h = TruncateToDevice((b.maxY - b.minY) * b.scale);
    GdiSurface surface(&painter);
    // As in the window: the box spans the first to the last device pixel,
    // a flat box is fitted by its other side, a point sits in the middle.
    const QSize fitArea(std::max(page.width() - 1, 0), std::max(page.height() - 1, 0));
    IsotropicMapping mapping(painter, fitArea, QPoint(x0, y0), QSize(w, h));
    // The background under the box, at least one unit each way, so a flat
    // figure still has its strip.
    painter.fillRect(QRect(x0, y0, std::max(w, 1), std::max(h, 1)), ToQColor(background));
    const QPaintDevice* device = painter.device();
    const double dpi = device != nullptr ? device->logicalDpiX() : kScreenDpi;
    surface.SetPointSize(std::max(1.0, dpi / kScreenDpi));
    // The device's default pen: black, one pixel whatever the mapping.
    ScopedPen pen(&painter, 0);
    const StopFlag never{false};
    FlushOnExit flush(surface);
    fractal.Draw(surface, &never);
}
