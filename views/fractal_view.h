#pragma once

// The window of a fractal document: shows the fractal drawn by its own
// worker thread, with its own colours, overlays and zoom.
//
// The worker paints into an image; this view only shows the latest one.
// A new drawing is asked for only when what the window shows changes (first
// show, size, document, zoom, colours, overlays, the refresh command), never
// by a mere repaint. Before the first picture, and while the document has
// no usable fractal, the window shows its background colour.
//
// Only the interface thread uses the view.

#include "engine/element_count.h"
#include "framework/view.h"
#include "render/display_settings.h"
#include "render/picture_writers.h"

#include <QElapsedTimer>
#include <QImage>
#include <QString>

#include <memory>
#include <thread>

class WindowSurface;
class CFractalDoc;
class CFractal;
class QTimer;

class CFractalView : public View
{
    Q_OBJECT
public:
    CFractalView();
    // Stops the drawing in progress and ends the worker.
    ~CFractalView() override;

    CFractalDoc* GetFractalDoc() const;
    // The completion event of this view's drawing thread arrived.
    void ShowGenerationDone();
    // The id of the drawing thread (default id before the initial update).
    std::thread::id DrawingThreadId() const;
    bool IsDrawing() const;

    // Draws again what the view shows now (with the document's fractal as
    // it is now). Without a usable fractal the picture is dropped instead.
    void RequestDrawing();
    // Stops the drawing in progress at its next element; true when there
    // was one (or one was about to begin).
    bool StopDrawing();
    // Stops the drawing and waits until the worker has ended: the view draws
    // no more. For closing.
    void EndDrawing();
    // The worker thread exists (from the initial update until EndDrawing).
    bool HasDrawingThread() const;
    // Drawings asked of the worker so far.
    int DrawingRequests() const { return m_drawingRequests; }

    void OnInitialUpdate() override;
    void OnUpdate(View* sender, int hint) override;
    void OnDraw(QPainter& painter) override;
    void OnInitialColors(const QVector<QRgb>& colors) override;
    // Closing the document or the window ends the drawing and the worker.
    void OnDocumentClosing() override;
    void OnFrameClosing() override;
    // The fractal bands; the colour bar shows the view's colours; the
    // generation box lists the day counts drawn so far and shows the current
    // one (empty and disabled without a usable fractal).
    int BarSet() const override;
    QVector<QRgb> BarColors() const override;
    bool QueryBarControl(int controlId, BarControlState& state) const override;
    bool OnPreparePrinting(QPrinter& printer) override;
    void OnPrint(QPainter& painter, QPrinter& printer, const QRect& pageRect) override;

    // Zoom factors of the zoom commands and of Ctrl+wheel: the picture's
    // share of the window shrinks by ZoomOut and grows by ZoomIn.
    static constexpr double kZoomOutFactor = 1.2;
    static constexpr double kZoomInFactor = 0.8;

    // The picture file of what this window shows (its colours, zoom and
    // overlays) at `size`, chosen by the extension; a progress dialog with
    // Cancel while it takes long. A failure is told in a message box. True
    // when the file was written.
    bool ExportPicture(const QString& path, QSize size, bool antialias);
    // The window's picture at its own size on the clipboard; true when put there.
    bool CopyPicture();
    // The options a picture of this window at `size` is drawn with.
    PictureOptions PictureOptionsFor(QSize size) const;

    DisplaySettings m_settings;
    double m_zoom = 1.0;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Ctrl+wheel zooms; the plain wheel is left to whoever scrolls.
    void wheelEvent(QWheelEvent* event) override;

private:
    void AddCommands();
    void ToggleFlag(int flag);
    void SetZoom(double zoom);
    void ChooseColor(int entry);
    void NextColorPair();
    void ShowInformation();
    void UpdateActionsLater();
    void AskExport();
    bool CanMakePicture() const;

    // The status bar during a drawing: the size of a long one as it starts,
    // then, once it has run for kProgressDelayMs, what it does and how far
    // it got; the idle text once it has ended.
    void StartProgress(const CFractal& fractal);
    void ShowProgress();
    void EndProgress();
    // The text goes, the watch goes on.
    void HideProgress();
    // `count` elements as the user reads them.
    static QString CountText(std::uint64_t count);
    static constexpr int kProgressDelayMs = 500;
    static constexpr int kProgressIntervalMs = 200;
    // Drawings at least this long are announced with their size.
    static constexpr std::uint64_t kLongDrawing = 1000000;

    std::unique_ptr<WindowSurface> m_surface;
    // A drawing became due while the window could not show it.
    bool m_drawingDue = false;
    int m_drawingRequests = 0;
    // A drawing of this view has completed: the generation box shows its
    // day count even when it is beyond the cached ones.
    bool m_generationShown = false;
    // Why the document's fractal cannot be drawn, shown in place of the
    // picture; empty while it can.
    QString m_problem;
    // The drawing the status bar reports on.
    QTimer* m_progressTimer = nullptr;
    QElapsedTimer m_progressClock;
    ElementCount m_progressCount;
    QString m_progressName;
    int m_progressDays = 0;
    int m_idleTicks = 0;
    // The status bar shows a text of the progress, which its end takes away.
    bool m_progressShown = false;
    // Wheel turns not yet a whole notch (touchpads send small steps).
    int m_wheelAngle = 0;
};
