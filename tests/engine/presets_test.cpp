#include "engine/presets.h"

#include "core/text_archive.h"
#include "engine/affine_map_set.h"
#include "engine/automaton.h"
#include "engine/create_fractal.h"
#include "engine/lsystem.h"
#include "engine/pattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kKeywords[kKindCount] = {"std", "ifs", "mcrm", "lsys", "automaton"};

// What one drawing produced: lines, pen moves, points, the box of them all,
// and how often a line did not start where the previous one ended.
class CountingSurface final : public DrawingSurface
{
public:
    std::int64_t lines = 0;
    std::int64_t moves = 0;
    std::int64_t pixels = 0;
    std::int64_t breaks = 0;
    ExtentSurface extent;

    void MoveTo(double x, double y) override
    {
        ++moves;
        extent.MoveTo(x, y);
        m_pen = {x, y};
        m_hasPen = true;
    }
    void SetPixel(double x, double y, Color) override { SetPixel(x, y); }
    void SetPixel(double x, double y) override
    {
        ++pixels;
        extent.SetPixel(x, y);
    }
    void Line(double x1, double y1, double x2, double y2, Color) override { Line(x1, y1, x2, y2); }
    void Line(double x1, double y1, double x2, double y2) override
    {
        ++lines;
        if (m_hasPen && (std::abs(x1 - m_pen.x) > 1e-9 || std::abs(y1 - m_pen.y) > 1e-9)) {
            ++breaks;
        }
        extent.Line(x1, y1, x2, y2);
        m_pen = {x2, y2};
        m_hasPen = true;
    }
    void LineTo(double x, double y, Color) override { LineTo(x, y); }
    void LineTo(double x, double y) override
    {
        ++lines;
        extent.LineTo(x, y);
        m_pen = {x, y};
    }
    void Arrow(Point, Polar, int, Color) override {}
    void Arrow(Point, Polar, int) override {}
    void Circle(double, double, double, Color) override {}
    void Circle(double, double, double) override {}
    const AffineMap* GetTransform() const override { return nullptr; }

private:
    Point m_pen;
    bool m_hasPen = false;
};

std::string SaveToText(CFractal& f)
{
    std::stringstream stream;
    CTextArchive ar(stream);
    EXPECT_TRUE(f.Save(ar));
    return stream.str();
}

// Every preset as tabled: its kind, name, days and the elements drawn at
// those days (lines, pen moves or points). These totals were worked out from
// the tables by hand and by script, not by the engine.
struct Row
{
    int kind;
    const char* name;
    int days;
    std::int64_t elements;
};

const Row kRows[] = {
    {0, "hexastar", 4, 6561 + 820}, // 9 lines and 1 jump per step: 9^4 + (9^4 - 1) / 8
    {0, "arabesque", 13, 8192},     // 2^13
    {0, "greek", 4, 6561},          // 9^4
    {0, "flake", 4, 768},           // 3 * 4^4
    {0, "sierpinski's gasket", 6, 1457},
    {0, "trilattice", 6, 12288},
    {0, "helix 1", 5, 31104}, // 4 * 6^5
    {0, "helix 2", 3, 8788},  // 4 * 13^3
    {0, "peano's curve", 4, 6561},
    {0, "koch", 5, 3072}, // 3 * 4^5
    {0, "cauliflower", 12, 16384},
    {0, "brains", 12, 4096},
    {0, "sierpinski carpet", 4, 4096 + 585},
    {1, "IFS sierpinski's gasket ", 9, 19683}, // 3^9
    {1, "IFS sierpinski's gasket's cousin", 9, 19683},
    {1, "IFS twin xmas tree", 9, 19683},
    {1, "IFS threefold dragon", 9, 19683},
    {1, "IFS twig", 9, 19683},
    {1, "IFS crystal", 7, 16384},      // 4^7
    {1, "IFS koch crystal", 6, 15625}, // 5^6
    {1, "IFS tree", 7, 78125},
    {1, "IFS Barnley's fern", 9, 262144},
    {1, "IFS Cantor's maze", 9, 19683},
    {2, "IFS sierpinski's gasket ", 6, 2187}, // 3^6 triangles
    {2, "IFS sierpinski's gasket's cousin", 6, 3645},
    {2, "IFS twin xmas tree", 6, 2916},
    {2, "IFS threefold dragon", 6, 2916},
    {2, "IFS twig", 6, 2187},
    {2, "IFS crystal", 4, 768},
    {2, "IFS koch crystal", 3, 375},
    {2, "IFS tree", 4, 1875},
    {2, "IFS Barnley's fern", 6, 12288},
    {2, "IFS Cantor's maze", 6, 5832}, // 3^6 octagons
    {3, "lsys for koch's curve", 5, 3072},
    {3, "lsys for hilbert's curve", 6, 4095}, // 4^6 - 1
    {3, "lsys for aerial", 4, 3968},
    {3, "lsys for gosper's curve", 4, 2184},
    {3, "lsys for koch 1", 6, 12288},
    {3, "lsys for koch 4", 2, 256},
    {3, "lsys for koch 6", 2, 1296},
    {3, "lsys for penrose 1", 3, 356},
    {3, "lsys for penrose 2", 3, 356},
    {3, "lsys for penrose 3", 3, 400},
    {3, "lsys for penrose 4", 3, 400},
    {3, "lsys for double penrose", 3, 800},
    {4, "gosper curve", 3, 1029}, // 3 * 7^3
    {4, "koch version 2", 4, 256},
    {4, "sierpinski carpet 2", 4, 4096 + 803},
    {4, "sierpinski crosses", 10, 1024},
    {4, "pentigree", 4, 6480},
    {4, "davis and knuth's terdragon", 7, 2187},
    {4, "brick interior", 12, 2047},
    {4, "brick", 10, 2048},
    {4, "mandelbrot's arrowhead", 4, 324},
    {4, "mandelbrot's quintet", 7, 78125},
    {4, "heighway's dragon", 11, 2048}, // 2^11
    {4, "heighway's dragon interior", 10, 513},
    {4, "heighway's dragon curd", 13, 4096 + 4096},
    {4, "heighway's dragon boundary", 8, 246},
    {4, "lace", 6, 2187},
    {4, "hilbert's curve", 6, 4095},
    {4, "moore's necklace", 3, 729},
    {4, "dekking's church", 7, 8748},
    {4, "xmas tree", 8, 6561},
};

