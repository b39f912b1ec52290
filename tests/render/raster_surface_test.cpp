#include "render/raster_surface.h"

#include "engine/presets.h"
#include "render/fractal_painter.h"
#include "render/isotropic_mapping.h"
#include "test_support.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr Color kRed = MakeColor(255, 0, 0);

TEST(RasterSurface, LinesIncludeBothEndsAndTruncateLikeThePainterSurface)
{
    QImage image = WhiteImage(10, 10);
    RasterSurface surface(image);
    surface.SetPenColor(kRed);
    surface.Line(0.9, 0.9, -0.9, 2.7);
    surface.MoveTo(3.5, 5);
    surface.LineTo(6.99, 5);
    EXPECT_EQ(LitPixels(image),
              (std::vector<QPoint>{{0, 0}, {0, 1}, {0, 2}, {3, 5}, {4, 5}, {5, 5}, {6, 5}}));
    EXPECT_EQ(image.pixel(0, 1), 0xffff0000u);
    EXPECT_EQ(surface.Lines(), 2);
    EXPECT_EQ(surface.Moves(), 1);
}

TEST(RasterSurface, PixelsUseTheCurrentColourOrTheirOwn)
{
    QImage image = WhiteImage(40, 40);
    RasterSurface surface(image);
    const AffineMap transform{2, 0, 0, 2, 10, 10};
    surface.SetTransform(&transform);
    surface.SetColor(kRed);
    surface.SetPixel(1.75, -3.2);
    surface.SetPixel(0, 0, MakeColor(0, 0, 255));
    EXPECT_EQ(LitPixels(image), (std::vector<QPoint>{{13, 3}, {10, 10}}));
    EXPECT_EQ(image.pixel(13, 3), 0xffff0000u);
    EXPECT_EQ(image.pixel(10, 10), 0xff0000ffu);
    EXPECT_EQ(surface.Pixels(), 2);
}

TEST(RasterSurface, LinesLeavingTheImageAreCutNotWrapped)
{
    QImage image = WhiteImage(20, 20);
    RasterSurface surface(image);
    surface.Line(-100, 10, 100, 10);
    surface.Line(-5, -5, -1, 30);                 // wholly outside
    surface.Line(5, -1e12, 5, 1e12);              // far beyond any device
    surface.Line(std::nan(""), 0, 1e300, -1e300); // nonsense stays harmless
    int row = 0;
    int column = 0;
    for (QPoint p : LitPixels(image)) {
        row += p.y() == 10 ? 1 : 0;
        column += p.x() == 5 ? 1 : 0;
    }
    EXPECT_EQ(row, 20);
    EXPECT_GE(column, 20);
}

TEST(RasterSurface, EightBitImagesGetTheirColoursInTheTable)
{
    QImage image(16, 16, QImage::Format_Indexed8);
    image.setColorTable({0xff000000});
    RasterSurface surface(image);
    surface.Fill(MakeColor(0, 0, 255));
    surface.SetPenColor(kRed);
    surface.Line(0, 0, 15, 15);
    EXPECT_EQ(image.pixel(0, 5), 0xff0000ffu);
    EXPECT_EQ(image.pixel(7, 7), 0xffff0000u);
    EXPECT_EQ(image.colorCount(), 3);
}

TEST(RasterSurface, AFullColourTableGivesTheNearestColourItHas)
{
    // 255 greys and one dark red: no room for another colour.
    QList<QRgb> table;
    for (int i = 0; i < 255; ++i) {
        table.push_back(qRgb(i, i, i));
    }
    table.push_back(qRgb(200, 0, 0));
    QImage image(8, 8, QImage::Format_Indexed8);
    image.setColorTable(table);
    image.fill(0);
    RasterSurface surface(image);
    surface.SetPenColor(kRed);
    surface.Line(0, 0, 7, 0);
    surface.SetPixel(3, 3, MakeColor(0, 255, 0)); // nearest: grey 85
    surface.SetColor(MakeColor(17, 17, 17));      // in the table already
    surface.SetPixel(5, 5);
    EXPECT_EQ(image.colorCount(), 256);
    EXPECT_EQ(image.pixel(7, 0), qRgb(200, 0, 0));
    EXPECT_EQ(image.pixel(3, 3), qRgb(85, 85, 85));
    EXPECT_EQ(image.pixel(5, 5), qRgb(17, 17, 17));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
}

// The share of `a`'s lit pixels that `b` lights within one pixel.
double Agreement(const QImage& a, const QImage& b, QRgb background = 0xffffffff)
{
    const std::vector<QPoint> lit = LitPixels(a, background);
    if (lit.empty()) {
        return 0.0;
    }
    int agreeing = 0;
    for (QPoint p : lit) {
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy) {
            for (int dx = -1; dx <= 1 && !near; ++dx) {
                const QPoint q = p + QPoint(dx, dy);
                near = b.valid(q) && (b.pixel(q) | 0xff000000) != (background | 0xff000000);
            }
        }
        agreeing += near ? 1 : 0;
    }
    return static_cast<double>(agreeing) / static_cast<double>(lit.size());
}

