#pragma once

// A one-line progress display on stderr while a long drawing runs: elements
// done, rate and elapsed time, redrawn at most ten times a second. It is
// driven from the drawing thread by the engine's and the surfaces' progress
// callbacks, so it needs no thread of its own.

#include <chrono>
#include <cstdint>
#include <string>

class ProgressBar
{
public:
    // A disabled bar ignores everything (not a terminal, or --quiet).
    explicit ProgressBar(bool enabled) : m_enabled(enabled) {}
    ~ProgressBar() { Clear(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    bool Enabled() const { return m_enabled; }
    // Starts a phase ("bounds", "drawing") with its own count and clock, and
    // the number of elements each tick stands for.
    void Begin(const char* label, std::int64_t perTick);
    // Removes the line, so what follows on stderr starts clean.
    void Clear();

    // Progress callbacks (ProgressFn): the argument is the bar.
    static void Tick(void* bar);

private:
    void Show();

    bool m_enabled;
    bool m_shown = false;
    std::string m_label;
    std::int64_t m_perTick = 1;
    std::int64_t m_elements = 0;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lastShown;
};
