#include "render_job.h"

#include "compose.h"
#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "engine/presets.h"
#include "fileio/atomic_file.h"
#include "progress_bar.h"
#include "render/display_settings.h"
#include "render/marker_images.h"
#include "render_outputs.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <new>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Larger than any fractal file; guards against reading a device forever.
constexpr qint64 kMaxFractalFileSize = 16 << 20;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Error(const std::string& message)
{
    std::fprintf(stderr, "kaleidra-render: %s\n", message.c_str());
}

std::string Str(const QString& s)
{
    return s.toStdString();
}

// What went wrong with a fractal that will not draw, as far as can be told:
// a damaged file first (a damaged section also leaves the figure lacking),
// then what a complete file lacks.
std::string WhyUnusable(const FractalPtr& fractal, const std::string& text,
                        const FractalReadReport& report)
{
    if (!fractal) {
        std::istringstream in(text);
        std::string header;
        std::string keyword;
        in >> header >> keyword;
        if (header != "[type]") {
            return "it does not start with a [type] section";
        }
        return keyword.empty() ? "no kind after [type]" : "unknown kind \"" + keyword + "\"";
    }
    if (!report.complete) {
        const std::string line = std::to_string(report.line);
        return report.endOfFile ? "the file is damaged: it ends before line " + line
                                : "the file is damaged at line " + line;
    }
    if (!fractal->IsValid()) {
        return "the " + fractal->m_type + " fractal lacks what it needs to be drawn";
    }
    return "a section of the " + fractal->m_type + " fractal is damaged";
}

struct Loaded
{
    FractalPtr fractal;
    std::string source; // for messages: the path, or "preset K:I"
    int exitCode = kExitOk;
};

Loaded LoadPreset(const RenderOptions& o)
{
    Loaded loaded;
    loaded.source = "preset " + std::to_string(o.kind) + ":" + std::to_string(o.index);
    if (o.kind < 0 || o.kind >= kKindCount || o.index < 0 || o.index >= PresetCount(o.kind)) {
        Error("--preset: no preset " + std::to_string(o.kind) + ":" + std::to_string(o.index) +
              " (KIND 0 to " + std::to_string(kKindCount - 1) + ", INDEX below the kind's count)");
        std::fprintf(stderr, "\n%s", UsageText());
        loaded.exitCode = kExitUsage;
        return loaded;
    }
    loaded.fractal = CreatePreset(o.kind, o.index);
    if (!loaded.fractal || loaded.fractal->m_bad) {
        Error(loaded.source + ": not a usable fractal (" +
              WhyUnusable(loaded.fractal, "[type]", {}) + ")");
        loaded.exitCode = kExitUnusable;
    }
    return loaded;
}

Loaded LoadFile(const RenderOptions& o)
{
    Loaded loaded;
    loaded.source = o.file;
    if (QFileInfo(QString::fromStdString(o.file)).isDir()) {
        Error(o.file + ": cannot read (it is a directory)");
        loaded.exitCode = kExitIo;
        return loaded;
    }
    QByteArray bytes;
    const FileResult read =
        ReadWholeFile(QString::fromStdString(o.file), bytes, kMaxFractalFileSize + 1);
    if (!read) {
        Error(o.file + ": cannot read (" + Str(read.error) + ")");
        loaded.exitCode = kExitIo;
        return loaded;
    }
    if (bytes.size() > kMaxFractalFileSize) {
        Error(o.file + ": not a usable fractal (larger than any fractal file)");
        loaded.exitCode = kExitUnusable;
        return loaded;
    }
    const std::string text = bytes.toStdString();
    FractalPtr fractal;
    FractalReadReport report;
    if (!ReadFractalText(text, fractal, report)) {
        Error(o.file + ": not a usable fractal (" + WhyUnusable(fractal, text, report) + ")");
        loaded.exitCode = kExitUnusable;
        return loaded;
    }
    loaded.fractal = fractal;
    return loaded;
}

Loaded LoadFractal(const RenderOptions& o)
{
    if (o.compose) {
        ComposedFractal composed = ComposeFromFiles(o);
        return {composed.fractal, "--compose " + o.composeKind, composed.exitCode};
    }
    return o.preset ? LoadPreset(o) : LoadFile(o);
}