// Lines under a transform, with a mapping three pixels to the unit, against
// the painter surface over the same mapping: model point, transform,
// truncation to whole units, then the mapping. The transform changes in the
// middle of a chain, so the next line must not start at the end pixel the
// old transform gave.
TEST(RasterSurface, LinesUnderATransformMatchThePainterSurface)
{
    const AffineMap shear{1.3, -0.45, 0.5, 1.1, 6.7, 3.2};
    const AffineMap turn{0.2, 1.2, -1.1, 0.3, 20.9, 34.6};
    const QSize size(121, 120);
    const QPoint origin(0, 0);
    const QSize extent(40, 40);
    const auto draw = [&](DrawingSurface& surface, const auto& setTransform) {
        setTransform(&shear);
        surface.Line(0, 0, 20, 3);
        surface.Line(20, 3, 8, 22);
        surface.MoveTo(2, 18);
        surface.LineTo(25.7, 12.2);
        setTransform(&turn);
        surface.Line(25.7, 12.2, 9, 2);
        surface.LineTo(3.3, 14.9, kRed);
        setTransform(nullptr);
        surface.Line(3.3, 14.9, 39.9, 0.5);
    };

    QImage painted = WhiteImage(size.width(), size.height());
    {
        QPainter painter(&painted);
        IsotropicMapping mapping(painter, size, origin, extent);
        ScopedPen pen(&painter, kRed);
        GdiSurface surface(&painter);
        draw(surface, [&](const AffineMap* t) { surface.SetTransform(t); });
    }
    QImage direct = WhiteImage(size.width(), size.height());
    RasterSurface surface(direct);
    surface.SetMapping(ComputeIsotropic(size, origin, extent));
    surface.SetPenColor(kRed);
    draw(surface, [&](const AffineMap* t) { surface.SetTransform(t); });

    ASSERT_GT(LitPixels(direct).size(), 200u);
    EXPECT_GE(Agreement(direct, painted), 0.99);
    EXPECT_GE(Agreement(painted, direct), 0.99);
    // The first line's start, the last line's end, and the start of the
    // line drawn after the transform changed: whole units times three.
    for (const QPoint end : {QPoint(18, 9), QPoint(117, 0), QPoint(120, 27)}) {
        EXPECT_EQ(direct.pixel(end), 0xffff0000u) << end.x() << "," << end.y();
        EXPECT_EQ(painted.pixel(end), 0xffff0000u) << end.x() << "," << end.y();
    }
}

TEST(RasterSurface, ArrowsAreFilledAndCirclesHollow)
{
    QImage image = WhiteImage(40, 40);
    RasterSurface surface(image);
    surface.Arrow({30, 20}, {0, 0}, 10, kRed);
    surface.Circle(10, 10, 6, kRed);
    EXPECT_EQ(image.pixel(26, 20), 0xffff0000u);
    EXPECT_EQ(image.pixel(31, 20), 0xffffffffu);
    EXPECT_EQ(image.pixel(10, 10), 0xffffffffu);
    EXPECT_EQ(image.pixel(16, 10), 0xffff0000u);
    EXPECT_EQ(image.pixel(10, 4), 0xffff0000u);
}

// Our rasteriser against the painter on presets of every kind, at odd sizes
// and zooms: the two light the same pixels, give or take one.
TEST(RasterSurface, AgreesWithThePainterOnPresets)
{
    DisplaySettings settings;
    const QRgb background = ToQColor(settings.Background()).rgb();
    struct Case
    {
        int kind;
        int index;
        int days;
        QSize size;
        double zoom;
    };
    const Case cases[] = {{0, 9, 5, {300, 300}, 1.0},   {0, 12, 3, {256, 200}, 0.8},
                          {1, 8, 7, {220, 310}, 1.3},   {2, 0, 6, {300, 300}, 1.0},
                          {3, 1, 6, {257, 190}, 1.0},   {4, 10, 14, {400, 300}, 1.0},
                          {4, 10, 12, {200, 200}, 0.6}, {4, 18, 6, {333, 222}, 1.1}};
    for (const Case& c : cases) {
        FractalPtr fractal = CreatePreset(c.kind, c.index);
        ASSERT_TRUE(fractal) << c.kind << ":" << c.index;
        fractal->m_days = c.days;
        ASSERT_TRUE(fractal->PrepareBounds(nullptr, nullptr, nullptr));
        QImage painted(c.size, QImage::Format_RGB32);
        QImage direct(c.size, QImage::Format_RGB32);
        PaintOptions options;
        PaintFractal(painted, *fractal, c.zoom, settings, nullptr, nullptr, options);
        options.path = FractalPath::Direct;
        PaintFractal(direct, *fractal, c.zoom, settings, nullptr, nullptr, options);
        ASSERT_GT(LitPixels(direct, background).size(), 50u) << fractal->m_name;
        EXPECT_GE(Agreement(direct, painted, background), 0.99) << fractal->m_name;
        EXPECT_GE(Agreement(painted, direct, background), 0.99) << fractal->m_name;
    }
}

} // namespace
