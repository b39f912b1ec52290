#include "engine/lsys_fractal.h"

#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

FractalPtr Make(const std::string& axiom, const std::vector<Rule>& rules, int directions, int days)
{
    LSystem lsystem{Axiom(axiom), {}};
    lsystem.rules.Rules() = rules;
    FractalPtr fractal = new CLsysFractal("test", days, lsystem, Directions(directions));
    fractal->m_bounds.scale = 2.0;
    return fractal;
}

// What one day of `axiom` draws when F and D rewrite to themselves.
std::string OneDay(const std::string& axiom, int directions = 4)
{
    RecordingSurface surface;
    EXPECT_TRUE(Make(axiom, {{'F', "F"}, {'D', "D"}}, directions, 1)->Draw(surface, nullptr));
    return Trace(surface);
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

FractalPtr Load(const std::string& text, bool usable)
{
    std::stringstream stream(text);
    CTextArchive ar(stream);
    FractalPtr fractal;
    EXPECT_EQ(CreateFractal(fractal, ar), usable) << text;
    return fractal;
}

} // namespace

TEST(LsysFractalTurtle, RewritesThenStepsAlongTheCompass)
{
    FractalPtr fractal = Make("F", {{'F', "F+F"}}, 4, 0);
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_EQ(box, (FractalBounds{0, 0, 0, 2, 1.0, true}));
    fractal->m_days = 1;
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    EXPECT_EQ(Trace(surface), "L0,0>2,0 L2,0>2,-2");

    // A letter without a rule vanishes above depth 0.
    EXPECT_EQ(OneDay("XFX"), "L0,0>2,0");
    RecordingSurface none;
    EXPECT_TRUE(Make("F", {}, 4, 1)->Draw(none, nullptr));
    EXPECT_EQ(Trace(none), "");
}

TEST(LsysFractalTurtle, TurnsBracketsAndMoves)
{
    for (const char* axiom : {"++++F", "||F", "-+F", "+--+F"}) {
        EXPECT_EQ(OneDay(axiom), "L0,0>2,0") << axiom;
    }
    EXPECT_EQ(OneDay("-F"), "L0,0>0,2");
    EXPECT_EQ(OneDay("|F", 3), "L0,0>-1,-1.732051");
    // A compass without headings turns nowhere and never divides by zero.
    EXPECT_EQ(OneDay("+|-F|F", 0), "L0,0>2,0 L2,0>4,0");
    EXPECT_EQ(OneDay("F[+F]F"), "L0,0>2,0 L2,0>2,-2 L2,0>4,0");
    // "]" with nothing saved is ignored.
    EXPECT_EQ(OneDay("F]]-F"), "L0,0>2,0 L2,0>2,2");
    RecordingSurface moves;
    Make("GMfD", {{'G', "G"}, {'M', "M"}, {'f', "f"}, {'D', "D"}}, 4, 1)->Draw(moves, nullptr);
    EXPECT_EQ(Trace(moves), "M2,0 M4,0 M6,0 L6,0>8,0");
    // A compass past any table: half a turn from the last heading does not
    // overflow, and the steps are those of the angles.
    EXPECT_EQ(OneDay("F-|F", 2147483647), "L0,0>2,0 L2,0>0,0");
    EXPECT_EQ(OneDay("F+F", 2000000000), "L0,0>2,0 L2,0>4,0");
    // Rules never rewrite turtle commands.
    RecordingSurface plus;
    Make("+F", {{'+', "++"}, {'F', "F"}}, 4, 3)->Draw(plus, nullptr);
    EXPECT_EQ(Trace(plus), "L0,0>0,-2");
}

// The last generations are drawn from blocks of steps built ahead; the
// turtle must still follow the derived word character by character: turns
// of every kind, moves, letters that vanish, brackets in the axiom.
TEST(LsysFractalTurtle, BlocksOfStepsFollowTheDerivedWord)
{
    const std::vector<Rule> rules = {
        {'F', "F+G-X"}, {'X', "|FD+fX"}, {'G', "MF-"}, {'D', "Y"}, {'M', "F"}};
    const std::string axiom = "F[+X]-G|F";
    for (const int directions : {5, 6}) {
        const Directions compass(directions);
        for (int days = 1; days <= 7; ++days) {
            RecordingSurface surface;
            ASSERT_TRUE(Make(axiom, rules, directions, days)->Draw(surface, nullptr));

            std::string word = axiom;
            for (int d = 0; d < days; ++d) {
                std::string next;
                for (const char ch : word) {
                    const bool turtle =
                        ch == '+' || ch == '-' || ch == '|' || ch == '[' || ch == ']';
                    const auto rule = std::find_if(rules.begin(), rules.end(),
                                                   [ch](const Rule& r) { return r.symbol == ch; });
                    if (turtle) {
                        next += ch;
                    } else if (rule != rules.end()) {
                        next += rule->replacement;
                    }
                }
                word.swap(next);
            }
            int heading = 0;
            Point at;
            std::vector<std::pair<int, Point>> saved;
            std::size_t call = 0;
            for (const char ch : word) {
                switch (ch) {
                case '+':
                    heading = (heading + 1) % directions;
                    continue;
                case '-':
                    heading = (heading + directions - 1) % directions;
                    continue;
                case '|':
                    heading = (heading + directions / 2) % directions;
                    continue;
                case '[':
                    saved.emplace_back(heading, at);
                    continue;
                case ']':
                    heading = saved.back().first;
                    at = saved.back().second;
                    saved.pop_back();
                    continue;
                default:
                    break;
                }
                const bool line = ch == 'F' || ch == 'D';
                if (!line && ch != 'G' && ch != 'M' && ch != 'f') {
                    continue;
                }
                const double angle = compass.Angle(heading);
                const Point to{at.x + 2.0 * std::cos(angle), at.y + 2.0 * std::sin(angle)};
                ASSERT_LT(call, surface.calls.size()) << directions << " " << days;
                const SurfaceCall& c = surface.calls[call++];
                ASSERT_EQ(c.op, line ? SurfaceOp::Line : SurfaceOp::MoveTo)
                    << directions << " " << days << " " << call;
                const Point end = line ? c.b : c.a;
                EXPECT_NEAR(end.x, to.x, 1e-9);
                EXPECT_NEAR(end.y, to.y, 1e-9);
                if (line) {
                    EXPECT_NEAR(c.a.x, at.x, 1e-9);
                    EXPECT_NEAR(c.a.y, at.y, 1e-9);
                }
                at = to;
            }
            EXPECT_EQ(call, surface.calls.size()) << directions << " " << days;
        }
    }
}

