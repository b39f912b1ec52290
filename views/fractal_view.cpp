#include "views/fractal_view.h"

#include "documents/fractal_doc.h"
#include "engine/fractal_kind.h"
#include "framework/application.h"
#include "framework/mdi_frame.h"
#include "framework/standard_ids.h"
#include "framework/thread_done_event.h"
#include "framework/ui_resources.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"
#include "render/fractal_painter.h"
#include "render/window_surface.h"
#include "views/bundle_images.h"
#include "views/fractal_info_dialog.h"
#include "views/preset_dialog.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>
#include <QRegion>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>

namespace {

// Room between the window's edge and a message shown in place of a picture.
constexpr int kProblemMargin = 16;

// The bundle's strip (an image: pixmaps belong to the interface thread, the
// worker draws with it), or `fallback` cut the same way when the bundle has none.
ImageList LoadImageList(int bitmap, int width, const QImage& fallback = QImage())
{
    ImageList images = LoadBundleImages(bitmap, width);
    if (images.IsEmpty() && !fallback.isNull()) {
        return ImageList(fallback, width);
    }
    return images;
}

Color FromQColor(const QColor& color)
{
    return MakeColor(color.red(), color.green(), color.blue());
}

// The fractal to the calling thread alone, for printing: the drawings of
// the document's views are stopped (again and again, as new ones may begin
// while the lock is awaited) until the fractal's drawing lock is ours. The
// views stopped on the way draw again afterwards.
class ExclusiveDrawing
{
public:
    explicit ExclusiveDrawing(CFractalDoc& document)
        : m_fractal(document.Fractal()), m_lock(m_fractal->DrawingLock(), std::defer_lock)
    {
        QVector<CFractalView*> views;
        for (View* view : document.Views()) {
            if (auto* fractalView = qobject_cast<CFractalView*>(view)) {
                views.append(fractalView);
            }
        }
        for (;;) {
            for (CFractalView* view : views) {
                if (view->StopDrawing() && !m_stopped.contains(view)) {
                    m_stopped.append(view);
                }
            }
            // The system clock, as in the window surface: ThreadSanitizer
            // sees that wait.
            if (m_lock.try_lock_until(std::chrono::system_clock::now() +
                                      std::chrono::milliseconds(2))) {
                break;
            }
        }
    }
    ~ExclusiveDrawing()
    {
        m_lock.unlock();
        for (CFractalView* view : m_stopped) {
            view->RequestDrawing();
        }
    }
    ExclusiveDrawing(const ExclusiveDrawing&) = delete;
    ExclusiveDrawing& operator=(const ExclusiveDrawing&) = delete;

