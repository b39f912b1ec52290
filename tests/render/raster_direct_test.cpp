#include "engine/fractal_kind.h"
#include "engine/presets.h"
#include "render/fractal_painter.h"
#include "render/raster_surface.h"
#include "test_support.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// Hands a raster surface its drawing in batches only: it does not open the
// pixels to the recursion, nor split.
class BatchesOnly final : public BatchSurface
{
public:
    explicit BatchesOnly(RasterSurface& inner) : m_inner(inner) {}

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
        ++batches;
    }

    int batches = 0;

private:
    RasterSurface& m_inner;
};

struct Drawn
{
    QImage image;
    PaintCounts counts;
    int progress = 0;
};

// The fractal drawn by the rasteriser alone, on one thread or several,
// written in place by the recursion or handed over in batches. A zoom
// below 1 leaves part of the figure outside the picture.
Drawn Draw(CFractal& fractal, QImage::Format format, double zoom, int threads, bool batches)
{
    drawing::LimitDrawingThreads(threads);
    Drawn out;
    out.image = QImage(331, 263, format);
    if (format == QImage::Format_Indexed8) {
        out.image.setColorTable({qRgb(255, 255, 255)});
    }
    RasterSurface surface(out.image);
    surface.Fill(MakeColor(255, 255, 255));
    surface.SetMapping(
        ComputePaintGeometry(fractal.m_bounds, zoom, out.image.size()).fractalMapping);
    surface.SetColor(MakeColor(10, 20, 30));
    surface.SetPenColor(MakeColor(10, 20, 30));
    surface.SetProgress([](void* n) { ++*static_cast<int*>(n); }, &out.progress, 10);
    BatchesOnly only(surface);
    EXPECT_TRUE(fractal.Draw(batches ? static_cast<DrawingSurface&>(only) : surface, nullptr));
    if (batches) {
        EXPECT_GT(only.batches, 0);
    }
    out.counts = {surface.Lines(), surface.Pixels(), surface.Moves()};
    drawing::LimitDrawingThreads(0);
    return out;
}

// Lines and pixels written by the recursion itself light exactly the pixels
// the batches light, with the same calls counted and the same progress, in
// both image formats, inside the picture and cut by its edges, on one
// thread and split into pieces.
TEST(RasterDirect, RecursionWritesThePixelsTheBatchesWould)
{
    struct Figure
    {
        int kind;
        int index;
        int days;
    };
    const Figure figures[] = {{0, 9, 6}, {0, 2, 4}, {1, 8, 8}, {1, 0, 7},
                              {2, 0, 7}, {3, 1, 6}, {3, 0, 5}, {4, 10, 15}};
    RasterTarget opened;
    QImage probe(4, 4, QImage::Format_RGB32);
    ASSERT_TRUE(RasterSurface(probe).OpenRaster(opened));
    for (const Figure& f : figures) {
        FractalPtr fractal = CreatePreset(f.kind, f.index);
        ASSERT_TRUE(fractal);
        fractal->m_days = f.days;
        ASSERT_TRUE(fractal->PrepareBounds(nullptr, nullptr, nullptr));
        for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_Indexed8}) {
            for (const double zoom : {1.0, 0.7}) {
                const Drawn old = Draw(*fractal, format, zoom, 1, true);
                for (const int threads : {1, 3}) {
                    const Drawn fused = Draw(*fractal, format, zoom, threads, false);
                    const auto where = testing::Message()
                                       << f.kind << ":" << f.index << " days " << f.days
                                       << " format " << format << " zoom " << zoom << " threads "
                                       << threads;
                    EXPECT_EQ(fused.image, old.image) << where;
                    EXPECT_EQ(fused.counts.lines, old.counts.lines) << where;
                    EXPECT_EQ(fused.counts.pixels, old.counts.pixels) << where;
                    EXPECT_EQ(fused.counts.moves, old.counts.moves) << where;
                    if (threads == 1) {
                        EXPECT_EQ(fused.progress, old.progress) << where;
                    }
                }
                EXPECT_GT(LitPixels(old.image).size(), 20U);
            }
        }
    }
}

// Drawn in place, a figure still stops within a batch of the flag being
// set (here by the progress call at the first 1024 elements), keeping what
// it drew and counting it.
TEST(RasterDirect, StopsWithinABatchOfTheFlag)
{
    struct Figure
    {
        int kind;
        int index;
        int days;
    };
    for (const Figure f : {Figure{0, 9, 9}, Figure{3, 1, 9}, Figure{4, 10, 18}}) {
        FractalPtr fractal = CreatePreset(f.kind, f.index);
        fractal->m_days = f.days;
        ASSERT_TRUE(fractal->PrepareBounds(nullptr, nullptr, nullptr));
        drawing::LimitDrawingThreads(1);
        QImage image = WhiteImage(200, 200);
        RasterSurface surface(image);
        surface.SetMapping(
            ComputePaintGeometry(fractal->m_bounds, 1.0, image.size()).fractalMapping);
        StopFlag stop{false};
        surface.SetProgress([](void* flag) { static_cast<StopFlag*>(flag)->store(true); }, &stop,
                            10);
        bool stopped = false;
        try {
            fractal->Draw(surface, &stop);
        } catch (int code) {
            stopped = code == -1;
        }
        drawing::LimitDrawingThreads(0);
        EXPECT_TRUE(stopped) << f.kind;
        EXPECT_GE(surface.Lines() + surface.Moves(), 1024) << f.kind;
        EXPECT_LT(surface.Lines() + surface.Moves(), 2 * 1024 + 64) << f.kind;
        EXPECT_FALSE(LitPixels(image).empty()) << f.kind;
    }
}

} // namespace
