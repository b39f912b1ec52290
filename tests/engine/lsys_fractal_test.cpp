#include "engine/lsys_fractal.h"

#include "core/text_archive.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kScale = 2.5;
constexpr double kTolerance = 1e-9;

// An L-system fractal from an axiom, rules "F=..." and a compass, drawn at
// kScale.
FractalPtr Make(const std::string& axiom, const std::vector<Rule>& rules, int directions, int days)
{
    LSystem lsystem;
    lsystem.axiom = Axiom(axiom);
    lsystem.rules.Rules() = rules;
    FractalPtr fractal = new CLsysFractal("test", days, lsystem, Directions(directions));
    fractal->m_bounds.scale = kScale;
    return fractal;
}

std::vector<Segment> Lines(const RecordingSurface& surface)
{
    std::vector<Segment> lines;
    for (const SurfaceCall& call : surface.Of(SurfaceOp::Line)) {
        lines.push_back({call.a, call.b});
    }
    return lines;
}

void ExpectSegment(const Segment& actual, Segment expected)
{
    EXPECT_NEAR(actual.start.x, expected.start.x, kTolerance);
    EXPECT_NEAR(actual.start.y, expected.start.y, kTolerance);
    EXPECT_NEAR(actual.end.x, expected.end.x, kTolerance);
    EXPECT_NEAR(actual.end.y, expected.end.y, kTolerance);
}

