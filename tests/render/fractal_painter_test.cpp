#include "render/fractal_painter.h"

#include "render/isotropic_mapping.h"
#include "test_support.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

FractalBounds Bounds(double minX, double maxX, double minY, double maxY, double scale = 1.0)
{
    return {minY, maxY, minX, maxX, scale, true};
}

TEST(PaintGeometry, ZoomShowsMoreAboutTheCentre)
{
    const PaintGeometry g = ComputePaintGeometry(Bounds(0, 100, 0, 50), 1.2, QSize(240, 120));
    ASSERT_TRUE(g.paintable);
    EXPECT_DOUBLE_EQ(g.x0, -10);
    EXPECT_DOUBLE_EQ(g.y0, -5);
    EXPECT_DOUBLE_EQ(g.width, 120);
    EXPECT_DOUBLE_EQ(g.height, 60);
    // (z - 1) * 0.5 is a hair under 0.1 in doubles: truncation toward zero
    // then takes the window's origin to -9, -4.
    EXPECT_EQ(g.windowOrigin, QPoint(-9, -4));
    EXPECT_EQ(g.windowExtent, QSize(120, 60));
}

TEST(PaintGeometry, FitsUniformlyAndCentres)
{
    const PaintGeometry g = ComputePaintGeometry(Bounds(0, 100, 0, 100), 1.0, QSize(400, 100));
    EXPECT_DOUBLE_EQ(g.s, 1.0);
    EXPECT_EQ(g.ox, 150);
    EXPECT_EQ(g.oy, 0);
    EXPECT_EQ(g.overlayTransform, (AffineMap{1, 0, 0, 1, 150, 0}));
    // Scaled bounds are drawn in scaled units; the fit undoes the scale.
    const PaintGeometry h =
        ComputePaintGeometry(Bounds(-1, 1, -0.5, 0.5, 100), 1.0, QSize(101, 33));
    EXPECT_DOUBLE_EQ(h.x0, -100);
    EXPECT_DOUBLE_EQ(h.s, 0.33);
    EXPECT_EQ(h.ox, 17); // truncate((101 - 66) / 2)
    EXPECT_EQ(h.oy, 0);
}

TEST(PaintGeometry, FlatOrEndlessFiguresAreNotPainted)
{
    EXPECT_FALSE(ComputePaintGeometry(Bounds(0, 100, 7, 7), 1.0, QSize(100, 100)).paintable);
    EXPECT_FALSE(ComputePaintGeometry(Bounds(3, 3, 0, 100), 1.0, QSize(100, 100)).paintable);
    EXPECT_FALSE(ComputePaintGeometry(Bounds(0, INFINITY, 0, 1), 1.0, QSize(100, 100)).paintable);
}

TEST(IsotropicMapping, TakesTheSmallerScaleAndCentres)
{
    const IsotropicParams p = ComputeIsotropic(QSize(200, 100), QPoint(5, 7), QSize(50, 50));
    EXPECT_DOUBLE_EQ(p.scale, 2.0);
    EXPECT_EQ(p.viewportOrigin, QPoint(50, 0));
    EXPECT_DOUBLE_EQ(p.DeviceX(5), 50);
    EXPECT_DOUBLE_EQ(p.DeviceY(57), 100);
    // A zero extent does not count; both zero maps one unit to one pixel.
    const IsotropicParams flat = ComputeIsotropic(QSize(200, 100), QPoint(0, 0), QSize(0, 10));
    EXPECT_DOUBLE_EQ(flat.scale, 10.0);
    EXPECT_EQ(flat.viewportOrigin, QPoint(100, 0));
    EXPECT_DOUBLE_EQ(ComputeIsotropic(QSize(9, 9), QPoint(), QSize(0, 0)).scale, 1.0);
}

TEST(IsotropicMapping, PutsThePaintersMappingBackAlsoWhenStopped)
{
    QImage image = WhiteImage(100, 50);
    QPainter painter(&image);
    const QTransform before = painter.combinedTransform();
    try {
        IsotropicMapping mapping(painter, image.size(), QPoint(-10, 0), QSize(20, 10));
        EXPECT_EQ(painter.combinedTransform().map(QPointF(-10, 0)), QPointF(0, 0));
        EXPECT_EQ(painter.combinedTransform().map(QPointF(10, 10)), QPointF(100, 50));
        throw -1;
    } catch (int) {
    }
    EXPECT_EQ(painter.combinedTransform(), before);
    EXPECT_FALSE(painter.viewTransformEnabled());
}

TEST(ScaleColor, ScalesTruncatesAndLimitsEachChannel)
{
    EXPECT_EQ(ScaleColor(0x808080, 0.5), 0x404040u);
    EXPECT_EQ(ScaleColor(MakeColor(255, 3, 101), 0.5), MakeColor(127, 1, 50));
    EXPECT_EQ(ScaleColor(0xff123456, 1.0), 0x123456u); // nothing in the top byte
    EXPECT_EQ(ScaleColor(MakeColor(200, 100, 0), 2.0), MakeColor(255, 200, 0));
    EXPECT_EQ(ScaleColor(MakeColor(200, 100, 1), -1.0), 0u);
}

