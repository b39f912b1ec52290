#pragma once

// The command numbers of the program's own commands. Menu items, tool buttons and bar
// controls issue these numbers; the CommandRouter offers each to the active
// view, its document, its child frame, the main frame and the application.
//
// The status text and tool tip of command N live in the language bundle as
// string N, written "status text\ntool tip" (see resource_ids.h).

#include <array>

namespace Cmd {

// ---- Fractal documents and views -------------------------------------------
inline constexpr int ChoosePreset = 0x8002;     // replace the fractal by a built-in one
inline constexpr int ZoomOut = 0x8008;          // fractal view: factor x1.2; editors: divisor +1
inline constexpr int ZoomIn = 0x8009;           // fractal view: factor x0.8; editors: divisor -1
inline constexpr int FewerGenerations = 0x800A; // one generation less
inline constexpr int MoreGenerations = 0x800B;  // one generation more
inline constexpr int ShowGenerator = 0x800C;    // toggle the generator overlay
inline constexpr int ShowFractal = 0x800D;      // toggle the fractal itself
inline constexpr int ShowInitiator = 0x800E;    // toggle the initiator overlay
inline constexpr int NewFromPreset = 0x800F;    // new fractal document from the preset chooser
inline constexpr int Refresh = 0x8011;          // draw the fractal again
inline constexpr int Stop = 0x8012;             // stop the drawing in progress
inline constexpr int RepaintAll = 0x8020;       // repaint every view of every document
inline constexpr int FractalInfo = 0x8025;      // the fractal information dialog
inline constexpr int RandomOneOfEach = 0x8026;  // one random preset of each kind
inline constexpr int RandomStandard = 0x8027;   // four different standard presets
inline constexpr int RandomIfs = 0x8028;        // four different IFS presets
inline constexpr int RandomLsys = 0x802A;       // four different L-system presets
inline constexpr int RandomAutomaton = 0x802B;  // four different automaton presets
inline constexpr int RandomMcrm = 0x802C;       // four different MCRM presets
inline constexpr int DesignSheet = 0x802D;      // compose a fractal from open components
inline constexpr int OpenComponents = 0x802E;   // fractal document: open its components
inline constexpr int ZoomReset = 0x8045;        // zoom factor back to 1
inline constexpr int GenerationBox = 0x8046;    // generation combo box of the generation bar
inline constexpr int ExportPicture = 0x8047;    // write the window's picture to PNG, SVG or PDF

// ---- Pattern editor (generators and initiators) ----------------------------
inline constexpr int SaveMotif = 0x8014;        // save the motif and start a new one
inline constexpr int InsertMotif = 0x8015;      // insert the saved motif on the last step
inline constexpr int SquareGrid = 0x8016;       // toggle the square grid (every design view)
inline constexpr int RayGrid = 0x8017;          // toggle the ray grid (every design view)
inline constexpr int ShapeBox = 0x8018;         // shape combo box of the pattern bar
inline constexpr int DeleteLastStep = 0x801B;   // delete the last step
inline constexpr int DeleteAllSteps = 0x801C;   // delete every step
inline constexpr int CircleGrid = 0x801E;       // toggle the circle grid (every design view)
inline constexpr int FanMode = 0x803A;          // draw every step from the reference start
inline constexpr int Counterclockwise = 0x8040; // orientation of appended polygons
inline constexpr int PatternInfoBox = 0x8043;   // show or hide the information box

// ---- IFS editor -------------------------------------------------------------
inline constexpr int MirrorConstraint = 0x8036;      // mirror constraint while dragging
inline constexpr int QuarterTurnConstraint = 0x8037; // quarter-turn constraint while dragging
inline constexpr int DeleteMap = 0x8038;             // delete the current map
inline constexpr int AddMap = 0x8039;                // add an identity map
inline constexpr int AffineMapBox = 0x8044;          // show or hide the coefficient box

// ---- List editors and the directions editor --------------------------------
// 0x802E doubles as the edit command: edit the word or replacement of the
// selected row in the list editors, edit the count in the directions editor.
inline constexpr int EditEntry = OpenComponents;
inline constexpr int DeleteEntry = 0x8031; // delete the selected rule or production
inline constexpr int EditSymbol = 0x8033;  // edit the symbol of the selected rule
inline constexpr int ResetAxiom = 0x8034;  // reset the start word to "X"
inline constexpr int AddEntry = 0x8035;    // add a rule or a production

// ---- Colours ----------------------------------------------------------------
inline constexpr int ColorFirst = 0x80E8; // background (entry 0); swatch 0 of the colour bar
inline constexpr int ColorLast = 0x80EE;  // drawing colour 6
inline constexpr int ColorCount = ColorLast - ColorFirst + 1;
inline constexpr int ColorDialog = 0x8084; // the system colour dialog, started with black

// Colour command of ColorSet entry `index` (0 background, 1 to 6 drawing colours).
constexpr int Color(int index)
{
    return ColorFirst + index;
}

// Every command of the program (the framework's standard commands are in
// framework/standard_ids.h) that a menu, a tool button or a bar control may
// issue and that therefore needs a status text and a tool tip in every language bundle.
inline constexpr std::array kAll = {ChoosePreset,
                                    ZoomOut,
                                    ZoomIn,
                                    FewerGenerations,
                                    MoreGenerations,
                                    ShowGenerator,
                                    ShowFractal,
                                    ShowInitiator,
                                    NewFromPreset,
                                    Refresh,
                                    Stop,
                                    RepaintAll,
                                    FractalInfo,
                                    RandomOneOfEach,
                                    RandomStandard,
                                    RandomIfs,
                                    RandomLsys,
                                    RandomAutomaton,
                                    RandomMcrm,
                                    DesignSheet,
                                    OpenComponents,
                                    ZoomReset,
                                    GenerationBox,
                                    ExportPicture,
                                    SaveMotif,
                                    InsertMotif,
                                    SquareGrid,
                                    RayGrid,
                                    ShapeBox,
                                    DeleteLastStep,
                                    DeleteAllSteps,
                                    CircleGrid,
                                    FanMode,
                                    Counterclockwise,
                                    PatternInfoBox,
                                    MirrorConstraint,
                                    QuarterTurnConstraint,
                                    DeleteMap,
                                    AddMap,
                                    AffineMapBox,
                                    DeleteEntry,
                                    EditSymbol,
                                    ResetAxiom,
                                    AddEntry,
                                    Color(0),
                                    Color(1),
                                    Color(2),
                                    Color(3),
                                    Color(4),
                                    Color(5),
                                    Color(6),
                                    ColorDialog};

} // namespace Cmd
