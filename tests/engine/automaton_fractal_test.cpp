#include "engine/automaton_fractal.h"

#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// Heighway's dragon: unit steps 0..3 of a four-heading compass.
const int kDragon0[] = {0, 1};
const int kDragon1[] = {2, 1};
const int kDragon2[] = {2, 3};
const int kDragon3[] = {0, 3};
const SymbolPreset kDragonSymbols[] = {{0, 0, 1.0, 2, kDragon0},
                                       {0, 1, 1.0, 2, kDragon1},
                                       {0, 2, 1.0, 2, kDragon2},
                                       {0, 3, 1.0, 2, kDragon3}};
const int kDragonAxiom[] = {0};

FractalPtr Dragon(int days)
{
    FractalPtr fractal = new CAutomatonFractal(
        AutomatonPreset{"dragon", days, 4, kDragonSymbols, 4, 1, kDragonAxiom});
    fractal->m_bounds.scale = 2.0;
    return fractal;
}

// Steps along +x, up the screen (-y), along -x, down, ... with these flags.
Pattern Compass(std::vector<int> flags)
{
    std::vector<DirectedStep> steps;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        steps.push_back({flags[i], static_cast<int>(i % 4), 1.0});
    }
    return Pattern(static_cast<int>(steps.size()), steps.data(), 4);
}

FractalPtr Make(std::vector<int> axioms, const std::vector<std::vector<int>>& productions,
                const Pattern& generator, int days)
{
    Automaton automaton;
    automaton.m_axioms.Values() = std::move(axioms);
    for (const std::vector<int>& production : productions) {
        automaton.m_productions.emplace_back(static_cast<int>(production.size()),
                                             production.data());
    }
    FractalPtr fractal = new CAutomatonFractal("test", days, automaton, generator);
    fractal->m_bounds.scale = 2.0;
    return fractal;
}

void CountCalls(void* calls)
{
    ++*static_cast<int*>(calls);
}

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
    EXPECT_EQ(box, (FractalBounds{0, 0, 0, 2, 1.0, true}));
    dragon->m_days = 1;
    RecordingSurface one;
    ASSERT_TRUE(dragon->Draw(one, nullptr));
    EXPECT_EQ(Trace(one), "L0,0>2,0 L2,0>2,-2");

    dragon->m_days = 11;
    RecordingSurface eleven;
    ASSERT_TRUE(dragon->Draw(eleven, nullptr));
    ASSERT_EQ(eleven.Count(SurfaceOp::Line), 2048u);
    for (std::size_t i = 1; i < eleven.calls.size(); ++i) {
        ASSERT_EQ(eleven.calls[i].a, eleven.calls[i - 1].b) << i;
    }
}

TEST(AutomatonFractalChain, EmptyInvisibleHiddenAndMissingSteps)
{
    // Symbol 1 moves, 2 is hidden, 4 has no step, 5 rewrites to nothing.
    FractalPtr fractal = Make({0, 1, 2, 4, 5, 0}, {{0}, {1}, {2}, {3}, {4}, {}},
                              Compass({0, StepInvisible, StepHidden, 0}), 1);
    ASSERT_FALSE(fractal->m_bad);
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    EXPECT_EQ(Trace(surface), "L0,0>2,0 M2,-2 L2,-2>4,-2");
    // Every leaf counts, drawn or not; the dropped symbol is no leaf.
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(1, box, nullptr, CountCalls, nullptr));
    EXPECT_EQ(fractal->m_progressCount, 5);
}

// The last generations are drawn from blocks of steps built ahead; the
// chain must still be the derived word's, leaf by leaf: lines, moves, and
// nothing for hidden, missing and vanishing symbols, whatever the
// productions' lengths.
TEST(AutomatonFractalChain, BlocksOfStepsDrawTheDerivedWordLeafByLeaf)
{
    const std::vector<std::vector<int>> productions = {{0, 1}, {2, 0, 3},    {1},
                                                       {},     {4, 0, 4, 1}, {0}};
    const std::vector<int> flags = {0, StepInvisible, 0, 0, StepHidden};
    for (int days = 1; days <= 7; ++days) {
        FractalPtr fractal = Make({0, 5, 1}, productions, Compass(flags), days);
        ASSERT_FALSE(fractal->m_bad);
        RecordingSurface surface;
        ASSERT_TRUE(fractal->Draw(surface, nullptr));

        std::vector<int> word = {0, 5, 1};
        for (int d = 0; d < days; ++d) {
            std::vector<int> next;
            for (const int s : word) {
                next.insert(next.end(), productions[static_cast<std::size_t>(s)].begin(),
                            productions[static_cast<std::size_t>(s)].end());
            }
            word.swap(next);
        }
        const double dx[] = {2, 0, -2, 0};
        const double dy[] = {0, -2, 0, 2};
        double x = 0.0;
        double y = 0.0;
        std::size_t call = 0;
        for (const int s : word) {
            if (s >= static_cast<int>(flags.size()) ||
                flags[static_cast<std::size_t>(s)] == StepHidden) {
                continue;
            }
            const double tx = x + dx[s % 4];
            const double ty = y + dy[s % 4];
            ASSERT_LT(call, surface.calls.size()) << days;
            const SurfaceCall& c = surface.calls[call++];
            const bool moves = flags[static_cast<std::size_t>(s)] == StepInvisible;
            ASSERT_EQ(c.op, moves ? SurfaceOp::MoveTo : SurfaceOp::Line) << days << " " << call;
            const Point end = moves ? c.a : c.b;
            EXPECT_NEAR(end.x, tx, 1e-9);
            EXPECT_NEAR(end.y, ty, 1e-9);
            if (!moves) {
                EXPECT_NEAR(c.a.x, x, 1e-9);
                EXPECT_NEAR(c.a.y, y, 1e-9);
            }
            x = tx;
            y = ty;
        }
        EXPECT_EQ(call, surface.calls.size()) << days;
    }
}

