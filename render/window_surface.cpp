#include "render/window_surface.h"

#include "render/fractal_painter.h"

#include <QPainter>

#include <algorithm>
#include <exception>
#include <thread>
#include <utility>

WindowSurface::WindowSurface(ImageList animation, ImageList markers)
    : m_animation(std::move(animation)), m_markers(std::move(markers))
{
}

WindowSurface::~WindowSurface()
{
    // Run uses the members below; the worker must be gone before they are,
    // and a long drawing must not hold its owner up.
    (void)Stop();
    QuitAndWait();
}

void WindowSurface::Request(DrawRequest request)
{
    {
        std::lock_guard lock(m_handover);
        std::swap(m_request, request);
        ++m_serial;
    }
    // `request` now holds the previous fractal reference; it goes here, on
    // the interface thread, unless a drawing still holds one of its own.
    RequestDraw();
}

QSizeF WindowSurface::ShowImage(QPainter& painter) const
{
    std::lock_guard lock(m_handover);
    if (m_published.isNull()) {
        return {};
    }
    painter.drawImage(QPointF(0.0, 0.0), m_published);
    return m_published.deviceIndependentSize();
}

QImage WindowSurface::Image() const
{
    std::lock_guard lock(m_handover);
    return m_published.copy();
}

void WindowSurface::ClearImage()
{
    QImage gone;
    std::lock_guard lock(m_handover);
    std::swap(m_published, gone);
    ++m_serial;
}

RunResult WindowSurface::Run()
{
    DrawRequest request;
    {
        std::lock_guard lock(m_handover);
        request = m_request;
        m_drawingSerial = m_serial;
    }
    if (m_started) {
        m_started();
    }
    const RunResult result = DoDraw(request);
    m_phase.store(Phase::Idle, std::memory_order_relaxed);
    m_phaseElements.store(0, std::memory_order_relaxed);
    return result;
}

RunResult WindowSurface::DoDraw(const DrawRequest& request)
{
    m_frameCount.store(0, std::memory_order_relaxed);
    m_hatched = false;
    CFractal* fractal = request.fractal.get();
    if (fractal == nullptr || fractal->m_bad || request.pixelSize.isEmpty()) {
        return RunResult::Done;
    }
    m_measureReportElements = fractal->m_progressPeriod;
    m_phaseElements.store(0, std::memory_order_relaxed);
    m_phase.store(Phase::Measuring, std::memory_order_relaxed);
    // Released before `request` lets the fractal go.
    std::unique_lock drawing(fractal->DrawingLock(), std::defer_lock);
    // A deadline on the system clock: the steady clock's wait goes through a
    // call ThreadSanitizer cannot see, which would report every unlock.
    while (!drawing.try_lock_until(std::chrono::system_clock::now() + kLockSlice)) {
        if (StopRequested()) {
            return RunResult::Stopped;
        }
    }
    m_devicePixelRatio = request.devicePixelRatio > 0.0 ? request.devicePixelRatio : 1.0;
    m_image = QImage(request.pixelSize, QImage::Format_RGB32);
    if (m_image.isNull()) {
        return RunResult::Done;
    }
    bool painting = false;
    // A drawing ends on a finished picture, never on the busy hatch: a
    // figure that cannot be painted leaves the plain background.
    const auto publishBackground = [this, &request] {
        m_image.fill(ToQColor(request.settings.Background()).rgb());
        Publish();
    };
    try {
        m_lastPublish = Clock::now();
        if (!fractal->PrepareBounds(StopAddress(), &WindowSurface::MeasureProgress, this)) {
            publishBackground();
            return RunResult::Done;
        }
        PaintOptions options;
        options.path = FractalPath::Direct;
        options.progress = &WindowSurface::PaintProgress;
        options.progressArg = this;
        painting = true;
        m_phaseElements.store(0, std::memory_order_relaxed);
        m_phase.store(Phase::Painting, std::memory_order_relaxed);
        m_lastPublish = Clock::now();
        if (PaintFractal(m_image, *fractal, request.zoom, request.settings,
                         m_markers.IsEmpty() ? nullptr : &m_markers, StopAddress(), options)) {
            Publish();
        } else {
            publishBackground();
        }
        return RunResult::Done;
    } catch (int) {
        // What was drawn before the stop stays visible, as it would on a
        // window drawn directly.
        if (painting || m_hatched) {
            Publish();
        }
        return RunResult::Stopped;
    } catch (const std::exception&) {
        // Out of memory for a huge generation, say: this window stays as it
        // was; an exception leaving the thread would end the whole program.
        return RunResult::Failed;
    }
}

