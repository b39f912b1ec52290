#pragma once

// What a fractal window draws with: a worker thread that measures the
// fractal (showing a busy animation meanwhile) and paints it into an image
// of its own, which the window only shows. A worker never touches a widget.
//
// Each drawing works from a copy of the last request: the fractal (a
// reference of its own, so a fractal the document replaces or lets go stays
// alive until this drawing ends), the zoom factor, the display settings and
// the size in device pixels. The worker holds the fractal's drawing lock
// around measuring and painting, so drawings of one fractal never overlap;
// while it waits for the lock it still notices a stop.
//
// While a long drawing runs, a copy of the image is published at least every
// kPublishInterval so the figure grows visibly; the busy animation is
// published the same way, and what a stopped drawing had drawn stays. A
// drawing overtaken by a newer request publishes nothing more. The image
// handover is the one lock between the threads.
//
// Threads: Request, Image and the DrawingThread controls belong to the
// interface thread (Image may be called from any thread); the callbacks run
// on the worker and must only post to the interface thread.

#include "render/display_settings.h"
#include "render/drawing_thread.h"
#include "render/marker_images.h"

#include <QImage>
#include <QSize>
#include <QSizeF>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>

class QPainter;

// What one drawing draws.
struct DrawRequest
{
    // May be empty or unusable: then nothing is drawn.
    FractalPtr fractal;
    double zoom = 1.0;
    DisplaySettings settings;
    // The window's client area in device pixels, and the ratio of device
    // pixels to the window's own units (the published image carries it).
    QSize pixelSize;
    double devicePixelRatio = 1.0;
};

class WindowSurface final : public DrawingThread
{
public:
    static constexpr std::chrono::milliseconds kPublishInterval{100};
    // How often the busy animation moves on at most: each frame is a fill and
    // a copy of the whole image.
    static constexpr std::chrono::milliseconds kAnimationInterval{40};
    // How long the worker waits for the fractal's drawing lock at a time,
    // looking at its stop flag in between.
    static constexpr std::chrono::milliseconds kLockSlice{2};
    static constexpr int kAnimationFrames = 12;
    static constexpr int kAnimationSize = 32;
    static constexpr int kAnimationOffset = 10;
    // One hatch line every this many units along each axis.
    static constexpr int kHatchPeriod = 8;

    // `animation`: the busy animation, 12 images of 32 by 32 (may be empty:
    // the hatch alone shows). `markers`: the overlays' marker images.
    WindowSurface(ImageList animation, ImageList markers);
    ~WindowSurface() override;

    // Makes `request` what the next drawing draws, then RequestDraw.
    void Request(DrawRequest request);
    // Draws the image published last at (0, 0) in the painter's units (the
    // image carries the device pixel ratio of its request) and returns its
    // size in those units; nothing, and an empty size, before the first.
    // The painting happens under the handover lock, so the image's pixels and
    // its reference count are never touched by both threads at once.
    QSizeF ShowImage(QPainter& painter) const;
    // A copy of its own of the image published last (null before the
    // first), for tests and tools.
    QImage Image() const;
    // Drops the published image (the window then shows its background).
    void ClearImage();

    // Called on the worker after each publication. Set before Start.
    void SetImageReady(std::function<void()> ready) { m_imageReady = std::move(ready); }
    // Called on the worker as each drawing begins (before the fractal's lock
    // is taken). Set before Start.
    void SetDrawingStarted(std::function<void()> started) { m_started = std::move(started); }

    // What the drawing in progress is doing and the elements it has counted
    // in that phase so far (any thread): measuring counts the fractal's
    // elements, painting the calls that reach the image. Idle with 0
    // between drawings.
    enum class Phase : int
    {
        Idle,
        Measuring,
        Painting
    };
    Phase CurrentPhase() const { return m_phase.load(std::memory_order_relaxed); }
    std::int64_t PhaseElements() const { return m_phaseElements.load(std::memory_order_relaxed); }
    // Painting reports progress after this many calls (see PaintOptions).
    static constexpr std::int64_t kPaintReportElements = std::int64_t{1} << 16;

    // The busy animation's frame counter of the drawing in progress, or of
    // the last one (worker's value; for tests, read after the completion).
    int AnimationFrameCount() const { return m_frameCount.load(std::memory_order_relaxed); }

protected:
    // The thread's run: DoDraw on a copy of the last request.
    RunResult Run() override;

private:
    using Clock = std::chrono::steady_clock;

    RunResult DoDraw(const DrawRequest& request);
    // Progress while the bounds are measured: the busy animation.
    static void MeasureProgress(void* self);
    // Progress while the fractal is painted: publication every interval.
    static void PaintProgress(void* self);
    void ShowBusy();
    void Publish();

    const ImageList m_animation;
    const ImageList m_markers;
    std::function<void()> m_imageReady;
    std::function<void()> m_started;

    // The handover, under m_handover: the last request, the published image
    // and a count of requests and clearings, which tells a drawing whether
    // its picture is still wanted.
    mutable std::mutex m_handover;
    DrawRequest m_request;
    QImage m_published;
    std::uint64_t m_serial = 0;

    // The worker's own.
    QImage m_image;
    std::uint64_t m_drawingSerial = 0;
    double m_devicePixelRatio = 1.0;
    bool m_hatched = false;
    Clock::time_point m_lastPublish;
    std::atomic<int> m_frameCount{0};
    std::atomic<Phase> m_phase{Phase::Idle};
    std::atomic<std::int64_t> m_phaseElements{0};
    std::int64_t m_measureReportElements = 0;
};
