#include "documents/automaton_doc.h"

#include "core/text_archive.h"
#include "documents/component_file.h"

CAutomatonDoc::CAutomatonDoc() = default;

bool CAutomatonDoc::OnOpenDocument(const QString& path)
{
    Automaton read;
    const FileResult result =
        ReadComponentFile(path, [&read](CTextArchive& ar) { read = Automaton(ar); });
    if (!result) {
        SetLastError(result.error);
        return false;
    }
    m_automaton = read;
    ResetHistory();
    UpdateAllViews(nullptr, 0);
    return true;
}

bool CAutomatonDoc::OnSaveDocument(const QString& path)
{
    const FileResult result =
        WriteComponentFile(path, [this](CTextArchive& ar) { (void)m_automaton.Save(ar); });
    if (!result) {
        SetLastError(result.error);
        return false;
    }
    MarkSaved();
    return true;
}

bool CAutomatonDoc::CopyComponentFrom(CFractal& fractal)
{
    const Automaton* automaton = fractal.GetAutomaton();
    if (automaton == nullptr) {
        return false;
    }
    m_automaton = *automaton;
    ResetHistory();
    return true;
}

void CAutomatonDoc::SetAxioms(const SymbolList& axioms)
{
    Automaton after = m_automaton;
    after.m_axioms = axioms;
    Edit(EditText::EditStartWord, after);
}

void CAutomatonDoc::SetProduction(int index, const SymbolList& production)
{
    if (index < 0 || index >= static_cast<int>(m_automaton.m_productions.size())) {
        return;
    }
    Automaton after = m_automaton;
    after.m_productions[static_cast<std::size_t>(index)] = production;
    Edit(EditText::EditProduction, after);
}

void CAutomatonDoc::AddProduction()
{
    Automaton after = m_automaton;
    after.m_productions.push_back(SymbolList::FromText("0 0 0"));
    Edit(EditText::AddProduction, after);
}

void CAutomatonDoc::DeleteProduction(int index)
{
    if (index < 0 || index >= static_cast<int>(m_automaton.m_productions.size())) {
        return;
    }
    Automaton after = m_automaton;
    after.m_productions.erase(after.m_productions.begin() + index);
    Edit(EditText::DeleteProduction, after);
}

void CAutomatonDoc::Edit(int nameId, const Automaton& after)
{
    const Automaton before = m_automaton;
    // An edit that changes nothing leaves the document as it was.
    if (before == after) {
        return;
    }
    PushEdit(
        nameId, [this, after] { Replace(after); }, [this, before] { Replace(before); });
}

void CAutomatonDoc::Replace(const Automaton& automaton)
{
    m_automaton = automaton;
    UpdateAllViews(nullptr, 0);
}

void CAutomatonDoc::CopyComponentTo(Components& parts) const
{
    parts.automaton = m_automaton;
}
