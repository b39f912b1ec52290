#pragma once

// The abstract fractal: what every fractal file shares (kind keyword, name,
// day count), the bounds cache per day count, the element accounting that
// lets a drawing be stopped and report progress. The kind factory that
// reads a file into one of the kinds is in engine/create_fractal.h.

#include "engine/element_count.h"
#include "surface/batch_surface.h"
#include "surface/drawing_surface.h"
#include "surface/extent_surface.h"
#include "surface/progress.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class CTextArchive;
class InitiatorSet;
class Pattern;
class AffineMapSet;
struct LSystem;
class Automaton;
class Directions;

// Everything a drawing recursion passes down. A null stop flag never stops.
struct DrawContext
{
    DrawingSurface* surface = nullptr;
    const StopFlag* stop = nullptr;
    ProgressFn progress = nullptr;
    void* arg = nullptr;
};

// The deepest generation the recursive kinds (standard, IFS, MCRM) draw.
// Their recursions use one stack frame per generation: measured, 1024
// levels take under 128 KiB in an optimised build and under 2 MiB with
// AddressSanitizer, so they fit the stack of any thread (2 MiB at the least
// on Linux). No figure of theirs that grows can be drawn anywhere near this
// depth in a lifetime; a day count above it is refused, never drawn as
// another generation.
inline constexpr int kMaxDepth = 1024;

// The deepest generation of the kinds that keep their recursion on the heap
// (L-systems, automata), whose one-symbol rules (F -> +F) reach any depth
// cheaply: about 32 bytes a generation, 32 MiB at this limit.
inline constexpr int kMaxStackDays = 1 << 20;

class CFractal
{
public:
    static constexpr int kCacheSize = 32;
    static constexpr int kDrawLimit = 32767;
    // The longest name a file keeps: a line holds the blank and the name.
    static constexpr std::size_t kMaxName = 1022;

    virtual ~CFractal() = default;
    CFractal(const CFractal&) = delete;
    CFractal& operator=(const CFractal&) = delete;

    // Draws generation `days` (m_days when days < 1) onto an ExtentSurface at
    // the scale of m_bounds and stores the box in `out` (scale 1, valid).
    // Throws the int -1 when the stop flag is set. True when complete; false
    // with `out` untouched when the generation is above MaxDays().
    virtual bool ComputeBounds(int days, FractalBounds& out, const StopFlag* stop,
                               ProgressFn progress, void* arg) = 0;
    // Draws generation m_days (nothing, false, when m_days < 1 or above
    // MaxDays()). Throws -1 when the stop flag is set. A BatchSurface gets
    // the elements in batches, and pieces on other threads when it forks.
    virtual bool Draw(DrawingSurface& surface, const StopFlag* stop) = 0;
    virtual void DrawInitiatorOverlay(MarkerSurface& surface, ColorPair colors) = 0;
    virtual void DrawGeneratorOverlay(MarkerSurface& surface, ColorPair colors) = 0;
    // Writes the common header; kinds add their sections.
    virtual bool Save(CTextArchive& ar);
    virtual bool IsValid() const { return false; }
    // The deepest generation this fractal draws. Above it Draw and
    // ComputeBounds refuse (false, nothing drawn), and callers say "at most
    // N days for this fractal" rather than show another generation.
    virtual int MaxDays() const { return kMaxDepth; }
    // The elements generation `days` makes, counted without drawing it:
    // nothing below 1 day, above MaxDays() or for a fractal that is not
    // drawn. Cheap next to drawing (a pass per generation over the kind's
    // rules), so the interface thread may ask before a drawing starts.
    virtual ElementCount CountElements(int days) const
    {
        (void)days;
        return {};
    }

    // The components inside the fractal (not copies), or null.
    virtual InitiatorSet* GetInitiators() { return nullptr; }
    virtual Pattern* GetGenerator() { return nullptr; }
    virtual AffineMapSet* GetAffineMaps() { return nullptr; }
    virtual LSystem* GetLsystem() { return nullptr; }
    virtual Automaton* GetAutomaton() { return nullptr; }
    virtual Directions* GetDirections() { return nullptr; }

    // Makes the bounds of m_days current: from the cache when measured
    // before, otherwise measured (with progress) and scaled to fit 32767
    // units. Day counts outside the cache are measured every time. The stop
    // exception passes through and leaves the cache entry not valid. True
    // when the box has a finite size; a flat box (a straight line) and a
    // single point are figures too, the point kept at scale 1. False when
    // the kind refused to measure (a generation above MaxDays()).
    bool PrepareBounds(const StopFlag* stop, ProgressFn progress, void* arg);