    CFractal& Fractal() const { return *m_fractal; }

private:
    FractalPtr m_fractal;
    std::unique_lock<std::timed_mutex> m_lock;
    QVector<CFractalView*> m_stopped;
};

// Measures `fractal` on a thread of its own while a progress dialog (shown
// after half a second) keeps the program responsive; its Cancel stops the
// measuring. False when cancelled or when the fractal cannot be measured.
// The caller holds the fractal's drawing lock.
bool MeasureCancellably(CFractal& fractal)
{
    StopFlag stop{false};
    std::atomic<bool> done{false};
    bool measured = false;
    std::thread worker([&] {
        try {
            measured = fractal.PrepareBounds(&stop, nullptr, nullptr);
        } catch (int) {
            measured = false;
        } catch (const std::exception&) {
            measured = false;
        }
        done.store(true);
    });
    QProgressDialog progress(Application::DialogParent());
    progress.setLabelText(UiResources::Current().String(Res::Str::MeasuringForPrint));
    progress.setRange(0, 0);
    progress.setMinimumDuration(500);
    progress.setWindowModality(Qt::ApplicationModal);
    while (!done.load()) {
        // Each value lets the dialog decide whether it is time to show.
        progress.setValue(0);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (progress.wasCanceled()) {
            stop.store(true);
        }
        if (!done.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    worker.join();
    return measured && !stop.load();
}

} // namespace

CFractalView::CFractalView()
{
    m_settings.ChoosePair(static_cast<unsigned>(std::rand()));
    // The view paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    EnablePrinting();
    AddCommands();
}

CFractalView::~CFractalView()
{
    // However the view goes, a long drawing must not hold it up.
    EndDrawing();
}

void CFractalView::OnInitialColors(const QVector<QRgb>& colors)
{
    // The template's colours, but the background and fractal pair this
    // view picked for itself.
    const Color background = m_settings.colors[0];
    const Color fractal = m_settings.colors[1];
    m_settings.colors = FromRgbList(colors);
    m_settings.colors[0] = background;
    m_settings.colors[1] = fractal;
}

void CFractalView::OnDocumentClosing()
{
    EndDrawing();
}

void CFractalView::OnFrameClosing()
{
    EndDrawing();
}

int CFractalView::BarSet() const
{
    return Res::Bands::Fractal;
}

QVector<QRgb> CFractalView::BarColors() const
{
    return ToRgbList(m_settings.colors);
}

bool CFractalView::QueryBarControl(int controlId, BarControlState& state) const
{
    if (controlId != Cmd::GenerationBox) {
        return false;
    }
    // The generation counts already drawn, and the one shown now.
    const CFractalDoc* document = GetFractalDoc();
    if (document == nullptr || !document->HasGoodFractal()) {
        state.enabled = false;
        return true;
    }
    const auto cache = document->Fractal()->CacheSnapshot();
    for (int k = 0; k < CFractal::kCacheSize; ++k) {
        if (cache[static_cast<std::size_t>(k)].valid) {
            state.items.append(QString::number(k));
        }
    }
    state.text = QString::number(document->Fractal()->m_days.load());
    state.current = static_cast<int>(state.items.indexOf(state.text));
    if (state.current < 0 && m_generationShown) {
        state.items.append(state.text);
        state.current = static_cast<int>(state.items.size()) - 1;
    }
    const CFractal& fractal = *document->Fractal();
    const int days = fractal.m_days.load();
    if (days >= 1 && days <= fractal.MaxDays()) {
        state.toolTip = UiResources::Current()
                            .String(Res::Str::GenerationCountTip)
                            .arg(days)
                            .arg(CountText(fractal.CountElements(days).drawn));
    }
    return true;
}

void CFractalView::AddCommands()
{
    const auto flagCommand = [this](int id, int flag) {
        AddCommand(
            id, [this, flag] { ToggleFlag(flag); },
            [this, flag](CommandState& state) { state.SetCheck((m_settings.flags & flag) != 0); });
    };
    flagCommand(Cmd::ShowFractal, kShowFractal);
    flagCommand(Cmd::ShowInitiator, kShowInitiator);
    flagCommand(Cmd::ShowGenerator, kShowGenerator);
    AddCommand(Cmd::Refresh, [this] { RequestDrawing(); });
    AddCommand(
        Cmd::Stop,
        [this] {
            StopDrawing();
            UpdateActionsLater();
        },
        [this](CommandState& state) { state.Enable(IsDrawing()); });
    AddCommand(Cmd::ZoomOut, [this] { SetZoom(m_zoom * kZoomOutFactor); });
    AddCommand(Cmd::ZoomIn, [this] { SetZoom(m_zoom * kZoomInFactor); });
    AddCommand(
        Cmd::ZoomReset, [this] { SetZoom(1.0); },
        [this](CommandState& state) { state.SetCheck(m_zoom == 1.0); });
    AddCommand(
        Cmd::FractalInfo, [this] { ShowInformation(); },
        [this](CommandState& state) {
            const CFractalDoc* document = GetFractalDoc();
            state.Enable(document != nullptr && document->HasGoodFractal());
        });
    AddCommand(Cmd::ChoosePreset, [this] {
        if (CFractalDoc* document = GetFractalDoc()) {
            (void)ChoosePresetFor(*document);
        }
    });
    AddCommandRange(Cmd::ColorFirst, Cmd::ColorLast,
                    [this](int id) { ChooseColor(id - Cmd::ColorFirst); });
    AddCommand(Cmd::ColorDialog, [this] { NextColorPair(); });
    const auto canMakePicture = [this](CommandState& state) { state.Enable(CanMakePicture()); };
    AddCommand(
        Cmd::ExportPicture, [this] { AskExport(); }, canMakePicture);
    AddCommand(
        Cmd::EditCopy, [this] { (void)CopyPicture(); }, canMakePicture);
}

CFractalDoc* CFractalView::GetFractalDoc() const
{
    return qobject_cast<CFractalDoc*>(GetDocument());
}

std::thread::id CFractalView::DrawingThreadId() const
{
    return m_surface ? m_surface->ThreadId() : std::thread::id();
}

bool CFractalView::IsDrawing() const
{
    return m_surface && m_surface->IsDrawing();
}

bool CFractalView::HasDrawingThread() const
{
    return m_surface && m_surface->IsRunning();
}

void CFractalView::OnInitialUpdate()
{
    m_surface = std::make_unique<WindowSurface>(
        LoadImageList(Res::Bitmap::BusyAnimation, WindowSurface::kAnimationSize),
        LoadImageList(Res::Bitmap::FractalMarkers, kMarkerSize, DefaultMarkerStrip()));
    // The callbacks run on the worker: they only post to this thread. The
    // view outlives them, as its destructor waits for the worker.
    m_surface->SetCompletion([this](int result, std::thread::id thread) {
        PostThreadDone(result, thread);
        QMetaObject::invokeMethod(this, &CFractalView::UpdateActionsLater, Qt::QueuedConnection);
    });
    m_surface->SetDrawingStarted([this] {
        QMetaObject::invokeMethod(this, &CFractalView::UpdateActionsLater, Qt::QueuedConnection);
    });
    m_surface->SetImageReady([this] {
        QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    });
    // If the thread cannot be created the view shows its background only.
    (void)m_surface->Start();
    View::OnInitialUpdate();
}

void CFractalView::OnUpdate(View* sender, int hint)
{
    Q_UNUSED(sender);
    Q_UNUSED(hint);
    RequestDrawing();
}

void CFractalView::RequestDrawing()
{
    CFractalDoc* document = GetFractalDoc();
    if (!m_surface) {
        return;
    }
    if (document == nullptr || !document->HasGoodFractal()) {
        m_surface->Stop();
        m_surface->ClearImage();
        m_drawingDue = false;
        // Said where the picture would be and in the status bar, with an
        // empty generation box: an opened file that shows nothing is not
        // passed off as a success.
        m_problem = document != nullptr ? document->ProblemText() : QString();
        EndProgress();
        ShowStatusText(m_problem);
        BarsChanged();
        update();
        return;
    }
    if (const CFractal& fractal = *document->Fractal(); fractal.m_days > fractal.MaxDays()) {
        // Never a different generation than the one the window names: the
        // kind refuses it, and the window says so instead of a picture.
        m_surface->Stop();
        m_surface->ClearImage();
        m_drawingDue = false;
        m_problem = UiResources::Current().String(Res::Str::TooManyDays).arg(fractal.MaxDays());
        EndProgress();
        ShowStatusText(m_problem);
        update();
        return;
    }
    if (!m_problem.isEmpty()) {
        m_problem.clear();
        ShowStatusText(QString());
        BarsChanged();
    }
    if (!isVisible() || width() <= 0 || height() <= 0) {
        // Drawn once the window shows.
        m_drawingDue = true;
        return;
    }
    m_drawingDue = false;
    DrawRequest request;
    request.fractal = document->Fractal();
    request.zoom = m_zoom;
    request.settings = m_settings;
    request.devicePixelRatio = devicePixelRatioF();
    request.pixelSize = QSize(static_cast<int>(std::ceil(width() * request.devicePixelRatio)),
                              static_cast<int>(std::ceil(height() * request.devicePixelRatio)));
    m_surface->Request(std::move(request));
    ++m_drawingRequests;
    StartProgress(*document->Fractal());
}

bool CFractalView::StopDrawing()
{
    return m_surface && m_surface->Stop();
}

void CFractalView::EndDrawing()
{
    EndProgress();
    if (m_surface) {
        m_surface->Stop();
        m_surface->QuitAndWait();
    }
}

void CFractalView::OnDraw(QPainter& painter)
{
    const QColor background = ToQColor(m_settings.Background());
    const QSizeF shown = m_surface ? m_surface->ShowImage(painter) : QSizeF();
    // Around a picture of an earlier, smaller window until the next one is
    // ready; everywhere before the first.
    const QRegion rest = QRegion(rect()) - QRegion(QRect(QPoint(0, 0), shown.toSize()));
    for (const QRect& part : rest) {
        painter.fillRect(part, background);
    }
    if (!m_problem.isEmpty()) {
        painter.setPen(ToQColor(m_settings.FractalColor()));
        painter.drawText(
            rect().adjusted(kProblemMargin, kProblemMargin, -kProblemMargin, -kProblemMargin),
            Qt::AlignCenter | Qt::TextWordWrap, m_problem);
    }
}

void CFractalView::resizeEvent(QResizeEvent* event)
{
    View::resizeEvent(event);
    RequestDrawing();
}

void CFractalView::showEvent(QShowEvent* event)
{
    View::showEvent(event);
    if (m_drawingDue) {
        RequestDrawing();
    }
}

void CFractalView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        (void)TrackPopupMenu(Res::Popup::FractalView, event->globalPosition().toPoint());
    }
    View::mousePressEvent(event);
}

