// The aliased rasteriser on the library's figures: seconds of the fractal's
// drawing into an 8-bit picture (background and bounds excluded), with the
// recursion writing the pixels in place and with the elements handed over
// in batches, on one thread (processor time) and on all threads (wall
// time), and the segments per second of each. Given the baseline probe's
// path, also its fused recursion and Bresenham on the dragon at 24 days, in
// the same run, and our ratio to it.
//
//   raster_bench [SIZE] [REPEATS] [PROBE] [FIGURE]
//       (default 2048, 5, no probe (or "-"), every figure; best of REPEATS)

#include "bench_clock.h"
#include "engine/fractal_kind.h"
#include "engine/presets.h"
#include "render/fractal_painter.h"
#include "render/raster_surface.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace {

using Figure = BenchFigure;

// Passes the drawing on in batches only: the path before the recursion
// wrote pixels itself.
class Batches final : public BatchSurface
{
public:
    explicit Batches(RasterSurface& inner) : m_inner(inner) {}
    void MoveTo(double x, double y) override { m_inner.MoveTo(x, y); }
    void SetPixel(double x, double y, Color c) override { m_inner.SetPixel(x, y, c); }
    void SetPixel(double x, double y) override { m_inner.SetPixel(x, y); }
    void Line(double a, double b, double c, double d, Color k) override
    {
        m_inner.Line(a, b, c, d, k);
    }
    void Line(double a, double b, double c, double d) override { m_inner.Line(a, b, c, d); }
    void LineTo(double x, double y, Color c) override { m_inner.LineTo(x, y, c); }
    void LineTo(double x, double y) override { m_inner.LineTo(x, y); }
    void Arrow(Point p, Polar v, int size, Color c) override { m_inner.Arrow(p, v, size, c); }
    void Arrow(Point p, Polar v, int size) override { m_inner.Arrow(p, v, size); }
    void Circle(double x, double y, double r, Color c) override { m_inner.Circle(x, y, r, c); }
    void Circle(double x, double y, double r) override { m_inner.Circle(x, y, r); }
    const AffineMap* GetTransform() const override { return m_inner.GetTransform(); }
    void Take(const DrawElement* elements, std::size_t count) override
    {
        m_inner.Take(elements, count);
    }
    std::unique_ptr<BatchSurface> Fork() override { return m_inner.Fork(); }
    void Join(BatchSurface& piece) override { m_inner.Join(piece); }

private:
    RasterSurface& m_inner;
};

double Seconds(CFractal& fractal, QImage& image, bool batches, int repeats)
{
    const bool wall = drawing::DrawingThreads() > 1;
    const IsotropicParams mapping =
        ComputePaintGeometry(fractal.m_bounds, 1.0, image.size()).fractalMapping;
    double best = std::numeric_limits<double>::max();
    for (int r = 0; r < repeats; ++r) {
        image.fill(0);
        RasterSurface surface(image);
        surface.SetMapping(mapping);
        surface.SetColor(MakeColor(255, 255, 255));
        surface.SetPenColor(MakeColor(255, 255, 255));
        Batches only(surface);
        const double start = BenchNow(wall);
        fractal.Draw(batches ? static_cast<DrawingSurface&>(only) : surface, nullptr);
        best = std::min(best, BenchNow(wall) - start);
    }
    return best;
}

// The probe's median seconds, or 0 when it cannot be run.
double Probe(const std::string& probe, int repeats)
{
    const std::string command = probe + " raster_stream 24 " + std::to_string(repeats);
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return 0.0;
    }
    char line[1024] = {};
    std::string out;
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        out += line;
    }
    pclose(pipe);
    const auto at = out.find("\"median_s\":");
    return at == std::string::npos ? 0.0 : std::atof(out.c_str() + at + 11);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const int size = argc > 1 ? std::max(16, std::atoi(argv[1])) : 2048;
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::string probe = argc > 3 && std::string(argv[3]) != "-" ? argv[3] : "";
    const std::string only = argc > 4 ? argv[4] : "";
    const Figure figures[] = {{"koch", 0, 9, 10},
                              {"fern", 1, 8, 9},
                              {"gasket", 2, 0, 8},
                              {"hilbert", 3, 1, 10},
                              {"dragon", 4, 10, 24}};
    std::printf("%-8s %5s %10s | %9s %9s %9s | %9s %9s | %s\n", "figure", "days", "elements",
                "in place", "batches", "Melem/s", "in place", "batches", "seconds");
    std::printf("%-8s %5s %10s | %29s | %19s |\n", "", "", "", "one thread", "all threads");
    double dragon = 0.0;
    for (const Figure& f : figures) {
        if (!only.empty() && only != f.name) {
            continue;
        }
        FractalPtr fractal = CreatePreset(f.kind, f.index);
        fractal->m_days = f.days;
        if (!fractal->PrepareBounds(nullptr, nullptr, nullptr)) {
            std::printf("%-8s not measurable\n", f.name);
            continue;
        }
        QImage image(size, size, QImage::Format_Indexed8);
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        drawing::LimitDrawingThreads(1);
        const double one = Seconds(*fractal, image, false, repeats);
        const double oneBatches = Seconds(*fractal, image, true, repeats);
        drawing::LimitDrawingThreads(0);
        const double all = Seconds(*fractal, image, false, repeats);
        const double allBatches = Seconds(*fractal, image, true, repeats);
        const double elements = static_cast<double>(fractal->CountElements(f.days).drawn);
        std::printf("%-8s %5d %10.0f | %9.4f %9.4f %9.1f | %9.4f %9.4f |\n", f.name, f.days,
                    elements, one, oneBatches, elements / one * 1e-6, all, allBatches);
        if (f.kind == 4) {
            dragon = one;
        }
    }
    if (!probe.empty() && dragon > 0.0) {
        const double base = Probe(probe, repeats);
        if (base > 0.0) {
            std::printf("dragon 24 on one thread: %.4f s, probe raster_stream %.4f s, %.2fx\n",
                        dragon, base, dragon / base);
        }
    }
    return 0;
}
