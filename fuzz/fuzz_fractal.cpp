// Opens arbitrary bytes as a fractal file, the way the fractal document does,
// and puts whatever comes out through everything a window does with it:
// saving, reopening the saved text, measuring, drawing and the overlays.
//
// Beyond what the sanitizers report, it traps when a usable fractal's saved
// file does not reopen as the same usable fractal, or when the fractal built
// back from its own components (as the design sheet builds one from the
// component documents) differs from it: data lost or changed.

#include "budget_surface.h"

#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "engine/automaton_fractal.h"
#include "engine/fractal.h"
#include "engine/ifs_fractal.h"
#include "engine/lsys_fractal.h"
#include "engine/mcrm_fractal.h"
#include "engine/standard_fractal.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Past the 32 day counts the bounds cache holds and deep enough for every
// kind to branch many times; the element budget below bounds the work. (Any
// deeper only adds recursion, which the engine itself bounds.)
constexpr int kMaxFuzzDays = 64;
// Elements one measurement or drawing may take before it is stopped.
constexpr std::int64_t kElementBudget = 200000;
// A finer progress period than the program's, so the budget is kept closely.
constexpr int kProgressPeriod = 1000;

// Some inputs make work that draws nothing (automaton productions that
// double and then vanish), which no element budget sees. As a user would
// press Stop, a watchdog sets the stop flags once the time is up.
constexpr std::chrono::milliseconds kTimeBudget{500};

class Deadline
{
public:
    Deadline(std::initializer_list<StopFlag*> flags, std::chrono::milliseconds after)
        : m_flags(flags), m_thread([this, after] { Watch(after); })
    {
    }
    ~Deadline()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    void Watch(std::chrono::milliseconds after)
    {
        std::unique_lock lock(m_mutex);
        if (!m_wake.wait_for(lock, after, [this] { return m_done; })) {
            for (StopFlag* flag : m_flags) {
                flag->store(true, std::memory_order_relaxed);
            }
        }
    }

    std::vector<StopFlag*> m_flags;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};

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

// A new fractal of the same kind made from copies of this one's components.
FractalPtr Rebuild(CFractal& f)
{
    const std::string name = f.m_name;
    const int days = f.m_days;
    if (f.m_type == CStandardFractal::kKeyword) {
        return new CStandardFractal(name, days, *f.GetGenerator(), *f.GetInitiators());
    }
    if (f.m_type == CIfsFractal::kKeyword) {
        return new CIfsFractal(name, days, *f.GetAffineMaps());
    }
    if (f.m_type == CMcrmFractal::kKeyword) {
        return new CMcrmFractal(name, days, *f.GetAffineMaps(), *f.GetGenerator());
    }
    if (f.m_type == CLsysFractal::kKeyword) {
        return new CLsysFractal(name, days, *f.GetLsystem(), *f.GetDirections());
    }
    if (f.m_type == CAutomatonFractal::kKeyword) {
        return new CAutomatonFractal(name, days, *f.GetAutomaton(), *f.GetGenerator());
    }
    return {};
}

// Measures the fractal, then (when it can be painted) draws the overlays and
// the fractal itself, each within the element budget.
void DrawWithinBudget(CFractal& fractal)
{
    const int days = fractal.m_days;
    fractal.m_days = std::min(days, kMaxFuzzDays);
    fractal.m_progressPeriod = kProgressPeriod;

    StopFlag stop{false};
    StopFlag drawStop{false};
    const Deadline deadline({&stop, &drawStop}, kTimeBudget);
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
    if (!usable) {
        return 0;
    }

    FractalPtr rebuilt = Rebuild(*fractal);
    if (!rebuilt || rebuilt->m_bad || SaveText(*rebuilt) != first) {
        __builtin_trap();
    }

    DrawWithinBudget(*fractal);
    return 0;
}