struct Case
{
    int kind;
    int index;
    const Row* row;
};

std::vector<Case> AllCases()
{
    std::vector<Case> cases;
    int index = 0;
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        if (i > 0 && kRows[i].kind != kRows[i - 1].kind) {
            index = 0;
        }
        cases.push_back({kRows[i].kind, index++, &kRows[i]});
    }
    return cases;
}

class EveryPreset : public testing::TestWithParam<Case>
{
};

TEST_P(EveryPreset, IsTabledSavesLosslesslyAndDrawsItsElements)
{
    const Case& c = GetParam();
    EXPECT_STREQ(PresetName(c.kind, c.index), c.row->name);

    FractalPtr f = CreatePreset(c.kind, c.index);
    ASSERT_TRUE(f);
    ASSERT_FALSE(f->m_bad);
    EXPECT_EQ(f->m_type, kKeywords[c.kind]);
    EXPECT_EQ(f->m_name, c.row->name);
    EXPECT_EQ(f->m_days, c.row->days);

    // Saved, reopened and saved again: nothing is lost or changed.
    const std::string first = SaveToText(*f);
    std::stringstream in(first);
    CTextArchive reader(in);
    FractalPtr back;
    ASSERT_TRUE(CreateFractal(back, reader)) << first;
    EXPECT_EQ(back->m_type, f->m_type);
    EXPECT_EQ(back->m_name, f->m_name);
    EXPECT_EQ(back->m_days, f->m_days);
    EXPECT_EQ(SaveToText(*back), first);

    // Drawn at its own day count: exactly the elements of the table, points
    // for an IFS and lines or pen moves for every other kind.
    CountingSurface counted;
    ASSERT_TRUE(f->Draw(counted, nullptr));
    EXPECT_EQ(counted.lines + counted.moves + counted.pixels, c.row->elements);
    EXPECT_EQ(counted.pixels != 0, c.kind == 1);

    // Measuring draws the same figure, and the box is a real, finite area.
    FractalBounds box;
    ASSERT_TRUE(f->ComputeBounds(0, box, nullptr, nullptr, nullptr));
    EXPECT_TRUE(box.valid);
    const double width = box.maxX - box.minX;
    const double height = box.maxY - box.minY;
    EXPECT_TRUE(std::isfinite(width) && std::isfinite(height));
    EXPECT_GT(width, 0.0);
    EXPECT_GT(height, 0.0);
    const FractalBounds drawn = counted.extent.Bounds();
    EXPECT_DOUBLE_EQ(drawn.minX, box.minX);
    EXPECT_DOUBLE_EQ(drawn.maxX, box.maxX);
    EXPECT_DOUBLE_EQ(drawn.minY, box.minY);
    EXPECT_DOUBLE_EQ(drawn.maxY, box.maxY);

    // Scaled to fit, the figure fills the 32767-unit drawing range.
    ASSERT_TRUE(f->PrepareBounds(nullptr, nullptr, nullptr));
    CountingSurface scaled;
    ASSERT_TRUE(f->Draw(scaled, nullptr));
    const FractalBounds fitted = scaled.extent.Bounds();
    const double limit = CFractal::kDrawLimit * (1.0 + 1e-9);
    EXPECT_LE(fitted.maxX - fitted.minX, limit);
    EXPECT_LE(fitted.maxY - fitted.minY, limit);
    EXPECT_NEAR(std::max(fitted.maxX - fitted.minX, fitted.maxY - fitted.minY),
                CFractal::kDrawLimit, 1e-6 * CFractal::kDrawLimit);
}