TEST(AutomatonFractalDraw, ProgressStopAndHugeDayCounts)
{
    FractalPtr dragon = Dragon(0);
    RecordingSurface surface;
    EXPECT_FALSE(dragon->Draw(surface, nullptr));
    int calls = 0;
    FractalBounds box;
    ASSERT_TRUE(dragon->ComputeBounds(17, box, nullptr, CountCalls, &calls));
    EXPECT_EQ(dragon->m_progressCount, 131072);

    // A million days are drawn at the deepest depth allowed, and a stop
    // still ends them at once.
    dragon->m_days = 1000000;
    StopFlag stop{true};
    EXPECT_THROW(dragon->Draw(surface, &stop), int);
    EXPECT_THROW(dragon->ComputeBounds(0, box, &stop, nullptr, nullptr), int);
    EXPECT_EQ(Trace(surface), "");

    ASSERT_TRUE(Make({0}, {{0}}, Compass({0}), 1000000)->Draw(surface, nullptr));
    EXPECT_EQ(Trace(surface), "L0,0>2,0");

    // Productions that double and then vanish make 2^40 calls and no leaf:
    // the stop flag still ends such a drawing at once.
    std::vector<std::vector<int>> productions;
    productions.reserve(31);
    for (int s = 0; s < 30; ++s) {
        productions.push_back({s + 1, s + 1});
    }
    productions.push_back({});
    FractalPtr hollow = Make({0}, productions, Compass({0}), 40);
    stop = true;
    EXPECT_THROW(hollow->ComputeBounds(40, box, &stop, nullptr, nullptr), int);
}

TEST(AutomatonFractalModel, Validity)
{
    EXPECT_TRUE(Make({0}, {{0}}, Pattern(), 1)->IsValid());
    EXPECT_TRUE(Make({0}, {{0}, {1}}, Compass({0}), 1)->IsValid());
    EXPECT_FALSE(Make({0}, {{0}}, Compass({0, 0}), 1)->IsValid());
    // Symbol 7 names no production: never looked up, never drawn.
    FractalPtr broken = Make({0}, {{0, 7}}, Compass({0}), 3);
    EXPECT_TRUE(broken->m_bad);
    RecordingSurface surface;
    EXPECT_FALSE(broken->Draw(surface, nullptr));
    FractalBounds box;
    EXPECT_FALSE(broken->ComputeBounds(3, box, nullptr, nullptr, nullptr));
    EXPECT_EQ(Trace(surface), "");
}

TEST(AutomatonFractalFile, SectionsRoundTripAndDamage)
{
    const int flags[] = {0, StepInvisible};
    const double angles[] = {0.0, -pi / 2};
    const double ratios[] = {1.0, 1.0};
    FractalPtr fractal = Make({0, 1}, {{0, 1}, {}}, Pattern(2, flags, angles, ratios), 6);
    const std::string text = SaveText(*fractal);
    EXPECT_EQ(text, "[type] automaton\n[name] test\n[ndays] 6\n"
                    "[axioms] 2\n0 1 \n[productions] 2\n2( 0 1 )\n0( )\n"
                    "[generator] 2\n0,0,1\n2,-1.5708,1\n");
    std::stringstream stream(text);
    CTextArchive ar(stream);
    FractalPtr copy;
    ASSERT_TRUE(CreateFractal(copy, ar));
    EXPECT_EQ(*copy->GetAutomaton(), *fractal->GetAutomaton());
    EXPECT_EQ(SaveText(*copy), text);

    const std::string header = "[type] automaton\n[name] x\n[ndays] 2\n";
    for (const std::string rest :
         {"[axioms] 1\n0 \n", "", "[axioms] 1\n0 \n[productions] 1\n1( 5 )\n[generator] 0\n",
          "[axioms] 1\n0 \n[productions] 1\n1( 0 )\n[generator] 2\n0,0,1\n0,1,1\n"}) {
        std::stringstream damaged(header + rest);
        CTextArchive damagedAr(damaged);
        EXPECT_FALSE(CreateFractal(copy, damagedAr)) << rest;
        EXPECT_TRUE(copy->m_bad);
    }
}

TEST(AutomatonFractalOverlay, InitiatorMarkAndProductionText)
{
    FractalPtr fractal = Make({0, 1}, {{0, 1}, {2, 1}, {}}, Compass({0, 0, 0}), 3);
    RecordingSurface initiator;
    fractal->DrawInitiatorOverlay(initiator, {1, 2});
    EXPECT_EQ(Trace(initiator), "I9@0,0/16");
    // 8 units a character, 16 high; a column is at least as wide as "XXX".
    RecordingSurface surface;
    fractal->DrawGeneratorOverlay(surface, {1, 2});
    EXPECT_EQ(Trace(surface),
              "T'0'16,16#1 T'0 1 '16,32#2 T'1'48,16#1 T'2 1 '48,32#2 T'...'16,48#2");
}
