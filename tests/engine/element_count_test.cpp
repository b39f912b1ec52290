#include "engine/fractal_kind.h"
#include "engine/lsys_fractal.h"
#include "engine/presets.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Counts the calls a drawing makes, drawing nothing.
class CallCounter final : public DrawingSurface
{
public:
    std::uint64_t calls = 0;
    void MoveTo(double, double) override { ++calls; }
    void SetPixel(double, double, Color) override { ++calls; }
    void SetPixel(double, double) override { ++calls; }
    void Line(double, double, double, double, Color) override { ++calls; }
    void Line(double, double, double, double) override { ++calls; }
    void LineTo(double, double, Color) override { ++calls; }
    void LineTo(double, double) override { ++calls; }
    void Arrow(Point, Polar, int, Color) override {}
    void Arrow(Point, Polar, int) override {}
    void Circle(double, double, double, Color) override {}
    void Circle(double, double, double) override {}
    const AffineMap* GetTransform() const override { return nullptr; }
};

void NoProgress(void*) {}

// What measuring and drawing generation `days` really make.
ElementCount Measured(CFractal& fractal, int days)
{
    ElementCount real;
    const std::int64_t before = fractal.m_progressCount;
    FractalBounds bounds;
    EXPECT_TRUE(fractal.ComputeBounds(days, bounds, nullptr, &NoProgress, nullptr));
    real.counted = static_cast<std::uint64_t>(fractal.m_progressCount - before);
    CallCounter counter;
    fractal.m_days = days;
    EXPECT_TRUE(fractal.Draw(counter, nullptr));
    real.drawn = counter.calls;
    return real;
}

} // namespace

// Every preset, generation by generation while the drawing stays small: the
// count made without drawing equals what measuring counts and what drawing
// puts on the surface (hidden and final steps, turtle commands, letters
// without rules, productions of every length).
TEST(ElementCount, EqualsWhatEveryPresetDraws)
{
    // Only the first of several pieces counts its elements.
    drawing::LimitDrawingThreads(1);
    for (int kind = 0; kind < kKindCount; ++kind) {
        for (int index = 0; index < PresetCount(kind); ++index) {
            FractalPtr fractal = CreatePreset(kind, index);
            ASSERT_TRUE(fractal);
            for (int days = 1; days <= 12; ++days) {
                const ElementCount count = fractal->CountElements(days);
                if (count.counted > 200000) {
                    break;
                }
                SCOPED_TRACE(std::string(PresetName(kind, index)) + " at " + std::to_string(days));
                const ElementCount real = Measured(*fractal, days);
                EXPECT_EQ(count.counted, real.counted);
                EXPECT_EQ(count.drawn, real.drawn);
            }
        }
    }
    drawing::LimitDrawingThreads(0);
}

TEST(ElementCount, NothingOutsideTheDrawnGenerations)
{
    FractalPtr koch = CreatePreset(0, 0);
    EXPECT_EQ(koch->CountElements(0).counted, 0U);
    EXPECT_EQ(koch->CountElements(-3).drawn, 0U);
    EXPECT_EQ(koch->CountElements(kMaxDepth + 1).counted, 0U);
    EXPECT_GT(koch->CountElements(kMaxDepth).counted, 0U);
    koch->m_bad = true;
    EXPECT_EQ(koch->CountElements(3).counted, 0U);
}

// The deepest generations saturate instead of wrapping round to a small
// number, and deep one-symbol rules are counted quickly and exactly.
TEST(ElementCount, SaturatesAndReachesTheDeepestDays)
{
    for (int kind = 0; kind < kKindCount; ++kind) {
        FractalPtr fractal = CreatePreset(kind, 0);
        const ElementCount deepest = fractal->CountElements(fractal->MaxDays());
        EXPECT_EQ(deepest.counted, kElementCountSaturated) << PresetName(kind, 0);
    }
    // F -> F+ grows by one turn per generation: each generation interprets
    // the F and the turn once more, and one line is drawn at the end.
    LSystem lsystem{Axiom("F"), {}};
    lsystem.rules.Rules() = {{'F', "F+"}};
    FractalPtr linear = new CLsysFractal("turn", 1, lsystem, Directions(4));
    ASSERT_FALSE(linear->m_bad);
    const ElementCount count = linear->CountElements(kMaxStackDays);
    EXPECT_EQ(count.counted, 2 * static_cast<std::uint64_t>(kMaxStackDays) + 1);
    EXPECT_EQ(count.drawn, 1U);
    EXPECT_EQ(CountMul(kElementCountSaturated / 2, 3), kElementCountSaturated);
    EXPECT_EQ(CountAdd(kElementCountSaturated - 1, 2), kElementCountSaturated);
}
