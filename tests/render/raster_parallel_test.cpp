#include "engine/fractal_kind.h"
#include "engine/presets.h"
#include "render/aa_raster_surface.h"
#include "render/fractal_painter.h"
#include "render/raster_surface.h"
#include "test_support.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

class Threads
{
public:
    explicit Threads(int count) { drawing::LimitDrawingThreads(count); }
    ~Threads() { drawing::LimitDrawingThreads(0); }
    Threads(const Threads&) = delete;
    Threads& operator=(const Threads&) = delete;
};

struct Figure
{
    int kind;
    int index;
    int days;
};

class Rasters : public testing::TestWithParam<Figure>
{
protected:
    FractalPtr Prepared() const
    {
        const Figure f = GetParam();
        FractalPtr fractal = CreatePreset(f.kind, f.index);
        fractal->m_days = f.days;
        EXPECT_TRUE(fractal->PrepareBounds(nullptr, nullptr, nullptr));
        return fractal;
    }
    QImage Paint(CFractal& fractal, QImage::Format format, FractalPath path, bool antialias,
                 int threads, PaintCounts* counts = nullptr) const
    {
        QImage image(301, 257, format);
        if (format == QImage::Format_Indexed8) {
            image.setColorTable({ToQColor(settings.Background()).rgb()});
            image.fill(0);
        }
        PaintOptions options;
        options.path = path;
        options.antialias = antialias;
        options.counts = counts;
        Threads limit(threads);
        EXPECT_TRUE(PaintFractal(image, fractal, 1.0, settings, nullptr, nullptr, options));
        return image;
    }

    DisplaySettings settings;
};

// An aliased pixel is set or not, so pieces drawn into masks and merged
// give the very picture of one thread, in both image formats.
TEST_P(Rasters, AliasedPiecesMergeIntoTheSinglyDrawnPicture)
{
    FractalPtr fractal = Prepared();
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_Indexed8}) {
        PaintCounts one;
        PaintCounts three;
        const QImage single = Paint(*fractal, format, FractalPath::Direct, false, 1, &one);
        const QImage split = Paint(*fractal, format, FractalPath::Direct, false, 3, &three);
        EXPECT_EQ(single, split);
        EXPECT_EQ(one.lines, three.lines);
        EXPECT_EQ(one.pixels, three.pixels);
        EXPECT_EQ(one.moves, three.moves);
        EXPECT_GT(one.lines + one.pixels, 0);
    }
}

// Our coverage rasteriser against the painter's antialiased cosmetic pen:
// the same lines, within a level or two per channel on average.
TEST_P(Rasters, AntialiasedLinesStayCloseToThePainters)
{
    FractalPtr fractal = Prepared();
    PaintCounts ours;
    PaintCounts theirs;
    const QImage direct =
        Paint(*fractal, QImage::Format_RGB32, FractalPath::Direct, true, 3, &ours);
    const QImage painter =
        Paint(*fractal, QImage::Format_RGB32, FractalPath::Painter, true, 1, &theirs);
    EXPECT_EQ(ours.lines + ours.pixels + ours.moves, theirs.lines + theirs.pixels + theirs.moves);
    double sum = 0.0;
    int lit = 0;
    const QRgb background = ToQColor(settings.Background()).rgb();
    for (int y = 0; y < direct.height(); ++y) {
        for (int x = 0; x < direct.width(); ++x) {
            const QRgb a = direct.pixel(x, y);
            const QRgb b = painter.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b));
            lit += a != background ? 1 : 0;
        }
    }
    EXPECT_LT(sum / (3.0 * direct.width() * direct.height()), 2.0);
    EXPECT_GT(lit, 100);
}

// Lines laid in place from the recursion and lines handed over in batches
// (as a transformed drawing's are; the identity changes no point) give the
// same coverage and counts, on one thread and on several.
TEST_P(Rasters, AntialiasedLinesInPlaceLayWhatBatchesLay)
{
    FractalPtr fractal = Prepared();
    IsotropicParams mapping;
    mapping.scale = 250.0 / 32767.0;
    mapping.viewportOrigin = QPoint(20, 3);
    mapping.pixelOffset = 0.5;
    for (const int threads : {1, 3}) {
        Threads limit(threads);
        const auto draw = [&](const AffineMap* transform, PaintCounts& counts) {
            QImage image = WhiteImage(301, 257);
            AaRasterSurface surface(image);
            surface.SetMapping(mapping);
            surface.SetColor(MakeColor(0, 0, 90));
            surface.SetTransform(transform);
            EXPECT_TRUE(fractal->Draw(surface, nullptr));
            surface.Finish();
            counts = {surface.Lines(), surface.Pixels(), surface.Moves()};
            return image;
        };
        PaintCounts direct;
        PaintCounts batched;
        const QImage inPlace = draw(nullptr, direct);
        const QImage handed = draw(&kIdentityMap, batched);
        EXPECT_EQ(inPlace, handed) << threads;
        EXPECT_NE(inPlace, WhiteImage(301, 257));
        EXPECT_EQ(direct.lines, batched.lines);
        EXPECT_EQ(direct.pixels, batched.pixels);
        EXPECT_EQ(direct.moves, batched.moves);
    }
}

