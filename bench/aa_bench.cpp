// Our antialiased hairlines against the painter's antialiased cosmetic pen,
// both on one thread and back to back, on the library's figures: seconds of
// the fractal's drawing (background, bounds and encoding excluded), the
// ratio, and the mean absolute difference per channel between the two
// pictures. Then ours on all the machine's threads. One thread is timed in
// processor time, all threads in wall time.
//
//   aa_bench [SIZE] [REPEATS] [FIGURE]   (default 1000, 5 and every figure;
//                                         best of REPEATS)

#include "bench_clock.h"
#include "engine/fractal_kind.h"
#include "engine/presets.h"
#include "render/fractal_painter.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>

namespace {

using Figure = BenchFigure;

double Seconds(CFractal& fractal, QImage& image, FractalPath path, const DisplaySettings& settings,
               int repeats)
{
    const bool wall = drawing::DrawingThreads() > 1;
    double best = std::numeric_limits<double>::max();
    for (int r = 0; r < repeats; ++r) {
        image.fill(ToQColor(settings.Background()).rgb());
        PaintOptions options;
        options.path = path;
        options.antialias = true;
        const double start = BenchNow(wall);
        PaintFractal(image, fractal, 1.0, settings, nullptr, nullptr, options);
        best = std::min(best, BenchNow(wall) - start);
    }
    return best;
}

double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0.0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            sum += std::abs(qRed(p[x]) - qRed(q[x])) + std::abs(qGreen(p[x]) - qGreen(q[x])) +
                   std::abs(qBlue(p[x]) - qBlue(q[x]));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const int size = argc > 1 ? std::max(16, std::atoi(argv[1])) : 1000;
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const Figure figures[] = {{"koch", 0, 9, 6},
                              {"fern", 1, 8, 8},
                              {"gasket", 2, 0, 6},
                              {"hilbert", 3, 1, 7},
                              {"dragon", 4, 10, 20}};
    const DisplaySettings settings;
    std::printf("%-8s %5s %10s | %10s %10s %7s | %10s %7s | %8s\n", "figure", "days", "lines",
                "painter s", "ours s", "x", "ours s", "x", "mean diff");
    std::printf("%-8s %5s %10s | %29s | %18s | %8s\n", "", "", "", "one thread", "all threads",
                "of 255");
    for (const Figure& f : figures) {
        if (argc > 3 && std::strcmp(argv[3], f.name) != 0) {
            continue;
        }
        FractalPtr fractal = CreatePreset(f.kind, f.index);
        fractal->m_days = f.days;
        if (!fractal->PrepareBounds(nullptr, nullptr, nullptr)) {
            std::printf("%-8s not measurable\n", f.name);
            continue;
        }
        QImage theirs(size, size, QImage::Format_RGB32);
        QImage ours(size, size, QImage::Format_RGB32);
        drawing::LimitDrawingThreads(1);
        PaintCounts counts;
        const double painter = Seconds(*fractal, theirs, FractalPath::Painter, settings, repeats);
        const double direct = Seconds(*fractal, ours, FractalPath::Direct, settings, repeats);
        drawing::LimitDrawingThreads(0);
        const double threaded = Seconds(*fractal, ours, FractalPath::Direct, settings, repeats);
        {
            PaintOptions options;
            options.antialias = true;
            options.counts = &counts;
            options.path = FractalPath::Direct;
            ours.fill(ToQColor(settings.Background()).rgb());
            PaintFractal(ours, *fractal, 1.0, settings, nullptr, nullptr, options);
        }
        std::printf("%-8s %5d %10lld | %10.4f %10.4f %7.1f | %10.4f %7.1f | %8.3f\n", f.name,
                    f.days, static_cast<long long>(counts.lines), painter, direct, painter / direct,
                    threaded, painter / threaded, MeanDifference(ours, theirs));
    }
    return 0;
}
