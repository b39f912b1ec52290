#include "documents/edited_document.h"

#include "framework/ui_resources.h"

namespace {

QString Text(int id, const char* fallback)
{
    const QString text = UiResources::Current().String(id);
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

} // namespace

EditedDocument::EditedDocument()
{
    connect(&m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { SetModifiedFlag(!clean); });
    AddCommand(
        Cmd::EditUndo, [this] { m_undo.undo(); },
        [this](CommandState& state) {
            state.Enable(m_undo.canUndo());
            state.SetText(m_undo.canUndo()
                              ? Text(EditText::UndoNamed, "&Undo %1").arg(m_undo.undoText())
                              : Text(EditText::Undo, "&Undo"));
        });
    AddCommand(
        Cmd::EditRedo, [this] { m_undo.redo(); },
        [this](CommandState& state) {
            state.Enable(m_undo.canRedo());
            state.SetText(m_undo.canRedo()
                              ? Text(EditText::RedoNamed, "&Redo %1").arg(m_undo.redoText())
                              : Text(EditText::Redo, "&Redo"));
        });
}

EditedDocument::~EditedDocument()
{
    // The stack's signals must not reach a document half destroyed.
    m_undo.disconnect(this);
}

QString EditedDocument::EditName(int nameId)
{
    const QString name = UiResources::Current().String(nameId);
    return name.isEmpty() ? QString::number(nameId) : name;
}

void EditedDocument::ForgetHistory()
{
    m_undo.clear();
    SetModifiedFlag(false);
}

void EditedDocument::MarkSaved()
{
    m_undo.setClean();
    SetModifiedFlag(false);
}
