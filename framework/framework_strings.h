#pragma once

// The texts the document/view layer itself shows: prompts, error messages,
// dialog captions. Each has a number in the language bundle; the English
// text built in here is only used while a bundle lacks the number, so that
// a missing entry never leaves the user with an empty message box.
//
// Texts with %1, %2 are filled with QString::arg in that order.

#include "framework/standard_ids.h"

#include <QString>

namespace FrameworkString {

inline constexpr int AppTitle = Res::Str::AppTitle;                     // main window title
inline constexpr int IdleMessage = Res::Str::IdleMessage;               // "Ready"
inline constexpr int Untitled = Res::Str::Untitled;                     // nameless new document
inline constexpr int AskToSave = Res::Str::AskToSave;                   // %1 document title
inline constexpr int CannotOpen = Res::Str::CannotOpen;                 // %1 path, %2 reason
inline constexpr int CannotSave = Res::Str::CannotSave;                 // %1 path, %2 reason
inline constexpr int NewCaption = Res::Str::NewDocumentTitle;           // choice of document type
inline constexpr int NewPrompt = Res::Str::NewDocumentPrompt;           //
inline constexpr int AllDocumentsFilter = Res::Str::AllDocumentsFilter; // patterns follow
inline constexpr int AllFilesFilter = Res::Str::AllFilesFilter;         // "All files (*)"
inline constexpr int OpenCaption = Res::Str::OpenTitle;
inline constexpr int SaveAsCaption = Res::Str::SaveAsTitle;
inline constexpr int NotADocument = Res::Str::NotADocument; // %1 path
inline constexpr int PrintPreviewCaption = Res::Str::PrintPreviewTitle;
inline constexpr int FileNotFound = Res::Str::RecentFileGone; // %1 path, recent file gone
inline constexpr int CannotPrint = Res::Str::CannotPrint;     // %1 printer or file
inline constexpr int MoreWindows = Res::Str::MoreWindows;     // last entry of the window list
inline constexpr int SelectWindowCaption = Res::Str::SelectWindowTitle;
inline constexpr int UnknownReason = Res::Str::UnknownReason; // a document gave no reason
inline constexpr int PdfFilter = Res::Str::PdfFilter;         // "PDF files (*.pdf)"
inline constexpr int PrintToFileCaption = Res::Str::PrintToFileTitle;

} // namespace FrameworkString

// The bundle's text for `id`, or the built-in English one when the bundle
// has none.
QString FrameworkText(int id);
