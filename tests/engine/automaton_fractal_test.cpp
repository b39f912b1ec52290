#include "engine/automaton_fractal.h"

#include "core/text_archive.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kScale = 3.0;
constexpr double kTolerance = 1e-9;

// Heighway's dragon: unit steps 0..3 of a four-heading compass.
const int kDragon0[] = {0, 1};
const int kDragon1[] = {2, 1};
const int kDragon2[] = {2, 3};
const int kDragon3[] = {0, 3};
const SymbolPreset kDragonSymbols[] = {
    {0, 0, 1.0, 2, kDragon0},
    {0, 1, 1.0, 2, kDragon1},
    {0, 2, 1.0, 2, kDragon2},
    {0, 3, 1.0, 2, kDragon3},
};
const int kDragonAxiom[] = {0};

FractalPtr Dragon(int days)
{
    const AutomatonPreset preset{"dragon", days, 4, kDragonSymbols, 4, 1, kDragonAxiom};
    FractalPtr fractal = new CAutomatonFractal(preset);
    fractal->m_bounds.scale = kScale;
    return fractal;
}

SymbolList List(std::vector<int> values)
{
    SymbolList list;
    list.Values() = std::move(values);
    return list;
}

// Unit steps along +x, up the screen (-y), along -x, down the screen.
Pattern Compass(std::vector<int> flags)
{
    std::vector<DirectedStep> steps;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        steps.push_back({flags[i], static_cast<int>(i % 4), 1.0});
    }
    return Pattern(static_cast<int>(steps.size()), steps.data(), 4);
}

FractalPtr Make(std::vector<int> axioms, std::vector<std::vector<int>> productions,
                const Pattern& generator, int days)
{
    Automaton automaton;
    automaton.m_axioms = List(std::move(axioms));
    for (std::vector<int>& production : productions) {
        automaton.m_productions.push_back(List(std::move(production)));
    }
    FractalPtr fractal = new CAutomatonFractal("test", days, automaton, generator);
    fractal->m_bounds.scale = kScale;
    return fractal;
}

void ExpectPoint(Point actual, Point expected)
{
    EXPECT_NEAR(actual.x, expected.x, kTolerance);
    EXPECT_NEAR(actual.y, expected.y, kTolerance);
}

struct Progress
{
    int calls = 0;
    StopFlag* stopAtFirstCall = nullptr;
};

void CountProgress(void* arg)
{
    auto* progress = static_cast<Progress*>(arg);
    ++progress->calls;
    if (progress->stopAtFirstCall != nullptr) {
        progress->stopAtFirstCall->store(true);
    }
}

// A recording surface that raises a stop flag after a number of lines.
class StoppingSurface : public RecordingSurface
{
public:
    StoppingSurface(StopFlag& stop, int limit) : m_stop(stop), m_limit(limit) {}
    using RecordingSurface::Line;
    void Line(double x1, double y1, double x2, double y2) override
    {
        RecordingSurface::Line(x1, y1, x2, y2);
        if (static_cast<int>(calls.size()) >= m_limit) {
            m_stop = true;
        }
    }

private:
    StopFlag& m_stop;
    int m_limit;
};

std::string SaveText(CFractal& fractal)
{
    std::stringstream stream;
    CTextArchive ar(stream);
    EXPECT_TRUE(fractal.Save(ar));
    return stream.str();
}

} // namespace

