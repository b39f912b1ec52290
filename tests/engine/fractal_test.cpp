#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "engine/fractal.h"
#include "engine/presets.h"
#include "tests/engine/recording_surface.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// A fractal of `m_days` elements on a line from (0, 0) to (days, days / 2),
// counting how often it is measured.
class LineFractal : public CFractal
{
public:
    explicit LineFractal(int days) : CFractal("line", days, "test") {}
    explicit LineFractal(CTextArchive& ar) : CFractal(ar, "test") {}

    bool ComputeBounds(int days, FractalBounds& out, const StopFlag* stop, ProgressFn progress,
                       void* arg) override
    {
        ++measured;
        ExtentSurface surface;
        const DrawContext ctx{&surface, stop, progress, arg};
        const int depth = BoundsDepth(days);
        for (int i = 0; i <= depth; ++i) {
            surface.SetPixel(i * m_bounds.scale, i * 0.5 * m_bounds.scale);
            CountElement(ctx);
        }
        out = surface.Bounds();
        return true;
    }
    bool Draw(DrawingSurface&, const StopFlag*) override { return false; }
    void DrawInitiatorOverlay(MarkerSurface&, ColorPair) override {}
    void DrawGeneratorOverlay(MarkerSurface&, ColorPair) override {}
    bool IsValid() const override { return true; }

    int measured = 0;
};

TEST(FractalBase, ScaleToFitFitsTheLargerDimension)
{
    EXPECT_EQ(CFractal::ScaleToFit(0, 0, 32767, 32767), -1.0);
    EXPECT_EQ(CFractal::ScaleToFit(2, 0, 32767, 32767), 16383.5);
    EXPECT_EQ(CFractal::ScaleToFit(0, 2, 32767, 32767), 16383.5);
    EXPECT_EQ(CFractal::ScaleToFit(4, 2, 32767, 32767), 8191.75);
    EXPECT_EQ(CFractal::ScaleToFit(-1, -3, 32767, 32767), -1.0);
}

TEST(FractalBase, PrepareBoundsCachesPerDayCountAndScales)
{
    LineFractal f(4);
    ASSERT_TRUE(f.PrepareBounds(nullptr, nullptr, nullptr));
    EXPECT_EQ(f.measured, 1);
    EXPECT_EQ(f.m_bounds, (FractalBounds{0, 2, 0, 4, 32767.0 / 4, true}));
    EXPECT_EQ(f.m_boundsCache[4], f.m_bounds);

    // Valid entries are never measured again, whatever the days did since.
    f.m_days = 2;
    ASSERT_TRUE(f.PrepareBounds(nullptr, nullptr, nullptr));
    f.m_days = 4;
    ASSERT_TRUE(f.PrepareBounds(nullptr, nullptr, nullptr));
    EXPECT_EQ(f.measured, 2);
    EXPECT_TRUE(f.m_boundsCache[2].valid);
    EXPECT_FALSE(f.m_boundsCache[3].valid);
}

TEST(FractalBase, DayCountsOutsideTheCacheAreMeasuredEveryTime)
{
    LineFractal big(40);
    ASSERT_TRUE(big.PrepareBounds(nullptr, nullptr, nullptr));
    ASSERT_TRUE(big.PrepareBounds(nullptr, nullptr, nullptr));
    EXPECT_EQ(big.measured, 2);
    EXPECT_EQ(big.m_bounds.maxX, 40);
    for (const FractalBounds& entry : big.m_boundsCache) {
        EXPECT_FALSE(entry.valid);
    }

    // A negative day count is measured at depth 0: a single point, still a
    // figure, kept at its own units.
    LineFractal negative(-5);
    EXPECT_TRUE(negative.PrepareBounds(nullptr, nullptr, nullptr));
    EXPECT_EQ(negative.m_bounds.scale, 1.0);
}

TEST(FractalBase, StopLeavesTheEntryInvalidAndProgressCountsAcrossDrawings)
{
    LineFractal f(30);
    f.m_progressPeriod = 7;
    int calls = 0;
    const ProgressFn progress = [](void* arg) { ++*static_cast<int*>(arg); };

    StopFlag stop{true};
    EXPECT_THROW(f.PrepareBounds(&stop, progress, &calls), int);
    EXPECT_FALSE(f.m_boundsCache[30].valid);

    stop = false;
    ASSERT_TRUE(f.PrepareBounds(&stop, progress, &calls));
    // The stopped element is not counted; the 31 of the full run are, and
    // every 7th is reported.
    EXPECT_EQ(f.m_progressCount, 31);
    EXPECT_EQ(calls, 4);
}

// Every kind draws through the same element accounting: a stop raised at
// some element abandons the work with -1 before the next one, and progress
// is reported every period of elements counted over the fractal's life, not
// per drawing.
struct StopAfter
{
    StopFlag stop{false};
    int reports = 0;
    int stopAt = 0; // the report that raises the stop; 0 never
};

void Report(void* arg)
{
    auto* s = static_cast<StopAfter*>(arg);
    if (++s->reports == s->stopAt) {
        s->stop = true;
    }
}

