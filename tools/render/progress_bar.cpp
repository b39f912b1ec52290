#include "progress_bar.h"

#include <cstdio>

void ProgressBar::Begin(const char* label, std::int64_t perTick)
{
    m_label = label;
    m_perTick = perTick;
    m_elements = 0;
    m_start = m_lastShown = std::chrono::steady_clock::now();
}

void ProgressBar::Tick(void* bar)
{
    auto* self = static_cast<ProgressBar*>(bar);
    self->m_elements += self->m_perTick;
    if (!self->m_enabled) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - self->m_lastShown >= std::chrono::milliseconds(100)) {
        self->m_lastShown = now;
        self->Show();
    }
}

void ProgressBar::Show()
{
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    const double millions = static_cast<double>(m_elements) / 1e6;
    const double rate = elapsed > 0.0 ? millions / elapsed : 0.0;
    std::fprintf(stderr, "\r%s: %.1f M elements, %.1f M/s, %.1f s   ", m_label.c_str(), millions,
                 rate, elapsed);
    std::fflush(stderr);
    m_shown = true;
}

void ProgressBar::Clear()
{
    if (m_shown) {
        std::fprintf(stderr, "\r%60s\r", "");
        std::fflush(stderr);
        m_shown = false;
    }
}
