#pragma once

// The base of the documents whose content the user edits by hand
// (generators, initiators, affine maps): every edit goes through the
// document's own undo stack, so that it can be undone and redone, marks the
// document modified, and undoing back to the state last saved or opened
// clears the mark again. Closing or quitting then asks to save as for any
// document.
//
// Commands handled here: Undo (0xE12B) and Redo (0xE12C), whose menu text
// names the edit they would undo or redo.
//
// Only the interface thread uses these documents.

#include "framework/document.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"

#include <QUndoStack>

#include <functional>

// Strings of the component documents and their editors (61500-61599): the
// menu texts of Undo and Redo ("%1" the edit) and the names of the edits.
namespace CompText {
inline constexpr int UndoNamed = 61500;
inline constexpr int RedoNamed = 61501;
inline constexpr int DrawSegment = 61502;
inline constexpr int SaveMotif = 61503;
inline constexpr int InsertMotif = 61504;
inline constexpr int DeleteLastStep = 61505;
inline constexpr int DeleteAllSteps = 61506;
inline constexpr int AddPolygon = 61507;
inline constexpr int AddMap = 61508;
inline constexpr int DeleteMap = 61509;
inline constexpr int MoveHandle = 61510;
// Status bar over an editor: "%1" and "%2" the model coordinates.
inline constexpr int MousePosition = 61511;
} // namespace CompText

class CComponentDoc : public Document
{
    Q_OBJECT
public:
    CComponentDoc();
    ~CComponentDoc() override;

    QUndoStack& UndoStack() { return m_undo; }

    // The framework's save prompt, taken from the undo stack's clean state.
    void OnUndo();
    void OnRedo();

protected:
    // Records one edit named by string `nameId`: `apply` is run at once and
    // on every redo, `revert` on every undo. Both restore a whole state, so
    // each must leave the model as it was right after (or before) the edit.
    void PushEdit(int nameId, std::function<void()> apply, std::function<void()> revert);
    // The content now on screen is what the file holds: after open or save.
    void MarkSaved();
    // Forgets the history (a new content that is not an edit of the old).
    void ResetHistory();

private:
    QUndoStack m_undo;
};

// The text of string `id` of the bundle, or `english` while it has none.
QString ComponentText(int id, const char* english);
