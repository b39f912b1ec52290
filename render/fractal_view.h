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

#include "framework/view.h"
#include "render/display_settings.h"

#include <memory>
#include <thread>

class WindowSurface;
class CFractalDoc;

class CFractalView : public View
{
    Q_OBJECT
public:
    CFractalView();
    // Ends the worker; a drawing in progress is finished first unless it has
    // been stopped (closing the document stops it).
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
    void OnActivateView(bool activate, View* activated, View* deactivated) override;
    bool OnPreparePrinting(QPrinter& printer) override;
    void OnPrint(QPainter& painter, QPrinter& printer, const QRect& pageRect) override;

    DisplaySettings m_settings;
    double m_zoom = 1.0;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void AddCommands();
    void ToggleFlag(int flag);
    void SetZoom(double zoom);
    void ChooseColor(int entry);
    void NextColorPair();
    void ShowInformation();
    void FillGenerationBox();
    bool IsActiveView() const;
    void UpdateActionsLater();

    std::unique_ptr<WindowSurface> m_surface;
    // A drawing became due while the window could not show it.
    bool m_drawingDue = false;
    int m_drawingRequests = 0;
};
