#pragma once

// Numbers of everything the program looks up in the language bundle: menus,
// tool bars, icons, document strings, dialogs and their control ids, bitmaps
// and strings. Command numbers are in command_ids.h.
//
// Numbering of strings, by range:
//   N (a command id, 0x8000-0xE8FF, and the bar controls 1039, 1041)
//                   status text and tool tip of command or control N, written
//                   "status text\ntool tip" (the part after the line feed is
//                   the short tip of a tool button or bar control).
//   130-136         document strings, seven fields separated by "\n":
//                   window title, document name, name offered by New, filter
//                   name, filter extension, file type id, file type name.
//   34000-34100, 35000-35006, 60000-60100
//                   texts of the editors and dialogs whose numbers are fixed.
//   57344-57345, 59137-59139 (0xE000, 0xE001, 0xE701-0xE703)
//                   application title, idle status message, key indicators.
//   61000-61499     dialog and bar texts: captions, labels and hints. Each
//                   dialog owns a block of 20 numbers (see Res::Text).
//   62000-62099     messages and titles of the document/view framework.
//   62100-62199     messages of the application shell, its documents and
//                   views (62150-62153: see Str::kShell).
//   62400-62449     why a fractal document cannot be drawn (62400 damaged at
//                   a line, 62401 ends before a line, 62402 lacks what it
//                   needs, 62403 no fractal of a known kind, 62404 more
//                   days than the kind can draw).
//   62500-62529     exporting and copying a picture, the manual's window.
//   62530-62569     element counts and progress of a fractal window's
//                   drawing (62530-62534: see Str::kProgress).
//
// Text formats: strings whose number is fixed above 34000 and the document
// strings are printf formats ("%d", "%c", "%s") as the callers format them;
// every other string of the project's own ranges uses Qt's "%1", "%2" place
// markers for QString::arg. Each language keeps the same markers in the same
// order, which the resource tests check.

#include <array>