INSTANTIATE_TEST_SUITE_P(Library, Rasters,
                         testing::Values(Figure{0, 9, 6}, Figure{1, 8, 9}, Figure{2, 0, 9},
                                         Figure{3, 1, 7}, Figure{4, 10, 19}));

TEST(AaRasterSurface, LinesShareTheirCoverageAndPointsAreWholePixels)
{
    QImage image = WhiteImage(12, 8);
    AaRasterSurface surface(image);
    surface.SetColor(MakeColor(0, 0, 0));
    // Whole units on pixel edges: a row's line is half in the row above and
    // half in the one below, and reaches half a pixel beyond each end.
    surface.Line(2.7, 1.2, 6, 1);
    surface.SetPixel(9.4, 6.6);
    surface.Finish();
    EXPECT_NEAR(qRed(image.pixel(3, 0)), 128, 1);
    EXPECT_NEAR(qRed(image.pixel(3, 1)), 128, 1);
    EXPECT_EQ(qRed(image.pixel(1, 0)), 191);
    EXPECT_EQ(qRed(image.pixel(6, 1)), 191);
    EXPECT_EQ(qRed(image.pixel(3, 2)), 255);
    EXPECT_EQ(qRed(image.pixel(7, 0)), 255);
    EXPECT_EQ(image.pixel(9, 6), 0xff000000u);
    EXPECT_EQ(surface.Lines(), 1);
    EXPECT_EQ(surface.Pixels(), 1);
}

// Coverage depends only on where a line sits within its pixels, so a line
// moved by whole pixels lights the same values: inside the picture lines go
// through the quick loops, at its edge through the careful one, and the two
// must agree (to the rounding), for lines along a row or a column, short or long, and slanted.
// The largest difference of the red channel between two pictures of one
// size.
int WorstRedDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            worst = std::max(worst, std::abs(qRed(a.pixel(x, y)) - qRed(b.pixel(x, y))));
        }
    }
    return worst;
}

TEST(AaRasterSurface, QuickLoopsInsideAgreeWithTheCarefulOneAtTheEdge)
{
    // Logical units of a tenth of a pixel, so that ends fall anywhere.
    IsotropicParams tenths;
    tenths.scale = 0.1;
    const DrawElement lines[] = {
        {DrawElement::Line, 3, 6, 17, 6},   {DrawElement::Line, 14, 2, 14, 9},
        {DrawElement::Line, 22, 7, 21, 7},  {DrawElement::Line, 5, 3, 75, 3},
        {DrawElement::Line, 9, 31, 9, 2},   {DrawElement::Line, 4, 2, 19, 13},
        {DrawElement::Line, 11, 4, 16, 30}, {DrawElement::Line, 6, 6, 6, 6},
    };
    for (const DrawElement& line : lines) {
        // Far from every edge, then in the first rows and columns.
        const auto draw = [&](int dx, int dy) {
            QImage image = WhiteImage(40, 40);
            AaRasterSurface surface(image);
            IsotropicParams mapping = tenths;
            mapping.viewportOrigin = QPoint(dx, dy);
            surface.SetMapping(mapping);
            surface.SetColor(MakeColor(0, 0, 0));
            surface.Take(&line, 1);
            surface.Finish();
            return image.copy(dx, dy, 12, 12);
        };
        // Moved, a position rounds a little differently: a level at most.
        const QImage inside = draw(20, 20);
        const QImage edge = draw(0, 0);
        EXPECT_LE(WorstRedDifference(inside, edge), 1)
            << line.x1 << "," << line.y1 << " " << line.x2 << "," << line.y2;
        int lit = 0;
        for (int y = 0; y < inside.height(); ++y) {
            for (int x = 0; x < inside.width(); ++x) {
                lit += inside.pixel(x, y) != 0xffffffffu ? 1 : 0;
            }
        }
        EXPECT_GT(lit, 0);
    }
}

