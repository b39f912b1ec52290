#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "engine/standard_fractal.h"
#include "tests/engine/recording_surface.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const double kTriangleX[] = {0, 1, 0.5, 0};
const double kTriangleY[] = {0, 0, -0.866025, 0};
const int kKochFlags[] = {0, 0, 0, 0};
const double kKochAngles[] = {0, -pi / 3, pi / 3, 0};
const double kThirds[] = {1.0 / 3, 1.0 / 3, 1.0 / 3, 1.0 / 3};
const StandardPreset kKoch = {"koch", 1,          3,           kTriangleX, kTriangleY,
                              4,      kKochFlags, kKochAngles, kThirds};

// The initiator (0,0)-(9,0), replaced by three thirds along it, the middle
// one with the given flags; `extra` steps follow.
CStandardFractal Thirds(int middle, int days, std::vector<PatternStep> extra = {})
{
    Pattern g;
    g.Steps() = {{0, 0, 1.0 / 3}, {middle, 0, 1.0 / 3}, {0, 0, 1.0 / 3}};
    g.Steps().insert(g.Steps().end(), extra.begin(), extra.end());
    const double x[] = {0, 9};
    const double y[] = {0, 0};
    return CStandardFractal("thirds", days, g, InitiatorSet(1, x, y));
}

void CountCall(void* calls)
{
    ++*static_cast<int*>(calls);
}

// Elements counted by a measurement at `days`, one progress call each.
int Elements(CStandardFractal& f, int days)
{
    int calls = 0;
    f.m_progressPeriod = 1;
    FractalBounds out;
    EXPECT_TRUE(f.ComputeBounds(days, out, nullptr, CountCall, &calls));
    return calls;
}

// The construction written with polar forms, to compare the drawing with.
void PolarSubstitute(const Pattern& g, Segment s, int depth, std::vector<Segment>& out)
{
    if (depth == 0) {
        out.push_back(s);
        return;
    }
    const Polar r = SegmentPolar(s);
    Point p = s.start;
    for (const PatternStep& step : g) {
        const Point q = p + FromPolar({r.angle + step.angle, r.length * step.ratio});
        PolarSubstitute(g, {p, q}, depth - 1, out);
        p = q;
    }
}

TEST(StandardFractal, KochDrawsThreeTimesFourToTheNSegmentsWhereThePolarFormPutsThem)
{
    CStandardFractal koch(kKoch);
    ASSERT_FALSE(koch.m_bad);
    koch.m_bounds.scale = 1000;
    for (int n = 1; n <= 5; ++n) {
        koch.m_days = n;
        RecordingSurface surface;
        EXPECT_TRUE(koch.Draw(surface, nullptr));
        std::vector<Segment> expected;
        for (const Segment& s : *koch.GetInitiators()) {
            PolarSubstitute(*koch.GetGenerator(), {1000 * s.start, 1000 * s.end}, n, expected);
        }
        ASSERT_EQ(surface.calls.size(), 3u << (2 * n));
        ASSERT_EQ(surface.calls.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const SurfaceCall& line = surface.calls[i];
            EXPECT_NEAR(line.a.x, expected[i].start.x, 1e-9);
            EXPECT_NEAR(line.a.y, expected[i].start.y, 1e-9);
            EXPECT_NEAR(line.b.x, expected[i].end.x, 1e-9);
            EXPECT_NEAR(line.b.y, expected[i].end.y, 1e-9);
        }
    }
}

TEST(StandardFractal, DepthZeroIsMeasuredButNotDrawn)
{
    CStandardFractal koch(kKoch);
    for (int days : {0, -3}) { // a negative count from a file must not recurse forever
        koch.m_days = days;
        RecordingSurface surface;
        EXPECT_FALSE(koch.Draw(surface, nullptr));
        EXPECT_TRUE(surface.calls.empty());
        FractalBounds box;
        EXPECT_TRUE(koch.ComputeBounds(0, box, nullptr, nullptr, nullptr));
        EXPECT_EQ(box, (FractalBounds{-0.866025, 0, 0, 1, 1.0, true}));
    }
}

