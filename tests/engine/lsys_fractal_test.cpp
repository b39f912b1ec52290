#include "engine/lsys_fractal.h"

#include "core/text_archive.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kScale = 2.5;

FractalPtr Make(const std::string& axiom, const std::vector<Rule>& rules, int directions, int days)
{
    LSystem lsystem{Axiom(axiom), {}};
    lsystem.rules.Rules() = rules;
    FractalPtr fractal = new CLsysFractal("test", days, lsystem, Directions(directions));
    fractal->m_bounds.scale = kScale;
    return fractal;
}

void ExpectLine(const SurfaceCall& call, Point from, Point to)
{
    EXPECT_EQ(call.op, SurfaceOp::Line);
    EXPECT_NEAR(call.a.x, from.x, 1e-9);
    EXPECT_NEAR(call.a.y, from.y, 1e-9);
    EXPECT_NEAR(call.b.x, to.x, 1e-9);
    EXPECT_NEAR(call.b.y, to.y, 1e-9);
}

// What one day of `axiom` draws when F and D rewrite to themselves.
std::vector<SurfaceCall> OneDay(const std::string& axiom, int directions = 4)
{
    RecordingSurface surface;
    EXPECT_TRUE(Make(axiom, {{'F', "F"}, {'D', "D"}}, directions, 1)->Draw(surface, nullptr));
    return surface.calls;
}

// Raises the stop flag passed as argument at the first progress report.
void StopAtProgress(void* stop)
{
    static_cast<StopFlag*>(stop)->store(true);
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

TEST(LsysFractalTurtle, RewritesThenStepsAlongTheCompass)
{
    FractalPtr fractal = Make("F", {{'F', "F+F"}}, 4, 0);
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_EQ(box, (FractalBounds{0, 0, 0, kScale, 1.0, true}));

    fractal->m_days = 1;
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    ASSERT_EQ(surface.calls.size(), 2u);
    ExpectLine(surface.calls[0], {0, 0}, {kScale, 0});
    ExpectLine(surface.calls[1], {kScale, 0}, {kScale, -kScale});

    // Without a rule a letter vanishes above depth 0.
    FractalPtr bare = Make("FXF", {}, 4, 1);
    RecordingSurface none;
    EXPECT_TRUE(bare->Draw(none, nullptr));
    EXPECT_TRUE(none.calls.empty());
}

TEST(LsysFractalTurtle, Turns)
{
    for (const char* axiom : {"++++F", "||F", "-+F", "+--+F"}) {
        ExpectLine(OneDay(axiom).back(), {0, 0}, {kScale, 0});
    }
    ExpectLine(OneDay("-F").at(0), {0, 0}, {0, kScale});
    // Half a turn, truncated on an odd compass.
    const double third = -2 * pi / 3;
    ExpectLine(OneDay("|F", 3).at(0), {0, 0}, {kScale * std::cos(third), kScale * std::sin(third)});
    // A compass without headings turns nowhere and never divides by zero.
    ExpectLine(OneDay("+|-F|F", 0).at(1), {kScale, 0}, {2 * kScale, 0});
    // Rules never rewrite turtle commands.
    RecordingSurface surface;
    Make("+F", {{'+', "++"}, {'F', "F"}}, 4, 3)->Draw(surface, nullptr);
    ExpectLine(surface.calls.at(0), {0, 0}, {0, -kScale});
}

TEST(LsysFractalTurtle, BracketsMovesAndUnmatchedClose)
{
    const std::vector<SurfaceCall> branch = OneDay("F[+F]F");
    ASSERT_EQ(branch.size(), 3u);
    ExpectLine(branch[2], {kScale, 0}, {2 * kScale, 0});
    // "]" with nothing saved is ignored.
    ExpectLine(OneDay("F]]F").at(1), {kScale, 0}, {2 * kScale, 0});

    RecordingSurface surface;
    Make("GMfD", {{'G', "G"}, {'M', "M"}, {'f', "f"}, {'D', "D"}}, 4, 1)->Draw(surface, nullptr);
    ASSERT_EQ(surface.calls.size(), 4u);
    EXPECT_EQ(surface.calls[2].op, SurfaceOp::MoveTo);
    EXPECT_NEAR(surface.calls[2].a.x, 3 * kScale, 1e-9);
    ExpectLine(surface.calls[3], {3 * kScale, 0}, {4 * kScale, 0});
}

TEST(LsysFractalDraw, ProgressCountsEveryInterpretedCharacter)
{
    // One F at depth k interprets 3 * 2^k - 2 characters with F=F+F.
    FractalPtr fractal = Make("F", {{'F', "F+F"}}, 4, 16);
    int calls = 0;
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(16, box, nullptr, CountCalls, &calls));
    EXPECT_EQ(fractal->m_progressCount, 196606);
    EXPECT_EQ(calls, 3);
    ASSERT_TRUE(fractal->ComputeBounds(16, box, nullptr, CountCalls, &calls));
    EXPECT_EQ(calls, 7);
}