void CFractalView::ToggleFlag(int flag)
{
    m_settings.flags ^= flag;
    if (flag != kShowFractal && (m_settings.flags & flag) != 0) {
        // An overlay is drawn over the first generation, where it can be told
        // apart from the figure.
        CFractalDoc* document = GetFractalDoc();
        if (document != nullptr && document->HasGoodFractal() && document->Fractal()->m_days != 1) {
            document->SetDays(1);
            return;
        }
    }
    RequestDrawing();
}

void CFractalView::SetZoom(double zoom)
{
    m_zoom = zoom;
    RequestDrawing();
}

void CFractalView::ChooseColor(int entry)
{
    if (entry < 0 || entry >= static_cast<int>(m_settings.colors.size())) {
        return;
    }
    QColorDialog dialog(ToQColor(m_settings.colors[static_cast<std::size_t>(entry)]),
                        Application::DialogParent());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const Color chosen = FromQColor(dialog.selectedColor());
    m_settings.colors[static_cast<std::size_t>(entry)] = chosen;
    BarsChanged();
    RequestDrawing();
}

void CFractalView::NextColorPair()
{
    // The pair after the one whose background this view has; the first pair
    // when the background is none of the table's.
    std::size_t next = 0;
    for (std::size_t i = 0; i < kBackgroundFractalPairs.size(); ++i) {
        if (kBackgroundFractalPairs[i].first == m_settings.Background()) {
            next = (i + 1) % kBackgroundFractalPairs.size();
            break;
        }
    }
    m_settings.ChoosePair(static_cast<unsigned>(next));
    BarsChanged();
    RequestDrawing();
}

