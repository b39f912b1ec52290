#pragma once

// How many elements a generation of a fractal makes, counted from the kind's
// structure without drawing it: copies multiply by the number of maps or
// generator steps per generation, substitution systems by the symbols each
// rule yields. Counts past 2^64 - 1 stop there (kElementCountSaturated):
// the deepest generations of a growing figure are astronomically large, and
// a wrapped count would promise a short drawing.

#include <cstdint>
#include <limits>

inline constexpr std::uint64_t kElementCountSaturated = std::numeric_limits<std::uint64_t>::max();

struct ElementCount
{
    // Elements the drawing counts, each one a test of the stop flag and a
    // step of progress while the bounds are measured (hidden steps and
    // turtle commands included).
    std::uint64_t counted = 0;
    // Calls the fractal makes on its surface: lines, pixels and moves.
    std::uint64_t drawn = 0;
    // Measuring the bounds stays on one thread for this kind, whatever the
    // size of the figure.
    bool boundsOnOneThread = false;
};

// Saturating arithmetic for the counts.
inline std::uint64_t CountAdd(std::uint64_t a, std::uint64_t b)
{
    return a > kElementCountSaturated - b ? kElementCountSaturated : a + b;
}

inline std::uint64_t CountMul(std::uint64_t a, std::uint64_t b)
{
    if (a == 0 || b == 0) {
        return 0;
    }
    return a > kElementCountSaturated / b ? kElementCountSaturated : a * b;
}
