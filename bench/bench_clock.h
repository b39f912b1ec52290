#pragma once

// What the rasteriser benchmarks share: a figure of the preset library and
// the clock they time it with.

#include <chrono>
#include <ctime>

struct BenchFigure
{
    const char* name;
    int kind;
    int index;
    int days;
};

// The processor time of this thread on one thread (other work on the
// machine then hardly skews the ratio), the wall time on several.
inline double BenchNow(bool wall)
{
    if (wall) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}
