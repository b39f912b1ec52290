#include "engine/fractal_kind.h"
#include "engine/lsys_fractal.h"
#include "engine/presets.h"
#include "engine/standard_fractal.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

namespace {

using Element = std::tuple<int, double, double, double, double>;

// Keeps every element exactly; its pieces keep theirs and are appended in
// order when joined, so the whole list is the drawing's order.
class RecordingBatch final : public BatchSurface
{
public:
    std::vector<Element> elements;
    int forks = 0;
    bool splits = true;

    void Take(const DrawElement* batch, std::size_t count) override
    {
        for (std::size_t i = 0; i < count; ++i) {
            const DrawElement& e = batch[i];
            elements.emplace_back(e.op, e.op == DrawElement::Line ? e.x1 : 0.0,
                                  e.op == DrawElement::Line ? e.y1 : 0.0, e.x2, e.y2);
        }
    }
    std::unique_ptr<BatchSurface> Fork() override
    {
        ++forks;
        return splits ? std::make_unique<RecordingBatch>() : nullptr;
    }
    void Join(BatchSurface& piece) override
    {
        auto& other = dynamic_cast<RecordingBatch&>(piece);
        elements.insert(elements.end(), other.elements.begin(), other.elements.end());
    }

    void MoveTo(double, double) override { ADD_FAILURE() << "unbatched call"; }
    void SetPixel(double, double, Color) override { ADD_FAILURE() << "unbatched call"; }
    void SetPixel(double, double) override { ADD_FAILURE() << "unbatched call"; }
    void Line(double, double, double, double, Color) override { ADD_FAILURE() << "unbatched"; }
    void Line(double, double, double, double) override { ADD_FAILURE() << "unbatched call"; }
    void LineTo(double, double, Color) override { ADD_FAILURE() << "unbatched call"; }
    void LineTo(double, double) override { ADD_FAILURE() << "unbatched call"; }
    void Arrow(Point, Polar, int, Color) override {}
    void Arrow(Point, Polar, int) override {}
    void Circle(double, double, double, Color) override {}
    void Circle(double, double, double) override {}
    const AffineMap* GetTransform() const override { return nullptr; }
};

std::vector<Element> Plain(const RecordingSurface& surface)
{
    std::vector<Element> elements;
    for (const SurfaceCall& c : surface.calls) {
        switch (c.op) {
        case SurfaceOp::MoveTo:
            elements.emplace_back(DrawElement::Move, 0.0, 0.0, c.a.x, c.a.y);
            break;
        case SurfaceOp::SetPixel:
            elements.emplace_back(DrawElement::Pixel, 0.0, 0.0, c.a.x, c.a.y);
            break;
        default:
            elements.emplace_back(DrawElement::Line, c.a.x, c.a.y, c.b.x, c.b.y);
            break;
        }
    }
    return elements;
}

class Threads
{
public:
    explicit Threads(int count) { drawing::LimitDrawingThreads(count); }
    ~Threads() { drawing::LimitDrawingThreads(0); }
    Threads(const Threads&) = delete;
    Threads& operator=(const Threads&) = delete;
};

struct Figure
{
    int kind;
    int index;
    int days; // enough elements to be split
};

class EveryKindOnThreads : public testing::TestWithParam<Figure>
{
};

// Pieces drawn on three threads make exactly the calls of the plain
// recursion, in its order (turtles replay the tasks before their piece, so
// even the last bit of every position agrees), and measure the box one
// thread does.
TEST_P(EveryKindOnThreads, PiecesOnThreadsDrawAndMeasureExactlyWhatOneThreadDoes)
{
    const Figure f = GetParam();
    FractalPtr fractal = CreatePreset(f.kind, f.index);
    fractal->m_days = f.days;
    FractalBounds single;
    FractalBounds split;
    {
        Threads one(1);
        ASSERT_TRUE(fractal->ComputeBounds(0, single, nullptr, nullptr, nullptr));
    }
    {
        Threads three(3);
        ASSERT_TRUE(fractal->ComputeBounds(0, split, nullptr, nullptr, nullptr));
    }
    EXPECT_EQ(single, split);
    // The plain recursion's own box: the same for the kinds that split their
    // recursion; for the automaton and the L-systems, whose pieces are
    // measured from the origin (an L-system's only without brackets: the
    // aerial plant's are not) and moved into place, within a billionth of
    // the figure.
    ExtentSurface extent;
    ASSERT_TRUE(fractal->Draw(extent, nullptr));
    const FractalBounds box = extent.Bounds();
    const double tolerance = f.kind == 3 || f.kind == 4
                                 ? 1e-9 * std::max(box.maxX - box.minX, box.maxY - box.minY)
                                 : 0.0;
    EXPECT_NEAR(split.minX, box.minX, tolerance);
    EXPECT_NEAR(split.maxX, box.maxX, tolerance);
    EXPECT_NEAR(split.minY, box.minY, tolerance);
    EXPECT_NEAR(split.maxY, box.maxY, tolerance);
    ASSERT_TRUE(fractal->PrepareBounds(nullptr, nullptr, nullptr));

    RecordingSurface plain;
    ASSERT_TRUE(fractal->Draw(plain, nullptr));
    RecordingBatch pieces;
    {
        Threads three(3);
        ASSERT_TRUE(fractal->Draw(pieces, nullptr));
    }
    EXPECT_EQ(pieces.forks, 2);
    const std::vector<Element> expected = Plain(plain);
    ASSERT_EQ(pieces.elements.size(), expected.size());
    EXPECT_TRUE(pieces.elements == expected);

    // A surface that cannot split gets the whole drawing in batches.
    RecordingBatch whole;
    whole.splits = false;
    ASSERT_TRUE(fractal->Draw(whole, nullptr));
    EXPECT_TRUE(whole.elements == expected);

    // A set stop flag stops every piece; what each drew is still joined.
    const StopFlag stop{true};
    RecordingBatch stopped;
    Threads three(3);
    EXPECT_THROW(fractal->Draw(stopped, &stop), int);
    EXPECT_LT(stopped.elements.size(), expected.size());
}

INSTANTIATE_TEST_SUITE_P(Library, EveryKindOnThreads,
                         testing::Values(Figure{0, 9, 9}, Figure{1, 8, 9}, Figure{2, 0, 11},
                                         Figure{3, 1, 9}, Figure{3, 3, 7}, Figure{3, 2, 7},
                                         Figure{4, 10, 19}));

TEST(DeepGenerations, TurtlesDrawTheGenerationAskedAtAnyDepth)
{
    // F -> +F on three headings: generation n is n turns, then one line, so
    // it heads n mod 3. The recursion on the call stack used to stop at 1024
    // generations and draw heading 1024 mod 3 while reporting 2000.
    LSystem lsystem{Axiom("F"), {}};
    lsystem.rules.Rules() = {{'F', "+F"}};
    const Directions compass(3);
    FractalPtr fractal = new CLsysFractal("turns", 2000, lsystem, compass);
    fractal->m_bounds.scale = 1.0;
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    ASSERT_EQ(surface.calls.size(), 1u);
    EXPECT_NEAR(surface.calls[0].b.x, std::cos(compass.Angle(2000 % 3)), 1e-12);
    EXPECT_NEAR(surface.calls[0].b.y, std::sin(compass.Angle(2000 % 3)), 1e-12);
    FractalBounds box;
    ASSERT_TRUE(fractal->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_NEAR(box.maxY, std::sin(compass.Angle(2)), 1e-12);

    // Beyond what the heap stack is allowed, nothing is drawn at all.
    fractal->m_days = kMaxStackDays + 1;
    surface.calls.clear();
    EXPECT_FALSE(fractal->Draw(surface, nullptr));
    EXPECT_FALSE(fractal->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_EQ(fractal->MaxDays(), kMaxStackDays);
}

TEST(DeepGenerations, RecursiveKindsRefuseRatherThanDrawAnotherGeneration)
{
    // One step of half the length turned a quarter: generation n is a single
    // segment, so a deep generation is cheap and its answer is known.
    const double x[] = {0.0, 1.0};
    const double y[] = {0.0, 0.0};
    const int flags[] = {0};
    const double angles[] = {std::acos(-1.0) / 2.0};
    const double ratios[] = {1.0};
    const StandardPreset preset{"quarter", kMaxDepth, 1, x, y, 1, flags, angles, ratios};
    FractalPtr fractal = new CStandardFractal(preset);
    RecordingSurface surface;
    ASSERT_TRUE(fractal->Draw(surface, nullptr));
    EXPECT_EQ(surface.calls.size(), 1u);
    fractal->m_days = kMaxDepth + 1;
    surface.calls.clear();
    EXPECT_FALSE(fractal->Draw(surface, nullptr));
    FractalBounds box;
    EXPECT_FALSE(fractal->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_FALSE(fractal->PrepareBounds(nullptr, nullptr, nullptr));
    EXPECT_TRUE(surface.calls.empty());
}

TEST(Splitting, PiecesCostAlikeWhenTheyReplayWhatComesBefore)
{
    const std::vector<double> even(100, 1.0);
    EXPECT_EQ(drawing::SplitTasks(even, 2, 0.0), (std::vector<std::size_t>{0, 50, 100}));
    // Replaying at half the cost of drawing: the second piece draws a third.
    EXPECT_EQ(drawing::SplitTasks(even, 2, 0.5), (std::vector<std::size_t>{0, 67, 100}));
    // A heavy first task cannot be cut; no piece is empty.
    EXPECT_EQ(drawing::SplitTasks({100.0, 1.0}, 4, 0.0), (std::vector<std::size_t>{0, 1, 2}));
}

} // namespace