TEST(StandardFractal, StepFlagsActWhereTheStepIsDrawn)
{
    // Sierpinski's gasket kind: final steps are drawn once, at the size of
    // the generation they appear in; e(n) = 3 e(n - 1) + 2.
    CStandardFractal gasket = Thirds(StepFinal, 3, {{StepFinal, 2, 0.5}, {0, 0, 0.5}});
    EXPECT_EQ(Elements(gasket, 1), 5);
    EXPECT_EQ(Elements(gasket, 3), 53);

    // Invisible and final: a jump at every depth, never a line over it.
    for (int days = 1; days <= 3; ++days) {
        CStandardFractal f = Thirds(StepInvisible | StepFinal, days);
        RecordingSurface surface;
        f.Draw(surface, nullptr);
        EXPECT_EQ(surface.Count(SurfaceOp::MoveTo), (1u << days) - 1);
        for (const SurfaceCall& line : surface.Of(SurfaceOp::Line)) {
            EXPECT_FALSE(line.a.x > 3.0001 && line.a.x < 5.9999) << days;
        }
    }
    // Invisible alone: replaced before it is drawn, so lines fill it later.
    CStandardFractal jump = Thirds(StepInvisible, 2);
    RecordingSurface two;
    jump.Draw(two, nullptr);
    EXPECT_EQ(two.Count(SurfaceOp::MoveTo), 3u);
    EXPECT_NEAR(two.Of(SurfaceOp::Line)[2].a.x, 3, 1e-12);

    // Hidden: not drawn, not even moved to, but chained past and counted.
    CStandardFractal hidden = Thirds(StepHidden, 1);
    RecordingSurface one;
    hidden.Draw(one, nullptr);
    ASSERT_EQ(one.calls.size(), 2u);
    EXPECT_NEAR(one.calls[1].a.x, 6, 1e-12);
    EXPECT_EQ(Elements(hidden, 1), 3);
}

TEST(StandardFile, SavesHeaderInitiatorsGeneratorAndReadsThemBack)
{
    CStandardFractal koch(kKoch);
    std::stringstream s;
    CTextArchive ar(s);
    EXPECT_TRUE(koch.Save(ar));
    EXPECT_EQ(s.str(), "[type] std\n[name] koch\n[ndays] 1\n"
                       "[initiators] 3\n0,0\n1,0\n0.5,-0.866025\n0,0\n"
                       "[generator] 4\n0,0,0.333333\n0,-1.0472,0.333333\n"
                       "0,1.0472,0.333333\n0,0,0.333333\n");

    // Read back under an alias: saved again under the canonical keyword.
    std::stringstream in(s.str().replace(7, 3, "standard"));
    CTextArchive inAr(in);
    FractalPtr f;
    ASSERT_TRUE(CreateFractal(f, inAr));
    EXPECT_EQ(f->m_type, "std");
    EXPECT_EQ(f->GetInitiators()->size(), 3u);
    EXPECT_EQ((*f->GetGenerator())[1].angle, -1.0472);

    for (const char* text : {
             "[type] std\n[name] a\n[ndays] 2\n[initiators] 0\n0,0\n[generator] 1\n0,0,1\n",
             "[type] std\n[name] a\n[ndays] 2\n[initiators] 1\n0,0\n1,0\n",
             "[type] std\n[name] a\n[initiators] 1\n0,0\n1,0\n[generator] 1\n0,0,1\n",
         }) {
        std::stringstream damaged(text);
        CTextArchive damagedAr(damaged);
        EXPECT_FALSE(CreateFractal(f, damagedAr)) << text;
        EXPECT_TRUE(f->m_bad);
    }
}

TEST(StandardFractal, OverlaysShowTheInitiatorsAndTheGeneratorOnTheFirstOne)
{
    CStandardFractal f = Thirds(StepInvisible, 1, {{StepHidden, pi / 2, 1.0 / 3}});
    f.m_bounds.scale = 2;
    const ColorPair colors{0x11, 0x22};

    RecordingSurface initiators;
    f.DrawInitiatorOverlay(initiators, colors);
    ASSERT_EQ(initiators.calls.size(), 4u);
    EXPECT_EQ(initiators.calls[0].b, (Point{18, 0}));
    EXPECT_EQ(initiators.calls[0].color, Color{0x11});
    EXPECT_EQ(initiators.calls[2].a, (Point{18, 0}));
    EXPECT_EQ(initiators.calls[2].index, 4);
    EXPECT_EQ(initiators.calls[3].a, (Point{0, -8}));
    EXPECT_EQ(initiators.calls[3].index, 9);

    RecordingSurface generator;
    f.DrawGeneratorOverlay(generator, colors);
    const auto images = generator.Of(SurfaceOp::Image);
    ASSERT_EQ(images.size(), 8u); // also for the hidden step
    EXPECT_EQ(images[7].index, 2);
    EXPECT_NEAR(images[7].a.y, 6, 1e-12);
    EXPECT_EQ(generator.Of(SurfaceOp::Line).size(), 2u);
    EXPECT_EQ(generator.Of(SurfaceOp::Line)[1].color, Color{0x11});
    EXPECT_NEAR(generator.Of(SurfaceOp::MoveTo).at(0).a.x, 12, 1e-12);

    f.GetGenerator()->Steps().clear();
    RecordingSurface none;
    f.DrawGeneratorOverlay(none, colors);
    EXPECT_TRUE(none.calls.empty());
}

} // namespace
