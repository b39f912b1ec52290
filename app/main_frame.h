#pragma once

// The main window: the menus of the active document type, the rebar's six
// bands (three tool bars and three bars), the colour bar docked on the right
// and the status bar. Which bands show depends on the active view.

#include "framework/mdi_frame.h"
#include "render/display_settings.h"

class QComboBox;
class CColorBar;

class CMainFrame : public MdiFrame {
    Q_OBJECT
public:
    // Band sets: bit k shows band k (0 to 5), bit 8 the colour bar.
    static constexpr int kBandsInitial = 0x101;
    static constexpr int kBandsFractal = 0x107;
    static constexpr int kBandsPattern = 0x139;
    static constexpr int kBandsIfs = 0x129;
    static constexpr int kBandsList = 0x001;

    CMainFrame();
    ~CMainFrame() override;

    // The running program's main frame, or null (tests without one).
    static CMainFrame* Instance();

    void ShowBands(int bandSet);
    int Bands() const;
    // The generation bar's box (item 0x8046): the fractal view fills and
    // selects it; confirming a selection issues command 0x8046.
    QComboBox* GenerationBox() const;
    CColorBar* ColorBar() const;
};
