#include "documents/component_doc.h"

#include "framework/ui_resources.h"

#include <QUndoCommand>

#include <utility>

namespace {

class EditCommand : public QUndoCommand
{
public:
    EditCommand(const QString& name, std::function<void()> apply, std::function<void()> revert)
        : QUndoCommand(name), m_apply(std::move(apply)), m_revert(std::move(revert))
    {
    }
    void redo() override { m_apply(); }
    void undo() override { m_revert(); }

private:
    std::function<void()> m_apply;
    std::function<void()> m_revert;
};

} // namespace

QString ComponentText(int id, const char* english)
{
    const QString text = UiResources::Current().String(id);
    return text.isEmpty() ? QString::fromUtf8(english) : text;
}

CComponentDoc::CComponentDoc()
{
    connect(&m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { SetModifiedFlag(!clean); });
    AddCommand(
        Cmd::EditUndo, [this] { OnUndo(); },
        [this](CommandState& state) {
            state.Enable(m_undo.canUndo());
            if (m_undo.canUndo()) {
                state.SetText(
                    ComponentText(CompText::UndoNamed, "&Undo %1").arg(m_undo.undoText()));
            }
        });
    AddCommand(
        Cmd::EditRedo, [this] { OnRedo(); },
        [this](CommandState& state) {
            state.Enable(m_undo.canRedo());
            if (m_undo.canRedo()) {
                state.SetText(
                    ComponentText(CompText::RedoNamed, "&Redo %1").arg(m_undo.redoText()));
            }
        });
}

CComponentDoc::~CComponentDoc()
{
    // The stack's commands hold functions on this document's model.
    disconnect(&m_undo, nullptr, this, nullptr);
    m_undo.clear();
}

void CComponentDoc::OnUndo()
{
    if (m_undo.canUndo()) {
        m_undo.undo();
    }
}

void CComponentDoc::OnRedo()
{
    if (m_undo.canRedo()) {
        m_undo.redo();
    }
}

void CComponentDoc::PushEdit(int nameId, std::function<void()> apply, std::function<void()> revert)
{
    m_undo.push(
        new EditCommand(ComponentText(nameId, "Edit"), std::move(apply), std::move(revert)));
}

void CComponentDoc::MarkSaved()
{
    m_undo.setClean();
    SetModifiedFlag(false);
}

void CComponentDoc::ResetHistory()
{
    m_undo.clear();
    SetModifiedFlag(false);
}
