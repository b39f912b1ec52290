#pragma once

// The window of a fractal document: shows the fractal drawn by its own
// worker thread, with its own colours, overlays and zoom.

#include "framework/view.h"
#include "render/display_settings.h"

#include <memory>
#include <thread>

class WindowSurface;
class CFractalDoc;

class CFractalView : public View {
    Q_OBJECT
public:
    CFractalView();
    ~CFractalView() override;

    CFractalDoc* GetFractalDoc() const;
    // The completion event of this view's drawing thread arrived.
    void ShowGenerationDone();
    // The id of the drawing thread (default id before the initial update).
    std::thread::id DrawingThreadId() const;
    bool IsDrawing() const;

    DisplaySettings m_settings;
    double m_zoom = 1.0;
};
