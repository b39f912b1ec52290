#pragma once

// Strings of the L-system, automaton and directions documents and of the
// design sheet (61600-61699): the names of the edits, shown after "Undo" and
// "Redo", and what a list of documents shows when there is none.

namespace EditText {
inline constexpr int EditStartWord = 61610;
inline constexpr int EditSymbol = 61611;
inline constexpr int EditReplacement = 61612;
inline constexpr int AddRule = 61613;
inline constexpr int DeleteRule = 61614;
inline constexpr int ResetStartWord = 61615;
inline constexpr int EditProduction = 61616;
inline constexpr int AddProduction = 61617;
inline constexpr int DeleteProduction = 61618;
inline constexpr int ChangeDirections = 61619;
inline constexpr int NoDocument = 61620; // design sheet: no open document of a type
} // namespace EditText
