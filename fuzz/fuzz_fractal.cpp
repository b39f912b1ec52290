// Opens arbitrary bytes as a fractal file, the way the fractal document does,
// and puts whatever comes out through everything a window does with it:
// saving, reopening the saved text, measuring, drawing and the overlays.
//
// Beyond what the sanitizers report, it traps when a usable fractal's saved
// file does not reopen as the same usable fractal: data lost or changed.

#include "budget_surface.h"

#include "core/text_archive.h"
#include "engine/fractal.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

// Past the 32 day counts the bounds cache holds and deep enough for every
// kind to branch many times; the element budget below bounds the work. (Any
// deeper only adds recursion, which the engine itself bounds.)
constexpr int kMaxFuzzDays = 64;
// Elements one measurement or drawing may take before it is stopped.
constexpr std::int64_t kElementBudget = 200000;
// A finer progress period than the program's, so the budget is kept closely.
constexpr int kProgressPeriod = 1000;

struct Budget
{
    StopFlag* stop;
    std::int64_t elements = 0;
};

void OnProgress(void* arg)
{
    auto* budget = static_cast<Budget*>(arg);
    budget->elements += kProgressPeriod;
    if (budget->elements >= kElementBudget) {
        budget->stop->store(true, std::memory_order_relaxed);
    }
}

std::string SaveText(CFractal& fractal)
{
    std::stringstream out;
    CTextArchive ar(out);
    fractal.Save(ar);
    return out.str();
}

FractalPtr Reopen(const std::string& text, bool& usable)
{
    std::stringstream in(text);
    CTextArchive ar(in);
    FractalPtr fractal;
    usable = CreateFractal(fractal, ar);
    return fractal;
}

// Measures the fractal, then (when it can be painted) draws the overlays and
// the fractal itself, each within the element budget.
void DrawWithinBudget(CFractal& fractal)
{
    const int days = fractal.m_days;
    fractal.m_days = std::min(days, kMaxFuzzDays);
    fractal.m_progressPeriod = kProgressPeriod;

    StopFlag stop{false};
    Budget budget{&stop};
    bool paintable = false;
    try {
        paintable = fractal.PrepareBounds(&stop, &OnProgress, &budget);
    } catch (int) {
        return; // over budget: the window would be stopped the same way
    }
    if (!paintable) {
        return;
    }

    StopFlag overlayStop{false};
    BudgetSurface overlays(overlayStop, kElementBudget);
    fractal.DrawInitiatorOverlay(overlays, {0x0000ff, 0x00007f});
    fractal.DrawGeneratorOverlay(overlays, {0x00ff00, 0x007f00});

    // Measured within budget at this day count, so drawing it costs the same.
    StopFlag drawStop{false};
    BudgetSurface surface(drawStop, kElementBudget);
    try {
        fractal.Draw(surface, &drawStop);
    } catch (int) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::stringstream input(std::string(reinterpret_cast<const char*>(data), size));
    CTextArchive ar(input);
    FractalPtr fractal;
    const bool usable = CreateFractal(fractal, ar);
    if (!fractal) {
        return 0;
    }

    // Saving and reopening must keep a usable fractal exactly; an unusable
    // one is still saved (the document can write what it has) and reread.
    const std::string first = SaveText(*fractal);
    bool reopenedUsable = false;
    FractalPtr reopened = Reopen(first, reopenedUsable);
    if (usable) {
        if (!reopenedUsable || !reopened || SaveText(*reopened) != first) {
            __builtin_trap();
        }
    } else if (reopened) {
        SaveText(*reopened);
    }

    if (usable) {
        DrawWithinBudget(*fractal);
    }
    return 0;
}
