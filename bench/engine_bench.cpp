// How fast the engine measures a figure: ComputeBounds onto an ExtentSurface,
// the work every new day count costs before anything is painted. Reported as
// elements per second, an element being what each kind counts for its
// progress (a segment, a point, a figure copy, an interpreted character or a
// chain step).

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
    std::int64_t elements = 0;
    for (auto _ : state) {
        FractalBounds bounds;
        const std::int64_t before = fractal->m_progressCount;
        // The progress function makes the fractal count its elements, as
        // it does when a window measures it.
        const bool done = fractal->ComputeBounds(days, bounds, nullptr, &NoProgress, nullptr);
        elements += fractal->m_progressCount - before;
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
BENCHMARK_CAPTURE(MeasureBounds, koch_std_10, 0, 9, 10)->Unit(benchmark::kMillisecond);
// Heighway's dragon (automaton preset 10): 2^24 chain steps.
BENCHMARK_CAPTURE(MeasureBounds, dragon_automaton_24, 4, 10, 24)->Unit(benchmark::kMillisecond);
// The fern (IFS preset 8): 4^9 points.
BENCHMARK_CAPTURE(MeasureBounds, fern_ifs_9, 1, 8, 9)->Unit(benchmark::kMillisecond);
// The Hilbert L-system (preset 1): every character of the derivation.
BENCHMARK_CAPTURE(MeasureBounds, hilbert_lsys_10, 3, 1, 10)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
