#pragma once

// A component document whose model is a plain value, with undo and redo.
// Every edit is kept as two copies of the model, before and after, so that
// undoing restores exactly what was there; the models are small (a word and
// its rules, a compass, a few productions).
//
// The modified flag follows the undo stack: an edit marks the document
// modified, undoing back to the state last opened or saved clears the mark,
// and closing a modified document asks to save it as for any document.
//
// Commands handled here: Edit > Undo and Edit > Redo, with the name of the
// edit in the menu text.
//
// Only the interface thread uses it.

#include "framework/document.h"
#include "framework/standard_ids.h"

#include <QString>
#include <QUndoCommand>
#include <QUndoStack>

#include <functional>
#include <utility>

// Texts of the component editors: names of the edits (shown after "Undo" and
// "Redo"), the menu texts, and what the design sheet shows.
namespace EditText {
inline constexpr int UndoNamed = 61600; // "&Undo %1"
inline constexpr int RedoNamed = 61601; // "&Redo %1"
inline constexpr int Undo = 61602;      // "&Undo", nothing to undo
inline constexpr int Redo = 61603;      // "&Redo", nothing to redo
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

class EditedDocument : public Document
{
    Q_OBJECT
public:
    EditedDocument();
    ~EditedDocument() override;

    QUndoStack& UndoStack() { return m_undo; }

protected:
    // Records an edit from `before` to `after` and applies it through
    // `apply`, which replaces the model and notifies the views. Nothing is
    // recorded when the edit changes nothing.
    template <class Model>
    void PushEdit(int nameId, Model before, Model after, std::function<void(const Model&)> apply)
    {
        if (before == after) {
            return;
        }
        m_undo.push(new Snapshot<Model>(EditName(nameId), std::move(before), std::move(after),
                                        std::move(apply)));
    }
    // After reading a file: nothing to undo, not modified.
    void ForgetHistory();
    // After writing the file: the state now saved is the clean one.
    void MarkSaved();

private:
    template <class Model> class Snapshot : public QUndoCommand
    {
    public:
        Snapshot(const QString& name, Model before, Model after,
                 std::function<void(const Model&)> apply)
            : QUndoCommand(name), m_before(std::move(before)), m_after(std::move(after)),
              m_apply(std::move(apply))
        {
        }
        void undo() override { m_apply(m_before); }
        void redo() override { m_apply(m_after); }

    private:
        Model m_before;
        Model m_after;
        std::function<void(const Model&)> m_apply;
    };

    static QString EditName(int nameId);

    QUndoStack m_undo;
};
