#include "engine/preset_tables.h"

#include "core/geometry.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

namespace preset_tables {

namespace {

// The irrational entries of the standard table, computed once, on first use,
// in the forms the tables were designed with (so 1/2 is cos 60 degrees and
// the square roots of 2 and 3 come from sines).
struct Constants
{
    double third = 1.0 / 3.0;
    double invSqrt3 = 1.0 / std::sqrt(3.0);
    double halfSqrt2 = std::sin(pi / 4.0);
    double halfSqrt3 = std::sin(pi / 3.0);
    double half = std::cos(pi / 3.0);
    double atan4 = std::atan(4.0); // radians: the angle whose tangent is 4
    double twoSevenths = 2.0 / 7.0;
    double sqrt17By14 = std::sqrt(17.0) / 14.0;
    double sqrt8By10 = std::sqrt(8.0) / 10.0;
    double threeTenths = 0.3;
};

// Dividing first keeps the quarter and half turns exact: -90 gives -pi/2
// and -180 gives -pi, bit for bit.
double Radians(double degrees)
{
    return degrees / 180.0 * pi;
}

// ---------------------------------------------------------------------------
// Standard fractals

struct StepRow
{
    StepRow(double angleRadians, double ratio) : angle(angleRadians), ratio(ratio) {}
    StepRow(double angleRadians, int flags, double ratio)
        : angle(angleRadians), flags(flags), ratio(ratio)
    {
    }
    double angle;
    int flags = 0;
    double ratio;
};

struct StandardRow
{
    const char* name;
    int days;
    std::vector<Point> points; // the initiator polyline
    std::vector<StepRow> steps;
};

// Holds the parallel arrays the records point into; built once, never moved.
class StandardTable
{
public:
    explicit StandardTable(const std::vector<StandardRow>& rows) : m_storage(rows.size())
    {
        m_presets.reserve(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const StandardRow& row = rows[i];
            Storage& s = m_storage[i];
            for (const Point& p : row.points) {
                s.x.push_back(p.x);
                s.y.push_back(p.y);
            }
            for (const StepRow& step : row.steps) {
                s.flags.push_back(step.flags);
                s.angles.push_back(step.angle);
                s.ratios.push_back(step.ratio);
            }
            m_presets.push_back({row.name, row.days, static_cast<int>(row.points.size()) - 1,
                                 s.x.data(), s.y.data(), static_cast<int>(row.steps.size()),
                                 s.flags.data(), s.angles.data(), s.ratios.data()});
        }
    }

    StandardTable(const StandardTable&) = delete;
    StandardTable& operator=(const StandardTable&) = delete;

