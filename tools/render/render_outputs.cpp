#include "render_outputs.h"

#include "text_export.h"

#include <QSaveFile>

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

} // namespace

DrawResult DrawPicture(PictureType type, QSaveFile& file, CFractal& fractal, const RenderOptions& o,
                       const DisplaySettings& settings, const ImageList& markers,
                       const StopFlag& stop, ProgressBar& bar, RenderStats& stats)
{
    PictureOptions options;
    options.size = QSize(o.width, o.height);
    options.zoom = o.zoom;
    options.antialias = o.antialias;
    options.rasterPath = o.rasterPath;
    options.settings = settings;
    options.markers = &markers;
    options.stop = &stop;
    options.progress = &ProgressBar::Tick;
    options.progressArg = &bar;
    options.creator = "kaleidra-render";
    PictureStats picture;
    struct Keep
    {
        PictureStats& picture;
        RenderStats& stats;
        ~Keep()
        {
            stats.lines = picture.lines;
            stats.pixels = picture.pixels;
            stats.moves = picture.moves;
            stats.secondsDraw = picture.secondsDraw;
            stats.secondsEncode = picture.secondsEncode;
        }
    } keep{picture, stats};
    bar.Begin("drawing", 1 << 16);
    DrawResult result = WritePicture(type, file, fractal, options, picture);
    bar.Clear();
    return result;
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
