#include "engine/lsys_fractal.h"

#include "core/text_archive.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

CLsysFractal::CLsysFractal(const LsysPreset& preset)
    : FractalKind(preset.name != nullptr ? preset.name : "", preset.days, kKeyword)
{
    m_lsystem.axiom = Axiom(preset.axiom != nullptr ? preset.axiom : "");
    m_lsystem.rules = RuleSet(preset.ruleCount, preset.rules);
    m_directions = Directions(preset.directions);
    SetValidity(true);
}

CLsysFractal::CLsysFractal(std::string name, int days, const LSystem& lsystem,
                           const Directions& directions)
    : FractalKind(std::move(name), days, kKeyword), m_lsystem(lsystem), m_directions(directions)
{
    SetValidity(true);
}

CLsysFractal::CLsysFractal(CTextArchive& ar) : FractalKind(ar, kKeyword)
{
    // Each section keeps what it read; a damaged one leaves the rest to
    // IsValid.
    m_lsystem.axiom = Axiom(ar);
    m_lsystem.rules = RuleSet(ar);
    m_directions = Directions(ar);
    m_type = kKeyword;
    SetValidity(!m_bad);
}

namespace {

bool IsTurtleCommand(char ch)
{
    return ch == '+' || ch == '-' || ch == '|' || ch == '[' || ch == ']';
}

} // namespace

CLsysFractal::Tables CLsysFractal::MakeTables() const
{
    Tables tables;
    // First rule for a symbol wins, as in RuleSet::Find.
    for (const Rule& rule : m_lsystem.rules) {
        Replacement& slot = tables.rules[static_cast<unsigned char>(rule.symbol)];
        if (slot.text == nullptr) {
            slot = {rule.replacement.data(), rule.replacement.size()};
        }
    }
    const double scale = m_bounds.scale;
    // A compass without headings is drawn as one heading along +x, so that
    // turning never divides by zero.
    const int count = std::max(m_directions.Count(), 1);
    tables.scale = scale;
    tables.headings = count;
    // A huge compass is turned through a few headings only: its steps are
    // computed when taken rather than tabled in advance.
    if (count <= kMaxStepTable) {
        tables.steps.resize(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const double angle = m_directions.Count() > 0 ? m_directions.Angle(i) : 0.0;
            tables.steps[static_cast<std::size_t>(i)] = {scale * std::cos(angle),
                                                         scale * std::sin(angle)};
        }
    }
    MakeBlocks(tables);
    return tables;
}

void CLsysFractal::MakeBlocks(Tables& tables)
{
    // Blocks small enough to stay in the processor's cache, and deep enough
    // to save most of the interpretation.
    constexpr std::size_t kMostPerSymbol = 64;
    constexpr std::size_t kMostInAll = 4096;
    constexpr int kDeepest = 8;
    const auto bracket = [](char ch) { return ch == '[' || ch == ']'; };
    if (tables.steps.empty()) {
        return;
    }
    for (const Replacement& rule : tables.rules) {
        if (rule.text != nullptr && std::any_of(rule.text, rule.text + rule.length, bracket)) {
            return;
        }
    }
    const int headings = tables.headings;
    const auto wrap = [headings](int turn) { return turn >= headings ? turn - headings : turn; };
    struct Level
    {
        std::array<std::vector<BlockStep>, 256> steps;
        std::array<int, 256> turns{};
    };
    // The last generation: what each byte does at the drawing.
    Level level;
    for (int c = 0; c < 256; ++c) {
        const auto ch = static_cast<char>(c);
        const auto u = static_cast<std::size_t>(c);
        switch (ch) {
        case '+':
            level.turns[u] = 1 % headings;
            break;
        case '-':
            level.turns[u] = headings - 1;
            break;
        case '|':
            level.turns[u] = headings / 2;
            break;
        case 'F':
        case 'D':
            level.steps[u].push_back({0, true});
            break;
        case 'G':
        case 'M':
        case 'f':
            level.steps[u].push_back({0, false});
            break;
        default:
            break;
        }
    }
    // Each generation above: a letter with a rule is its rule's bytes one
    // generation down, each turned by the turns before it; turtle commands
    // only turn, other letters vanish.
    Level next;
    for (int depth = 1; depth <= kDeepest; ++depth) {
        std::size_t all = 0;
        bool fits = true;
        for (std::size_t c = 0; c < 256 && fits; ++c) {
            const auto ch = static_cast<char>(c);
            std::vector<BlockStep>& out = next.steps[c];
            out.clear();
            next.turns[c] = 0;
            const Replacement& rule = tables.rules[c];
            if (IsTurtleCommand(ch)) {
                next.turns[c] = level.turns[c];
                continue;
            }
            if (rule.text == nullptr) {
                continue;
            }
            int turn = 0;
            for (std::size_t i = 0; i < rule.length && fits; ++i) {
                const auto sub = static_cast<unsigned char>(rule.text[i]);
                for (const BlockStep& step : level.steps[sub]) {
                    out.push_back({wrap(turn + step.turn), step.line});
                }
                turn = wrap(turn + level.turns[sub]);
                fits = out.size() <= kMostPerSymbol;
            }
            next.turns[c] = turn;
            all += out.size();
            fits = fits && all <= kMostInAll;
        }
        if (!fits) {
            break;
        }
        std::swap(level, next);
        tables.blockDepth = depth;
    }
    if (tables.blockDepth < 2) {
        tables.blockDepth = 0;
        return;
    }
    for (std::size_t c = 0; c < 256; ++c) {
        tables.blockOffsets[c] = tables.blocks.size();
        tables.blocks.insert(tables.blocks.end(), level.steps[c].begin(), level.steps[c].end());
        tables.blockTurns[c] = level.turns[c];
    }
    tables.blockOffsets[256] = tables.blocks.size();
}

