#pragma once

// The numbers the document/view framework itself uses: its standard commands
// and its own strings. The program's commands and resources are numbered in
// ids/; the framework knows nothing of them.

#include <array>

namespace Cmd {

// ---- Standard commands of the document/view framework ----------------------
inline constexpr int FileNew = 0xE100;          // new document (asks for the type)
inline constexpr int FileOpen = 0xE101;         // open a document
inline constexpr int FileClose = 0xE102;        // close the active document
inline constexpr int FileSave = 0xE103;         // save the active document
inline constexpr int FileSaveAs = 0xE104;       // save under a new name
inline constexpr int FilePageSetup = 0xE105;    // page set-up (not offered in menus)
inline constexpr int FilePrintSetup = 0xE106;   // printer set-up
inline constexpr int FilePrint = 0xE107;        // print with the print dialog
inline constexpr int FilePrintDirect = 0xE108;  // print without a dialog (shell print verb)
inline constexpr int FilePrintPreview = 0xE109; // print preview
inline constexpr int FileMruFirst = 0xE110;     // first of the 16 recent files
inline constexpr int FileMruLast = 0xE11F;      // last of the 16 recent files
inline constexpr int FileMruCount = FileMruLast - FileMruFirst + 1;
inline constexpr int EditCopy = 0xE122;       // copy the selection (a picture: all of it)
inline constexpr int EditUndo = 0xE12B;       // undo the last edit (its name in the menu)
inline constexpr int EditRedo = 0xE12C;       // redo the edit last undone
inline constexpr int WindowNew = 0xE130;      // another window on the same document
inline constexpr int WindowArrange = 0xE131;  // arrange minimised windows
inline constexpr int WindowCascade = 0xE132;  // cascade the document windows
inline constexpr int WindowTileHorz = 0xE133; // tile one above the other
inline constexpr int WindowTileVert = 0xE134; // tile side by side, each full height
inline constexpr int FileCloseAll = 0xE136;   // close every document
inline constexpr int AppAbout = 0xE140;       // the About box
inline constexpr int AppExit = 0xE141;        // quit
inline constexpr int HelpIndex = 0xE142;      // help contents (same manual)
inline constexpr int Help = 0xE146;           // open the manual
inline constexpr int NextWindow = 0xE150;     // activate the next document window
inline constexpr int PrevWindow = 0xE151;     // activate the previous document window
inline constexpr int ViewToolBar = 0xE800;    // show or hide the tool bars
inline constexpr int ViewStatusBar = 0xE801;  // show or hide the status bar

// Every standard command a menu or tool button may issue; each needs a
// status text and a tool tip in every language bundle.
inline constexpr std::array kStandard = {FileNew,           FileOpen,          FileClose,
                                         FileSave,          FileSaveAs,        FilePageSetup,
                                         FilePrintSetup,    FilePrint,         FilePrintDirect,
                                         FilePrintPreview,  FileMruFirst,      FileMruFirst + 1,
                                         FileMruFirst + 2,  FileMruFirst + 3,  FileMruFirst + 4,
                                         FileMruFirst + 5,  FileMruFirst + 6,  FileMruFirst + 7,
                                         FileMruFirst + 8,  FileMruFirst + 9,  FileMruFirst + 10,
                                         FileMruFirst + 11, FileMruFirst + 12, FileMruFirst + 13,
                                         FileMruFirst + 14, FileMruLast,       EditCopy,
                                         EditUndo,          EditRedo,          WindowNew,
                                         WindowArrange,     WindowCascade,     WindowTileHorz,
                                         WindowTileVert,    FileCloseAll,      AppAbout,
                                         AppExit,           HelpIndex,         Help,
                                         NextWindow,        PrevWindow,        ViewToolBar,
                                         ViewStatusBar};

} // namespace Cmd

namespace Res::Str {

// Framework strings.
inline constexpr int AppTitle = 0xE000;
inline constexpr int IdleMessage = 0xE001;
inline constexpr int IndicatorCaps = 0xE701;
inline constexpr int IndicatorNum = 0xE702;
inline constexpr int IndicatorScroll = 0xE703;

// Messages and titles of the document/view framework ("%1"-style).
inline constexpr int Untitled = 62000;
inline constexpr int AskToSave = 62001;  // %1 document title
inline constexpr int CannotOpen = 62002; // %1 file, %2 reason
inline constexpr int CannotSave = 62003; // %1 file, %2 reason
inline constexpr int NewDocumentTitle = 62004;
inline constexpr int NewDocumentPrompt = 62005;
inline constexpr int AllDocumentsFilter = 62006; // followed by the patterns by the caller
inline constexpr int AllFilesFilter = 62007;     // "All files (*)"
inline constexpr int OpenTitle = 62008;
inline constexpr int SaveAsTitle = 62009;
inline constexpr int NotADocument = 62010; // %1 file
inline constexpr int PrintPreviewTitle = 62011;
inline constexpr int ValidateRange = 62012; // %1 lowest, %2 highest
inline constexpr int ValidateUnsigned = 62013;
inline constexpr int CannotOpenManual = 62014;
inline constexpr int RecentFileGone = 62015;    // %1 file, removed from the recent files
inline constexpr int CannotPrint = 62016;       // %1 printer or file
inline constexpr int MoreWindows = 62018;       // last entry of the window list
inline constexpr int SelectWindowTitle = 62019; // the window choice it opens
inline constexpr int UnknownReason = 62020;     // when a document gives no reason
inline constexpr int PdfFilter = 62021;         // "PDF files (*.pdf)"
inline constexpr int PrintToFileTitle = 62022;  // file dialog of printing to PDF
// Earlier names of the two above.
inline constexpr int NoRecentFile = RecentFileGone;
inline constexpr int NoPrinter = CannotPrint;

inline constexpr std::array kFramework = {
    AppTitle,          IdleMessage,        IndicatorCaps,  IndicatorNum,      IndicatorScroll,
    Untitled,          AskToSave,          CannotOpen,     CannotSave,        NewDocumentTitle,
    NewDocumentPrompt, AllDocumentsFilter, AllFilesFilter, OpenTitle,         SaveAsTitle,
    NotADocument,      PrintPreviewTitle,  ValidateRange,  ValidateUnsigned,  CannotOpenManual,
    RecentFileGone,    CannotPrint,        MoreWindows,    SelectWindowTitle, UnknownReason,
    PdfFilter,         PrintToFileTitle};

} // namespace Res::Str
