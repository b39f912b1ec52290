#include "render_outputs.h"

#include "render/fractal_painter.h"
#include "render/gdi_surface.h"
#include "render/isotropic_mapping.h"
#include "svg_writer.h"
#include "text_export.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Str(const QString& s)
{
    return s.toStdString();
}

std::string XmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

bool WriteAll(QIODevice& out, const std::string& text)
{
    return out.write(text.data(), static_cast<qint64>(text.size())) ==
           static_cast<qint64>(text.size());
}

} // namespace

DrawResult DrawPng(QSaveFile& file, CFractal& fractal, const RenderOptions& o,
                   const DisplaySettings& settings, const ImageList& markers, const StopFlag& stop,
                   ProgressBar& bar, RenderStats& stats)
{
    const bool direct = !o.antialias && o.rasterPath == RasterPath::Direct;
    // The fractal alone in two colours fits an 8-bit image: a quarter of the
    // memory to write and to encode.
    const bool indexed = direct && (settings.flags & (kShowInitiator | kShowGenerator)) == 0;
    QImage image(o.width, o.height, indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (image.isNull()) {
        return {false, "cannot hold a picture of " + std::to_string(o.width) + "x" +
                           std::to_string(o.height) + " pixels in memory"};
    }
    const QRgb background = ToQColor(settings.Background()).rgb();
    if (indexed) {
        image.setColorTable({background});
        image.fill(0);
    } else {
        image.fill(background);
    }
    PaintCounts counts;
    PaintOptions options;
    options.path = direct ? FractalPath::Direct : FractalPath::Painter;
    options.antialias = o.antialias;
    options.counts = &counts;
    options.progress = &ProgressBar::Tick;
    options.progressArg = &bar;
    bar.Begin("drawing", 1 << 16);
    const auto start = Clock::now();
    {
        struct Keep
        {
            PaintCounts& counts;
            RenderStats& stats;
            ~Keep()
            {
                stats.lines = counts.lines;
                stats.pixels = counts.pixels;
                stats.moves = counts.moves;
            }
        } keep{counts, stats};
        PaintFractal(image, fractal, o.zoom, settings, &markers, &stop, options);
    }
    stats.secondsDraw = SecondsSince(start);
    bar.Clear();

    const auto encodeStart = Clock::now();
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        return {false, Str(writer.errorString())};
    }
    stats.secondsEncode = SecondsSince(encodeStart);
    return {};
}

// SVG: background and overlays from Qt's generator, nested first; the
// fractal streamed straight into the file after them.
DrawResult DrawSvg(QSaveFile& file, CFractal& fractal, const RenderOptions& o,
                   const DisplaySettings& settings, const ImageList& markers, const StopFlag& stop,
                   ProgressBar& bar, RenderStats& stats)
{
    const QSize client(o.width, o.height);
    const auto start = Clock::now();
    QBuffer under;
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&under);
        svg.setSize(client);
        svg.setViewBox(QRect(QPoint(0, 0), client));
        svg.setResolution(72);
        svg.setTitle(QString::fromStdString(fractal.m_name));
        svg.setDescription(QStringLiteral("Background and construction"));
        QPainter painter;
        if (!painter.begin(&svg)) {
            return {false, "the SVG generator could not start"};
        }
        DisplaySettings underneath = settings;
        underneath.flags &= ~kShowFractal;
        if (!PaintFractal(painter, client, fractal, o.zoom, underneath, &markers, &stop)) {
            painter.fillRect(QRect(QPoint(0, 0), client), ToQColor(settings.Background()));
        }
    }
    const std::string w = std::to_string(o.width);
    const std::string h = std::to_string(o.height);
    // One user unit is one point, as the size is given in points.
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "version=\"1.1\" width=\"" +
        w + "pt\" height=\"" + h + "pt\" viewBox=\"0 0 " + w + " " + h + "\">\n<title>" +
        XmlEscape(fractal.m_name) + "</title>\n<desc>Drawn by kaleidra-render</desc>\n" +
        SvgBody(under.data().toStdString());
    if (!WriteAll(file, head)) {
        return {false, Str(file.errorString())};
    }

    const PaintGeometry g = ComputePaintGeometry(fractal.m_bounds, o.zoom, client);
    if (g.paintable && (settings.flags & kShowFractal) != 0) {
        // Vector strokes run through the pixel centres, as antialiased ones.
        IsotropicParams mapping = g.fractalMapping;
        mapping.pixelOffset = 0.5;
        if (!WriteAll(file, FractalGroupStart(settings.FractalColor()))) {
            return {false, Str(file.errorString())};
        }
        SvgPathSurface surface(file, settings.FractalColor(), mapping);
        surface.SetColor(settings.FractalColor());
        surface.SetProgress(&ProgressBar::Tick, &bar);
        bar.Begin("drawing", 1 << 16);
        struct Keep
        {
            SvgPathSurface& surface;
            RenderStats& stats;
            ~Keep()
            {
                stats.lines = surface.Lines();
                stats.pixels = surface.Pixels();
                stats.moves = surface.Moves();
            }
        } keep{surface, stats};
        fractal.Draw(surface, &stop);
        if (!surface.Finish() || !WriteAll(file, "</g>\n")) {
            return {false, Str(file.errorString())};
        }
        bar.Clear();
    }
    if (!WriteAll(file, "</svg>\n")) {
        return {false, Str(file.errorString())};
    }
    stats.secondsDraw = SecondsSince(start);
    return {};
}