// The turtle. Turns and brackets act at once at any depth; letters expand
// above depth 0 and draw at depth 0. The rewriting is kept on the heap (a
// stretch of text per generation), never on the call stack, so any day count
// the memory allows is drawn as asked; the word itself is never built.
template <typename Surface> class CLsysFractal::Walker
{
    // Generations interpreted by plain recursion: a few KiB of call stack.
    static constexpr int kOnCallStack = 64;
    // The longest run of characters drawn between two tests of the stop flag.
    static constexpr std::size_t kStopEvery = 1024;

public:
    Walker(CLsysFractal& fractal, const Tables& tables, Surface& surface, const DrawContext& ctx)
        : m_fractal(fractal), m_surface(surface), m_ctx(ctx), m_rules(tables.rules),
          m_steps(tables.steps.empty() ? nullptr : tables.steps.data()), m_scale(tables.scale),
          m_headings(tables.headings),
          m_blockDepth(ctx.progress == nullptr && tables.blockDepth > 0 ? tables.blockDepth : -1),
          m_tables(tables)
    {
        m_state.position = fractal.m_start;
    }

    void Run(const Task& task)
    {
        if (task.countOnly) {
            m_fractal.CountElement(m_ctx);
        } else {
            Interpret(&task.symbol, 1, task.depth);
        }
    }
    const TurtleState& GetState() const { return m_state; }
    void SetState(const TurtleState& state) { m_state = state; }

private:
    struct Frame
    {
        const char* next;
        const char* end;
        int depth;
    };

    // The generations far from the drawing go on the heap, the last ones on
    // the call stack, where they are cheapest.
    void Interpret(const char* text, std::size_t length, int depth)
    {
        if (depth <= kOnCallStack) {
            InterpretHere(text, length, depth);
            return;
        }
        m_frames.clear();
        m_frames.push_back({text, text + length, depth});
        while (!m_frames.empty()) {
            Frame& frame = m_frames.back();
            if (frame.next == frame.end) {
                m_frames.pop_back();
                continue;
            }
            const char ch = *frame.next++;
            const int level = frame.depth;
            m_fractal.CountElement(m_ctx);
            if (!Act(ch, level)) {
                const Replacement& rule = m_rules[static_cast<unsigned char>(ch)];
                if (rule.text == nullptr) {
                    continue;
                }
                if (level - 1 <= kOnCallStack) {
                    InterpretHere(rule.text, rule.length, level - 1);
                } else {
                    m_frames.push_back({rule.text, rule.text + rule.length, level - 1});
                }
            }
        }
    }

    void InterpretHere(const char* text, std::size_t length, int depth)
    {
        if (depth == m_blockDepth) {
            InterpretBlocks(text, length);
            return;
        }
        if (depth == 0 && m_ctx.progress == nullptr && length <= kStopEvery) {
            // A rule's last generation with one stop test: nothing else
            // counts its characters while drawing.
            if (m_ctx.stop != nullptr && m_ctx.stop->load(std::memory_order_relaxed)) {
                throw -1;
            }
            for (std::size_t i = 0; i < length; ++i) {
                Act(text[i], 0);
            }
            return;
        }
        for (std::size_t i = 0; i < length; ++i) {
            const char ch = text[i];
            m_fractal.CountElement(m_ctx);
            if (!Act(ch, depth)) {
                const Replacement& rule = m_rules[static_cast<unsigned char>(ch)];
                if (rule.text != nullptr) {
                    InterpretHere(rule.text, rule.length, depth - 1);
                }
            }
        }
    }

    // Bytes `blockDepth` generations above the drawing, from their blocks,
    // the turtle in registers. Without progress to report the characters
    // need no count; the stop flag is read once a block.
    void InterpretBlocks(const char* text, std::size_t length)
    {
        const BlockStep* const blocks = m_tables.blocks.data();
        Point at = m_state.position;
        int heading = m_state.heading;
        for (std::size_t i = 0; i < length; ++i) {
            if (m_ctx.stop != nullptr && m_ctx.stop->load(std::memory_order_relaxed)) {
                throw -1;
            }
            const auto c = static_cast<unsigned char>(text[i]);
            if (c == '[' || c == ']') {
                // Only an axiom's brackets come this far.
                m_state.position = at;
                m_state.heading = heading;
                Act(static_cast<char>(c), 1);
                at = m_state.position;
                heading = m_state.heading;
                continue;
            }
            const BlockStep* const end = blocks + m_tables.blockOffsets[c + 1];
            for (const BlockStep* step = blocks + m_tables.blockOffsets[c]; step != end; ++step) {
                int k = heading + step->turn;
                k = k >= m_headings ? k - m_headings : k;
                const Point to = at + m_steps[static_cast<std::size_t>(k)];
                if (step->line) {
                    m_surface.Line(at.x, at.y, to.x, to.y);
                } else {
                    m_surface.MoveTo(to.x, to.y);
                }
                at = to;
            }
            heading += m_tables.blockTurns[c];
            heading = heading >= m_headings ? heading - m_headings : heading;
        }
        m_state.position = at;
        m_state.heading = heading;
    }

    // What `ch` does at `depth`, except expanding: false when it is a letter
    // to be rewritten (depth above 0).
    bool Act(char ch, int depth)
    {
        switch (ch) {
        case '+':
            if (++m_state.heading == m_headings) {
                m_state.heading = 0;
            }
            return true;
        case '-':
            if (--m_state.heading < 0) {
                m_state.heading = m_headings - 1;
            }
            return true;
        case '|':
            // Half a turn on, without overflowing near the largest count.
            m_state.heading = m_state.heading < m_headings - m_headings / 2
                                  ? m_state.heading + m_headings / 2
                                  : m_state.heading - (m_headings - m_headings / 2);
            return true;
        case '[':
            m_state.saved.emplace_back(m_state.heading, m_state.position);
            return true;
        case ']':
            // An unmatched bracket has nothing to return to.
            if (!m_state.saved.empty()) {
                m_state.heading = m_state.saved.back().first;
                m_state.position = m_state.saved.back().second;
                m_state.saved.pop_back();
            }
            return true;
        default:
            break;
        }
        if (depth > 0) {
            return false;
        }
        if (ch == 'F' || ch == 'D') {
            const Point to = m_state.position + Step();
            m_surface.Line(m_state.position.x, m_state.position.y, to.x, to.y);
            m_state.position = to;
        } else if (ch == 'G' || ch == 'M' || ch == 'f') {
            m_state.position += Step();
            m_surface.MoveTo(m_state.position.x, m_state.position.y);
        }
        return true;
    }

    Point Step() const
    {
        if (m_steps != nullptr) {
            return m_steps[static_cast<std::size_t>(m_state.heading)];
        }
        const double angle = m_fractal.m_directions.Angle(m_state.heading);
        return {m_scale * std::cos(angle), m_scale * std::sin(angle)};
    }

    CLsysFractal& m_fractal;
    Surface& m_surface;
    const DrawContext& m_ctx;
    const std::array<Replacement, 256>& m_rules;
    const Point* m_steps; // null: computed when taken
    double m_scale;
    int m_headings;
    int m_blockDepth; // -1: no blocks
    const Tables& m_tables;
    TurtleState m_state;
    std::vector<Frame> m_frames;
};