namespace Res {

// ---- Main frame, document types (menu, icon and document string) -----------
inline constexpr int MainFrame = 128; // main menu, main tool bar, application icon

namespace DocType {
inline constexpr int Fractal = 130;
inline constexpr int Generator = 131;
inline constexpr int Initiator = 132;
inline constexpr int Ifs = 133;
inline constexpr int Lsys = 134;
inline constexpr int Automaton = 135;
inline constexpr int Directions = 136;
// In the order the templates are registered.
inline constexpr std::array kAll = {Fractal, Generator, Initiator, Ifs,
                                    Lsys,    Automaton, Directions};
} // namespace DocType

// Fields of a document string, in their order.
enum class DocField
{
    WindowTitle = 0,
    DocName = 1,
    FileNewName = 2,
    FilterName = 3,
    FilterExt = 4,
    FileTypeId = 5,
    FileTypeName = 6,
};
inline constexpr int kDocFieldCount = 7;

// ---- Band sets: what the main window shows while a view is active ---------
// Bit k shows band k of the main window (0 main tool bar, 1 fractal tool bar,
// 2 generation bar, 3 editor tool bar, 4 pattern bar, 5 grid bar), bit 8 the
// colour bar.
namespace Bands {
inline constexpr int Initial = 0x101; // no view, or a view without bars of its own
inline constexpr int Fractal = 0x107; // fractal views
inline constexpr int Pattern = 0x139; // generator and initiator editors
inline constexpr int Ifs = 0x129;     // the IFS editor
inline constexpr int List = 0x001;    // the list and compass editors
inline constexpr int ColorBar = 0x100;
} // namespace Bands

// ---- Pop-up menus (each shows the items of its first sub-menu) --------------
namespace Popup {
inline constexpr int FractalView = 201;    // right click in a fractal view
inline constexpr int LsysCheck = 203;      // L-system editor: check rows, empty space
inline constexpr int LsysRow = 204;        // L-system editor: start word and rule rows
inline constexpr int IfsEditor = 205;      // right click in the IFS editor
inline constexpr int AutomatonCheck = 206; // automaton editor: check rows, empty space
inline constexpr int AutomatonRow = 207;   // automaton editor: start word and production rows
inline constexpr int Directions = 208;     // right click in the directions editor
inline constexpr std::array kAll = {FractalView,    LsysCheck,    LsysRow,   IfsEditor,
                                    AutomatonCheck, AutomatonRow, Directions};
} // namespace Popup

// ---- Tool bars (each with a bitmap of the same number) ----------------------
namespace ToolBar {
inline constexpr int Main = 128;    // band 0, every view
inline constexpr int Fractal = 140; // band 1, fractal views
inline constexpr int Editor = 142;  // band 3, graphical editors
inline constexpr std::array kAll = {Main, Fractal, Editor};
} // namespace ToolBar

// ---- Dialog templates and dialog bars ---------------------------------------
namespace Dialog {
inline constexpr int About = 100;
inline constexpr int PatternBar = 141;
inline constexpr int GridBar = 143;
inline constexpr int ColorBar = 144;
inline constexpr int PresetChooser = 150;
inline constexpr int PatternInfo = 151;
inline constexpr int AffineMap = 152;
inline constexpr int FractalInfo = 202;
inline constexpr int DesignStandard = 205;
inline constexpr int DesignIfs = 206;
inline constexpr int DesignAutomaton = 207;
inline constexpr int DesignMcrm = 208;
inline constexpr int DesignLsys = 209;
inline constexpr int GenerationBar = 210;
} // namespace Dialog

// ---- Control ids inside the dialogs ------------------------------------------
namespace Control {
inline constexpr int PresetStandard = 1001; // preset chooser lists, one per kind
inline constexpr int PresetLsys = 1002;
inline constexpr int PresetAutomaton = 1003;
inline constexpr int PresetIfs = 1004;
inline constexpr int PresetMcrm = 1005;
inline constexpr int InfoAngle = 1010; // pattern information box
inline constexpr int InfoRatio = 1011;
inline constexpr int MapA = 1020; // affine-map box: coefficients a to f
inline constexpr int MapB = 1021;
inline constexpr int MapC = 1022;
inline constexpr int MapD = 1023;
inline constexpr int MapE = 1024;
inline constexpr int MapF = 1025;
inline constexpr int MapScaleX = 1026;
inline constexpr int MapScaleY = 1027;
inline constexpr int MapDistance = 1028;
inline constexpr int MapAngleX = 1029;
inline constexpr int MapAngleY = 1031;
inline constexpr int MapDirection = 1032;
inline constexpr int GridRayCount = 1039;    // grid bar: ray count
inline constexpr int GridSquareCount = 1041; // grid bar: square and circle count
inline constexpr int ReportList = 1050;      // fractal information list; IFS editor tabs
inline constexpr int MapBoxToggle = 1053;    // affine-map box: "<<" / ">>"
inline constexpr int DesignInitiator = 1055; // design sheet document lists
inline constexpr int DesignGenerator = 1056;
inline constexpr int DesignLsys = 1057;
inline constexpr int DesignMapsOrDirections = 1058;
inline constexpr int DesignAutomaton = 1059;
inline constexpr int DesignDays = 1061;
inline constexpr int AboutList = 1064;
inline constexpr int AboutMailLink = 1065;
inline constexpr int AboutWebLink = 1066;
} // namespace Control

// ---- Bitmaps ------------------------------------------------------------------
namespace Bitmap {
inline constexpr int MainToolBar = 128;
inline constexpr int FractalToolBar = 140;
inline constexpr int EditorToolBar = 142;
inline constexpr int BusyAnimation = 221;    // 12 images of 32x32
inline constexpr int BandImages = 670;       // rebar band images, 20 wide
inline constexpr int PresetChooser = 912;    // image 0 an item, image 1 the selected item
inline constexpr int PatternShapes = 913;    // image k: polygon of k + 1 sides (0: none)
inline constexpr int IfsHandles = 914;       // 0-2 map w, u, v; 3-5 unit w, u, v
inline constexpr int LsysRows = 915;         // 0 start word, 1 rule, 2 summary, 3 problem
inline constexpr int InfoRows = 916;         // 0 type, 1 name, 2 cached day, 3 x/y, 4 cx, 5 cy
inline constexpr int PatternMarkers = 917;   // 12 wide; drawn 10x10 from the top-left corner
inline constexpr int AutomatonRows = 918;    // as LsysRows
inline constexpr int FractalMarkers = 919;   // overlay markers; 1, 2, 4, 8, 9 in use
inline constexpr int MoreGenerations = 920;  // image 0: the button of command 0x800B
inline constexpr int FewerGenerations = 921; // image 0: the button of command 0x800A
} // namespace Bitmap

// Image size and (minimum) image count of each bitmap strip. A tool bar bitmap
// has one image per button that is not a separator.
struct StripSpec
{
    int id;
    int width;
    int height;
    int count;
};
inline constexpr std::array<StripSpec, 12> kStrips = {{
    {Bitmap::BusyAnimation, 32, 32, 12},
    {Bitmap::BandImages, 20, 20, 5},
    {Bitmap::PresetChooser, 16, 16, 2},
    {Bitmap::PatternShapes, 16, 16, 12},
    {Bitmap::IfsHandles, 16, 16, 6},
    {Bitmap::LsysRows, 16, 16, 4},
    {Bitmap::InfoRows, 16, 16, 6},
    {Bitmap::PatternMarkers, 12, 12, 2},
    {Bitmap::AutomatonRows, 16, 16, 4},
    {Bitmap::FractalMarkers, 16, 16, 12},
    {Bitmap::MoreGenerations, 16, 16, 1},
    {Bitmap::FewerGenerations, 16, 16, 1},
}};
inline constexpr int kToolButtonSize = 16;

// ---- Strings whose numbers are fixed ----------------------------------------
namespace Str {
inline constexpr int StartWordLocked = 34000;      // a start-word label that protects it from reset
inline constexpr int RuleLabel = 34001;            // L-system rule row
inline constexpr int SymbolColumn = 34002;         // automaton editor, column 1
inline constexpr int NameLabel = 34016;            // information: first column, name row
inline constexpr int ValueColumn = 34017;          // information: second column
inline constexpr int GenerationsLabel = 34018;     // information: day count rows
inline constexpr int StartWordLabel = 34021;       // start-word row of both list editors
inline constexpr int ProductionLabel = 34023;      // automaton production rows
inline constexpr int DirectionsLabel = 34024;      // directions editor header
inline constexpr int CheckLabel = 34026;           // column 0 of every check row
inline constexpr int SymbolsLabel = 34027;         // summary rows
inline constexpr int RulesLabel = 34028;           // check rows about rules
inline constexpr int TypeLabel = 34029;            // information type row; list column 0
inline constexpr int WordColumn = 34030;           // automaton editor, column 2
inline constexpr int AddMapTab = 34031;            // the IFS editor's adding tab
inline constexpr int LsysSymbolColumn = 34032;     // L-system editor, column 1
inline constexpr int ReplacementColumn = 34033;    // L-system editor, column 2
inline constexpr int ShapeNames = 34100;           // pattern bar entries, separated by ","
inline constexpr int UnknownInAxiom = 35000;       // "%c"
inline constexpr int UnknownInRule = 35001;        // "%c", then "%d" (rule index)
inline constexpr int KnownSymbols = 35002;         // "%s"
inline constexpr int HighestSymbol = 35003;        // "%d"
inline constexpr int EmptyAxiom = 35004;           // no argument
inline constexpr int AxiomOutOfRange = 35005;      // "%d"
inline constexpr int ProductionOutOfRange = 35006; // "%d" (value), then "%d" (production)
inline constexpr int PatternInfoTitle = 60000;     // "%d" (step count)
inline constexpr int MapTitle = 60001;             // "%d" (map index)
inline constexpr int DesignSheetCaption = 60100;
// The design sheet's page needs a component document that is not open.
inline constexpr int DesignNeedsDocument = 62180; // "%1" (document type)
// An untitled fractal window before it is given a fractal.
inline constexpr int NoFractalYet = 62181;

// Why a fractal document is not saved.
inline constexpr int NoFractalToSave = 62150;
inline constexpr int DamagedFractalNotSaved = 62151; // "%1" (line)
inline constexpr int FractalNotWritten = 62152;
// The progress dialog while printing measures a fractal.
inline constexpr int MeasuringForPrint = 62153;
// Why a fractal document cannot be drawn, in its window and status bar.
inline constexpr int DamagedAtLine = 62400;    // "%1" (line)
inline constexpr int EndsBeforeLine = 62401;   // "%1" (line)
inline constexpr int LacksWhatItNeeds = 62402; // "%1" (kind keyword)
inline constexpr int NoKnownFractal = 62403;
inline constexpr int TooManyDays = 62404; // "%1" (the most days the kind draws)
// Exporting and copying a fractal window's picture.
inline constexpr int ExportCaption = 62500;
inline constexpr int ExportFileLabel = 62501;
inline constexpr int ExportBrowse = 62502;
inline constexpr int ExportWidthLabel = 62503;
inline constexpr int ExportHeightLabel = 62504;
inline constexpr int ExportAntialias = 62505;
inline constexpr int ExportFilterPng = 62506;
inline constexpr int ExportFilterSvg = 62507;
inline constexpr int ExportFilterPdf = 62508;
inline constexpr int ExportProgress = 62509;    // "%1" (file name)
inline constexpr int ExportFailed = 62510;      // "%1" (file), "%2" (reason)
inline constexpr int ExportUnknownType = 62511; // "%1" (file name)
inline constexpr int ExportNoPicture = 62512;
inline constexpr int CopyProgress = 62513;
inline constexpr int CopyFailed = 62514; // "%1" (reason)
inline constexpr int ExportNoFileName = 62515;
// The manual's window.
inline constexpr int ManualCaption = 62520;
inline constexpr int ManualBack = 62521;
inline constexpr int ManualForward = 62522;
inline constexpr int ManualContents = 62523;
inline constexpr int ManualMissing = 62524; // "%1" (language code)

// What a fractal window says of a drawing's size and progress.
inline constexpr int GenerationCountTip = 62530; // "%1" (days), "%2" (elements)
inline constexpr int LongDrawing = 62531;        // "%1" (name), "%2" (days), "%3" (elements)
inline constexpr int MeasuringProgress = 62532;  // "%1" (name), "%2" (days), "%3" (percent)
inline constexpr int DrawingProgress = 62533;    // "%1" (name), "%2" (days), "%3" (percent)
inline constexpr int CountTooLarge = 62534;      // in place of a count past 2^64 - 1

// The strings whose numbers are fixed and that editors and dialogs rely on.
inline constexpr std::array kFixed = {
    StartWordLocked,  RuleLabel,         SymbolColumn,      NameLabel,       ValueColumn,
    GenerationsLabel, StartWordLabel,    ProductionLabel,   DirectionsLabel, CheckLabel,
    SymbolsLabel,     RulesLabel,        TypeLabel,         WordColumn,      AddMapTab,
    LsysSymbolColumn, ReplacementColumn, ShapeNames,        UnknownInAxiom,  UnknownInRule,
    KnownSymbols,     HighestSymbol,     EmptyAxiom,        AxiomOutOfRange, ProductionOutOfRange,
    PatternInfoTitle, MapTitle,          DesignSheetCaption};

// Messages of the shell and its documents.
inline constexpr std::array kShell = {
    NoFractalToSave, DamagedFractalNotSaved, FractalNotWritten, MeasuringForPrint,
    DamagedAtLine,   EndsBeforeLine,         LacksWhatItNeeds,  NoKnownFractal,
    TooManyDays,     DesignNeedsDocument,    NoFractalYet};

inline constexpr std::array kProgress = {GenerationCountTip, LongDrawing, MeasuringProgress,
                                         DrawingProgress, CountTooLarge};

// Exporting, copying and the manual's window.
inline constexpr std::array kPictureAndManual = {
    ExportCaption,    ExportFileLabel,   ExportBrowse,    ExportWidthLabel, ExportHeightLabel,
    ExportAntialias,  ExportFilterPng,   ExportFilterSvg, ExportFilterPdf,  ExportProgress,
    ExportFailed,     ExportUnknownType, ExportNoPicture, CopyProgress,     CopyFailed,
    ExportNoFileName, ManualCaption,     ManualBack,      ManualForward,    ManualContents,
    ManualMissing};
} // namespace Str

// ---- Dialog and bar texts: a block of 20 numbers per dialog -----------------
namespace Text {
// About box (dialog 100).
inline constexpr int AboutCaption = 61000;
inline constexpr int AboutTitle = 61001; // "Kaleidra"
inline constexpr int AboutTagline = 61002;
inline constexpr int AboutVersions = 61003;   // label above list 1064
inline constexpr int AboutMailText = 61004;   // shown by link 1065
inline constexpr int AboutMailTarget = 61005; // opened by link 1065
inline constexpr int AboutWebText = 61006;    // shown by link 1066
inline constexpr int AboutWebTarget = 61007;  // opened by link 1066
inline constexpr int AboutMailLabel = 61008;
inline constexpr int AboutWebLabel = 61009;
// Pattern bar (141), grid bar (143), colour bar (144).
inline constexpr int PatternBarCaption = 61020;
inline constexpr int PatternBarShape = 61021;
inline constexpr int GridBarCaption = 61040;
inline constexpr int GridBarSquares = 61041; // label of edit 1041
inline constexpr int GridBarRays = 61042;    // label of edit 1039
inline constexpr int ColorBarCaption = 61060;
// Preset chooser (150): the label of list 1000 + k is PresetCaption + k.
inline constexpr int PresetCaption = 61100;
inline constexpr int PresetStandard = 61101;
inline constexpr int PresetLsys = 61102;
inline constexpr int PresetAutomaton = 61103;
inline constexpr int PresetIfs = 61104;
inline constexpr int PresetMcrm = 61105;
inline constexpr int PresetHint = 61106;
// Pattern information box (151); its title is Str::PatternInfoTitle.
inline constexpr int PatternInfoCaption = 61120;
inline constexpr int PatternInfoAngle = 61121;
inline constexpr int PatternInfoRatio = 61122;
// Affine-map box (152); its title is Str::MapTitle.
inline constexpr int MapBoxCaption = 61140;
inline constexpr int MapBoxMatrix = 61141;
inline constexpr int MapBoxTranslation = 61142;
inline constexpr int MapBoxScaleX = 61143;
inline constexpr int MapBoxScaleY = 61144;
inline constexpr int MapBoxAngleX = 61145;
inline constexpr int MapBoxAngleY = 61146;
inline constexpr int MapBoxDistance = 61147;
inline constexpr int MapBoxDirection = 61148;
inline constexpr int MapBoxToggleTip = 61149;
// Fractal information (202).
inline constexpr int FractalInfoCaption = 61160;
// Design sheet pages 205 to 209: page p has the block DesignPage(p): +0 tab
// title, +1 first list label, +2 second list label (none on the IFS page),
// +3 generations label, +4 a one-line hint.
constexpr int DesignPage(int dialog)
{
    return 61200 + 20 * (dialog - Dialog::DesignStandard);
}
inline constexpr int DesignTitle = 0;
inline constexpr int DesignFirstList = 1;
inline constexpr int DesignSecondList = 2;
inline constexpr int DesignDays = 3;
inline constexpr int DesignHint = 4;
// Generation bar (210).
inline constexpr int GenerationBarCaption = 61300;
inline constexpr int GenerationBarLabel = 61301;
// Titles of the three tool bars (128, 140, 142).
inline constexpr int MainToolBarTitle = 61400;
inline constexpr int FractalToolBarTitle = 61401;
inline constexpr int EditorToolBarTitle = 61402;

inline constexpr std::array kAll = {AboutCaption,
                                    AboutTitle,
                                    AboutTagline,
                                    AboutVersions,
                                    AboutMailText,
                                    AboutMailTarget,
                                    AboutWebText,
                                    AboutWebTarget,
                                    AboutMailLabel,
                                    AboutWebLabel,
                                    PatternBarCaption,
                                    PatternBarShape,
                                    GridBarCaption,
                                    GridBarSquares,
                                    GridBarRays,
                                    ColorBarCaption,
                                    PresetCaption,
                                    PresetStandard,
                                    PresetLsys,
                                    PresetAutomaton,
                                    PresetIfs,
                                    PresetMcrm,
                                    PresetHint,
                                    PatternInfoCaption,
                                    PatternInfoAngle,
                                    PatternInfoRatio,
                                    MapBoxCaption,
                                    MapBoxMatrix,
                                    MapBoxTranslation,
                                    MapBoxScaleX,
                                    MapBoxScaleY,
                                    MapBoxAngleX,
                                    MapBoxAngleY,
                                    MapBoxDistance,
                                    MapBoxDirection,
                                    MapBoxToggleTip,
                                    FractalInfoCaption,
                                    61200,
                                    61201,
                                    61202,
                                    61203,
                                    61204, // standard page
                                    61220,
                                    61221,
                                    61223,
                                    61224, // IFS page
                                    61240,
                                    61241,
                                    61242,
                                    61243,
                                    61244, // automaton page
                                    61260,
                                    61261,
                                    61262,
                                    61263,
                                    61264, // MCRM page
                                    61280,
                                    61281,
                                    61282,
                                    61283,
                                    61284, // L-system page
                                    GenerationBarCaption,
                                    GenerationBarLabel,
                                    MainToolBarTitle,
                                    FractalToolBarTitle,
                                    EditorToolBarTitle};
} // namespace Text

// Icons: the application (MainFrame) and one per document type.
inline constexpr std::array kIcons = {MainFrame,          DocType::Fractal,   DocType::Generator,
                                      DocType::Initiator, DocType::Ifs,       DocType::Lsys,
                                      DocType::Automaton, DocType::Directions};

} // namespace Res
