#include "render/gdi_surface.h"

#include "test_support.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr Color kRed = MakeColor(255, 0, 0);
constexpr QRgb kRedRgb = 0xffff0000;

class GdiSurfaceTest : public ::testing::Test
{
protected:
    QImage image = WhiteImage(40, 40);
    QPainter painter{&image};
    GdiSurface surface{&painter};

    std::vector<QPoint> Lit()
    {
        painter.end();
        return LitPixels(image);
    }
};

TEST_F(GdiSurfaceTest, TruncatesTowardZeroWithoutTransform)
{
    surface.Line(0.9, 0.9, -0.9, 2.7);
    EXPECT_EQ(Lit(), (std::vector<QPoint>{{0, 0}, {0, 1}, {0, 2}}));
}

TEST_F(GdiSurfaceTest, AppliesTheTransformInDoublesThenTruncates)
{
    const AffineMap transform{2, 0, 0, 2, 10, 10};
    surface.SetTransform(&transform);
    EXPECT_EQ(surface.GetTransform(), &transform);
    surface.SetPixel(1.75, -3.2, kRed);
    painter.end();
    EXPECT_EQ(LitPixels(image), (std::vector<QPoint>{{13, 3}}));
    EXPECT_EQ(image.pixel(13, 3), kRedRgb);
}

TEST_F(GdiSurfaceTest, SetPixelWithoutColourUsesTheCurrentColourNotThePen)
{
    painter.setPen(Qt::blue);
    surface.SetColor(kRed);
    surface.SetPixel(5, 6);
    painter.end();
    EXPECT_EQ(image.pixel(5, 6), kRedRgb);
}

TEST_F(GdiSurfaceTest, LineToStartsAtTheCurrentPosition)
{
    surface.MoveTo(2.5, 3.9);
    surface.LineTo(5, 3);
    // A Line leaves the position at its end.
    surface.Line(10, 10, 10, 12);
    surface.LineTo(12, 12);
    EXPECT_EQ(
        Lit(),
        (std::vector<QPoint>{
            {2, 3}, {3, 3}, {4, 3}, {5, 3}, {10, 10}, {10, 11}, {10, 12}, {11, 12}, {12, 12}}));
}

TEST_F(GdiSurfaceTest, ArrowIsAFilledTriangleWithItsTipAtTheEndOfTheVector)
{
    // A zero vector puts the tip at p; the triangle opens toward negative x.
    surface.Arrow({30, 20}, {0, 0}, 10, kRed);
    const std::vector<QPoint> lit = Lit();
    ASSERT_FALSE(lit.empty());
    int minX = 100, maxX = -1;
    for (QPoint p : lit) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
    }
    EXPECT_EQ(maxX, 30);
    EXPECT_EQ(minX, 30 - 9);                 // the side is 10 at 30 degrees: 8.66 across
    EXPECT_EQ(image.pixel(26, 20), kRedRgb); // filled inside
}

TEST_F(GdiSurfaceTest, CircleIsAnOutlineOnly)
{
    painter.setBrush(Qt::black);
    surface.Circle(20, 20, 10, kRed);
    painter.end();
    EXPECT_EQ(image.pixel(20, 20), 0xffffffff);
    EXPECT_EQ(image.pixel(10, 20), kRedRgb);
    EXPECT_EQ(image.pixel(20, 10), kRedRgb);
}

// A surface whose uncoloured shapes are abandoned like a stopped drawing.
class StoppingSurface : public GdiSurface
{
public:
    using GdiSurface::Arrow;
    using GdiSurface::Circle;
    using GdiSurface::GdiSurface;
    void Arrow(Point, Polar, int) override { throw -1; }
    void Circle(double, double, double) override { throw -1; }
};

TEST(GdiSurfaceScopes, PenAndBrushComeBackWhenTheStopExceptionPasses)
{
    QImage image = WhiteImage(10, 10);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 3));
    painter.setBrush(Qt::blue);
    StoppingSurface surface(&painter);
    // The coloured forms reach the figure through their neighbour's slot.
    EXPECT_THROW(surface.Arrow({1, 1}, {0, 5}, 4, kRed), int);
    EXPECT_EQ(painter.pen(), QPen(Qt::green, 3));
    EXPECT_EQ(painter.brush(), QBrush(Qt::blue));
    EXPECT_THROW(surface.Circle(5, 5, 2, kRed), int);
    EXPECT_EQ(painter.pen(), QPen(Qt::green, 3));
    EXPECT_EQ(painter.brush(), QBrush(Qt::blue));
}

TEST(GdiSurfaceScopes, ColouredLinesLeaveThePenAsItWas)
{
    QImage image = WhiteImage(10, 10);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 0));
    GdiSurface surface(&painter);
    surface.Line(0, 0, 5, 0, kRed);
    surface.LineTo(5, 5, kRed);
    surface.Line(0, 9, 9, 9);
    EXPECT_EQ(painter.pen(), QPen(Qt::green, 0));
    painter.end();
    EXPECT_EQ(image.pixel(3, 0), kRedRgb);
    EXPECT_EQ(image.pixel(5, 3), kRedRgb);
    EXPECT_EQ(image.pixel(4, 9), 0xff00ff00);
}

TEST(GdiSurfaceBatching, BatchedModesPaintWhatSingleCallsPaint)
{
    const auto paint = [](GdiSurface::Batching mode, bool pixels) {
        QImage image = WhiteImage(64, 64);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black, 0));
        GdiSurface surface(&painter);
        surface.SetBatching(mode);
        surface.SetColor(kRed);
        for (int i = 0; i < 30; ++i) {
            surface.Line(i * 2, 10 + (i % 5), i * 2 + 2, 10 + ((i + 1) % 5));
            if (pixels) {
                surface.SetPixel(i * 2, 40);
            }
            if (i % 7 == 0) {
                surface.MoveTo(i, 50);
            }
            surface.LineTo(i + 1, 50 + (i % 3));
        }
        surface.Flush();
        return image;
    };
    EXPECT_EQ(paint(GdiSurface::Batching::Lines, true), paint(GdiSurface::Batching::None, true));
    // Paths are for vector devices, where pixels become dots of the pen; the
    // lines are the same as one at a time.
    EXPECT_EQ(paint(GdiSurface::Batching::Path, false), paint(GdiSurface::Batching::None, false));
}

TEST(TruncateToDevice, LimitsWhatNoDeviceCanHold)
{
    EXPECT_EQ(TruncateToDevice(-2.7), -2);
    EXPECT_EQ(TruncateToDevice(2.7), 2);
    EXPECT_EQ(TruncateToDevice(1e300), kDeviceCoordinateLimit);
    EXPECT_EQ(TruncateToDevice(-1e300), -kDeviceCoordinateLimit);
    EXPECT_EQ(TruncateToDevice(std::nan("")), 0);
}

} // namespace