void CLsysFractal::Roots(const Tables&, int depth, std::vector<Task>& out) const
{
    for (const char ch : m_lsystem.axiom.Text()) {
        out.push_back({ch, depth, false});
    }
}

bool CLsysFractal::Expand(const Tables& tables, const Task& task, std::vector<Task>& out) const
{
    const Replacement& rule = tables.rules[static_cast<unsigned char>(task.symbol)];
    if (task.countOnly || task.depth == 0 || IsTurtleCommand(task.symbol) || rule.text == nullptr) {
        return false;
    }
    out.push_back({task.symbol, task.depth, true});
    for (std::size_t i = 0; i < rule.length; ++i) {
        out.push_back({rule.text[i], task.depth - 1, false});
    }
    return true;
}

void CLsysFractal::Weigh(const Tables& tables, const std::vector<Task>& tasks,
                         std::vector<double>& weights) const
{
    int deepest = 0;
    for (const Task& task : tasks) {
        deepest = std::max(deepest, task.depth);
    }
    constexpr int kWeighedDepth = 4096;
    if (deepest > kWeighedDepth) {
        weights.assign(tasks.size(), std::numeric_limits<double>::infinity());
        return;
    }
    // Characters interpreted under each byte, generation by generation.
    std::vector<std::array<double, 256>> under(static_cast<std::size_t>(deepest) + 1);
    under[0].fill(1.0);
    for (std::size_t d = 1; d < under.size(); ++d) {
        for (int c = 0; c < 256; ++c) {
            const Replacement& rule = tables.rules[static_cast<std::size_t>(c)];
            double n = 1.0;
            if (rule.text != nullptr && !IsTurtleCommand(static_cast<char>(c))) {
                for (std::size_t i = 0; i < rule.length; ++i) {
                    n += under[d - 1][static_cast<unsigned char>(rule.text[i])];
                }
            }
            under[d][static_cast<std::size_t>(c)] = n;
        }
    }
    for (const Task& task : tasks) {
        weights.push_back(task.countOnly ? 1.0
                                         : under[static_cast<std::size_t>(task.depth)]
                                                [static_cast<unsigned char>(task.symbol)]);
    }
}

