#include "engine/lsys_fractal.h"

#include "core/text_archive.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

CLsysFractal::CLsysFractal(const LsysPreset& preset)
    : CFractal(preset.name != nullptr ? preset.name : "", preset.days, kKeyword)
{
    m_lsystem.axiom = Axiom(preset.axiom != nullptr ? preset.axiom : "");
    m_lsystem.rules = RuleSet(preset.ruleCount, preset.rules);
    m_directions = Directions(preset.directions);
    SetValidity(true);
}

CLsysFractal::CLsysFractal(std::string name, int days, const LSystem& lsystem,
                           const Directions& directions)
    : CFractal(std::move(name), days, kKeyword), m_lsystem(lsystem), m_directions(directions)
{
    SetValidity(true);
}

CLsysFractal::CLsysFractal(CTextArchive& ar) : CFractal(ar, kKeyword)
{
    // Each section keeps what it read; a damaged one leaves the rest to
    // IsValid.
    m_lsystem.axiom = Axiom(ar);
    m_lsystem.rules = RuleSet(ar);
    m_directions = Directions(ar);
    m_type = kKeyword;
    SetValidity(!m_bad);
}

// One run of the turtle. Everything that does not change per character is
// prepared here once: the rule of every byte and the step vector of every
// heading, already multiplied by the drawing scale.
template <typename Surface> class CLsysFractal::Turtle
{
public:
    Turtle(CLsysFractal& fractal, Surface& surface, const DrawContext& ctx)
        : m_fractal(fractal), m_surface(surface), m_ctx(ctx), m_position(fractal.m_start)
    {
        // First rule for a symbol wins, as in RuleSet::Find.
        for (const Rule& rule : fractal.m_lsystem.rules) {
            Replacement& slot = m_rules[static_cast<unsigned char>(rule.symbol)];
            if (slot.text == nullptr) {
                slot = {rule.replacement.data(), rule.replacement.size()};
            }
        }
        const double scale = fractal.m_bounds.scale;
        const Directions& directions = fractal.m_directions;
        // A compass without headings is drawn as one heading along +x, so
        // that turning never divides by zero.
        const int count = std::max(directions.Count(), 1);
        m_scale = scale;
        // A huge compass is turned through a few headings only: its steps
        // are computed when taken rather than tabled in advance.
        if (count <= kMaxStepTable) {
            m_steps.resize(static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i) {
                const double angle = directions.Count() > 0 ? directions.Angle(i) : 0.0;
                m_steps[static_cast<std::size_t>(i)] = {scale * std::cos(angle),
                                                        scale * std::sin(angle)};
            }
        }
        m_headings = count;
    }

    // Interprets `length` characters at `depth`: turns and brackets act at
    // once at any depth; letters expand above depth 0 and draw at depth 0.
    // The recursion is as deep as the generation, never as the word.
    void Interpret(const char* text, std::size_t length, int depth)
    {
        for (std::size_t i = 0; i < length; ++i) {
            const char ch = text[i];
            m_fractal.CountElement(m_ctx);
            switch (ch) {
            case '+':
                if (++m_heading == m_headings) {
                    m_heading = 0;
                }
                break;
            case '-':
                if (--m_heading < 0) {
                    m_heading = m_headings - 1;
                }
                break;
            case '|':
                // Half a turn on, without overflowing near the largest count.
                m_heading = m_heading < m_headings - m_headings / 2
                                ? m_heading + m_headings / 2
                                : m_heading - (m_headings - m_headings / 2);
                break;
            case '[':
                m_stack.push_back({m_heading, m_position});
                break;
            case ']':
                // An unmatched bracket has nothing to return to.
                if (!m_stack.empty()) {
                    m_heading = m_stack.back().heading;
                    m_position = m_stack.back().position;
                    m_stack.pop_back();
                }
                break;
            default:
                if (depth > 0) {
                    const Replacement& rule = m_rules[static_cast<unsigned char>(ch)];
                    if (rule.text != nullptr) {
                        Interpret(rule.text, rule.length, depth - 1);
                    }
                } else if (ch == 'F' || ch == 'D') {
                    const Point to = m_position + Step();
                    m_surface.Line(m_position.x, m_position.y, to.x, to.y);
                    m_position = to;
                } else if (ch == 'G' || ch == 'M' || ch == 'f') {
                    m_position += Step();
                    m_surface.MoveTo(m_position.x, m_position.y);
                }
                break;
            }
        }
    }

private:
    // Larger compasses compute each step as it is taken.
    static constexpr int kMaxStepTable = 1 << 16;

    Point Step() const
    {
        if (!m_steps.empty()) {
            return m_steps[static_cast<std::size_t>(m_heading)];
        }
        const double angle = m_fractal.m_directions.Angle(m_heading);
        return {m_scale * std::cos(angle), m_scale * std::sin(angle)};
    }

    struct Replacement
    {
        const char* text = nullptr; // null: no rule for this byte
        std::size_t length = 0;
    };
    struct Saved
    {
        int heading;
        Point position;
    };

    CLsysFractal& m_fractal;
    Surface& m_surface;
    const DrawContext& m_ctx;
    std::array<Replacement, 256> m_rules{};
    std::vector<Point> m_steps;
    double m_scale = 1.0;
    int m_headings = 1;
    int m_heading = 0;
    Point m_position;
    std::vector<Saved> m_stack;
};