TEST(LsysFractalDraw, StopsAndHugeDayCounts)
{
    RecordingSurface surface;
    FractalPtr fractal = Make("F", {{'F', "F+F-"}}, 4, 0);
    EXPECT_FALSE(fractal->Draw(surface, nullptr));
    fractal->m_days = 1000000;
    StopFlag stop{true};
    try {
        fractal->Draw(surface, &stop);
        ADD_FAILURE() << "a set stop flag must abandon the drawing";
    } catch (int code) {
        EXPECT_EQ(code, -1);
    }
    EXPECT_TRUE(surface.calls.empty());

    // Raised at the first progress report, 4096 levels deep: the very next
    // character stops.
    stop = false;
    FractalBounds box;
    EXPECT_THROW(fractal->ComputeBounds(0, box, &stop, StopAtProgress, &stop), int);
    EXPECT_EQ(fractal->m_progressCount, 50000);

    // A rule that does not grow finishes at the deepest depth allowed.
    FractalPtr still = Make("F", {{'F', "F"}}, 4, 1000000);
    ASSERT_TRUE(still->Draw(surface, nullptr));
    EXPECT_EQ(surface.calls.size(), 1u);
}

TEST(LsysFractalFile, SectionsAndRoundTripThroughTheFactory)
{
    FractalPtr original = Make("F", {{'F', "F+F-F"}, {'X', ""}}, 6, 3);
    original->m_name = "koch curve";
    const std::string text = SaveText(*original);
    EXPECT_EQ(text, "[type] lsys\n[name] koch curve\n[ndays] 3\n"
                    "[axioms]\nF\n[rules] 2\nF=F+F-F\nX=\n[directions] 6\n");

    std::string aliased = text;
    aliased.replace(aliased.find("lsys"), 4, "lsystem");
    std::stringstream stream(aliased);
    CTextArchive ar(stream);
    FractalPtr copy;
    ASSERT_TRUE(CreateFractal(copy, ar));
    EXPECT_EQ(*copy->GetLsystem(), *original->GetLsystem());
    EXPECT_EQ(SaveText(*copy), text);
}

TEST(LsysFractalFile, EmptyAxiomAndDamagedFiles)
{
    const std::string header = "[type] lsys\n[name] x\n[ndays] 2\n";
    const std::string emptyAxiom = SaveText(*Make("", {{'F', "FF"}}, 8, 2));
    EXPECT_NE(emptyAxiom.find("\n[axioms]\n\n[rules] 1\nF=FF\n"), std::string::npos);
    {
        std::stringstream stream(emptyAxiom);
        CTextArchive ar(stream);
        FractalPtr copy;
        EXPECT_FALSE(CreateFractal(copy, ar));
        EXPECT_EQ(copy->GetLsystem()->rules.size(), 1u);
        EXPECT_EQ(copy->GetDirections()->Count(), 8);
    }
    {
        // Fewer rules than counted and no compass: still usable.
        std::stringstream stream(header + "[axioms]\nF\n[rules] 3\nF=F+F\nG=G\n");
        CTextArchive ar(stream);
        FractalPtr fractal;
        EXPECT_TRUE(CreateFractal(fractal, ar));
        EXPECT_EQ(fractal->GetLsystem()->rules.size(), 2u);
    }
    for (const std::string rest : {"[axioms]\nF\n", "", "[rules] 1\nF=FF\n[directions] 4\n"}) {
        std::stringstream stream(header + rest);
        CTextArchive ar(stream);
        FractalPtr fractal;
        EXPECT_FALSE(CreateFractal(fractal, ar)) << rest;
        EXPECT_TRUE(fractal->m_bad);
    }
}

TEST(LsysFractalModel, PresetAndValidity)
{
    const RulePreset rules[] = {{'F', "F+F--F+F"}};
    const CLsysFractal koch(LsysPreset{"Koch", 4, 6, 1, "F", rules});
    EXPECT_FALSE(koch.m_bad);
    EXPECT_EQ(koch.m_type, "lsys");
    EXPECT_TRUE(CLsysFractal(LsysPreset{"Broken", 4, 6, 1, "F=F", rules}).m_bad);
    EXPECT_TRUE(Make("F", {}, 4, 1)->m_bad);
}

TEST(LsysFractalOverlay, InitiatorMarkAndDerivationText)
{
    FractalPtr fractal = Make("F+X", {{'F', "F-F"}}, 4, 1);
    RecordingSurface initiator;
    fractal->DrawInitiatorOverlay(initiator, {1, 2});
    ASSERT_EQ(initiator.calls.size(), 1u);
    EXPECT_EQ(initiator.calls[0].a, (Point{0, 0}));
    EXPECT_EQ(initiator.calls[0].index, 9);
    EXPECT_EQ(initiator.calls[0].width, 16);

    // The recorder's text is 8 units a character and 16 high.
    RecordingSurface surface;
    fractal->DrawGeneratorOverlay(surface, {1, 2});
    const std::vector<std::pair<std::string, Point>> texts = {
        {"F", {16, 16}}, {"F-F", {16, 32}}, {"+", {40, 16}},  {"+", {40, 32}},
        {"X", {48, 16}}, {"X", {48, 32}},   {"...", {16, 48}}};
    const Color colors[] = {1, 2, 1, 1, 1, 1, 2};
    ASSERT_EQ(surface.calls.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(surface.calls[i].text, texts[i].first) << i;
        EXPECT_EQ(surface.calls[i].a, texts[i].second) << i;
        EXPECT_EQ(surface.calls[i].color, colors[i]) << i;
    }
}