bool CLsysFractal::StartStates(const Tables& tables, const std::vector<Task>& tasks,
                               std::vector<TurtleState>& starts) const
{
    // A bracket returns the turtle to a saved place: a task's box would then
    // depend on what the tasks before it saved.
    const auto bracket = [](char ch) { return ch == '[' || ch == ']'; };
    for (const Task& task : tasks) {
        if (bracket(task.symbol)) {
            return false;
        }
    }
    for (const Replacement& rule : tables.rules) {
        if (rule.text != nullptr && std::any_of(rule.text, rule.text + rule.length, bracket)) {
            return false;
        }
    }
    int deepest = 0;
    for (const Task& task : tasks) {
        deepest = std::max(deepest, task.depth);
    }
    constexpr int kTurnedDepth = 4096;
    if (deepest > kTurnedDepth || tables.headings < 1) {
        return false;
    }
    const std::int64_t headings = tables.headings;
    // In whole steps of the compass, as the walker turns: '|' is half of
    // them, rounded down.
    const auto turn = [headings](char ch) -> std::int64_t {
        switch (ch) {
        case '+':
            return 1;
        case '-':
            return headings - 1;
        case '|':
            return headings / 2;
        default:
            return 0;
        }
    };
    // The turns under each byte, generation by generation.
    std::vector<std::array<std::int64_t, 256>> turns(static_cast<std::size_t>(deepest) + 1);
    for (int c = 0; c < 256; ++c) {
        turns[0][static_cast<std::size_t>(c)] = turn(static_cast<char>(c)) % headings;
    }
    for (std::size_t d = 1; d < turns.size(); ++d) {
        for (int c = 0; c < 256; ++c) {
            const auto ch = static_cast<char>(c);
            const Replacement& rule = tables.rules[static_cast<std::size_t>(c)];
            std::int64_t sum = turn(ch);
            if (!IsTurtleCommand(ch) && rule.text != nullptr) {
                for (std::size_t i = 0; i < rule.length; ++i) {
                    sum += turns[d - 1][static_cast<unsigned char>(rule.text[i])];
                }
            }
            turns[d][static_cast<std::size_t>(c)] = sum % headings;
        }
    }
    starts.clear();
    starts.reserve(tasks.size());
    std::int64_t heading = 0;
    for (const Task& task : tasks) {
        TurtleState state;
        state.heading = static_cast<int>(heading);
        starts.push_back(std::move(state));
        if (!task.countOnly) {
            heading = (heading + turns[static_cast<std::size_t>(task.depth)]
                                      [static_cast<unsigned char>(task.symbol)]) %
                      headings;
        }
    }
    return true;
}

template class FractalKind<CLsysFractal>;

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