const char* const kKindNames[kKindCount] = {"standard", "ifs", "mcrm", "lsys", "automaton"};

class EveryKind : public testing::TestWithParam<int>
{
};

TEST_P(EveryKind, StopsAtTheNextElementAndCountsProgressAcrossDrawings)
{
    FractalPtr f = CreatePreset(GetParam(), 0);
    ASSERT_TRUE(f && !f->m_bad);
    FractalBounds box;

    // A drawing without a progress function is not counted.
    RecordingSurface full;
    ASSERT_TRUE(f->Draw(full, nullptr));
    EXPECT_EQ(f->m_progressCount, 0);

    // One measurement counts its elements; with a period just above that,
    // only the second measurement reports, since the count goes on.
    StopAfter run;
    ASSERT_TRUE(f->ComputeBounds(0, box, &run.stop, Report, &run));
    const std::int64_t elements = f->m_progressCount;
    ASSERT_GT(elements, 10);
    f->m_progressPeriod = static_cast<int>(elements) + 1;
    ASSERT_TRUE(f->ComputeBounds(0, box, &run.stop, Report, &run));
    EXPECT_EQ(run.reports, 1);
    EXPECT_EQ(f->m_progressCount, 2 * elements);

    // Reports every element from here; the fifth raises the stop, and the
    // element after it throws before it is counted.
    f->m_progressCount = 0;
    f->m_progressPeriod = 1;
    StopAfter stopped;
    stopped.stopAt = 5;
    try {
        f->ComputeBounds(0, box, &stopped.stop, Report, &stopped);
        ADD_FAILURE() << "the stop was not seen";
    } catch (int code) {
        EXPECT_EQ(code, -1);
    }
    EXPECT_EQ(f->m_progressCount, 5);

    // A drawing stopped from the start ends after its first element, however
    // many calls an element takes in this kind.
    RecordingSurface first;
    const StopFlag stop{true};
    EXPECT_THROW(f->Draw(first, &stop), int);
    const auto perElement = (full.calls.size() + elements - 1) / elements;
    EXPECT_LE(first.calls.size(), perElement);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryKind, testing::Range(0, kKindCount),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(kKindNames[info.param]);
                         });

TEST(FractalBase, HeaderRoundTripKeepsTheNameWithoutItsSeparator)
{
    std::stringstream in("[name]  two blanks\n[ndays] 7\n");
    CTextArchive ar(in);
    LineFractal f(ar);
    EXPECT_FALSE(f.m_bad);
    EXPECT_EQ(f.m_name, " two blanks");
    EXPECT_EQ(f.m_days, 7);

    std::stringstream out;
    CTextArchive writer(out);
    ASSERT_TRUE(f.Save(writer));
    EXPECT_EQ(out.str(), "[type] test\n[name]  two blanks\n[ndays] 7\n");
}

TEST(FractalBase, TheLongestNameSurvivesEverySave)
{
    // A name that fills a whole line without its blank would not read back
    // once Save puts the blank in: it is kept to what a line can hold.
    std::stringstream in("[name]" + std::string(1023, 'n') + "\n[ndays] 2\n");
    CTextArchive ar(in);
    LineFractal f(ar);
    ASSERT_FALSE(f.m_bad);
    EXPECT_EQ(f.m_name.size(), CFractal::kMaxName);

    std::stringstream saved;
    CTextArchive writer(saved);
    f.Save(writer);
    const std::string once = saved.str();
    saved.seekg(0);
    CTextArchive reader(saved);
    reader.Expect("[type]");
    std::string keyword;
    reader >> keyword;
    LineFractal again(reader);
    ASSERT_FALSE(again.m_bad);
    EXPECT_EQ(again.m_name, f.m_name);
}

TEST(FractalBase, DamagedHeadersLeaveTheFractalUnusable)
{
    for (const char* text : {"", "[name] x\n", "[name] x\n[ndays] many\n", "[Name] x\n[ndays] 1"}) {
        std::stringstream in(text);
        CTextArchive ar(in);
        LineFractal f(ar);
        EXPECT_TRUE(f.m_bad) << text;
    }
}

TEST(FractalBase, UnknownKindLeavesThePointerAlone)
{
    FractalPtr out(new LineFractal(3));
    CFractal* before = out.get();
    for (const char* text : {"[type] mandelbrot\n[name] x\n", "[kind] std\n", ""}) {
        std::stringstream in(text);
        CTextArchive ar(in);
        EXPECT_FALSE(CreateFractal(out, ar)) << text;
        EXPECT_EQ(out.get(), before) << text;
    }
}

TEST(FractalBase, FractalPtrDeletesWithTheLastReference)
{
    static int alive = 0;
    struct Counted : LineFractal
    {
        Counted() : LineFractal(1) { ++alive; }
        ~Counted() override { --alive; }
    };
    {
        FractalPtr a(new Counted);
        FractalPtr b = a;
        a = FractalPtr(new Counted);
        EXPECT_EQ(alive, 2);
        b = a;
        EXPECT_EQ(alive, 1);
        FractalPtr c = std::move(b);
        EXPECT_FALSE(b);
        a = a; // self-assignment keeps it
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

} // namespace
