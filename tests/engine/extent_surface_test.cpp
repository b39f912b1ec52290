#include "surface/extent_surface.h"

#include <gtest/gtest.h>

namespace {

TEST(ExtentSurface, GrowsFromTheFirstPoint)
{
    ExtentSurface s;
    s.Line(-3, -4, -1, -2);
    const FractalBounds b = s.Bounds();
    // Negative points only: the box does not stretch to the origin.
    EXPECT_EQ(b, (FractalBounds{-4, -2, -3, -1, 1.0, true}));
}

TEST(ExtentSurface, CirclesAddTheirSquareAndArrowsTheirBase)
{
    ExtentSurface s;
    s.Circle(0, 0, 1, 0xff);
    EXPECT_EQ(s.Bounds(), (FractalBounds{-1, 1, -1, 1, 1.0, true}));
    s.Arrow({5, 5}, {0, 100}, 30);
    EXPECT_EQ(s.Bounds(), (FractalBounds{-1, 5, -1, 5, 1.0, true}));
}

TEST(ExtentSurface, MovesAndPixelsCountButColoursDoNot)
{
    ExtentSurface s;
    s.MoveTo(10, -10);
    s.SetPixel(-2, 3, 0x123456);
    s.LineTo(4, 20);
    EXPECT_EQ(s.Bounds(), (FractalBounds{-10, 20, -2, 10, 1.0, true}));
    EXPECT_EQ(s.GetTransform(), nullptr);
}

TEST(ExtentSurface, NothingDrawnGivesTheEmptyBoxAtTheOrigin)
{
    ExtentSurface s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Bounds(), (FractalBounds{0, 0, 0, 0, 1.0, true}));
}

} // namespace