template <typename Surface>
void CLsysFractal::Run(Surface& surface, int depth, const DrawContext& ctx)
{
    Turtle<Surface> turtle(*this, surface, ctx);
    const std::string& axiom = m_lsystem.axiom.Text();
    turtle.Interpret(axiom.data(), axiom.size(), depth);
}

bool CLsysFractal::ComputeBounds(int days, FractalBounds& out, const StopFlag* stop,
                                 ProgressFn progress, void* arg)
{
    ExtentSurface extent;
    const DrawContext ctx{&extent, stop, progress, arg};
    Run(extent, BoundsDepth(days), ctx);
    out = extent.Bounds();
    return true;
}

bool CLsysFractal::Draw(DrawingSurface& surface, const StopFlag* stop)
{
    if (m_days < 1) {
        return false;
    }
    const DrawContext ctx{&surface, stop, nullptr, nullptr};
    Run(surface, ClampDepth(m_days), ctx);
    return true;
}

void CLsysFractal::DrawInitiatorOverlay(MarkerSurface& surface, ColorPair)
{
    surface.DrawImage(0.0, 0.0, 16, 16, 9);
}

void CLsysFractal::DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors)
{
    // The axiom on the first line and its first rewriting aligned under it.
    const double h = surface.TextHeight("X");
    double x = 16.0;
    for (const char ch : m_lsystem.axiom.Text()) {
        const std::string symbol(1, ch);
        const double w = surface.TextWidth(symbol);
        surface.DrawText(symbol, x, h, colors.first);
        const bool turtleCommand = ch == '+' || ch == '-' || ch == '[' || ch == ']' || ch == '|';
        const Rule* rule = turtleCommand ? nullptr : m_lsystem.rules.Find(ch);
        if (rule == nullptr) {
            surface.DrawText(symbol, x, 2.0 * h, colors.first);
            x += w;
        } else {
            surface.DrawText(rule->replacement, x, 2.0 * h, colors.second);
            x += std::max(w, surface.TextWidth(rule->replacement));
        }
    }
    surface.DrawText("...", 16.0, 3.0 * h, colors.second);
}

bool CLsysFractal::Save(CTextArchive& ar)
{
    bool ok = CFractal::Save(ar);
    ok = m_lsystem.axiom.Save(ar) && ok;
    ok = m_lsystem.rules.Save(ar) && ok;
    ok = m_directions.Save(ar) && ok;
    return ok;
}

bool CLsysFractal::IsValid() const
{
    return !m_lsystem.axiom.empty() && !m_lsystem.rules.empty();
}
