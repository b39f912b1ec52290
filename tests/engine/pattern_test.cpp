#include "core/text_archive.h"
#include "engine/pattern.h"
#include "tests/engine/recording_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace {

template <typename T> std::string Saved(const T& model)
{
    std::stringstream s;
    CTextArchive ar(s);
    EXPECT_TRUE(model.Save(ar));
    return s.str();
}

template <typename T> T Read(const std::string& text)
{
    std::stringstream s(text);
    CTextArchive ar(s);
    return T(ar);
}

void ExpectNear(Point p, Point q)
{
    EXPECT_NEAR(p.x, q.x, 1e-12);
    EXPECT_NEAR(p.y, q.y, 1e-12);
}

TEST(PatternFile, WritesOneLinePerStepAndReadsBackRounded)
{
    Pattern p;
    p.Steps() = {{6, pi / 6, 0.2}, {0, 0.0, 1.0 / 3.0}};
    EXPECT_EQ(Saved(p), "[generator] 2\n6,0.523599,0.2\n0,0,0.333333\n");
    const Pattern back = Read<Pattern>(Saved(p));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], (PatternStep{6, 0.523599, 0.2}));
    EXPECT_EQ(back[1].ratio, 0.333333);
}

TEST(PatternFile, DamagedSectionsKeepTheCompleteStepsBeforeTheDamage)
{
    const struct
    {
        const char* text;
        std::size_t steps;
    } cases[] = {
        {"[generator] 4\n0,0,1\n4,1,0.5\n0,2,1\n", 3}, // count larger than present
        {"[generator] 3\n0,0,1\n4 1,0.5\n0,2,1\n", 1}, // missing comma
        {"[generator] 2\n0,0,1\n0,1,", 1},             // last ratio cut off
        {"[generator] 2\n0,0,1\n0,1,x\n", 1},          // last ratio not a number
        {"[generator] -2\n0,0,1\n", 0},
        {"[Generator] 1\n0,0,1\n", 0},
    };
    for (const auto& c : cases) {
        const Pattern p = Read<Pattern>(c.text);
        ASSERT_EQ(p.size(), c.steps) << c.text;
        if (c.steps > 0) {
            EXPECT_EQ(p[0], (PatternStep{0, 0.0, 1.0})) << c.text;
        }
    }
}

TEST(Pattern, AppendTurnsPolygonsOntoTheLastStep)
{
    Pattern p;
    p.Steps() = {{0, 0.0, 1.0}, {4, pi / 2, 0.5}};
    Pattern square = Pattern::Polygon(4, true);
    p.Append(square);
    ASSERT_EQ(p.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(p[i + 1].angle, pi / 2 + i * pi / 2);
        EXPECT_EQ(p[i + 1].ratio, 0.5);
        EXPECT_DOUBLE_EQ(Pattern::Polygon(4, false)[i].angle, -i * pi / 2);
    }
    Pattern empty;
    empty.AppendPolygon(3, false);
    EXPECT_EQ(empty, Pattern::Polygon(3, false));
    EXPECT_TRUE(Pattern::Polygon(0, true).empty());

    const DirectedStep steps[] = {{4, 2, 0.5}, {0, 7, 1.0}};
    const Pattern compass(2, steps, 8);
    EXPECT_EQ(compass[0].flags, 4);
    EXPECT_DOUBLE_EQ(compass[0].angle, -pi / 2);
    EXPECT_DOUBLE_EQ(compass[1].angle, -7 * pi / 4);
}

TEST(PatternAndInitiators, ConvertIntoEachOther)
{
    const double x[] = {5, 7, 7}; // 2 along x, then 1 down
    const double y[] = {1, 1, 2};
    const Pattern p{InitiatorSet(2, x, y)};
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0], (PatternStep{0, 0.0, 1.0}));
    EXPECT_DOUBLE_EQ(p[1].angle, pi / 2);
    EXPECT_EQ(p[1].ratio, 0.5);

    ExpectNear(InitiatorSet(p).Segments().back().end, {1.0, 0.5});
    const InitiatorSet laid(p, {{1, 1}, {1, 5}});
    ExpectNear(laid.Segments().front().end, {1, 5});
    ExpectNear(laid.Segments().back().end, {-1, 5});

    // A first segment of no length cannot be the unit; nothing turns infinite.
    const double zx[] = {0, 0, 3};
    const double zy[] = {0, 0, 0};
    EXPECT_TRUE(std::isfinite(Pattern(InitiatorSet(2, zx, zy))[1].ratio));
}

