#include "render/picture_writers.h"

#include "render/fractal_painter.h"
#include "render/gdi_surface.h"
#include "render/isotropic_mapping.h"
#include "render/png_encoder.h"
#include "render/svg_writer.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
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

bool WriteAll(QIODevice& out, const std::string& text)
{
    return out.write(text.data(), static_cast<qint64>(text.size())) ==
           static_cast<qint64>(text.size());
}

// Copies the painting's counts into the stats however the drawing ends,
// the stop exception included.
class KeepCounts
{
public:
    KeepCounts(const PaintCounts& counts, PictureStats& stats) : m_counts(counts), m_stats(stats) {}
    ~KeepCounts()
    {
        m_stats.lines = m_counts.lines;
        m_stats.pixels = m_counts.pixels;
        m_stats.moves = m_counts.moves;
    }
    KeepCounts(const KeepCounts&) = delete;
    KeepCounts& operator=(const KeepCounts&) = delete;

private:
    const PaintCounts& m_counts;
    PictureStats& m_stats;
};

} // namespace

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
        case '\'':
            out += "&#39;";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

PictureResult WritePngPicture(QIODevice& out, CFractal& fractal, const PictureOptions& o,
                              PictureStats& stats)
{
    const bool direct = o.rasterPath == RasterPath::Direct;
    // The fractal alone in two colours fits an 8-bit image: a quarter of the
    // memory to write and to encode.
    const bool indexed =
        direct && !o.antialias && (o.settings.flags & (kShowInitiator | kShowGenerator)) == 0;
    QImage image(o.size, indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (image.isNull()) {
        return {false, "cannot hold a picture of " + std::to_string(o.size.width()) + "x" +
                           std::to_string(o.size.height()) + " pixels in memory"};
    }
    const QRgb background = ToQColor(o.settings.Background()).rgb();
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
    options.progress = o.progress;
    options.progressArg = o.progressArg;
    const auto start = Clock::now();
    {
        const KeepCounts keep(counts, stats);
        PaintFractal(image, fractal, o.zoom, o.settings, o.markers, o.stop, options);
    }
    stats.secondsDraw = SecondsSince(start);

    const auto encodeStart = Clock::now();
    QString error;
    if (!WritePng(image, out, &error)) {
        return {false, Str(error)};
    }
    stats.secondsEncode = SecondsSince(encodeStart);
    return {};
}

// Background and overlays from Qt's generator, nested first; the fractal
// streamed straight into the device after them.
PictureResult WriteSvgPicture(QIODevice& out, CFractal& fractal, const PictureOptions& o,
                              PictureStats& stats)
{
    const QSize client = o.size;
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
        DisplaySettings underneath = o.settings;
        underneath.flags &= ~kShowFractal;
        if (!PaintFractal(painter, client, fractal, o.zoom, underneath, o.markers, o.stop)) {
            painter.fillRect(QRect(QPoint(0, 0), client), ToQColor(underneath.Background()));
        }
    }
    const std::string w = std::to_string(client.width());
    const std::string h = std::to_string(client.height());
    // One user unit is one point, as the size is given in points.
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "version=\"1.1\" width=\"" +
        w + "pt\" height=\"" + h + "pt\" viewBox=\"0 0 " + w + " " + h + "\">\n<title>" +
        XmlEscape(fractal.m_name) + "</title>\n<desc>Drawn by " + XmlEscape(o.creator) +
        "</desc>\n" + SvgBody(under.data().toStdString());
    if (!WriteAll(out, head)) {
        return {false, Str(out.errorString())};
    }

    const DisplaySettings& settings = o.settings;
    const PaintGeometry g = ComputePaintGeometry(fractal.m_bounds, o.zoom, client);
    if (g.paintable && (settings.flags & kShowFractal) != 0) {
        // Vector strokes run through the pixel centres, as antialiased ones.
        IsotropicParams mapping = g.fractalMapping;
        mapping.pixelOffset = 0.5;
        if (!WriteAll(out, FractalGroupStart(settings.FractalColor()))) {
            return {false, Str(out.errorString())};
        }
        SvgPathSurface surface(out, settings.FractalColor(), mapping);
        surface.SetColor(settings.FractalColor());
        surface.SetProgress(o.progress, o.progressArg);
        {
            struct Keep
            {
                SvgPathSurface& surface;
                PictureStats& stats;
                ~Keep()
                {
                    stats.lines = surface.Lines();
                    stats.pixels = surface.Pixels();
                    stats.moves = surface.Moves();
                }
            } keep{surface, stats};
            fractal.Draw(surface, o.stop);
        }
        if (!surface.Finish() || !WriteAll(out, "</g>\n")) {
            return {false, Str(out.errorString())};
        }
    }
    if (!WriteAll(out, "</svg>\n")) {
        return {false, Str(out.errorString())};
    }
    stats.secondsDraw = SecondsSince(start);
    return {};
}

// Everything through the painter; the page is held until it ends.
PictureResult WritePdfPicture(QIODevice& out, CFractal& fractal, const PictureOptions& o,
                              PictureStats& stats)
{
    QPdfWriter pdf(&out);
    pdf.setPageSize(QPageSize(QSizeF(o.size), QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(72); // one device pixel is one point
    pdf.setTitle(QString::fromStdString(fractal.m_name));
    pdf.setCreator(QString::fromStdString(o.creator));
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
    options.progress = o.progress;
    options.progressArg = o.progressArg;
    const auto start = Clock::now();
    {
        const KeepCounts keep(counts, stats);
        if (!PaintFractal(painter, client, fractal, o.zoom, o.settings, o.markers, o.stop,
                          options)) {
            painter.fillRect(QRect(QPoint(0, 0), client), ToQColor(o.settings.Background()));
        }
    }
    stats.secondsDraw = SecondsSince(start);
    const auto encodeStart = Clock::now();
    painter.end();
    stats.secondsEncode = SecondsSince(encodeStart);
    // The PDF writer reports no failure of its own: a file that refused
    // bytes fails when committed.
    return {};
}

PictureResult WritePicture(PictureType type, QIODevice& out, CFractal& fractal,
                           const PictureOptions& options, PictureStats& stats)
{
    switch (type) {
    case PictureType::Svg:
        return WriteSvgPicture(out, fractal, options, stats);
    case PictureType::Pdf:
        return WritePdfPicture(out, fractal, options, stats);
    case PictureType::Png:
        break;
    }
    return WritePngPicture(out, fractal, options, stats);
}