// PDF: everything through the painter; the page is held until it ends.
DrawResult DrawPdf(QSaveFile& file, CFractal& fractal, const RenderOptions& o,
                   const DisplaySettings& settings, const ImageList& markers, const StopFlag& stop,
                   ProgressBar& bar, RenderStats& stats)
{
    QPdfWriter pdf(&file);
    pdf.setPageSize(
        QPageSize(QSizeF(o.width, o.height), QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(72); // one device pixel is one point
    pdf.setTitle(QString::fromStdString(fractal.m_name));
    pdf.setCreator(QStringLiteral("kaleidra-render"));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        return {false, "the PDF writer could not start"};
    }
    const QSize client(pdf.width(), pdf.height());
    PaintCounts counts;
    PaintOptions options;
    options.path = FractalPath::Painter;
    options.antialias = true;
    // Connected lines become one path: a million segments stay a file of
    // reasonable size and a viewer's single element.
    options.batching = GdiSurface::Batching::Path;
    options.counts = &counts;
    options.progress = &ProgressBar::Tick;
    options.progressArg = &bar;
    bar.Begin("drawing", 1 << 16);
    const auto start = Clock::now();
    {
        struct Keep
        {
            PaintCounts& counts;
            RenderStats& stats;
            ~Keep()
            {
                stats.lines = counts.lines;
                stats.pixels = counts.pixels;
                stats.moves = counts.moves;
            }
        } keep{counts, stats};
        if (!PaintFractal(painter, client, fractal, o.zoom, settings, &markers, &stop, options)) {
            painter.fillRect(QRect(QPoint(0, 0), client), ToQColor(settings.Background()));
        }
    }
    stats.secondsDraw = SecondsSince(start);
    bar.Clear();
    const auto encodeStart = Clock::now();
    painter.end();
    stats.secondsEncode = SecondsSince(encodeStart);
    return {};
}

DrawResult DrawText(QSaveFile& file, CFractal& fractal, const StopFlag& stop, RenderStats& stats)
{
    TextExportSurface surface(file, fractal.m_bounds.scale);
    const auto start = Clock::now();
    struct Keep
    {
        TextExportSurface& surface;
        RenderStats& stats;
        ~Keep()
        {
            stats.lines = surface.Lines();
            stats.pixels = surface.Pixels();
            stats.moves = surface.Moves();
        }
    } keep{surface, stats};
    fractal.Draw(surface, &stop);
    if (!surface.Finish()) {
        return {false, Str(file.errorString())};
    }
    stats.secondsDraw = SecondsSince(start);
    return {};
}