// Writes the fractal file for --save, replacing the file only when complete.
int SaveFractal(CFractal& fractal, const std::string& path)
{
    std::stringstream stream;
    CTextArchive archive(stream);
    if (!fractal.Save(archive) || !stream) {
        Error(path + ": cannot write (the fractal could not be written out)");
        return kExitIo;
    }
    const FileResult written = WriteFileAtomically(QString::fromStdString(path), stream.str());
    if (!written) {
        Error(path + ": cannot write (" + Str(written.error) + ")");
        return kExitIo;
    }
    return kExitOk;
}

DisplaySettings SettingsFor(const RenderOptions& o)
{
    DisplaySettings settings;
    settings.flags = o.flags;
    if (o.background) {
        settings.Background() = *o.background;
    }
    if (o.color) {
        settings.FractalColor() = *o.color;
    }
    return settings;
}

double PeakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void AppendJsonString(std::string& out, const std::string& s)
{
    out.push_back('"');
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    out.push_back('"');
}

void AppendJsonNumber(std::string& out, double v)
{
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    out += text;
}

// Stops the work on Ctrl-C (the drawing's stop exception) with nothing
// written.
int Interrupted(ProgressBar& bar, QSaveFile& file)
{
    bar.Clear();
    file.cancelWriting();
    Error("interrupted; nothing written");
    return kExitInterrupted;
}

// Makes the bounds of the fractal's day count current; a figure of no
// finite size cannot be drawn (exit code, message said).
int MeasureBounds(CFractal& fractal, const std::string& source, const StopFlag& stop,
                  ProgressBar& bar, RenderStats& stats)
{
    bar.Begin("bounds", fractal.m_progressPeriod);
    const auto start = Clock::now();
    // Without a display the engine need not count for progress at all.
    (void)fractal.PrepareBounds(&stop, bar.Enabled() ? &ProgressBar::Tick : nullptr, &bar);
    stats.secondsBounds = SecondsSince(start);
    stats.bounds = fractal.m_bounds;
    bar.Clear();
    const FractalBounds& b = fractal.m_bounds;
    if (!std::isfinite(b.maxX - b.minX) || !std::isfinite(b.maxY - b.minY)) {
        Error(source + ": not a usable fractal (its figure at " + std::to_string(fractal.m_days) +
              " days has no finite size)");
        return kExitUnusable;
    }
    return kExitOk;
}

DrawResult DrawOutput(OutputType type, QSaveFile& file, CFractal& fractal, const RenderOptions& o,
                      const StopFlag& stop, ProgressBar& bar, RenderStats& stats)
{
    const ImageList markers(DefaultMarkerStrip(), kMarkerSize);
    const DisplaySettings settings = SettingsFor(o);
    switch (type) {
    case OutputType::Png:
        return DrawPicture(PictureType::Png, file, fractal, o, settings, markers, stop, bar, stats);
    case OutputType::Svg:
        return DrawPicture(PictureType::Svg, file, fractal, o, settings, markers, stop, bar, stats);
    case OutputType::Pdf:
        return DrawPicture(PictureType::Pdf, file, fractal, o, settings, markers, stop, bar, stats);
    case OutputType::Txt:
        break;
    }
    return DrawText(file, fractal, stop, stats);
}

// Draws into the output and commits it; the old file is replaced only by a
// complete new one.
int WriteOutput(QSaveFile& file, const std::string& outputPath, OutputType type, CFractal& fractal,
                const RenderOptions& o, const StopFlag& stop, ProgressBar& bar, RenderStats& stats)
{
    const DrawResult result = DrawOutput(type, file, fractal, o, stop, bar, stats);
    if (stop.load(std::memory_order_relaxed)) {
        // Interrupted while encoding: the file is not kept.
        return Interrupted(bar, file);
    }
    if (!result.ok) {
        file.cancelWriting();
        Error(outputPath + ": cannot write (" + result.error + ")");
        return kExitIo;
    }
    const auto commitStart = Clock::now();
    if (!file.commit()) {
        Error(outputPath + ": cannot write (" + Str(file.errorString()) + ")");
        return kExitIo;
    }
    stats.secondsEncode += SecondsSince(commitStart);
    return kExitOk;
}

// A picture of the background alone is worth a word: the day count or the
// file may not be what the user meant.
void WarnIfNothingDrawn(const CFractal& fractal, const std::string& source, const RenderOptions& o,
                        const RenderStats& stats)
{
    if ((o.flags & kShowFractal) != 0 && stats.lines == 0 && stats.pixels == 0) {
        std::fprintf(stderr,
                     "kaleidra-render: %s: the figure at %d days draws nothing; only the "
                     "background is drawn\n",
                     source.c_str(), fractal.m_days.load());
    }
}

} // namespace