TEST(AutomatonFractalChain, DragonDrawsOneChainOfTwoToTheDaysSteps)
{
    FractalPtr dragon = Dragon(0);
    ASSERT_FALSE(dragon->m_bad);
    FractalBounds box;
    ASSERT_TRUE(dragon->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_NEAR(box.maxX, kScale, kTolerance);
    EXPECT_NEAR(box.minY, 0.0, kTolerance);

    // Day 1: symbols 0 and 1, a right angle up the screen.
    dragon->m_days = 1;
    RecordingSurface one;
    ASSERT_TRUE(dragon->Draw(one, nullptr));
    ASSERT_EQ(one.calls.size(), 2u);
    ExpectPoint(one.calls[0].a, {0, 0});
    ExpectPoint(one.calls[0].b, {kScale, 0});
    ExpectPoint(one.calls[1].a, {kScale, 0});
    ExpectPoint(one.calls[1].b, {kScale, -kScale});

    dragon->m_days = 11;
    RecordingSurface eleven;
    ASSERT_TRUE(dragon->Draw(eleven, nullptr));
    ASSERT_EQ(eleven.Count(SurfaceOp::Line), 2048u);
    for (std::size_t i = 1; i < eleven.calls.size(); ++i) {
        ASSERT_EQ(eleven.calls[i].a, eleven.calls[i - 1].b) << i;
    }
}

TEST(AutomatonFractalChain, EmptyProductionDropsItsSymbol)
{
    FractalPtr fractal = Make({0, 1}, {{0}, {}}, Compass({0, 0}), 3);
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    ASSERT_EQ(surface.calls.size(), 1u);
    ExpectPoint(surface.calls[0].b, {kScale, 0});
}

TEST(AutomatonFractalChain, InvisibleMovesHiddenAndMissingStepsDoNothing)
{
    // Symbol 1 moves, symbol 2 is hidden, symbol 4 has no step.
    FractalPtr fractal = Make({0, 1, 2, 4, 0}, {{0}, {1}, {2}, {3}, {4}},
                              Compass({0, StepInvisible, StepHidden, 0}), 1);
    ASSERT_FALSE(fractal->m_bad);
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    ASSERT_EQ(surface.calls.size(), 3u);
    EXPECT_EQ(surface.calls[0].op, SurfaceOp::Line);
    EXPECT_EQ(surface.calls[1].op, SurfaceOp::MoveTo);
    ExpectPoint(surface.calls[1].a, {kScale, -kScale});
    ASSERT_EQ(surface.calls[2].op, SurfaceOp::Line);
    ExpectPoint(surface.calls[2].a, {kScale, -kScale});
    ExpectPoint(surface.calls[2].b, {2 * kScale, -kScale});

    // Every leaf counts, drawn or not.
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(1, box, nullptr, CountProgress, nullptr));
    EXPECT_EQ(fractal->m_progressCount, 5);
}

TEST(AutomatonFractalChain, AutomatonThatIsNotWellFormedIsNeverDrawn)
{
    // Symbol 7 names no production: nothing may be looked up for it.
    FractalPtr fractal = Make({0}, {{0, 7}}, Compass({0}), 3);
    EXPECT_TRUE(fractal->m_bad);
    RecordingSurface surface;
    EXPECT_FALSE(fractal->Draw(surface, nullptr));
    FractalBounds box;
    EXPECT_FALSE(fractal->ComputeBounds(3, box, nullptr, nullptr, nullptr));
    EXPECT_TRUE(surface.calls.empty());
}

TEST(AutomatonFractalDraw, NothingBelowDayOne)
{
    FractalPtr dragon = Dragon(0);
    RecordingSurface surface;
    EXPECT_FALSE(dragon->Draw(surface, nullptr));
    dragon->m_days = -3;
    EXPECT_FALSE(dragon->Draw(surface, nullptr));
    EXPECT_TRUE(surface.calls.empty());
}

TEST(AutomatonFractalDraw, ProgressEveryFiftyThousandLeavesAndStop)
{
    FractalPtr dragon = Dragon(17);
    Progress progress;
    FractalBounds box;
    ASSERT_TRUE(dragon->ComputeBounds(17, box, nullptr, CountProgress, &progress));
    EXPECT_EQ(dragon->m_progressCount, 131072);
    EXPECT_EQ(progress.calls, 2);

    StopFlag stop{true};
    RecordingSurface surface;
    EXPECT_THROW(dragon->Draw(surface, &stop), int);
    EXPECT_TRUE(surface.calls.empty());

    try {
        dragon->ComputeBounds(17, box, &stop, nullptr, nullptr);
        ADD_FAILURE() << "a set stop flag must abandon the drawing";
    } catch (int code) {
        EXPECT_EQ(code, -1);
    }
}

TEST(AutomatonFractalDraw, HugeDayCountsAreBoundedAndStoppable)
{
    FractalPtr still = Make({0}, {{0}}, Compass({0}), 1000000);
    RecordingSurface surface;
    ASSERT_TRUE(still->Draw(surface, nullptr));
    EXPECT_EQ(surface.calls.size(), 1u);

    FractalPtr dragon = Dragon(1000000);
    StopFlag stop{false};
    Progress progress;
    progress.stopAtFirstCall = &stop;
    FractalBounds box;
    EXPECT_THROW(dragon->ComputeBounds(0, box, &stop, CountProgress, &progress), int);
    EXPECT_EQ(dragon->m_progressCount, 50000);

    stop = false;
    StoppingSurface stopping(stop, 1000);
    EXPECT_THROW(dragon->Draw(stopping, &stop), int);
    EXPECT_EQ(stopping.calls.size(), 1000u);
}