void CFractalView::ShowInformation()
{
    CFractalDoc* document = GetFractalDoc();
    if (document == nullptr || !document->HasGoodFractal()) {
        return;
    }
    CFractalInfoDlg dialog(document->Fractal(), Application::DialogParent());
    dialog.exec();
}

void CFractalView::UpdateActionsLater()
{
    if (Application* app = Application::Instance(); app && app->MainFrame()) {
        app->MainFrame()->RequestUpdateActions();
    }
}

void CFractalView::ShowGenerationDone()
{
    m_generationShown = true;
    // The text goes at once; the timer stays, as a drawing requested after
    // the one that ended may not have begun yet.
    if (m_surface && m_surface->CurrentPhase() == WindowSurface::Phase::Idle) {
        HideProgress();
    }
    BarsChanged();
}

bool CFractalView::OnPreparePrinting(QPrinter& printer)
{
    CFractalDoc* document = GetFractalDoc();
    if (document == nullptr || !document->HasGoodFractal()) {
        return false;
    }
    {
        // Measuring a huge fractal takes long: the user may give up.
        const ExclusiveDrawing exclusive(*document);
        if (!MeasureCancellably(exclusive.Fractal())) {
            return false;
        }
    }
    return View::OnPreparePrinting(printer);
}

void CFractalView::OnPrint(QPainter& painter, QPrinter& printer, const QRect& pageRect)
{
    Q_UNUSED(printer);
    CFractalDoc* document = GetFractalDoc();
    if (document == nullptr || !document->HasGoodFractal()) {
        return;
    }
    const ExclusiveDrawing exclusive(*document);
    // The bounds again: a drawing stopped while measuring another day count
    // since printing was prepared leaves them unmeasured. Cached: no work.
    if (!MeasureCancellably(exclusive.Fractal())) {
        return;
    }
    PrintFractal(painter, pageRect.size(), exclusive.Fractal(), m_settings.Background());
}