// Lines that reach the far edges, across and along, lay what the same lines
// lay in a larger picture, where they are far from them, while those just
// short of an edge still take the quick loops: the edge itself is where
// the two meet. The edge rows and columns are covered, and nothing beyond.
TEST(AaRasterSurface, LinesAtTheFarEdgesLayWhatTheyLayInALargerPicture)
{
    IsotropicParams tenths;
    tenths.scale = 0.1;
    const auto draw = [&](int size, const DrawElement& line) {
        QImage image = WhiteImage(size, size);
        AaRasterSurface surface(image);
        surface.SetMapping(tenths);
        surface.SetColor(MakeColor(0, 0, 0));
        surface.Take(&line, 1);
        surface.Finish();
        return image.copy(0, 0, 16, 16);
    };
    int edgeLit = 0;
    for (double level = 125; level <= 162; level += 3) {
        for (double end = 135; end <= 166; end += 7) {
            for (const DrawElement& line :
                 {DrawElement{DrawElement::Line, 30, level, end, level},
                  DrawElement{DrawElement::Line, level, end, level, 30}}) {
                const QImage edge = draw(16, line);
                const QImage inside = draw(24, line);
                EXPECT_LE(WorstRedDifference(edge, inside), 1)
                    << line.x1 << "," << line.y1 << " " << line.x2 << "," << line.y2;
                edgeLit += qRed(edge.pixel(15, 15)) != 255 || qRed(edge.pixel(15, 8)) != 255 ||
                                   qRed(edge.pixel(8, 15)) != 255
                               ? 1
                               : 0;
            }
        }
    }
    EXPECT_GT(edgeLit, 0);
}

// The colour is laid over each pixel according to what is under it, also
// where the background changes under one line, in every format it takes.
TEST(AaRasterSurface, LinesOverTwoBackgroundsBlendWithEach)
{
    const QRgb left = qRgba(255, 255, 255, 255);
    const QRgb right = qRgba(40, 120, 200, 128);
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        const auto draw = [format](QRgb west, QRgb east) {
            QImage image(20, 6, format);
            image.fill(Qt::transparent);
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    image.setPixel(x, y, x < 10 ? west : east);
                }
            }
            AaRasterSurface surface(image);
            surface.SetColor(MakeColor(200, 0, 0));
            surface.Line(2.7, 2.2, 17.1, 3.6);
            surface.Finish();
            return image;
        };
        const QImage both = draw(left, right);
        const QImage west = draw(left, left);
        const QImage east = draw(right, right);
        EXPECT_EQ(both.copy(0, 0, 10, 6), west.copy(0, 0, 10, 6)) << format;
        EXPECT_EQ(both.copy(10, 0, 10, 6), east.copy(10, 0, 10, 6)) << format;
        EXPECT_NE(both.pixel(5, 2), both.pixel(5, 0)) << format;
    }
}

// A picture published while pieces draw on other threads shows what they
// have drawn so far, only when one is wanted; a piece let go unjoined is
// forgotten; joining completes the picture.
TEST(RasterSurface, PublishedPicturesShowWhatOtherThreadsHaveDrawnSoFar)
{
    QImage image = WhiteImage(64, 48);
    RasterSurface surface(image);
    surface.SetColor(MakeColor(0, 0, 0));
    surface.SetPenColor(MakeColor(0, 0, 0));
    struct Watch
    {
        bool wanted = false;
        int calls = 0;
    } watch;
    surface.SetProgress([](void* w) { ++static_cast<Watch*>(w)->calls; }, &watch, 0);
    surface.SetPiecesWanted([](void* w) { return static_cast<Watch*>(w)->wanted; });

    std::unique_ptr<BatchSurface> piece = surface.Fork();
    ASSERT_TRUE(piece);
    std::atomic<bool> drawn{false};
    std::atomic<bool> enough{false};
    std::thread other([&] {
        const DrawElement first{DrawElement::Line, 5, 40, 60, 40};
        piece->Take(&first, 1);
        drawn.store(true, std::memory_order_release);
        // Goes on drawing while the picture is gathered.
        const DrawElement more{DrawElement::Line, 5, 30, 60, 30};
        while (!enough.load(std::memory_order_relaxed)) {
            piece->Take(&more, 1);
        }
    });
    while (!drawn.load(std::memory_order_acquire)) {
        std::this_thread::yield();
    }
    surface.MoveTo(0, 0);
    EXPECT_EQ(image.pixel(30, 40), 0xffffffffu) << "shown though no picture was wanted";
    watch.wanted = true;
    surface.MoveTo(0, 0);
    EXPECT_EQ(image.pixel(5, 40), 0xff000000u);
    EXPECT_EQ(image.pixel(60, 40), 0xff000000u);
    EXPECT_EQ(image.pixel(30, 20), 0xffffffffu);
    EXPECT_EQ(watch.calls, 2);
    enough.store(true, std::memory_order_relaxed);
    other.join();
    surface.Join(*piece);
    EXPECT_EQ(image.pixel(30, 30), 0xff000000u);

    std::unique_ptr<BatchSurface> dropped = surface.Fork();
    ASSERT_TRUE(dropped);
    const DrawElement line{DrawElement::Line, 2, 10, 2, 20};
    dropped->Take(&line, 1);
    dropped.reset();
    surface.MoveTo(0, 0);
    EXPECT_EQ(image.pixel(2, 15), 0xffffffffu);
}

} // namespace