// The segments a one-day drawing of `axiom` gives when F rewrites to itself.
std::vector<Segment> DrawOneDay(const std::string& axiom, int directions)
{
    RecordingSurface surface;
    FractalPtr fractal = Make(axiom, {{'F', "F"}}, directions, 1);
    EXPECT_TRUE(fractal->Draw(surface, nullptr));
    return Lines(surface);
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

TEST(LsysFractalTurtle, StepsAlongHeadingsOfTheCompass)
{
    // Depth 0: the axiom as it is.
    FractalPtr fractal = Make("F", {{'F', "F+F"}}, 4, 0);
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_TRUE(box.valid);
    EXPECT_NEAR(box.minX, 0.0, kTolerance);
    EXPECT_NEAR(box.maxX, kScale, kTolerance);
    EXPECT_NEAR(box.minY, 0.0, kTolerance);
    EXPECT_NEAR(box.maxY, 0.0, kTolerance);

    // Depth 1: F+F turns to heading 1, a quarter turn up the screen.
    fractal->m_days = 1;
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    const std::vector<Segment> lines = Lines(surface);
    ASSERT_EQ(lines.size(), 2u);
    ExpectSegment(lines[0], {{0, 0}, {kScale, 0}});
    ExpectSegment(lines[1], {{kScale, 0}, {kScale, -kScale}});

    ASSERT_TRUE(fractal->ComputeBounds(1, box, nullptr, nullptr, nullptr));
    EXPECT_NEAR(box.minY, -kScale, kTolerance);
    EXPECT_NEAR(box.maxX, kScale, kTolerance);
}

TEST(LsysFractalTurtle, LettersWithoutRulesVanishAboveDepthZero)
{
    FractalPtr fractal = Make("FXF", {}, 4, 0);
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_NEAR(box.maxX, 2 * kScale, kTolerance);

    fractal->m_days = 1;
    RecordingSurface surface;
    EXPECT_TRUE(fractal->Draw(surface, nullptr));
    EXPECT_TRUE(surface.calls.empty());
}

TEST(LsysFractalTurtle, TurnsReturnToTheirStart)
{
    // "+" four times on four headings, "|" twice, "-" then "+".
    for (const char* axiom : {"++++F", "||F", "-+F", "+-F"}) {
        const std::vector<Segment> lines = DrawOneDay(axiom, 4);
        ASSERT_EQ(lines.size(), 1u) << axiom;
        ExpectSegment(lines[0], {{0, 0}, {kScale, 0}});
    }
    // "-" from heading 0 wraps to the last heading, down the screen.
    ExpectSegment(DrawOneDay("-F", 4).at(0), {{0, 0}, {0, kScale}});
    // "|" is half a turn on an even compass, truncated on an odd one.
    ExpectSegment(DrawOneDay("|F", 4).at(0), {{0, 0}, {-kScale, 0}});
    const double third = -2 * pi / 3;
    ExpectSegment(DrawOneDay("|F", 3).at(0),
                  {{0, 0}, {kScale * std::cos(third), kScale * std::sin(third)}});
}

TEST(LsysFractalTurtle, BracketsSaveAndRestorePositionAndHeading)
{
    const std::vector<Segment> lines = DrawOneDay("F[+F]F", 4);
    ASSERT_EQ(lines.size(), 3u);
    ExpectSegment(lines[1], {{kScale, 0}, {kScale, -kScale}});
    ExpectSegment(lines[2], {{kScale, 0}, {2 * kScale, 0}});

    // An unmatched "]" is ignored rather than reading an empty stack.
    const std::vector<Segment> unmatched = DrawOneDay("F]]F", 4);
    ASSERT_EQ(unmatched.size(), 2u);
    ExpectSegment(unmatched[1], {{kScale, 0}, {2 * kScale, 0}});
}

TEST(LsysFractalTurtle, TurtleCommandsAreNeverRewritten)
{
    FractalPtr fractal = Make("+F", {{'+', "++"}, {'F', "F"}}, 4, 3);
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    const std::vector<Segment> lines = Lines(surface);
    ASSERT_EQ(lines.size(), 1u);
    ExpectSegment(lines[0], {{0, 0}, {0, -kScale}});
}

TEST(LsysFractalTurtle, MoveLettersMoveWithoutDrawingAndDDraws)
{
    FractalPtr fractal = Make("GMfD", {{'G', "G"}, {'M', "M"}, {'f', "f"}, {'D', "D"}}, 4, 1);
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    ASSERT_EQ(surface.calls.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(surface.calls[i].op, SurfaceOp::MoveTo);
        EXPECT_NEAR(surface.calls[i].a.x, (i + 1) * kScale, kTolerance);
    }
    ASSERT_EQ(surface.calls[3].op, SurfaceOp::Line);
    ExpectSegment({surface.calls[3].a, surface.calls[3].b}, {{3 * kScale, 0}, {4 * kScale, 0}});
}

TEST(LsysFractalTurtle, EmptyCompassActsAsOneHeading)
{
    const std::vector<Segment> lines = DrawOneDay("+|-F|F", 0);
    ASSERT_EQ(lines.size(), 2u);
    ExpectSegment(lines[1], {{kScale, 0}, {2 * kScale, 0}});
}

TEST(LsysFractalDraw, NothingBelowDayOne)
{
    FractalPtr fractal = Make("F", {{'F', "F+F"}}, 4, 0);
    RecordingSurface surface;
    EXPECT_FALSE(fractal->Draw(surface, nullptr));
    fractal->m_days = -5;
    EXPECT_FALSE(fractal->Draw(surface, nullptr));
    EXPECT_TRUE(surface.calls.empty());
}

TEST(LsysFractalDraw, ProgressCountsEveryInterpretedCharacter)
{
    // One F at depth k interprets 3 * 2^k - 2 characters with F=F+F.
    FractalPtr fractal = Make("F", {{'F', "F+F"}}, 4, 16);
    Progress progress;
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(16, box, nullptr, CountProgress, &progress));
    EXPECT_EQ(fractal->m_progressCount, 196606);
    EXPECT_EQ(progress.calls, 3);

    // The count goes on across drawings; Draw itself reports no progress.
    ASSERT_TRUE(fractal->ComputeBounds(16, box, nullptr, CountProgress, &progress));
    EXPECT_EQ(fractal->m_progressCount, 2 * 196606);
    EXPECT_EQ(progress.calls, 7);
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    EXPECT_EQ(fractal->m_progressCount, 2 * 196606);
}