TEST(AutomatonFractalModel, ValidityNeedsAProductionForEveryStep)
{
    EXPECT_TRUE(Make({0}, {{0}}, Pattern(), 1)->IsValid());
    EXPECT_TRUE(Make({0}, {{0}, {1}}, Compass({0}), 1)->IsValid());
    EXPECT_FALSE(Make({0}, {{0}}, Compass({0, 0}), 1)->IsValid());
    EXPECT_FALSE(Make({}, {{0}}, Compass({0}), 1)->IsValid());

    FractalPtr dragon = Dragon(5);
    EXPECT_EQ(dragon->m_type, "automaton");
    EXPECT_EQ(dragon->GetGenerator()->size(), 4u);
    EXPECT_NEAR((*dragon->GetGenerator())[3].angle, -1.5 * pi, kTolerance);
    EXPECT_EQ(dragon->GetAutomaton()->m_productions[1], List({2, 1}));
    EXPECT_EQ(dragon->GetLsystem(), nullptr);
    EXPECT_EQ(dragon->GetDirections(), nullptr);
}

TEST(AutomatonFractalFile, SectionsAreWrittenExactlyAndReadBack)
{
    const int flags[] = {0, StepInvisible};
    const double angles[] = {0.0, -pi / 2};
    const double ratios[] = {1.0, 1.0};
    FractalPtr fractal = Make({0, 1}, {{0, 1}, {}}, Pattern(2, flags, angles, ratios), 6);
    fractal->m_name = "pair";
    const std::string text = SaveText(*fractal);
    EXPECT_EQ(text, "[type] automaton\n[name] pair\n[ndays] 6\n"
                    "[axioms] 2\n0 1 \n[productions] 2\n2( 0 1 )\n0( )\n"
                    "[generator] 2\n0,0,1\n2,-1.5708,1\n");

    std::stringstream stream(text);
    CTextArchive ar(stream);
    FractalPtr copy;
    ASSERT_TRUE(CreateFractal(copy, ar));
    EXPECT_EQ(copy->m_name, "pair");
    EXPECT_EQ(*copy->GetAutomaton(), *fractal->GetAutomaton());
    ASSERT_EQ(copy->GetGenerator()->size(), 2u);
    EXPECT_EQ((*copy->GetGenerator())[1].flags, StepInvisible);
    EXPECT_EQ(SaveText(*copy), text);
}

TEST(AutomatonFractalFile, DamagedFilesAreNotUsable)
{
    const std::string header = "[type] automaton\n[name] x\n[ndays] 2\n";
    for (const std::string& rest :
         {std::string("[axioms] 1\n0 \n"), std::string(""),
          std::string("[axioms] 1\n0 \n[productions] 1\n1( 5 )\n[generator] 0\n"),
          std::string("[axioms] 1\n0 \n[productions] 1\n1( 0 )\n[generator] 2\n0,0,1\n0,1,1\n")}) {
        std::stringstream stream(header + rest);
        CTextArchive ar(stream);
        FractalPtr fractal;
        EXPECT_FALSE(CreateFractal(fractal, ar)) << rest;
        ASSERT_TRUE(fractal);
        EXPECT_TRUE(fractal->m_bad);
        RecordingSurface surface;
        fractal->Draw(surface, nullptr);
    }
}

TEST(AutomatonFractalOverlay, InitiatorMarkAndProductionText)
{
    FractalPtr fractal = Make({0, 1}, {{0, 1}, {2, 1}, {}}, Compass({0, 0, 0}), 3);
    RecordingSurface initiator;
    fractal->DrawInitiatorOverlay(initiator, {1, 2});
    ASSERT_EQ(initiator.calls.size(), 1u);
    EXPECT_EQ(initiator.calls[0].op, SurfaceOp::Image);
    EXPECT_EQ(initiator.calls[0].a, (Point{0, 0}));
    EXPECT_EQ(initiator.calls[0].index, 9);
    EXPECT_EQ(initiator.calls[0].height, 16);

    // The recorder's text is 8 units a character and 16 high; a column is
    // at least as wide as "XXX".
    RecordingSurface surface;
    fractal->DrawGeneratorOverlay(surface, {1, 2});
    struct Expected
    {
        const char* text;
        double x, y;
        Color color;
    };
    const Expected expected[] = {{"0", 16, 16, 1},
                                 {"0 1 ", 16, 32, 2},
                                 {"1", 48, 16, 1},
                                 {"2 1 ", 48, 32, 2},
                                 {"...", 16, 48, 2}};
    ASSERT_EQ(surface.calls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(surface.calls[i].text, expected[i].text) << i;
        EXPECT_EQ(surface.calls[i].a, (Point{expected[i].x, expected[i].y})) << i;
        EXPECT_EQ(surface.calls[i].color, expected[i].color) << i;
    }
}