void CFractalView::StartProgress(const CFractal& fractal)
{
    if (m_progressTimer == nullptr) {
        m_progressTimer = new QTimer(this);
        m_progressTimer->setInterval(kProgressIntervalMs);
        connect(m_progressTimer, &QTimer::timeout, this, &CFractalView::ShowProgress);
    }
    m_progressDays = fractal.m_days.load();
    m_progressCount = fractal.CountElements(m_progressDays);
    m_progressName = QString::fromStdString(fractal.m_name);
    if (m_progressName.isEmpty() && GetDocument() != nullptr) {
        m_progressName = GetDocument()->Title();
    }
    m_progressClock.start();
    m_idleTicks = 0;
    m_progressTimer->start();
    if (m_progressCount.drawn >= kLongDrawing) {
        ShowStatusText(UiResources::Current()
                           .String(Res::Str::LongDrawing)
                           .arg(m_progressName)
                           .arg(m_progressDays)
                           .arg(CountText(m_progressCount.drawn)));
        m_progressShown = true;
    } else if (m_progressShown) {
        // The text of an earlier, longer drawing says nothing of this one.
        ShowStatusText(QString());
        m_progressShown = false;
    }
}

void CFractalView::ShowProgress()
{
    const WindowSurface::Phase phase =
        m_surface ? m_surface->CurrentPhase() : WindowSurface::Phase::Idle;
    if (phase == WindowSurface::Phase::Idle) {
        // Idle for a whole interval: no drawing is waiting to begin either.
        if (++m_idleTicks >= 2) {
            EndProgress();
        }
        return;
    }
    m_idleTicks = 0;
    if (m_progressClock.elapsed() < kProgressDelayMs) {
        return;
    }
    const bool measuring = phase == WindowSurface::Phase::Measuring;
    const std::uint64_t total = measuring ? m_progressCount.counted : m_progressCount.drawn;
    auto done = static_cast<std::uint64_t>(std::max<std::int64_t>(m_surface->PhaseElements(), 0));
    // A long drawing is cut into pieces of about equal size on several
    // threads, and only the first piece reports: it stands for all of them.
    const int threads = drawing::DrawingThreads();
    const bool split = threads > 1 && static_cast<double>(total) >= drawing::kParallelElements &&
                       !(measuring && m_progressCount.boundsOnOneThread);
    if (split) {
        done = CountMul(done, static_cast<std::uint64_t>(threads));
    }
    // Never 100 % before the end: the estimate may run ahead of the threads.
    int percent = 0;
    if (total > 0 && total != kElementCountSaturated) {
        percent = static_cast<int>(
            std::min<long double>(99.0L, 100.0L * static_cast<long double>(done) / total));
    }
    const int text = measuring ? Res::Str::MeasuringProgress : Res::Str::DrawingProgress;
    ShowStatusText(
        UiResources::Current().String(text).arg(m_progressName).arg(m_progressDays).arg(percent));
    m_progressShown = true;
}

void CFractalView::EndProgress()
{
    if (m_progressTimer != nullptr) {
        m_progressTimer->stop();
    }
    HideProgress();
}

void CFractalView::HideProgress()
{
    if (m_progressShown) {
        m_progressShown = false;
        ShowStatusText(m_problem);
    }
}

QString CFractalView::CountText(std::uint64_t count)
{
    if (count == kElementCountSaturated) {
        return UiResources::Current().String(Res::Str::CountTooLarge);
    }
    return QLocale().toString(static_cast<qulonglong>(count));
}