TEST(LsysFractalDraw, StopFlagThrowsMinusOne)
{
    FractalPtr fractal = Make("F", {{'F', "F+F"}}, 4, 16);
    StopFlag stop{true};
    RecordingSurface surface;
    EXPECT_THROW(
        {
            try {
                fractal->Draw(surface, &stop);
            } catch (int code) {
                EXPECT_EQ(code, -1);
                throw;
            }
        },
        int);
    EXPECT_TRUE(surface.calls.empty());

    // Raised from the progress callback: the very next character stops.
    stop = false;
    Progress progress;
    progress.stopAtFirstCall = &stop;
    FractalBounds box;
    EXPECT_THROW(fractal->ComputeBounds(16, box, &stop, CountProgress, &progress), int);
    EXPECT_EQ(fractal->m_progressCount, 50000);
    EXPECT_FALSE(box.valid);
}

TEST(LsysFractalDraw, HugeDayCountsAreBoundedAndStoppable)
{
    // A rule that does not grow finishes at the deepest depth allowed.
    FractalPtr still = Make("F", {{'F', "F"}}, 4, 1000000);
    RecordingSurface surface;
    ASSERT_TRUE(still->Draw(surface, nullptr));
    ASSERT_EQ(Lines(surface).size(), 1u);
    FractalBounds box;
    ASSERT_TRUE(still->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_NEAR(box.maxX, kScale, kTolerance);

    // A growing one is stopped by its caller, measured or drawn.
    FractalPtr growing = Make("F", {{'F', "F+F-"}}, 4, 1000000);
    StopFlag stop{false};
    Progress progress;
    progress.stopAtFirstCall = &stop;
    EXPECT_THROW(growing->ComputeBounds(1000000, box, &stop, CountProgress, &progress), int);
    stop = false;
    StoppingSurface stopping(stop, 1000);
    EXPECT_THROW(growing->Draw(stopping, &stop), int);
    EXPECT_EQ(stopping.calls.size(), 1000u);
}

TEST(LsysFractalFile, SectionsAreWrittenExactly)
{
    FractalPtr fractal = Make("F", {{'F', "F+F-F"}}, 4, 3);
    fractal->m_name = "koch";
    EXPECT_EQ(SaveText(*fractal), "[type] lsys\n[name] koch\n[ndays] 3\n"
                                  "[axioms]\nF\n[rules] 1\nF=F+F-F\n[directions] 4\n");
}

TEST(LsysFractalFile, RoundTripThroughTheFactory)
{
    FractalPtr original = Make("F--F--F", {{'F', "F+F--F+F"}, {'X', ""}}, 6, 4);
    original->m_name = "snow flake";
    const std::string text = SaveText(*original);

    // The alias keyword reads the same kind and saves under "lsys".
    std::string aliased = text;
    aliased.replace(aliased.find("lsys"), 4, "lsystem");
    std::stringstream stream(aliased);
    CTextArchive ar(stream);
    FractalPtr copy;
    ASSERT_TRUE(CreateFractal(copy, ar));
    EXPECT_EQ(copy->m_name, "snow flake");
    EXPECT_EQ(copy->m_days, 4);
    EXPECT_EQ(*copy->GetLsystem(), *original->GetLsystem());
    EXPECT_EQ(*copy->GetDirections(), Directions(6));
    EXPECT_EQ(SaveText(*copy), text);
}

TEST(LsysFractalFile, EmptyAxiomRoundTripsAsUnusable)
{
    FractalPtr original = Make("", {{'F', "FF"}}, 8, 2);
    const std::string text = SaveText(*original);
    EXPECT_NE(text.find("[axioms]\n\n[rules] 1\n"), std::string::npos);

    std::stringstream stream(text);
    CTextArchive ar(stream);
    FractalPtr copy;
    EXPECT_FALSE(CreateFractal(copy, ar));
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->m_bad);
    EXPECT_TRUE(copy->GetLsystem()->axiom.empty());
    EXPECT_EQ(copy->GetLsystem()->rules.size(), 1u);
    EXPECT_EQ(copy->GetDirections()->Count(), 8);
}