TEST(InitiatorsFile, WritesPointLinesAndReadsThemBack)
{
    const double x[] = {0, 1, 0.5, 0};
    const double y[] = {0, 0, 1.0 / 3.0, 0};
    const std::string text = Saved(InitiatorSet(3, x, y));
    EXPECT_EQ(text, "[initiators] 3\n0,0\n1,0\n0.5,0.333333\n0,0\n");
    const InitiatorSet back = Read<InitiatorSet>(text);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back.Segments().back(), (Segment{{0.5, 0.333333}, {0, 0}}));
    EXPECT_EQ(Read<InitiatorSet>("[initiators] 3\n0,0\n1,0\n2,0\n").size(), 2u);
    EXPECT_EQ(Read<InitiatorSet>("[initiators] 2\n0,0\n1,0\n2,").size(), 1u);

    // An empty set still writes the start point the reader takes, so what
    // follows it in a file stays readable.
    std::stringstream s;
    CTextArchive ar(s);
    InitiatorSet().Save(ar);
    EXPECT_EQ(s.str(), "[initiators] 0\n0,0\n");
    Pattern::Polygon(2, true).Save(ar);
    EXPECT_TRUE(InitiatorSet(ar).empty());
    EXPECT_EQ(Pattern(ar).size(), 2u);
}

TEST(Initiators, SquareRunsDownFirstAndOnlyItsFirstSegmentIsColoured)
{
    const InitiatorSet square = InitiatorSet::Square(2);
    EXPECT_EQ(
        square.Segments(),
        (SegmentList{{{0, 0}, {0, 2}}, {{0, 2}, {2, 2}}, {{2, 2}, {2, 0}}, {{2, 0}, {0, 0}}}));
    RecordingSurface surface;
    square.DrawSegments(surface, 0x123456);
    ASSERT_EQ(surface.Count(SurfaceOp::Line), 4u);
    EXPECT_EQ(surface.calls[0].color, Color{0x123456});
    EXPECT_FALSE(surface.calls[1].color.has_value());
}

TEST(Pattern, DrawsChainedAndAsVectorsWithFlagColouredArrows)
{
    Pattern p;
    p.Steps() = {{0, 0.0, 1.0}, {2, pi / 2, 0.5}};
    const Segment ref{{10, 0}, {70, 0}};
    using enum SurfaceOp;
    const auto ops = [](const RecordingSurface& s) {
        std::vector<SurfaceOp> out;
        for (const SurfaceCall& call : s.calls) {
            out.push_back(call.op);
        }
        return out;
    };

    RecordingSurface chained;
    ExpectNear(p.DrawChained(chained, ref, 1, 2), {70, 30});
    EXPECT_EQ(ops(chained), (std::vector{Image, Image, Arrow, Line, Image, Image, Arrow, Line}));
    EXPECT_EQ(chained.calls[1].index, 2);
    const auto arrows = chained.Of(Arrow);
    EXPECT_EQ(arrows[0].v, (Polar{0.0, 20.0}));
    EXPECT_EQ(arrows[0].size, 3); // 5% of 60
    EXPECT_EQ(arrows[1].size, 1); // 5% of 30
    EXPECT_EQ(arrows[1].color, chained.table[2]);
    ExpectNear(arrows[1].a, {70, 0});

    RecordingSurface vectors;
    p.DrawVectors(vectors, ref, 1, 2);
    EXPECT_EQ(ops(vectors), (std::vector{Arrow, Line, Image, Arrow, Line, Image, Image}));
    ExpectNear(vectors.calls[4].a, {10, 0});
    ExpectNear(vectors.calls[4].b, {10, 30});
    EXPECT_EQ(vectors.calls.back().a, (Point{10, 0}));
}

} // namespace