    // The factor that makes width x height fit limitX x limitY; -1 when
    // neither dimension is above 0.
    static double ScaleToFit(double width, double height, int limitX, int limitY);

    // Threads. A fractal is shared between the interface thread and the
    // drawing threads of its windows. A drawing thread holds DrawingLock()
    // around PrepareBounds and Draw, so drawings of one fractal never overlap
    // and only the holder changes the bounds; it writes them under the state
    // lock, which the interface thread takes through BoundsSnapshot and
    // CacheSnapshot. The day count is atomic: the day commands change it
    // while a drawing may read it (the drawing is then restarted).
    std::timed_mutex& DrawingLock() { return m_drawing; }
    FractalBounds BoundsSnapshot() const;
    std::array<FractalBounds, kCacheSize> CacheSnapshot() const;

    std::string m_name;
    std::string m_type;
    bool m_bad = false;
    std::atomic<int> m_days{0};
    FractalBounds m_bounds;
    std::array<FractalBounds, kCacheSize> m_boundsCache{};
    // Elements counted with a progress function, over the fractal's life.
    std::int64_t m_progressCount = 0;
    int m_progressPeriod = 50000;

protected:
    // For fractals built from values (presets, the design sheet).
    CFractal(std::string name, int days, std::string type);
    // Reads the common header ("[name]", "[ndays]") after "[type]"; leaves
    // m_bad true when it fails. Never throws.
    CFractal(CTextArchive& ar, std::string type);

    // Sets m_bad from a reading outcome and the kind's validity; kinds call
    // it at the end of each constructor.
    void SetValidity(bool readOk) { m_bad = !readOk || !IsValid(); }

    // The element accounting every kind runs after each drawn element.
    void CountElement(const DrawContext& ctx)
    {
        if (ctx.stop != nullptr && ctx.stop->load(std::memory_order_relaxed)) {
            throw -1;
        }
        if (ctx.progress != nullptr) {
            ++m_progressCount;
            if (m_progressPeriod > 0 && m_progressCount % m_progressPeriod == 0) {
                ctx.progress(ctx.arg);
            }
        }
    }

    // The generation ComputeBounds measures: `days` when at least 1, else
    // m_days; negative counts as 0.
    int BoundsDepth(int days) const
    {
        const int depth = days >= 1 ? days : m_days.load();
        return depth < 0 ? 0 : depth;
    }

private:
    friend class FractalPtr;
    std::atomic<int> m_refs{0};
    std::timed_mutex m_drawing;
    mutable std::mutex m_state;
};

// Shares a fractal by reference counting; the fractal is deleted when the
// last pointer lets it go. The count is atomic because a drawing thread may
// hold a reference while it draws.
class FractalPtr
{
public:
    FractalPtr() = default;
    FractalPtr(CFractal* fractal) : m_fractal(fractal) { Take(); } // NOLINT: implicit by design
    FractalPtr(const FractalPtr& other) : m_fractal(other.m_fractal) { Take(); }
    FractalPtr(FractalPtr&& other) noexcept : m_fractal(other.m_fractal)
    {
        other.m_fractal = nullptr;
    }
    ~FractalPtr() { Release(); }

    FractalPtr& operator=(const FractalPtr& other)
    {
        if (this != &other && other.m_fractal != m_fractal) {
            CFractal* incoming = other.m_fractal;
            if (incoming != nullptr) {
                incoming->m_refs.fetch_add(1, std::memory_order_relaxed);
            }
            Release();
            m_fractal = incoming;
        }
        return *this;
    }
    FractalPtr& operator=(FractalPtr&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_fractal = other.m_fractal;
            other.m_fractal = nullptr;
        }
        return *this;
    }

    CFractal* get() const { return m_fractal; }
    CFractal* operator->() const { return m_fractal; }
    CFractal& operator*() const { return *m_fractal; }
    explicit operator bool() const { return m_fractal != nullptr; }

private:
    void Take()
    {
        if (m_fractal != nullptr) {
            m_fractal->m_refs.fetch_add(1, std::memory_order_relaxed);
        }
    }
    void Release()
    {
        if (m_fractal != nullptr &&
            m_fractal->m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            delete m_fractal;
        }
        m_fractal = nullptr;
    }

    CFractal* m_fractal = nullptr;
};
