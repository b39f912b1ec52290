#include "core/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectNear(Point a, Point b, double eps = 1e-9)
{
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
}

TEST(Geometry, PolarFormCoversEveryQuadrantAndTheAxes)
{
    EXPECT_EQ(ToPolar({0, 0}), (Polar{pi / 2, 0}));
    EXPECT_EQ(ToPolar({0, -3}), (Polar{-pi / 2, 3}));
    EXPECT_EQ(ToPolar({-1, 0}), (Polar{pi, 1}));
    const Polar diagonal = ToPolar({1, -1});
    EXPECT_DOUBLE_EQ(diagonal.angle, -pi / 4);
    EXPECT_DOUBLE_EQ(diagonal.length, std::sqrt(2.0));
    // Left half-plane angles land above pi/2, never negative.
    EXPECT_DOUBLE_EQ(ToPolar({-1, -1}).angle, 5 * pi / 4);
    ExpectNear(FromPolar(ToPolar({-3, 4})), {-3, 4});
}

TEST(Geometry, ComposeAppliesTheRightOperandFirst)
{
    const AffineMap scale{2, 0, 0, 2, 0, 0};
    const AffineMap shift{1, 0, 0, 1, 5, 0};
    Point p{1, 1};
    Apply(Compose(shift, scale), p);
    EXPECT_EQ(p, (Point{7, 2}));
    const AffineMap m{0.3, -0.2, 0.7, 0.1, 4, -5};
    EXPECT_EQ(Compose(m, kIdentityMap), m);
    EXPECT_EQ(Compose(kIdentityMap, m), m);
}

TEST(Geometry, FrameConversionsRoundTrip)
{
    const AffineMap m{0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
    EXPECT_EQ(MapFromFrame(FrameFromMap(m)), m);

    const Segment horizontal{{10, 20}, {110, 20}};
    const MapFrame view = FrameToView(FrameFromMap(kIdentityMap), {0, 0}, horizontal);
    ExpectNear(view.u, {110, 20});
    ExpectNear(view.v, {10, 120});
    ExpectNear(view.w, {10, 20});

    const Segment slanted{{-4, 7}, {30, -12}};
    const MapFrame f = FrameFromMap(m);
    const Point t{m.e, m.f};
    const MapFrame back = FrameFromView(FrameToView(f, t, slanted), t, slanted);
    ExpectNear(back.u, f.u);
    ExpectNear(back.v, f.v);
    ExpectNear(back.w, f.w);
}

TEST(Geometry, MirrorAndQuarterTurnAreInvolutionsOfTheirOrder)
{
    const Segment ref{{3, 5}, {43, 35}};
    const Point t{0.25, -0.5};
    const Point p{17, -9};
    ExpectNear(MirrorInFrame(MirrorInFrame(p, t, ref), t, ref), p);
    Point q = p;
    for (int i = 0; i < 4; ++i) {
        q = QuarterTurnInFrame(q, t, ref);
    }
    ExpectNear(q, p);

    // With a horizontal reference the mirror swaps local coordinates.
    const Segment unit{{0, 0}, {1, 0}};
    ExpectNear(MirrorInFrame({0.2, 0.7}, {0, 0}, unit), {0.7, 0.2});
    ExpectNear(QuarterTurnInFrame({0.2, 0.7}, {0, 0}, unit), {-0.7, 0.2});
}

} // namespace
