#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "engine/mcrm_fractal.h"
#include "tests/engine/recording_surface.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

const AffineMap kHalf{0.5, 0, 0, 0.5, 0, 0};
const AffineMap kShift{1, 0, 0, 1, 1, 0};

void ExpectNear(Point p, Point q)
{
    EXPECT_NEAR(p.x, q.x, 1e-12);
    EXPECT_NEAR(p.y, q.y, 1e-12);
}

TEST(McrmFractal, PresetRunsThreeDaysFewerThanItsIfs)
{
    const AffineMap maps[] = {kHalf, kShift};
    const IfsPreset ifs{"pair", 12, 2, maps};
    CMcrmFractal f(McrmPreset{&ifs, 5});
    EXPECT_FALSE(f.m_bad);
    EXPECT_EQ(f.m_days, 9);
    EXPECT_EQ(f.m_type, "mcrm");
    EXPECT_EQ(*f.GetGenerator(), Pattern::Polygon(5, true));
}

TEST(McrmFractal, TheFigureStartsAtTheOriginPointingDown)
{
    // One identity copy is the figure itself, flags ignored.
    Pattern square = Pattern::Polygon(4, true);
    square[1].flags = StepInvisible | StepFinal;
    CMcrmFractal f("square", 1, AffineMapSet(1, &kIdentityMap), square);
    f.m_bounds.scale = 3;
    RecordingSurface surface;
    EXPECT_TRUE(f.Draw(surface, nullptr));
    ASSERT_EQ(surface.Count(SurfaceOp::Line), 4u);
    ExpectNear(surface.calls[0].a, {0, 0});
    ExpectNear(surface.calls[0].b, {0, 3});
    ExpectNear(surface.calls[1].b, {-3, 3});
    ExpectNear(surface.calls[2].b, {-3, 0});
    ExpectNear(surface.calls[3].b, {0, 0});

    // Depth 0 is measured (not drawn) as the bare figure.
    f.m_days = 0;
    FractalBounds box;
    EXPECT_TRUE(f.ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_NEAR(box.minX, -3, 1e-12);
    EXPECT_NEAR(box.maxY, 3, 1e-12);
    EXPECT_FALSE(f.Draw(surface, nullptr));
}

TEST(McrmFractal, CopiesThroughEveryProductTopLevelMapFirst)
{
    const AffineMap maps[] = {kHalf, kShift};
    Pattern down;
    down.Steps() = {{0, 0, 1}};
    CMcrmFractal f("pair", 2, AffineMapSet(2, maps), down);
    f.m_bounds.scale = 2; // translations scaled with the figure
    RecordingSurface surface;
    f.Draw(surface, nullptr);
    ASSERT_EQ(surface.calls.size(), 4u);
    ExpectNear(surface.calls[0].b, {0, 0.5}); // half, then half
    ExpectNear(surface.calls[1].a, {2, 0});   // half, then shift
    ExpectNear(surface.calls[2].b, {1, 1});   // shift, then half
    ExpectNear(surface.calls[3].b, {4, 2});   // shift, then shift
}

TEST(McrmFractal, CountsOneElementPerCopy)
{
    const AffineMap maps[] = {kHalf, kShift, kIdentityMap};
    CMcrmFractal f("three", 2, AffineMapSet(3, maps), Pattern::Polygon(3, false));
    f.m_progressPeriod = 1;
    int calls = 0;
    FractalBounds box;
    f.ComputeBounds(
        2, box, nullptr, [](void* n) { ++*static_cast<int*>(n); }, &calls);
    EXPECT_EQ(calls, 9);

    RecordingSurface surface;
    f.Draw(surface, nullptr);
    EXPECT_EQ(surface.Count(SurfaceOp::Line), 27u);
}

TEST(McrmFile, SavesMapsThenGeneratorAndNeedsBoth)
{
    CMcrmFractal f("m", 4, AffineMapSet(1, &kShift), Pattern::Polygon(2, true));
    std::stringstream s;
    CTextArchive ar(s);
    EXPECT_TRUE(f.Save(ar));
    EXPECT_EQ(s.str(), "[type] mcrm\n[name] m\n[ndays] 4\n[affine] 1\n( 1,0,0,1 ) ( 1,0 )\n"
                       "[generator] 2\n0,0,1\n0,3.14159,1\n");
    FractalPtr back;
    ASSERT_TRUE(CreateFractal(back, ar));
    EXPECT_EQ(back->m_type, "mcrm");
    EXPECT_EQ(back->GetGenerator()->size(), 2u);

    std::stringstream missing("[type] mcrm\n[name] m\n[ndays] 4\n[affine] 1\n"
                              "( 1,0,0,1 ) ( 1,0 )\n");
    CTextArchive missingAr(missing);
    EXPECT_FALSE(CreateFractal(back, missingAr));
    EXPECT_TRUE(back->m_bad);
    EXPECT_EQ(back->GetAffineMaps()->size(), 1u);
}

} // namespace