bool NeedsGuiApplication(const RenderOptions& o)
{
    if ((o.flags & (kShowInitiator | kShowGenerator)) != 0) {
        return true;
    }
    const auto type =
        o.output.empty() ? std::optional<OutputType>(OutputType::Png) : OutputTypeOf(o.output);
    return type == OutputType::Svg || type == OutputType::Pdf;
}

std::string StatsJson(const RenderStats& s)
{
    std::string j = "{\"name\":";
    AppendJsonString(j, s.name);
    j += ",\"kind\":";
    AppendJsonString(j, s.kind);
    j += ",\"days\":" + std::to_string(s.days);
    j += ",\"lines\":" + std::to_string(s.lines);
    j += ",\"pixels\":" + std::to_string(s.pixels);
    j += ",\"moves\":" + std::to_string(s.moves);
    j += ",\"bounds\":{\"minX\":";
    AppendJsonNumber(j, s.bounds.minX);
    j += ",\"maxX\":";
    AppendJsonNumber(j, s.bounds.maxX);
    j += ",\"minY\":";
    AppendJsonNumber(j, s.bounds.minY);
    j += ",\"maxY\":";
    AppendJsonNumber(j, s.bounds.maxY);
    j += "},\"scale\":";
    AppendJsonNumber(j, s.bounds.scale);
    j += ",\"seconds_bounds\":";
    AppendJsonNumber(j, s.secondsBounds);
    j += ",\"seconds_draw\":";
    AppendJsonNumber(j, s.secondsDraw);
    j += ",\"seconds_encode\":";
    AppendJsonNumber(j, s.secondsEncode);
    j += ",\"peak_rss_mb\":";
    AppendJsonNumber(j, std::round(PeakRssMegabytes() * 10.0) / 10.0);
    j += "}";
    return j;
}

int RunRender(const RenderOptions& o, const StopFlag& stop, RenderStats* statsOut)
{
    Loaded loaded = LoadFractal(o);
    if (loaded.exitCode != kExitOk) {
        return loaded.exitCode;
    }
    CFractal& fractal = *loaded.fractal;
    if (o.days) {
        fractal.m_days = *o.days;
    }
    RenderStats stats;
    stats.name = fractal.m_name;
    stats.kind = fractal.m_type;
    stats.days = fractal.m_days;
    if (!o.save.empty()) {
        if (const int code = SaveFractal(fractal, o.save); code != kExitOk) {
            return code;
        }
    }

    const std::string outputPath =
        o.output.empty() ? FileSafeName(fractal.m_name) + ".png" : o.output;
    const OutputType type = OutputTypeOf(outputPath).value_or(OutputType::Png);
    // The output is opened before the long work, so an unwritable path is
    // told at once; it replaces the old file only when complete.
    QSaveFile file(QString::fromStdString(outputPath));
    if (!o.boundsOnly && !file.open(QIODevice::WriteOnly)) {
        Error(outputPath + ": cannot write (" + Str(file.errorString()) + ")");
        return kExitIo;
    }
    // Another generation than the one asked is never drawn.
    if (fractal.m_days > fractal.MaxDays()) {
        file.cancelWriting();
        Error(loaded.source + ": at most " + std::to_string(fractal.MaxDays()) +
              " days for this fractal");
        return kExitUnusable;
    }
    ProgressBar bar(!o.quiet && isatty(STDERR_FILENO) != 0);
    int code = kExitOk;
    try {
        code = MeasureBounds(fractal, loaded.source, stop, bar, stats);
        if (code == kExitOk && !o.boundsOnly) {
            code = WriteOutput(file, outputPath, type, fractal, o, stop, bar, stats);
        }
    } catch (int) {
        // The drawing's stop exception: Ctrl-C.
        return Interrupted(bar, file);
    } catch (const std::bad_alloc&) {
        bar.Clear();
        file.cancelWriting();
        Error(loaded.source + ": out of memory");
        return kExitIo;
    }
    if (code != kExitOk) {
        file.cancelWriting();
        return code;
    }
    if (!o.boundsOnly) {
        WarnIfNothingDrawn(fractal, loaded.source, o, stats);
    }
    if (o.stats) {
        std::printf("%s\n", StatsJson(stats).c_str());
        std::fflush(stdout);
    }
    if (statsOut != nullptr) {
        *statsOut = stats;
    }
    return kExitOk;
}