    std::span<const StandardPreset> Presets() const { return m_presets; }

private:
    struct Storage
    {
        std::vector<double> x, y, angles, ratios;
        std::vector<int> flags;
    };
    std::vector<Storage> m_storage;
    std::vector<StandardPreset> m_presets;
};

StandardTable MakeStandardTable()
{
    const Constants k;
    const std::vector<Point> unit{{0.0, 0.0}, {1.0, 0.0}};
    const std::vector<Point> triangle{{0.0, 0.0}, {1.0, 0.0}, {k.half, k.halfSqrt3}, {0.0, 0.0}};
    const std::vector<Point> square{{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}, {0.0, 0.0}};
    const double t = k.third;
    const double sixth = 1.0 / 6.0;
    const double twoThirds = 2.0 / 3.0;
    const double s7 = k.twoSevenths;
    // An invisible final step: a jump that stays a jump in every generation.
    const int jump = StepInvisible | StepFinal;

    return StandardTable({
        {"hexastar",
         4,
         unit,
         {{Radians(0), t},
          {Radians(120), t},
          {Radians(60), t},
          {Radians(0), t},
          {Radians(-60), t},
          {Radians(-120), t},
          {Radians(-180), t},
          {Radians(30), k.invSqrt3},
          {Radians(-120), jump, t},
          {Radians(0), t}}},
        {"arabesque", 13, unit, {{Radians(45), k.halfSqrt2}, {Radians(-45), k.halfSqrt2}}},
        {"greek",
         4,
         unit,
         {{Radians(0), s7},
          {k.atan4, k.sqrt17By14},
          {Radians(0), s7},
          {Radians(-90), s7},
          {Radians(-180), s7},
          {Radians(-90), s7},
          {Radians(0), s7},
          {k.atan4, k.sqrt17By14},
          {Radians(0), s7}}},
        {"flake",
         4,
         triangle,
         {{Radians(0), k.threeTenths},
          {Radians(45), k.sqrt8By10},
          {Radians(-45), k.sqrt8By10},
          {Radians(0), k.threeTenths}}},
        {"sierpinski's gasket",
         6,
         unit,
         {{Radians(0), k.half},
          {Radians(120), StepFinal, k.half},
          {Radians(0), k.half},
          {Radians(-120), StepFinal, k.half},
          {Radians(0), k.half}}},
        {"trilattice",
         6,
         triangle,
         {{Radians(0), k.half},
          {Radians(120), k.half},
          {Radians(-60), k.half},
          {Radians(0), k.half}}},
        {"helix 1",
         5,
         square,
         {{Radians(90), t},
          {Radians(0), t},
          {Radians(-90), twoThirds},
          {Radians(0), t},
          {Radians(90), t},
          {Radians(0), t}}},
        {"helix 2",
         3,
         square,
         {{Radians(0), sixth},
          {Radians(-90), t},
          {Radians(0), t},
          {Radians(90), sixth},
          {Radians(180), sixth},
          {Radians(90), sixth},
          {Radians(0), t},
          {Radians(90), sixth},
          {Radians(180), sixth},
          {Radians(90), sixth},
          {Radians(0), t},
          {Radians(-90), t},
          {Radians(0), sixth}}},
        {"peano's curve",
         4,
         unit,
         {{Radians(0), t},
          {Radians(-90), t},
          {Radians(0), t},
          {Radians(90), t},
          {Radians(180), t},
          {Radians(90), t},
          {Radians(0), t},
          {Radians(-90), t},
          {Radians(0), t}}},
        {"koch",
         5,
         triangle,
         {{Radians(0), t}, {Radians(-60), t}, {Radians(60), t}, {Radians(0), t}}},
        {"cauliflower", 12, square, {{Radians(-60), k.half}, {Radians(30), k.halfSqrt3}}},
        {"brains", 12, unit, {{Radians(-60), k.half}, {Radians(30), k.halfSqrt3}}},
        {"sierpinski carpet",
         4,
         unit,
         {{Radians(0), t},
          {Radians(-90), t},
          {Radians(0), t},
          {Radians(90), t},
          {Radians(180), jump, t},
          {Radians(90), t},
          {Radians(0), t},
          {Radians(-90), t},
          {Radians(0), t}}},
    });
}

// ---------------------------------------------------------------------------
// IFS and MCRM fractals

constexpr double kThird = 1.0 / 3.0;
constexpr double kTwoThirds = 2.0 / 3.0;

// Each map as (a, b, c, d, e, f): x' = a x + b y + e, y' = c x + d y + f.
constexpr AffineMap kGasket[] = {
    {0.5, 0, 0, 0.5, 0, 0}, {0.5, 0, 0, 0.5, 0.5, 0}, {0.5, 0, 0, 0.5, 0.25, 0.5}};
constexpr AffineMap kGasketCousin[] = {
    {0.5, 0, 0, 0.5, 0, 0}, {0.5, 0, 0, 0.5, 0.5, 0}, {0.5, 0, 0, 0.5, 0, 0.5}};
constexpr AffineMap kTwinXmasTree[] = {
    {0, -0.5, 0.5, 0, 0.5, 0}, {0, 0.5, -0.5, 0, 0.5, 0.5}, {0.5, 0, 0, 0.5, 0.25, 0.5}};
constexpr AffineMap kThreefoldDragon[] = {{0, 0.577, -0.577, 0, 0.0951, 0.5893},
                                          {0, 0.577, -0.577, 0, 0.4413, 0.7893},
                                          {0, 0.577, -0.577, 0, 0.0952, 0.9893}};
constexpr AffineMap kTwig[] = {{0.387, 0.43, 0.43, -0.387, 0.256, 0.522},
                               {0.441, -0.091, -0.009, -0.322, 0.4219, 0.5059},
                               {-0.468, 0.02, -0.113, 0.015, 0.4, 0.4}};
constexpr AffineMap kCrystal[] = {{0.255, 0, 0, 0.255, 0.3726, 0.6714},
                                  {0.255, 0, 0, 0.255, 0.1146, 0.2232},
                                  {0.255, 0, 0, 0.255, 0.6306, 0.2232},
                                  {0.37, -0.642, 0.642, 0.37, 0.6356, -0.0061}};
constexpr AffineMap kKochCrystal[] = {{0.382, 0, 0, 0.382, 0.3072, 0.619},
                                      {0.382, 0, 0, 0.382, 0.6033, 0.4044},
                                      {0.382, 0, 0, 0.382, 0.0139, 0.4044},
                                      {0.382, 0, 0, 0.382, 0.1253, 0.0595},
                                      {0.382, 0, 0, 0.382, 0.492, 0.0595}};
constexpr AffineMap kTree[] = {{0.195, -0.488, 0.344, 0.443, 0.4431, 0.2452},
                               {0.462, 0.414, -0.252, 0.361, 0.2511, 0.5692},
                               {-0.058, -0.07, 0.453, -0.111, 0.5976, 0.0969},
                               {-0.035, -0.07, -0.469, -0.022, 0.4884, 0.5069},
                               {-0.637, 0, 0, 0.501, 0.8562, 0.2513}};
constexpr AffineMap kFern[] = {{0.849, 0.037, -0.037, 0.849, 0.075, 0.183},
                               {0.197, -0.226, 0.226, 0.197, 0.4, 0.049},
                               {-0.15, 0.283, 0.26, 0.237, 0.575, -0.084},
                               {0, 0, 0, 0.16, 0.5, 0}};
constexpr AffineMap kCantorMaze[] = {{kThird, 0, 0, kThird, kThird, kTwoThirds},
                                     {0, kThird, 1, 0, kTwoThirds, 0},
                                     {0, -kThird, 1, 0, kThird, 0}};

template <std::size_t N>
constexpr IfsPreset IfsRecord(const char* name, int days, const AffineMap (&maps)[N])
{
    return {name, days, static_cast<int>(N), maps};
}

// The first name really ends with a blank: files and the chooser show it so.
constexpr IfsPreset kIfs[] = {
    IfsRecord("IFS sierpinski's gasket ", 9, kGasket),
    IfsRecord("IFS sierpinski's gasket's cousin", 9, kGasketCousin),
    IfsRecord("IFS twin xmas tree", 9, kTwinXmasTree),
    IfsRecord("IFS threefold dragon", 9, kThreefoldDragon),
    IfsRecord("IFS twig", 9, kTwig),
    IfsRecord("IFS crystal", 7, kCrystal),
    IfsRecord("IFS koch crystal", 6, kKochCrystal),
    IfsRecord("IFS tree", 7, kTree),
    IfsRecord("IFS Barnley's fern", 9, kFern),
    IfsRecord("IFS Cantor's maze", 9, kCantorMaze),
};

// The machine of IFS preset i copies a regular polygon of these many sides.
constexpr McrmPreset kMcrm[] = {
    {&kIfs[0], 3}, {&kIfs[1], 5}, {&kIfs[2], 4}, {&kIfs[3], 4}, {&kIfs[4], 3},
    {&kIfs[5], 3}, {&kIfs[6], 3}, {&kIfs[7], 3}, {&kIfs[8], 3}, {&kIfs[9], 8},
};

// ---------------------------------------------------------------------------
// L-system fractals

constexpr RulePreset kKochCurveRules[] = {{'F', "F-F++F-F"}};
// The F -> F rule keeps the F that X and Y produce: a letter without a rule is
// dropped at every later generation, which would break the curve into a
// grid of separate squares instead of one connected path.
constexpr RulePreset kHilbertRules[] = {{'X', "-YF+XFX+FY-"}, {'Y', "+XF-YFY-FX+"}, {'F', "F"}};
constexpr RulePreset kAerialRules[] = {{'F', "FF"}, {'X', "[+F-FX|FFX][-F+FX|FFX]"}};
constexpr RulePreset kGosperRules[] = {{'X', "X-YR--YR+SX++SXSX+YR-"},
                                       {'Y', "+SX-YRYR--YR-SX++SXX+Y"},
                                       {'S', "F-F--F+F++FF+F-"},
                                       {'R', "+F-FF--F-F++F+F"}};
constexpr RulePreset kKoch1Rules[] = {{'F', "F+F--F+F"}};
constexpr RulePreset kKoch4Rules[] = {{'F', "F-F+F+FF-F-F+F"}};
constexpr RulePreset kKoch6Rules[] = {{'F', "F-FF+FF+F+F-F-FF+F+F-F-FF-FF+F"}};
// Shared by every Penrose preset. No rule for F: only the F written by the
// last rewriting are drawn.
constexpr RulePreset kPenroseRules[] = {{'W', "YF++ZF----XF[-YF----WF]++"},
                                        {'X', "+YF--ZF[---WF--XF]+"},
                                        {'Y', "-WF++XF[+++YF++ZF]-"},
                                        {'Z', "--YF++++WF[+ZF++++XF]--XF"}};

template <std::size_t N>
constexpr LsysPreset LsysRecord(const char* name, int days, int directions, const char* axiom,
                                const RulePreset (&rules)[N])
{
    return {name, days, directions, static_cast<int>(N), axiom, rules};
}

constexpr LsysPreset kLsys[] = {
    LsysRecord("lsys for koch's curve", 5, 6, "-F++F++F", kKochCurveRules),
    LsysRecord("lsys for hilbert's curve", 6, 4, "X", kHilbertRules),
    LsysRecord("lsys for aerial", 4, 6, "f-f[+F-FX|FFX]-F+FX|FFX", kAerialRules),
    LsysRecord("lsys for gosper's curve", 4, 6, "SX", kGosperRules),
    LsysRecord("lsys for koch 1", 6, 6, "F--F--F", kKoch1Rules),
    LsysRecord("lsys for koch 4", 2, 4, "F-F-F-F", kKoch4Rules),
    LsysRecord("lsys for koch 6", 2, 4, "F+F+F+F", kKoch6Rules),
    LsysRecord("lsys for penrose 1", 3, 10, "+WF--XF---YF--ZF", kPenroseRules),
    LsysRecord("lsys for penrose 2", 3, 10, "++ZF----XF-YF----WF", kPenroseRules),
    LsysRecord("lsys for penrose 3", 3, 10, "[X]++[X]++[X]++[X]++[X]", kPenroseRules),
    LsysRecord("lsys for penrose 4", 3, 10, "[Y]++[Y]++[Y]++[Y]++[Y]", kPenroseRules),
    LsysRecord("lsys for double penrose", 3, 10, "[X][Y]++[X][Y]++[X][Y]++[X][Y]++[X][Y]",
               kPenroseRules),
};

// ---------------------------------------------------------------------------
// Automaton fractals

// Symbol k: its step (a compass direction, flags, length 1) and the word it
// becomes in the next generation.
struct SymbolRow
{
    SymbolRow(int direction, std::initializer_list<int> production)
        : direction(direction), production(production)
    {
    }
    SymbolRow(int direction, int flags, std::initializer_list<int> production)
        : direction(direction), flags(flags), production(production)
    {
    }
    int direction;
    int flags = 0;
    std::vector<int> production;
};

struct AutomatonRow
{
    const char* name;
    int days;
    int directions;
    std::vector<int> axiom;
    std::vector<SymbolRow> symbols;
};

// Holds the rows the records point into; built once, never moved.
class AutomatonTable
{
public:
    explicit AutomatonTable(std::vector<AutomatonRow> rows)
        : m_rows(std::move(rows)), m_symbols(m_rows.size())
    {
        m_presets.reserve(m_rows.size());
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const AutomatonRow& row = m_rows[i];
            for (const SymbolRow& symbol : row.symbols) {
                m_symbols[i].push_back({symbol.flags, symbol.direction, 1.0,
                                        static_cast<int>(symbol.production.size()),
                                        symbol.production.data()});
            }
            m_presets.push_back({row.name, row.days, static_cast<int>(row.symbols.size()),
                                 m_symbols[i].data(), row.directions,
                                 static_cast<int>(row.axiom.size()), row.axiom.data()});
        }
    }

