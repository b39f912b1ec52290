#include "views/picture_export.h"

#include "render/fractal_painter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>

#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <mutex>
#include <new>
#include <thread>

namespace {

// How long one wait for the drawing lock lasts before the stop flag is
// looked at again.
constexpr auto kLockSlice = std::chrono::milliseconds(20);

bool Stopped(const StopFlag* stop)
{
    return stop != nullptr && stop->load(std::memory_order_relaxed);
}

// The drawing lock of `fractal`, waited for until `stop` is set; the system
// clock, which ThreadSanitizer can follow.
bool LockDrawing(std::unique_lock<std::timed_mutex>& lock, const StopFlag* stop)
{
    while (!lock.try_lock_until(std::chrono::system_clock::now() + kLockSlice)) {
        if (Stopped(stop)) {
            return false;
        }
    }
    return true;
}

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

// Measures the current day count under the held lock. An empty reason when
// the figure can be drawn.
QString Measure(CFractal& fractal, const StopFlag* stop)
{
    if (!fractal.PrepareBounds(stop, nullptr, nullptr)) {
        return QStringLiteral("the fractal draws at most %1 days").arg(fractal.MaxDays());
    }
    const FractalBounds& b = fractal.m_bounds;
    if (!std::isfinite(b.maxX - b.minX) || !std::isfinite(b.maxY - b.minY)) {
        return QStringLiteral("its figure has no finite size");
    }
    return {};
}

// Runs `draw` under the fractal's drawing lock after measuring, turning the
// stop exception and exhausted memory into outcomes.
ExportOutcome Locked(const FractalPtr& fractal, const StopFlag* stop,
                     const std::function<ExportOutcome()>& draw)
{
    if (!fractal) {
        return {ExportStatus::Failed, QStringLiteral("there is no fractal")};
    }
    std::unique_lock lock(fractal->DrawingLock(), std::defer_lock);
    if (!LockDrawing(lock, stop)) {
        return {ExportStatus::Cancelled, {}};
    }
    try {
        if (const QString why = Measure(*fractal, stop); !why.isEmpty()) {
            return {ExportStatus::Failed, why};
        }
        ExportOutcome outcome = draw();
        if (Stopped(stop)) {
            return {ExportStatus::Cancelled, {}};
        }
        return outcome;
    } catch (int) {
        // The drawing's stop exception.
        return {ExportStatus::Cancelled, {}};
    } catch (const std::bad_alloc&) {
        return {ExportStatus::Failed, QStringLiteral("out of memory")};
    } catch (const std::exception& error) {
        // Nothing may escape the worker thread: it would end the program.
        return {ExportStatus::Failed, QString::fromLocal8Bit(error.what())};
    }
}

} // namespace

std::optional<PictureType> PictureTypeOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) {
        return PictureType::Png;
    }
    if (suffix == QLatin1String("svg")) {
        return PictureType::Svg;
    }
    if (suffix == QLatin1String("pdf")) {
        return PictureType::Pdf;
    }
    return std::nullopt;
}

ExportOutcome ExportFractalPicture(const FractalPtr& fractal, const QString& path, PictureType type,
                                   const PictureOptions& options)
{
    // Opened before the long work, so an unwritable place is told at once;
    // the old file is replaced only on commit.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {ExportStatus::Failed, file.errorString()};
    }
    const ExportOutcome outcome = Locked(fractal, options.stop, [&]() -> ExportOutcome {
        PictureStats stats;
        const PictureResult result = WritePicture(type, file, *fractal, options, stats);
        if (!result.ok) {
            return {ExportStatus::Failed, Text(result.error)};
        }
        return {};
    });
    if (outcome.status != ExportStatus::Done) {
        file.cancelWriting();
        return outcome;
    }
    if (!file.commit()) {
        return {ExportStatus::Failed, file.errorString()};
    }
    return {};
}

ExportOutcome PaintFractalImage(const FractalPtr& fractal, const PictureOptions& options,
                                QImage& image)
{
    QImage picture(options.size, QImage::Format_RGB32);
    if (picture.isNull()) {
        return {ExportStatus::Failed, QStringLiteral("cannot hold a picture of %1x%2 pixels")
                                          .arg(options.size.width())
                                          .arg(options.size.height())};
    }
    picture.fill(ToQColor(options.settings.Background()));
    const ExportOutcome outcome = Locked(fractal, options.stop, [&]() -> ExportOutcome {
        PaintOptions paint;
        paint.path = FractalPath::Direct;
        paint.antialias = options.antialias;
        paint.progress = options.progress;
        paint.progressArg = options.progressArg;
        (void)PaintFractal(picture, *fractal, options.zoom, options.settings, options.markers,
                           options.stop, paint);
        return {};
    });
    if (outcome.status == ExportStatus::Done) {
        image = picture;
    }
    return outcome;
}

void RunWithProgress(QWidget* parent, const QString& label,
                     const std::function<void(const StopFlag& stop)>& work)
{
    StopFlag stop{false};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work(stop);
        done.store(true);
    });
    QProgressDialog progress(parent);
    progress.setLabelText(label);
    progress.setRange(0, 0);
    progress.setMinimumDuration(500);
    progress.setWindowModality(Qt::ApplicationModal);
    while (!done.load()) {
        // Each value lets the dialog decide whether it is time to show.
        progress.setValue(0);
        // Until the modal dialog shows, the user's input waits: nothing may
        // close the window whose picture is being made.
        QCoreApplication::processEvents(
            progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents, 20);
        if (progress.wasCanceled()) {
            stop.store(true);
        }
        if (!done.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    worker.join();
}
