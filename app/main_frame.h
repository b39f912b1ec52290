#pragma once

// The main window: the menus of the active document type, the rebar's six
// bands (three tool bars and three bars) side by side in the top tool bar
// area, the colour bar docked on the right and the status bar. Which bands
// show depends on the active view.
//
// Bands, in order: 0 main tool bar (128), 1 fractal tool bar (140), 2
// generation bar (210), 3 editor tool bar (142), 4 pattern bar (141), 5 grid
// bar (143). Bands 1 to 5 begin with their image from bitmap 670.
//
// Only the interface thread uses it.

#include "framework/mdi_frame.h"
#include "ids/resource_ids.h"
#include "render/display_settings.h"

#include <array>

class CColorBar;
class CGenerationBar;
class QComboBox;
class QDockWidget;
class QLineEdit;
class QSettings;
class QToolBar;

class CMainFrame : public MdiFrame
{
    Q_OBJECT
public:
    // Band sets (see Res::Bands): bit k shows band k (0 to 5), bit 8 the
    // colour bar.
    static constexpr int kBandsInitial = Res::Bands::Initial;
    static constexpr int kBandsFractal = Res::Bands::Fractal;
    static constexpr int kBandsPattern = Res::Bands::Pattern;
    static constexpr int kBandsIfs = Res::Bands::Ifs;
    static constexpr int kBandsList = Res::Bands::List;
    static constexpr int kBandCount = 6;
    static constexpr int kColorBarBit = Res::Bands::ColorBar;

    CMainFrame();
    ~CMainFrame() override;

    // The running program's main frame, or null (tests without one).
    static CMainFrame* Instance();

    // Shows band k when bit k is set and hides it otherwise, then the colour
    // bar by bit 8.
    void ShowBands(int bandSet);
    // The band set shown last.
    int Bands() const { return m_bandSet; }
    // Band k (0 to 5); null outside that range or before Create().
    QToolBar* Band(int k) const;

    // The generation bar's box (item 0x8046): the fractal view fills and
    // selects it; confirming a selection issues command 0x8046.
    QComboBox* GenerationBox() const;
    CGenerationBar* GenerationBar() const { return m_generationBar; }
    CColorBar* ColorBar() const { return m_colorBar; }
    QDockWidget* ColorBarDock() const { return m_colorDock; }
    // The pattern bar's shape box (item 0x8018) and the grid bar's edits of
    // the square and circle count (1041) and the ray count (1039).
    QComboBox* ShapeBox() const { return m_shapeBox; }
    QLineEdit* GridSquaresEdit() const { return m_gridSquares; }
    QLineEdit* GridRaysEdit() const { return m_gridRays; }

    // The window as the user left it: size, place, tool bars and dock, from
    // `settings` (written by SaveWindowState when the window closed). False,
    // and nothing changed, when the settings hold none (a first start).
    bool RestoreWindowState(QSettings& settings);
    void SaveWindowState(QSettings& settings) const;
    // A first start on a screen whose free area is `available`: three
    // quarters of it, or all of it when that would be cramped, and the
    // bands of each band set wrapped onto further rows where one row cannot
    // hold them, so no control is pushed into a tool bar's overflow menu.
    void FitScreen(const QRect& available);
    // Wraps the bands for a window `width` units wide (see FitScreen).
    void WrapBands(int width);

protected:
    // Shows the view's band set and colours and fills the bar controls it
    // uses; with no view, the initial bands and the program's colours.
    void OnActiveViewChanged(View* view) override;
    bool createToolBars() override;
    bool createDockWindows() override;
    // Remembers the window as it was left, once the documents let it close.
    void closeEvent(QCloseEvent* event) override;

private:
    QToolBar* AddBar(int id, int titleId, QWidget* content);
    void AddBandImage(QToolBar* bar, int image);
    QWidget* MakePatternBar();
    QWidget* MakeGridBar();
    // The generation box shows the active view's count again.
    void RefillGenerationBox();

    std::array<QToolBar*, kBandCount> m_bands{};
    CGenerationBar* m_generationBar = nullptr;
    QComboBox* m_shapeBox = nullptr;
    QLineEdit* m_gridSquares = nullptr;
    QLineEdit* m_gridRays = nullptr;
    QDockWidget* m_colorDock = nullptr;
    CColorBar* m_colorBar = nullptr;
    int m_bandSet = 0;
};
