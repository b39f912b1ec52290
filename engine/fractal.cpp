#include "engine/fractal.h"

#include "core/text_archive.h"
#include "engine/fractal_kind.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <istream>
#include <limits>
#include <thread>
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
    // Nor is a generation the kind refused to measure.
    return entry.valid && std::isfinite(width) && std::isfinite(height) && entry.scale > 0.0;
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

namespace {
std::atomic<int> g_threadLimit{0};
} // namespace

int drawing::DrawingThreads()
{
    const int limit = g_threadLimit.load(std::memory_order_relaxed);
    if (limit > 0) {
        return limit;
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1U, 8U));
}

void drawing::LimitDrawingThreads(int threads)
{
    g_threadLimit.store(std::clamp(threads, 0, 64), std::memory_order_relaxed);
}

std::vector<std::size_t> drawing::SplitTasks(const std::vector<double>& weights, int threads,
                                             double replay)
{
    std::vector<double> prefix(weights.size() + 1, 0.0);
    for (std::size_t i = 0; i < weights.size(); ++i) {
        prefix[i + 1] = prefix[i] + weights[i];
    }
    const double total = prefix.back();
    // Piece k starts at fraction x_k and costs replay * x_k + (x_{k+1} - x_k);
    // equal costs c give x_{k+1} = c + (1 - replay) * x_k.
    double sum = 0.0;
    double power = 1.0;
    for (int k = 0; k < threads; ++k) {
        sum += power;
        power *= 1.0 - replay;
    }
    const double cost = 1.0 / sum;
    std::vector<std::size_t> starts{0};
    double x = 0.0;
    for (int k = 1; k < threads; ++k) {
        x = cost + (1.0 - replay) * x;
        const double target = x * total;
        auto at = static_cast<std::size_t>(std::lower_bound(prefix.begin(), prefix.end(), target) -
                                           prefix.begin());
        // The nearer of the two task boundaries around the target.
        if (at > 0 && target - prefix[at - 1] < prefix[at] - target) {
            --at;
        }
        if (at > starts.back() && at < weights.size()) {
            starts.push_back(at);
        }
    }
    starts.push_back(weights.size());
    return starts;
}
