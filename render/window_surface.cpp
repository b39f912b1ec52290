#include "render/window_surface.h"

#include "render/fractal_painter.h"

#include <QBrush>
#include <QPainter>

#include <exception>
#include <utility>

WindowSurface::WindowSurface(ImageList animation, ImageList markers)
    : m_animation(std::move(animation)), m_markers(std::move(markers))
{
}

WindowSurface::~WindowSurface()
{
    // Run uses the members below; the worker must be gone before they are.
    QuitAndWait();
}

void WindowSurface::Request(DrawRequest request)
{
    {
        std::lock_guard lock(m_handover);
        std::swap(m_request, request);
    }
    // `request` now holds the previous fractal reference; it goes here, on
    // the interface thread, unless a drawing still holds one of its own.
    RequestDraw();
}

QImage WindowSurface::Image() const
{
    std::lock_guard lock(m_handover);
    return m_published;
}

void WindowSurface::ClearImage()
{
    QImage gone;
    std::lock_guard lock(m_handover);
    std::swap(m_published, gone);
}

int WindowSurface::Run()
{
    DrawRequest request;
    {
        std::lock_guard lock(m_handover);
        request = m_request;
    }
    if (m_started) {
        m_started();
    }
    return DoDraw(request);
}

int WindowSurface::DoDraw(const DrawRequest& request)
{
    m_frameCount.store(0, std::memory_order_relaxed);
    m_hatched = false;
    CFractal* fractal = request.fractal.get();
    if (fractal == nullptr || fractal->m_bad || request.pixelSize.isEmpty()) {
        return 0;
    }
    // Released before `request` lets the fractal go.
    std::unique_lock drawing(fractal->DrawingLock(), std::defer_lock);
    while (!drawing.try_lock_for(kLockSlice)) {
        if (StopRequested()) {
            return -1;
        }
    }
    m_devicePixelRatio = request.devicePixelRatio > 0.0 ? request.devicePixelRatio : 1.0;
    m_image = QImage(request.pixelSize, QImage::Format_RGB32);
    if (m_image.isNull()) {
        return 0;
    }
    bool painting = false;
    try {
        m_lastPublish = Clock::now();
        if (!fractal->PrepareBounds(StopAddress(), &WindowSurface::MeasureProgress, this)) {
            return 0;
        }
        PaintOptions options;
        options.path = FractalPath::Direct;
        options.progress = &WindowSurface::PaintProgress;
        options.progressArg = this;
        painting = true;
        m_lastPublish = Clock::now();
        if (PaintFractal(m_image, *fractal, request.zoom, request.settings,
                         m_markers.IsEmpty() ? nullptr : &m_markers, StopAddress(), options)) {
            Publish();
        }
        return 0;
    } catch (int stopped) {
        // What was drawn before the stop stays visible, as it would on a
        // window drawn directly.
        if (painting || m_hatched) {
            Publish();
        }
        return stopped;
    } catch (const std::exception&) {
        // Out of memory for a huge generation, say: this window stays as it
        // was; an exception leaving the thread would end the whole program.
        return 1;
    }
}

void WindowSurface::MeasureProgress(void* arg)
{
    auto* self = static_cast<WindowSurface*>(arg);
    self->m_frameCount.fetch_add(1, std::memory_order_relaxed);
    if (!self->m_hatched || Clock::now() - self->m_lastPublish >= kAnimationInterval) {
        self->ShowBusy();
    }
}

void WindowSurface::PaintProgress(void* arg)
{
    auto* self = static_cast<WindowSurface*>(arg);
    if (Clock::now() - self->m_lastPublish >= kPublishInterval) {
        self->Publish();
    }
}

void WindowSurface::ShowBusy()
{
    {
        QPainter painter(&m_image);
        // The animation keeps its size in the window's own units.
        painter.scale(m_devicePixelRatio, m_devicePixelRatio);
        const QRectF client(0.0, 0.0, m_image.width() / m_devicePixelRatio,
                            m_image.height() / m_devicePixelRatio);
        // A black back-diagonal hatch ("/") on white, the frame over it.
        painter.fillRect(client, Qt::white);
        painter.fillRect(client, QBrush(Qt::black, Qt::BDiagPattern));
        if (!m_animation.IsEmpty()) {
            const int frame = m_frameCount.load(std::memory_order_relaxed) % kAnimationFrames;
            const QRect source = m_animation.SourceRect(frame, kAnimationSize, kAnimationSize);
            if (!source.isEmpty()) {
                painter.drawImage(
                    QRectF(kAnimationOffset, kAnimationOffset, source.width(), source.height()),
                    m_animation.Strip(), source);
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
    {
        std::lock_guard lock(m_handover);
        std::swap(m_published, copy);
    }
    m_lastPublish = Clock::now();
    if (m_imageReady) {
        m_imageReady();
    }
}