void WindowSurface::MeasureProgress(void* arg)
{
    auto* self = static_cast<WindowSurface*>(arg);
    self->m_phaseElements.fetch_add(self->m_measureReportElements, std::memory_order_relaxed);
    self->m_frameCount.fetch_add(1, std::memory_order_relaxed);
    if (!self->m_hatched || Clock::now() - self->m_lastPublish >= kAnimationInterval) {
        self->ShowBusy();
    }
}

void WindowSurface::PaintProgress(void* arg)
{
    auto* self = static_cast<WindowSurface*>(arg);
    self->m_phaseElements.fetch_add(kPaintReportElements, std::memory_order_relaxed);
    if (Clock::now() - self->m_lastPublish >= kPublishInterval) {
        self->Publish();
    }
}

void WindowSurface::ShowBusy()
{
    // Written pixel by pixel: a painter would hand large fills to Qt's
    // thread pool, which the worker has no business waking 25 times a second.
    // The hatch and the frame keep their size in the window's own units.
    const double dpr = m_devicePixelRatio;
    const int width = m_image.width();
    const int height = m_image.height();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const int ly = static_cast<int>(y / dpr);
        for (int x = 0; x < width; ++x) {
            // A black back-diagonal hatch ("/", rising to the right) on white.
            const int lx = static_cast<int>(x / dpr);
            line[x] = (lx + ly) % kHatchPeriod == kHatchPeriod - 1 ? 0xff000000 : 0xffffffff;
        }
    }
    if (!m_animation.IsEmpty()) {
        const int frame = m_frameCount.load(std::memory_order_relaxed) % kAnimationFrames;
        const QRect source = m_animation.SourceRect(frame, kAnimationSize, kAnimationSize);
        const QImage& strip = m_animation.Strip();
        const int size = static_cast<int>(kAnimationSize * dpr);
        const int offset = static_cast<int>(kAnimationOffset * dpr);
        for (int y = 0; y < size && offset + y < height && !source.isEmpty(); ++y) {
            const int sy = source.top() + std::min(static_cast<int>(y / dpr), source.height() - 1);
            const auto* from = reinterpret_cast<const QRgb*>(strip.constScanLine(sy));
            auto* to = reinterpret_cast<QRgb*>(m_image.scanLine(offset + y));
            for (int x = 0; x < size && offset + x < width; ++x) {
                const int sx =
                    source.left() + std::min(static_cast<int>(x / dpr), source.width() - 1);
                // An image list's pixels are opaque or, where green was,
                // wholly transparent.
                if (qAlpha(from[sx]) != 0) {
                    to[offset + x] = from[sx];
                }
            }
        }
    }
    m_hatched = true;
    Publish();
}

void WindowSurface::Publish()
{
    // A copy of its own: the worker goes on drawing into m_image.
    QImage copy = m_image.copy();
    copy.setDevicePixelRatio(m_devicePixelRatio);
    bool current = false;
    {
        std::lock_guard lock(m_handover);
        // A picture of a request already overtaken (or of a window since
        // cleared) would only flash up before the next one.
        current = m_drawingSerial == m_serial;
        if (current) {
            std::swap(m_published, copy);
        }
    }
    m_lastPublish = Clock::now();
    if (current && m_imageReady) {
        m_imageReady();
    }
}