INSTANTIATE_TEST_SUITE_P(Library, EveryPreset, testing::ValuesIn(AllCases()),
                         [](const testing::TestParamInfo<Case>& info) {
                             return "kind" + std::to_string(info.param.kind) + "_" +
                                    std::to_string(info.param.index);
                         });

TEST(PresetLibrary, CountsPerKindAndNothingOutsideTheTables)
{
    const int counts[kKindCount] = {13, 10, 10, 12, 19};
    int total = 0;
    for (int kind = 0; kind < kKindCount; ++kind) {
        EXPECT_EQ(PresetCount(kind), counts[kind]) << "kind " << kind;
        total += PresetCount(kind);
        EXPECT_FALSE(CreatePreset(kind, -1));
        EXPECT_FALSE(CreatePreset(kind, counts[kind]));
        EXPECT_STREQ(PresetName(kind, counts[kind]), "");
    }
    EXPECT_EQ(total, 64);
    EXPECT_EQ(static_cast<int>(std::size(kRows)), 64);
    EXPECT_EQ(PresetCount(5), 0);
    EXPECT_EQ(PresetCount(-1), 0);
    EXPECT_FALSE(CreatePreset(5, 0));
    EXPECT_FALSE(CreatePreset(-1, 0));
}

// Every machine copies a counter-clockwise polygon through the maps of the
// IFS preset of the same index, three generations fewer.
TEST(PresetLibrary, MachinesTakeTheirIfsMapsAndAPolygon)
{
    const int sides[10] = {3, 5, 4, 4, 3, 3, 3, 3, 3, 8};
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        FractalPtr ifs = CreatePreset(1, i);
        FractalPtr mcrm = CreatePreset(2, i);
        ASSERT_TRUE(ifs && mcrm);
        EXPECT_EQ(mcrm->m_name, ifs->m_name);
        EXPECT_EQ(mcrm->m_days, ifs->m_days - 3);
        EXPECT_EQ(*mcrm->GetAffineMaps(), *ifs->GetAffineMaps());
        EXPECT_EQ(*mcrm->GetGenerator(), Pattern::Polygon(sides[i], true));
    }

    const std::string gasket = PresetName(1, 0);
    EXPECT_EQ(gasket.back(), ' ');
    EXPECT_EQ(std::string(PresetName(2, 0)), gasket);
}

// The Hilbert L-system keeps the F its rules produce (F -> F), so it draws
// one connected curve through 4^6 cells instead of scattered squares.
TEST(PresetLibrary, HilbertLsystemIsOneConnectedCurve)
{
    FractalPtr f = CreatePreset(3, 1);
    ASSERT_TRUE(f);
    const RuleSet& rules = f->GetLsystem()->rules;
    ASSERT_EQ(rules.size(), 3u);
    ASSERT_NE(rules.Find('F'), nullptr);
    EXPECT_EQ(rules.Find('F')->replacement, "F");

    for (int days : {1, 2, 6}) {
        f->m_days = days;
        CountingSurface counted;
        ASSERT_TRUE(f->Draw(counted, nullptr));
        EXPECT_EQ(counted.lines, (std::int64_t{1} << (2 * days)) - 1) << days;
        EXPECT_EQ(counted.breaks, 0) << days;
    }
}

// The automaton symbols are unit steps on the compass; flags as tabled.
TEST(PresetLibrary, AutomatonStepsAreUnitCompassSteps)
{
    for (int i = 0; i < PresetCount(4); ++i) {
        FractalPtr f = CreatePreset(4, i);
        ASSERT_TRUE(f);
        const Pattern& steps = *f->GetGenerator();
        EXPECT_EQ(steps.size(), f->GetAutomaton()->m_productions.size()) << i;
        for (const PatternStep& step : steps) {
            EXPECT_EQ(step.ratio, 1.0) << i;
        }
    }
    // Heighway's dragon: directions 0..3 of four, so 0, -pi/2, -pi, -3pi/2.
    FractalPtr dragon = CreatePreset(4, 10);
    const Pattern& steps = *dragon->GetGenerator();
    ASSERT_EQ(steps.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(steps[k].angle, -pi / 2.0 * static_cast<double>(k), 1e-12);
    }
    // The carpet's jumps are invisible, the brick interior's scaffolding hidden.
    FractalPtr carpetPreset = CreatePreset(4, 2);
    FractalPtr brickPreset = CreatePreset(4, 6);
    const Pattern& carpet = *carpetPreset->GetGenerator();
    const Pattern& brick = *brickPreset->GetGenerator();
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(carpet[k].flags, k < 4 ? 0 : StepInvisible) << k;
        EXPECT_EQ(brick[k].flags, k < 4 ? StepHidden : 0) << k;
    }
}

} // namespace
