// The preset gallery and the preset list.
#include "engine/presets.h"
#include "render/picture_writers.h"
#include "render_job.h"

#include <QDir>
#include <QSaveFile>
#include <QString>

#include <cstdio>

namespace {

constexpr int kGallerySize = 512;

const char* const kKindNames[] = {"Standard", "IFS", "MCRM", "L-system", "Automaton"};

// "K-II.png": the kind, a dash and the index in two digits.
std::string ImageName(int kind, int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "%d-%02d.png", kind, index);
    return name;
}

} // namespace

int RunListPresets()
{
    for (int kind = 0; kind < kKindCount; ++kind) {
        for (int index = 0; index < PresetCount(kind); ++index) {
            FractalPtr fractal = CreatePreset(kind, index);
            std::printf("%d\t%d\t%d\t%s\n", kind, index,
                        fractal ? static_cast<int>(fractal->m_days) : 0, PresetName(kind, index));
        }
    }
    return std::fflush(stdout) == 0 ? kExitOk : kExitIo;
}

int RunGallery(const RenderOptions& options, const StopFlag& stop)
{
    const QString dir = QString::fromStdString(options.galleryDir);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "kaleidra-render: %s: cannot write (the directory cannot be made)\n",
                     options.galleryDir.c_str());
        return kExitIo;
    }
    int worst = kExitOk;
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<title>Kaleidra presets</title>\n<style>\n"
                       "body{font-family:sans-serif;margin:2em}\n"
                       "figure{display:inline-block;margin:0 1em 1.5em 0;vertical-align:top}\n"
                       "img{width:256px;height:256px;border:1px solid #888}\n"
                       "figcaption{max-width:256px}\n</style>\n</head>\n<body>\n"
                       "<h1>Kaleidra presets</h1>\n";
    for (int kind = 0; kind < kKindCount; ++kind) {
        html += "<h2>" + std::string(kKindNames[kind]) + "</h2>\n";
        for (int index = 0; index < PresetCount(kind); ++index) {
            RenderOptions one = options;
            one.mode = RenderOptions::Mode::Render;
            one.preset = true;
            one.kind = kind;
            one.index = index;
            one.stats = false;
            one.save.clear();
            if (!options.sizeGiven) {
                one.width = one.height = kGallerySize;
            }
            const std::string image = ImageName(kind, index);
            one.output = options.galleryDir + "/" + image;
            RenderStats stats;
            const int code = RunRender(one, stop, &stats);
            if (code == kExitInterrupted) {
                return code;
            }
            worst = std::max(worst, code);
            const std::string name = XmlEscape(PresetName(kind, index));
            html += "<figure>";
            if (code == kExitOk) {
                html += "<img src=\"" + image + "\" alt=\"" + name + "\">";
            }
            html += "<figcaption>" + std::to_string(kind) + ":" + std::to_string(index) + " " +
                    name + " (" + std::to_string(stats.days) + " days)</figcaption></figure>\n";
        }
    }
    html += "</body>\n</html>\n";
    QSaveFile index(dir + QStringLiteral("/index.html"));
    if (!index.open(QIODevice::WriteOnly) ||
        index.write(html.data(), static_cast<qint64>(html.size())) !=
            static_cast<qint64>(html.size()) ||
        !index.commit()) {
        std::fprintf(stderr, "kaleidra-render: %s/index.html: cannot write (%s)\n",
                     options.galleryDir.c_str(), index.errorString().toLocal8Bit().constData());
        return kExitIo;
    }
    return worst;
}