TEST(LsysFractalFile, DamagedFilesKeepWhatWasRead)
{
    const std::string header = "[type] lsys\n[name] x\n[ndays] 2\n";
    {
        std::stringstream stream(header + "[axioms]\nF\n[rules] 3\nF=F+F\nG=G\n");
        CTextArchive ar(stream);
        FractalPtr fractal;
        // Rules and axiom are there: usable, with an empty compass.
        EXPECT_TRUE(CreateFractal(fractal, ar));
        EXPECT_EQ(fractal->GetLsystem()->rules.size(), 2u);
        EXPECT_EQ(fractal->GetDirections()->Count(), 0);
    }
    for (const std::string& rest : {std::string("[axioms]\nF\n"), std::string(""),
                                    std::string("[rules] 1\nF=FF\n[directions] 4\n")}) {
        std::stringstream stream(header + rest);
        CTextArchive ar(stream);
        FractalPtr fractal;
        EXPECT_FALSE(CreateFractal(fractal, ar)) << rest;
        ASSERT_TRUE(fractal);
        EXPECT_TRUE(fractal->m_bad);
    }
}

TEST(LsysFractalModel, ValidityAndConstruction)
{
    EXPECT_TRUE(Make("F", {{'F', "F"}}, 4, 1)->IsValid());
    EXPECT_FALSE(Make("", {{'F', "F"}}, 4, 1)->IsValid());
    EXPECT_FALSE(Make("F", {}, 4, 1)->IsValid());
    EXPECT_TRUE(Make("", {{'F', "F"}}, 4, 1)->m_bad);

    const RulePreset rules[] = {{'F', "F+F--F+F"}};
    const LsysPreset koch{"Koch", 4, 6, 1, "F", rules};
    CLsysFractal fractal(koch);
    EXPECT_FALSE(fractal.m_bad);
    EXPECT_EQ(fractal.m_type, "lsys");
    EXPECT_EQ(fractal.m_days, 4);
    EXPECT_EQ(fractal.GetDirections()->Count(), 6);
    EXPECT_EQ(fractal.GetGenerator(), nullptr);
    EXPECT_EQ(fractal.GetAutomaton(), nullptr);

    const LsysPreset broken{"Broken", 4, 6, 1, "F=F", rules};
    EXPECT_TRUE(CLsysFractal(broken).m_bad);
}

TEST(LsysFractalOverlay, InitiatorMarkAndDerivationText)
{
    FractalPtr fractal = Make("F+X", {{'F', "F-F"}}, 4, 1);
    RecordingSurface initiator;
    fractal->DrawInitiatorOverlay(initiator, {1, 2});
    ASSERT_EQ(initiator.calls.size(), 1u);
    EXPECT_EQ(initiator.calls[0].op, SurfaceOp::Image);
    EXPECT_EQ(initiator.calls[0].a, (Point{0, 0}));
    EXPECT_EQ(initiator.calls[0].index, 9);
    EXPECT_EQ(initiator.calls[0].width, 16);

    // The recorder's text is 8 units a character and 16 high.
    RecordingSurface surface;
    fractal->DrawGeneratorOverlay(surface, {1, 2});
    struct Expected
    {
        const char* text;
        double x, y;
        Color color;
    };
    const Expected expected[] = {{"F", 16, 16, 1},  {"F-F", 16, 32, 2}, {"+", 40, 16, 1},
                                 {"+", 40, 32, 1},  {"X", 48, 16, 1},   {"X", 48, 32, 1},
                                 {"...", 16, 48, 2}};
    ASSERT_EQ(surface.calls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(surface.calls[i].text, expected[i].text) << i;
        EXPECT_EQ(surface.calls[i].a, (Point{expected[i].x, expected[i].y})) << i;
        EXPECT_EQ(surface.calls[i].color, expected[i].color) << i;
    }
}
