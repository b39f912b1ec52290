// How fast the engine measures a figure: ComputeBounds onto an ExtentSurface,
// the work every new day count costs before anything is painted. Reported as
// elements per second, an element being what each kind counts for its
// progress (a segment, a point, a figure copy, an interpreted character or a
// chain step). Timed on the wall clock, since a measurement runs on all the
// machine's threads.

#include "engine/fractal_kind.h"
#include "engine/presets.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

void NoProgress(void*) {}

// Measures preset (kind, index) at `days` once per iteration, uncached.
void MeasureBounds(benchmark::State& state, int kind, int index, int days)
{
    FractalPtr fractal = CreatePreset(kind, index);
    if (!fractal || fractal->m_bad) {
        state.SkipWithError("preset not usable");
        return;
    }
    fractal->m_days = days;
    // Measured on several threads, only the first counts what it does for
    // the progress: the elements of a measurement are counted once, on one.
    std::int64_t each = 0;
    {
        drawing::LimitDrawingThreads(1);
        FractalBounds bounds;
        const std::int64_t before = fractal->m_progressCount;
        fractal->ComputeBounds(days, bounds, nullptr, &NoProgress, nullptr);
        each = fractal->m_progressCount - before;
        drawing::LimitDrawingThreads(0);
    }
    std::int64_t elements = 0;
    for (auto _ : state) {
        FractalBounds bounds;
        // The progress function makes the fractal count its elements, as
        // it does when a window measures it.
        const bool done = fractal->ComputeBounds(days, bounds, nullptr, &NoProgress, nullptr);
        elements += each;
        benchmark::DoNotOptimize(bounds);
        if (!done) {
            state.SkipWithError("ComputeBounds did not complete");
            return;
        }
    }
    state.SetItemsProcessed(elements);
    state.counters["elements"] =
        static_cast<double>(elements) / static_cast<double>(state.iterations());
}

} // namespace

// Koch's snowflake (standard preset 9): 3 * 4^10 segments.
BENCHMARK_CAPTURE(MeasureBounds, koch_std_10, 0, 9, 10)->Unit(benchmark::kMillisecond)->UseRealTime();
// Heighway's dragon (automaton preset 10): 2^24 chain steps.
BENCHMARK_CAPTURE(MeasureBounds, dragon_automaton_24, 4, 10, 24)->Unit(benchmark::kMillisecond)->UseRealTime();
// The fern (IFS preset 8): 4^9 points.
BENCHMARK_CAPTURE(MeasureBounds, fern_ifs_9, 1, 8, 9)->Unit(benchmark::kMillisecond)->UseRealTime();
// The Hilbert L-system (preset 1): every character of the derivation.
BENCHMARK_CAPTURE(MeasureBounds, hilbert_lsys_10, 3, 1, 10)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
