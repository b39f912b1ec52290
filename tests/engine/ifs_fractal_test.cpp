#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "engine/ifs_fractal.h"
#include "tests/engine/recording_surface.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// x' = x/2 and x' = x/2 + 1/2: the two halves of the unit interval.
const AffineMap kHalves[] = {{0.5, 0, 0, 0.5, 0, 0}, {0.5, 0, 0, 0.5, 0.5, 0}};

std::vector<Point> Pixels(CIfsFractal& f)
{
    RecordingSurface surface;
    EXPECT_TRUE(f.Draw(surface, nullptr));
    std::vector<Point> points;
    for (const SurfaceCall& call : surface.calls) {
        EXPECT_EQ(call.op, SurfaceOp::SetPixel);
        points.push_back(call.a);
    }
    return points;
}

TEST(IfsFractal, IteratesEverySequenceOfMapsFromTheOrigin)
{
    CIfsFractal one("one", 1, AffineMapSet(1, &kHalves[1]));
    ASSERT_FALSE(one.m_bad);
    EXPECT_EQ(Pixels(one), (std::vector<Point>{{0.5, 0}}));
    one.m_days = 2;
    EXPECT_EQ(Pixels(one), (std::vector<Point>{{0.75, 0}}));
    one.m_bounds.scale = 4; // translations scaled: the same points, magnified
    EXPECT_EQ(Pixels(one), (std::vector<Point>{{3, 0}}));

    // The top-level map varies slowest and is applied first.
    CIfsFractal two("two", 2, AffineMapSet(2, kHalves));
    EXPECT_EQ(Pixels(two), (std::vector<Point>{{0, 0}, {0.5, 0}, {0.25, 0}, {0.75, 0}}));
    two.m_days = 10;
    EXPECT_EQ(Pixels(two).size(), 1024u);

    // Measured at its own days when asked for none; never drawn without days.
    two.m_days = 3;
    FractalBounds box;
    EXPECT_TRUE(two.ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_EQ(box, (FractalBounds{0, 0, 0, 0.875, 1.0, true}));
    two.m_days = 0;
    RecordingSurface none;
    EXPECT_FALSE(two.Draw(none, nullptr));
    EXPECT_TRUE(none.calls.empty());
}

TEST(IfsFile, SavesTheHeaderAndTheMapsAndReadsThemBack)
{
    CIfsFractal two("two halves", 7, AffineMapSet(2, kHalves));
    std::stringstream s;
    CTextArchive ar(s);
    EXPECT_TRUE(two.Save(ar));
    EXPECT_EQ(s.str(), "[type] ifs\n[name] two halves\n[ndays] 7\n"
                       "[affine] 2\n( 0.5,0,0,0.5 ) ( 0,0 )\n( 0.5,0,0,0.5 ) ( 0.5,0 )\n");
    FractalPtr back;
    ASSERT_TRUE(CreateFractal(back, ar));
    EXPECT_EQ(back->m_name, "two halves");
    EXPECT_EQ(*back->GetAffineMaps(), AffineMapSet(2, kHalves));

    std::stringstream missing("[type] ifs\n[name] none\n[ndays] 7\n");
    CTextArchive missingAr(missing);
    EXPECT_FALSE(CreateFractal(back, missingAr));
    EXPECT_TRUE(back->m_bad);
}

TEST(IfsFractal, OverlaysShowTheFirstTwoStepsSpreadOverTheDays)
{
    const AffineMap maps[] = {{0.5, 0, 0, 0.5, 30, 0}, {0.5, 0, 0, 0.5, 0, 30}};
    CIfsFractal f("f", 2, AffineMapSet(2, maps));
    f.m_bounds.scale = 4; // a step of 2 per unit of translation
    const ColorPair colors{0x11, 0x22};

    RecordingSurface first;
    f.DrawInitiatorOverlay(first, colors);
    ASSERT_EQ(first.calls.size(), 7u); // arrow, line, image per map; the origin
    EXPECT_EQ(first.calls[0].size, 3);
    EXPECT_EQ(first.calls[1].b, (Point{60, 0}));
    EXPECT_EQ(first.calls[1].color, Color{0x11});
    EXPECT_EQ(first.calls[5].a, (Point{0, 60}));
    EXPECT_EQ(first.calls[5].index, 1);
    EXPECT_EQ(first.calls[6].a, (Point{0, 0}));
    EXPECT_EQ(first.calls[6].index, 9);

    RecordingSurface second;
    f.DrawGeneratorOverlay(second, colors);
    const auto lines = second.Of(SurfaceOp::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].a, (Point{60, 0}));
    EXPECT_EQ(lines[1].b, (Point{30, 60}));
    EXPECT_EQ(lines[1].color, Color{0x22});
    EXPECT_EQ(second.Of(SurfaceOp::Image)[1].index, 8);

    // No days yet: shown as at one day instead of divided by zero.
    f.m_days = 0;
    RecordingSurface zero;
    f.DrawInitiatorOverlay(zero, colors);
    EXPECT_EQ(zero.calls[1].b, (Point{120, 0}));
}

} // namespace