// Paints a fractal in the view's colours and reports the colours found.
class PaintFractalTest : public ::testing::Test
{
protected:
    DisplaySettings settings;
    void SetUp() override
    {
        settings.colors[0] = MakeColor(0, 0, 255);
        settings.colors[1] = MakeColor(255, 0, 0);
    }
};

TEST_F(PaintFractalTest, BackgroundWhereNothingIsDrawnAndTheFractalColourOnIt)
{
    FractalPtr koch = FractalFromText(kKochText);
    ASSERT_TRUE(koch);
    koch->m_days = 1;
    ASSERT_TRUE(koch->PrepareBounds(nullptr, nullptr, nullptr));
    for (FractalPath path : {FractalPath::Painter, FractalPath::Direct}) {
        QImage image = WhiteImage(120, 120);
        PaintCounts counts;
        PaintOptions options;
        options.path = path;
        options.counts = &counts;
        ASSERT_TRUE(PaintFractal(image, *koch, 1.0, settings, nullptr, nullptr, options));
        EXPECT_EQ(counts.lines, 12);
        EXPECT_EQ(image.pixel(0, 0), 0xff0000ffu);
        EXPECT_EQ(image.pixel(60, 60), 0xff0000ffu);
        // The star of the first day is taller than wide: it spans the whole
        // height and is centred across.
        int reds = 0;
        int top = 120, bottom = -1, left = 120, right = -1;
        for (QPoint p : LitPixels(image, 0xff0000ff)) {
            ASSERT_EQ(image.pixel(p), 0xffff0000u);
            ++reds;
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
            left = std::min(left, p.x());
            right = std::max(right, p.x());
        }
        EXPECT_GT(reds, 200);
        EXPECT_LE(top, 1);
        EXPECT_GE(bottom, 117);
        EXPECT_NEAR(left, 119 - right, 2);
        EXPECT_GT(left, 5);
    }
}

TEST_F(PaintFractalTest, DegenerateBoundsLeaveTheImageAlone)
{
    FractalPtr koch = FractalFromText(kKochText);
    koch->m_bounds = Bounds(0, 10, 5, 5);
    QImage image = WhiteImage(20, 20);
    EXPECT_FALSE(PaintFractal(image, *koch, 1.0, settings, nullptr, nullptr));
    EXPECT_TRUE(LitPixels(image).empty());
}

TEST_F(PaintFractalTest, OverlaysComeFirstAndTheFractalFlagCanBeOff)
{
    FractalPtr koch = FractalFromText(kKochText);
    koch->m_days = 2;
    ASSERT_TRUE(koch->PrepareBounds(nullptr, nullptr, nullptr));
    const ImageList markers(DefaultMarkerStrip(), kMarkerSize);
    settings.flags = kShowInitiator;
    QImage overlayOnly = WhiteImage(100, 100);
    ASSERT_TRUE(PaintFractal(overlayOnly, *koch, 1.2, settings, &markers, nullptr));
    bool initiatorColour = false;
    for (QPoint p : LitPixels(overlayOnly, 0xff0000ff)) {
        initiatorColour =
            initiatorColour || overlayOnly.pixel(p) == ToQColor(settings.InitiatorColor()).rgb();
        EXPECT_NE(overlayOnly.pixel(p), 0xffff0000u); // no fractal
    }
    EXPECT_TRUE(initiatorColour);
}

TEST_F(PaintFractalTest, AStoppedDrawingPassesTheStopAndRestoresThePainter)
{
    FractalPtr dragon = FractalFromText(kDragonText);
    ASSERT_TRUE(dragon->PrepareBounds(nullptr, nullptr, nullptr));
    const StopFlag stop{true};
    QImage image = WhiteImage(64, 64);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 2));
    EXPECT_THROW(PaintFractal(painter, image.size(), *dragon, 1.0, settings, nullptr, &stop), int);
    EXPECT_EQ(painter.pen(), QPen(Qt::green, 2));
    EXPECT_FALSE(painter.viewTransformEnabled());
    painter.end();
    QImage direct = WhiteImage(64, 64);
    PaintOptions options;
    options.path = FractalPath::Direct;
    EXPECT_THROW(PaintFractal(direct, *dragon, 1.0, settings, nullptr, &stop, options), int);
}

TEST_F(PaintFractalTest, PrintFillsTheBoundsAndDrawsInBlack)
{
    FractalPtr koch = FractalFromText(kKochText);
    koch->m_days = 1;
    ASSERT_TRUE(koch->PrepareBounds(nullptr, nullptr, nullptr));
    QImage page = WhiteImage(100, 300);
    {
        QPainter painter(&page);
        PrintFractal(painter, page.size(), *koch, MakeColor(0, 0, 255));
    }
    // Wider than tall: the page's width is used and the figure centred.
    EXPECT_EQ(page.pixel(50, 2), 0xffffffffu);
    EXPECT_EQ(page.pixel(50, 298), 0xffffffffu);
    int black = 0;
    int blue = 0;
    for (QPoint p : LitPixels(page)) {
        black += page.pixel(p) == 0xff000000u ? 1 : 0;
        blue += page.pixel(p) == 0xff0000ffu ? 1 : 0;
    }
    EXPECT_GT(black, 100);
    EXPECT_GT(blue, 1000);
}

} // namespace
