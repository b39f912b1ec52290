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
    const std::string text = Saved(p);
    EXPECT_EQ(text, "[generator] 2\n6,0.523599,0.2\n0,0,0.333333\n");
    const Pattern back = Read<Pattern>(text);
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
        {"", 0},
    };
    for (const auto& c : cases) {
        const Pattern p = Read<Pattern>(c.text);
        ASSERT_EQ(p.size(), c.steps) << c.text;
        if (c.steps > 0) {
            EXPECT_EQ(p[0], (PatternStep{0, 0.0, 1.0})) << c.text;
        }
    }
}

TEST(Pattern, PolygonsTurnByEqualAngles)
{
    const Pattern ccw = Pattern::Polygon(4, true);
    const Pattern cw = Pattern::Polygon(4, false);
    ASSERT_EQ(ccw.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(ccw[i].angle, i * pi / 2);
        EXPECT_DOUBLE_EQ(cw[i].angle, -i * pi / 2);
        EXPECT_EQ(ccw[i].ratio, 1.0);
    }
    EXPECT_TRUE(Pattern::Polygon(0, true).empty());
}

TEST(Pattern, AppendReplacesTheLastStepByTheOtherPatternTurnedOntoIt)
{
    Pattern p;
    p.Steps() = {{0, 0.0, 1.0}, {4, pi / 2, 0.5}};
    Pattern other = Pattern::Polygon(4, true);
    p.Append(other);
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0], (PatternStep{0, 0.0, 1.0}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(p[i + 1].angle, pi / 2 + i * pi / 2);
        EXPECT_EQ(p[i + 1].ratio, 0.5);
        EXPECT_EQ(p[i + 1].flags, 0);
    }

    Pattern empty;
    empty.AppendPolygon(3, false);
    EXPECT_EQ(empty, Pattern::Polygon(3, false));
}

TEST(Pattern, DirectedStepsTakeTheCompassAngle)
{
    const DirectedStep steps[] = {{0, 0, 1.0}, {4, 2, 0.5}, {0, 7, 1.0}};
    const Pattern p(3, steps, 8);
    EXPECT_EQ(p[0].angle, 0.0);
    EXPECT_DOUBLE_EQ(p[1].angle, -pi / 2);
    EXPECT_EQ(p[1].flags, 4);
    EXPECT_EQ(p[1].ratio, 0.5);
    EXPECT_DOUBLE_EQ(p[2].angle, -7 * pi / 4);
}

TEST(PatternAndInitiators, ConvertIntoEachOther)
{
    // An L: 2 along x, then 1 down.
    const double x[] = {5, 7, 7};
    const double y[] = {1, 1, 2};
    const InitiatorSet set(2, x, y);
    const Pattern p(set);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0], (PatternStep{0, 0.0, 1.0}));
    EXPECT_DOUBLE_EQ(p[1].angle, pi / 2);
    EXPECT_EQ(p[1].ratio, 0.5);

    // Back from the origin at unit size, then laid on a reference segment.
    const InitiatorSet unit(p);
    ASSERT_EQ(unit.size(), 2u);
    ExpectNear(unit.Segments().back().end, {1.0, 0.5});
    const InitiatorSet laid(p, {{1, 1}, {1, 5}});
    ExpectNear(laid.Segments().front().end, {1, 5});
    ExpectNear(laid.Segments().back().end, {-1, 5});

    // A first segment of no length cannot be the unit; nothing turns infinite.
    const double zx[] = {0, 0, 3};
    const double zy[] = {0, 0, 0};
    for (const PatternStep& step : Pattern(InitiatorSet(2, zx, zy))) {
        EXPECT_TRUE(std::isfinite(step.ratio));
    }
}

TEST(InitiatorsFile, WritesPointLinesAndReadsThemBack)
{
    const double x[] = {0, 1, 0.5, 0};
    const double y[] = {0, 0, 1.0 / 3.0, 0};
    const InitiatorSet triangle(3, x, y);
    const std::string text = Saved(triangle);
    EXPECT_EQ(text, "[initiators] 3\n0,0\n1,0\n0.5,0.333333\n0,0\n");
    const InitiatorSet back = Read<InitiatorSet>(text);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back.Segments().back(), (Segment{{0.5, 0.333333}, {0, 0}}));

    // An empty set still writes the start point the reader takes, so what
    // follows it in a file stays readable.
    std::stringstream s;
    CTextArchive ar(s);
    InitiatorSet().Save(ar);
    EXPECT_EQ(s.str(), "[initiators] 0\n0,0\n");
    Pattern::Polygon(2, true).Save(ar);
    EXPECT_TRUE(InitiatorSet(ar).empty());
    EXPECT_EQ(Pattern(ar).size(), 2u);

    EXPECT_EQ(Read<InitiatorSet>("[initiators] 3\n0,0\n1,0\n2,0\n").size(), 2u);
    EXPECT_EQ(Read<InitiatorSet>("[initiators] 2\n0,0\n1,0\n2,").size(), 1u);
}

TEST(Initiators, SquareRunsDownFirst)
{
    const InitiatorSet square = InitiatorSet::Square(2);
    const SegmentList expected = {
        {{0, 0}, {0, 2}}, {{0, 2}, {2, 2}}, {{2, 2}, {2, 0}}, {{2, 0}, {0, 0}}};
    EXPECT_EQ(square.Segments(), expected);

    RecordingSurface surface;
    square.DrawSegments(surface, 0x123456);
    const auto lines = surface.Of(SurfaceOp::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].color, Color{0x123456});
    EXPECT_FALSE(lines[1].color.has_value());
    EXPECT_EQ(lines[3].b, (Point{0, 0}));
}

std::vector<SurfaceOp> Ops(const RecordingSurface& surface)
{
    std::vector<SurfaceOp> ops;
    for (const SurfaceCall& call : surface.calls) {
        ops.push_back(call.op);
    }
    return ops;
}

TEST(Pattern, DrawsChainedAndAsVectorsWithFlagColouredArrows)
{
    Pattern p;
    p.Steps() = {{0, 0.0, 1.0}, {2, pi / 2, 0.5}};
    const Segment ref{{10, 0}, {70, 0}};
    using enum SurfaceOp;

    RecordingSurface chained;
    ExpectNear(p.DrawChained(chained, ref, 1, 2), {70, 30});
    EXPECT_EQ(Ops(chained), (std::vector{Image, Image, Arrow, Line, Image, Image, Arrow, Line}));
    const auto arrows = chained.Of(Arrow);
    EXPECT_EQ(arrows[0].size, 3); // 5% of 60
    EXPECT_EQ(arrows[0].v, (Polar{0.0, 20.0}));
    EXPECT_EQ(arrows[0].color, chained.table[0]);
    EXPECT_EQ(arrows[1].size, 1); // 5% of 30
    EXPECT_EQ(arrows[1].color, chained.table[2]);
    ExpectNear(arrows[1].a, {70, 0});
    EXPECT_EQ(chained.calls[1].index, 2);
    EXPECT_EQ(chained.calls[1].width, 10);

    RecordingSurface vectors;
    p.DrawVectors(vectors, ref, 1, 2);
    EXPECT_EQ(Ops(vectors), (std::vector{Arrow, Line, Image, Arrow, Line, Image, Image}));
    ExpectNear(vectors.Of(Line)[1].a, {10, 0});
    ExpectNear(vectors.Of(Line)[1].b, {10, 30});
    EXPECT_EQ(vectors.calls.back().a, (Point{10, 0}));
    EXPECT_EQ(vectors.calls.back().index, 2);
}

} // namespace
