#include "engine/fractal.h"

#include "core/text_archive.h"

#include <cmath>
#include <cstring>
#include <istream>
#include <limits>
#include <utility>

CFractal::CFractal(std::string name, int days, std::string type)
    : m_name(std::move(name)), m_type(std::move(type)), m_days(days)
{
}

CFractal::CFractal(CTextArchive& ar, std::string type) : m_type(std::move(type)), m_bad(true)
{
    try {
        ar.Expect("[name]");
        std::string line;
        if (!ar.ReadLine(line)) {
            return;
        }
        if (!line.empty() && line.front() == ' ') {
            line.erase(0, 1);
        }
        if (line.size() > kMaxName) {
            line.resize(kMaxName);
        }
        m_name = std::move(line);
        ar.Expect("[ndays]");
        int days = 0;
        ar >> days;
        m_days = days;
        // A day count that could not be read shows at the next header; the
        // stream tells already.
        if (ar.Stream().fail()) {
            return;
        }
        m_bad = false;
    } catch (...) {
    }
}

bool CFractal::Save(CTextArchive& ar)
{
    ar << "[type] " << m_type.c_str() << '\n';
    // The blank after the header and the name must fit the longest line a
    // reader takes, or the saved file would not read back.
    ar << "[name] " << m_name.substr(0, kMaxName).c_str() << '\n';
    ar << "[ndays] " << m_days << '\n';
    return true;
}

bool CFractal::PrepareBounds(const StopFlag* stop, ProgressFn progress, void* arg)
{
    const int days = m_days;
    const bool cached = days >= 0 && days < kCacheSize;
    FractalBounds entry;
    if (cached) {
        std::lock_guard lock(m_state);
        entry = m_boundsCache[static_cast<std::size_t>(days)];
    }
    if (!entry.valid) {
        // Measured at scale 1: the entry's own, untouched scale.
        {
            std::lock_guard lock(m_state);
            m_bounds = entry;
        }
        FractalBounds measured = entry;
        measured.valid = ComputeBounds(days, measured, stop, progress, arg);
        measured.scale = ScaleToFit(measured.maxX - measured.minX, measured.maxY - measured.minY,
                                    kDrawLimit, kDrawLimit);
        if (measured.maxX == measured.minX && measured.maxY == measured.minY) {
            // A single point (or nothing at all) has no size to fit: drawn
            // at its own units, it still shows where it is.
            measured.scale = 1.0;
        }
        entry = measured;
    }
    {
        std::lock_guard lock(m_state);
        if (cached) {
            m_boundsCache[static_cast<std::size_t>(days)] = entry;
        }
        m_bounds = entry;
    }
    const double width = entry.maxX - entry.minX;
    const double height = entry.maxY - entry.minY;
    // A figure thrown to infinity by absurd coefficients cannot be fitted
    // to the drawing range: it is not painted rather than painted as garbage.
    return std::isfinite(width) && std::isfinite(height) && entry.scale > 0.0;
}

FractalBounds CFractal::BoundsSnapshot() const
{
    std::lock_guard lock(m_state);
    return m_bounds;
}

std::array<FractalBounds, CFractal::kCacheSize> CFractal::CacheSnapshot() const
{
    std::lock_guard lock(m_state);
    return m_boundsCache;
}

double CFractal::ScaleToFit(double width, double height, int limitX, int limitY)
{
    // Written so that NaN falls into the first case; a NaN beside a usable
    // dimension cannot be fitted either.
    if ((!(width > 0.0) && !(height > 0.0)) || std::isnan(width) || std::isnan(height)) {
        return -1.0;
    }
    const double largest = std::numeric_limits<double>::max();
    const double horizontal = width == 0.0 ? largest : limitX / width;
    const double vertical = height == 0.0 ? largest : limitY / height;
    return vertical < horizontal ? vertical : horizontal;
}