TEST(LsysFractalDraw, ProgressCountsEveryInterpretedCharacter)
{
    // One F at depth k interprets 3 * 2^k - 2 characters with F=F+F.
    FractalPtr fractal = Make("F", {{'F', "F+F"}}, 4, 16);
    int calls = 0;
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(16, box, nullptr, CountCalls, &calls));
    EXPECT_EQ(fractal->m_progressCount, 196606);
}

TEST(LsysFractalDraw, StopsAndHugeDayCounts)
{
    RecordingSurface surface;
    FractalPtr fractal = Make("F", {{'F', "F+F-"}}, 4, 0);
    EXPECT_FALSE(fractal->Draw(surface, nullptr));
    fractal->m_days = 1000000;
    StopFlag stop{true};
    EXPECT_THROW(fractal->Draw(surface, &stop), int);
    FractalBounds box;
    EXPECT_THROW(fractal->ComputeBounds(0, box, &stop, nullptr, nullptr), int);
    EXPECT_EQ(Trace(surface), "");

    // A rule that does not grow finishes at the deepest depth allowed.
    ASSERT_TRUE(Make("F", {{'F', "F"}}, 4, 1000000)->Draw(surface, nullptr));
    EXPECT_EQ(Trace(surface), "L0,0>2,0");
}

TEST(LsysFractalFile, SectionsAndRoundTripThroughTheFactory)
{
    FractalPtr original = Make("F", {{'F', "F+F-F"}, {'X', ""}}, 6, 3);
    const std::string text = SaveText(*original);
    EXPECT_EQ(text, "[type] lsys\n[name] test\n[ndays] 3\n"
                    "[axioms]\nF\n[rules] 2\nF=F+F-F\nX=\n[directions] 6\n");
    std::string aliased = text;
    aliased.replace(aliased.find("lsys"), 4, "lsystem");
    FractalPtr copy = Load(aliased, true);
    EXPECT_EQ(*copy->GetLsystem(), *original->GetLsystem());
    EXPECT_EQ(SaveText(*copy), text);
    // A compass of any size survives the round trip and is drawn.
    std::string huge = text;
    huge.replace(huge.find("[directions] 6"), 14, "[directions] 100001");
    FractalPtr fine = Load(huge, true);
    EXPECT_EQ(SaveText(*fine), huge);
}

TEST(LsysFractalFile, EmptyAxiomAndDamagedFiles)
{
    const std::string emptyAxiom = SaveText(*Make("", {{'F', "FF"}}, 8, 2));
    EXPECT_NE(emptyAxiom.find("\n[axioms]\n\n[rules] 1\nF=FF\n"), std::string::npos);
    FractalPtr copy = Load(emptyAxiom, false);
    EXPECT_EQ(copy->GetLsystem()->rules.size(), 1u);
    EXPECT_EQ(copy->GetDirections()->Count(), 8);

    const std::string header = "[type] lsys\n[name] x\n[ndays] 2\n";
    // Fewer rules than counted and no compass: still usable.
    EXPECT_EQ(
        Load(header + "[axioms]\nF\n[rules] 3\nF=F+F\nG=G\n", true)->GetLsystem()->rules.size(),
        2u);
    for (const std::string rest : {"[axioms]\nF\n", "", "[rules] 1\nF=FF\n[directions] 4\n"}) {
        EXPECT_TRUE(Load(header + rest, false)->m_bad);
    }
    const RulePreset rules[] = {{'F', "F+F--F+F"}};
    EXPECT_FALSE(CLsysFractal(LsysPreset{"Koch", 4, 6, 1, "F", rules}).m_bad);
    EXPECT_TRUE(CLsysFractal(LsysPreset{"Broken", 4, 6, 1, "F=F", rules}).m_bad);
}

TEST(LsysFractalOverlay, InitiatorMarkAndDerivationText)
{
    FractalPtr fractal = Make("F+X", {{'F', "F-F"}}, 4, 1);
    RecordingSurface initiator;
    fractal->DrawInitiatorOverlay(initiator, {1, 2});
    EXPECT_EQ(Trace(initiator), "I9@0,0/16");
    // The recorder's text is 8 units a character and 16 high.
    RecordingSurface surface;
    fractal->DrawGeneratorOverlay(surface, {1, 2});
    EXPECT_EQ(Trace(surface), "T'F'16,16#1 T'F-F'16,32#2 T'+'40,16#1 T'+'40,32#1 T'X'48,16#1 "
                              "T'X'48,32#1 T'...'16,48#2");
}