    AutomatonTable(const AutomatonTable&) = delete;
    AutomatonTable& operator=(const AutomatonTable&) = delete;

    std::span<const AutomatonPreset> Presets() const { return m_presets; }

private:
    std::vector<AutomatonRow> m_rows;
    std::vector<std::vector<SymbolPreset>> m_symbols;
    std::vector<AutomatonPreset> m_presets;
};

// Rows as: name, days, compass directions, axiom, then symbol k as
// {direction, flags if any, production}.
AutomatonTable MakeAutomatonTable()
{
    const int hidden = StepHidden;
    const int invisible = StepInvisible;
    // clang-format off
    return AutomatonTable({
        {"gosper curve", 3, 6, {0, 4, 2},
         {{0, {0, 7, 9, 2, 0, 0, 11}}, {1, {1, 8, 10, 3, 1, 1, 6}}, {2, {2, 9, 11, 4, 2, 2, 7}},
          {3, {3, 10, 6, 5, 3, 3, 8}}, {4, {4, 11, 7, 0, 4, 4, 9}}, {5, {5, 6, 8, 1, 5, 5, 10}},
          {0, {5, 6, 6, 8, 3, 1, 6}}, {1, {0, 7, 7, 9, 4, 2, 7}}, {2, {1, 8, 8, 10, 5, 3, 8}},
          {3, {2, 9, 9, 11, 0, 4, 9}}, {4, {3, 10, 10, 6, 1, 5, 10}}, {5, {4, 11, 11, 7, 2, 0, 11}}}},
        {"koch version 2", 4, 6, {0},
         {{0, {0, 1, 5, 0}}, {1, {1, 2, 0, 1}}, {2, {2, 3, 1, 2}}, {3, {3, 4, 2, 3}},
          {4, {4, 5, 3, 4}}, {5, {5, 0, 4, 5}}}},
        {"sierpinski carpet 2", 4, 4, {0},
         {{0, {0, 1, 0, 3, 6, 3, 0, 1, 0}}, {1, {1, 2, 1, 0, 7, 0, 1, 2, 1}},
          {2, {2, 3, 2, 1, 4, 1, 2, 3, 2}}, {3, {3, 0, 3, 2, 5, 2, 3, 0, 3}},
          {0, invisible, {4, 4, 4}}, {1, invisible, {5, 5, 5}}, {2, invisible, {6, 6, 6}},
          {3, invisible, {7, 7, 7}}}},
        {"sierpinski crosses", 10, 8, {4},
         {{0, {0, 1}}, {7, {2, 0}}, {6, {3, 4}}, {2, {2, 5}}, {1, {6, 2}}, {5, {0, 3}},
          {4, {6, 7}}, {3, {3, 6}}}},
        {"pentigree", 4, 5, {0, 4, 3, 2, 1},
         {{0, {0, 4, 1, 2, 1, 0}}, {1, {1, 0, 2, 3, 2, 1}}, {2, {2, 1, 3, 4, 3, 2}},
          {3, {3, 2, 4, 0, 4, 3}}, {4, {4, 3, 0, 1, 0, 4}}}},
        {"davis and knuth's terdragon", 7, 3, {0},
         {{0, {0, 1, 0}}, {1, {1, 2, 1}}, {2, {2, 0, 2}}}},
        {"brick interior", 12, 4, {0},
         {{0, hidden, {0, 1}}, {0, hidden, {2, 6}}, {0, hidden, {2, 3}}, {0, hidden, {0, 4}},
          {0, {5, 4}}, {1, {2, 6}}, {2, {7, 6}}, {3, {0, 4}}}},
        {"brick", 10, 4, {0, 2},
         {{0, {0, 1}}, {1, {2, 5}}, {2, {2, 3}}, {3, {0, 4}}, {0, {1, 4}}, {2, {3, 5}}}},
        {"mandelbrot's arrowhead", 4, 6, {2, 7, 17, 22},
         {{0, {0, 7, 17}}, {1, {1, 8, 12}}, {2, {2, 9, 13}}, {3, {3, 10, 14}}, {4, {4, 11, 15}},
          {5, {5, 6, 16}}, {0, {23, 1, 6}}, {1, {18, 2, 7}}, {2, {19, 3, 8}}, {3, {20, 4, 9}},
          {4, {21, 5, 10}}, {5, {22, 0, 11}}, {0, {12, 23, 1}}, {1, {13, 18, 2}},
          {2, {14, 19, 3}}, {3, {15, 20, 4}}, {4, {16, 21, 5}}, {5, {17, 22, 0}},
          {0, {7, 17, 18}}, {1, {8, 12, 19}}, {2, {9, 13, 20}}, {3, {10, 14, 21}},
          {4, {11, 15, 22}}, {5, {6, 16, 23}}}},
        {"mandelbrot's quintet", 7, 4, {0},
         {{0, {4, 0, 3, 6, 3}}, {1, {5, 1, 0, 7, 0}}, {2, {6, 2, 1, 4, 1}}, {3, {7, 3, 2, 5, 2}},
          {0, {7, 2, 7, 4, 0}}, {1, {4, 3, 4, 5, 1}}, {2, {5, 0, 5, 6, 2}}, {3, {6, 1, 6, 7, 3}}}},
        {"heighway's dragon", 11, 4, {0},
         {{0, {0, 1}}, {1, {2, 1}}, {2, {2, 3}}, {3, {0, 3}}}},
        {"heighway's dragon interior", 10, 4, {1},
         {{0, {5, 1}}, {1, {2, 1}}, {2, {7, 3}}, {3, {0, 3}}, {0, hidden, {0, 4}},
          {0, hidden, {5, 6}}, {0, hidden, {2, 6}}, {0, hidden, {7, 4}}}},
        {"heighway's dragon curd", 13, 4, {0},
         {{0, {0, 5}}, {1, {2, 5}}, {2, {2, 7}}, {3, {0, 7}}, {0, invisible, {4, 1}},
          {1, invisible, {6, 1}}, {2, invisible, {6, 3}}, {3, invisible, {4, 3}}}},
        {"heighway's dragon boundary", 8, 4, {0, 5, 6, 11},
         {{0, {0, 5}}, {1, {6, 9}}, {2, {7, 2}}, {3, {11, 4}}, {0, {8}}, {1, {6}}, {2, {10}},
          {3, {4}}, {0, {0, 1}}, {1, {10, 9}}, {2, {3, 2}}, {3, {11, 8}}}},
        {"lace", 6, 12, {10, 11, 18},
         {{2, {0, 1, 2}}, {4, {3, 4, 5}}, {1, {6, 7, 0}}, {10, {1, 8, 9}}, {0, {10, 11, 12}},
          {11, {7, 0, 1}}, {10, {8, 13, 14}}, {0, {15, 10, 16}}, {6, {6, 7, 17}},
          {5, {11, 18, 3}}, {4, {4, 15, 19}}, {6, {13, 6, 20}}, {3, {18, 3, 4}},
          {8, {11, 18, 21}}, {5, {8, 13, 6}}, {2, {7, 0, 22}}, {3, {13, 6, 7}}, {9, {0, 1, 8}},
          {8, {18, 3, 23}}, {11, {4, 15, 10}}, {9, {15, 10, 11}}, {7, {1, 8, 13}},
          {1, {3, 4, 15}}, {7, {10, 11, 18}}}},
        {"hilbert's curve", 6, 4, {8},
         {{0, {1, 0, 3, 4}}, {1, {0, 1, 2, 5}}, {2, {0, 1, 2, 6}}, {3, {1, 0, 3, 7}},
          {0, {6, 7, 4, 0}}, {1, {7, 6, 5, 1}}, {2, {7, 6, 5, 2}}, {3, {6, 7, 4, 3}},
          {0, hidden, {1, 0, 3, 9}}, {0, hidden, {6, 7, 4, 8}}}},
        {"moore's necklace", 3, 4, {0},
         {{0, {0, 1, 2, 6, 2, 3, 7, 6, 5}}, {1, {1, 2, 3, 7, 3, 0, 4, 7, 6}},
          {2, {2, 3, 0, 4, 0, 1, 5, 4, 7}}, {3, {3, 0, 1, 5, 1, 2, 6, 5, 4}},
          {0, {1, 2, 3, 7, 6, 2, 6, 5, 4}}, {1, {2, 3, 0, 4, 7, 3, 7, 6, 5}},
          {2, {3, 0, 1, 5, 4, 0, 4, 7, 6}}, {3, {0, 1, 2, 6, 5, 1, 5, 4, 7}}}},
        {"dekking's church", 7, 4, {0, 3, 2, 1},
         {{0, {0, 1, 0, 3}}, {1, {2, 3, 2, 3}}, {2, {2, 1}}, {3, {0, 1}}}},
        {"xmas tree", 8, 5, {5},
         {{0, {9, 0, 6}}, {1, {5, 1, 7}}, {2, {6, 2, 8}}, {3, {7, 3, 9}}, {4, {8, 4, 5}},
          {0, {1, 5, 4}}, {1, {2, 6, 0}}, {2, {3, 7, 1}}, {3, {4, 8, 2}}, {4, {0, 9, 3}}}},
    });
    // clang-format on
}

} // namespace

std::span<const StandardPreset> Standard()
{
    static const StandardTable table = MakeStandardTable();
    return table.Presets();
}

std::span<const IfsPreset> Ifs()
{
    return kIfs;
}

std::span<const McrmPreset> Mcrm()
{
    return kMcrm;
}

std::span<const LsysPreset> Lsys()
{
    return kLsys;
}

std::span<const AutomatonPreset> Automaton()
{
    static const AutomatonTable table = MakeAutomatonTable();
    return table.Presets();
}

} // namespace preset_tables
