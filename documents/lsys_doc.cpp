#include "documents/lsys_doc.h"

#include "core/text_archive.h"
#include "documents/component_file.h"

CLsysDoc::CLsysDoc() = default;

bool CLsysDoc::OnOpenDocument(const QString& path)
{
    LSystem read;
    const FileResult result = ReadComponentFile(path, [&read](CTextArchive& ar) {
        read.axiom = Axiom(ar);
        read.rules = RuleSet(ar);
    });
    if (!result) {
        SetLastError(result.error);
        return false;
    }
    m_axiom = read.axiom;
    m_rules = read.rules;
    ResetHistory();
    UpdateAllViews(nullptr, 0);
    return true;
}

bool CLsysDoc::OnSaveDocument(const QString& path)
{
    const FileResult result = WriteComponentFile(path, [this](CTextArchive& ar) {
        (void)m_axiom.Save(ar);
        (void)m_rules.Save(ar);
    });
    if (!result) {
        SetLastError(result.error);
        return false;
    }
    MarkSaved();
    return true;
}

bool CLsysDoc::CopyComponentFrom(CFractal& fractal)
{
    const LSystem* lsystem = fractal.GetLsystem();
    if (lsystem == nullptr) {
        return false;
    }
    m_axiom = lsystem->axiom;
    m_rules = lsystem->rules;
    ResetHistory();
    return true;
}

void CLsysDoc::SetAxiom(const std::string& text)
{
    LSystem after = GetLsystem();
    after.axiom = Axiom(WithoutBlanks(text));
    Edit(EditText::EditStartWord, after);
}

void CLsysDoc::SetRuleSymbol(int index, const std::string& text)
{
    if (index < 0 || index >= static_cast<int>(m_rules.size())) {
        return;
    }
    const std::string word = WithoutBlanks(text);
    LSystem after = GetLsystem();
    after.rules[static_cast<std::size_t>(index)].symbol = word.empty() ? '\0' : word.front();
    Edit(EditText::EditSymbol, after);
}

void CLsysDoc::SetReplacement(int index, const std::string& text)
{
    if (index < 0 || index >= static_cast<int>(m_rules.size())) {
        return;
    }
    LSystem after = GetLsystem();
    after.rules[static_cast<std::size_t>(index)].replacement = WithoutBlanks(text);
    Edit(EditText::EditReplacement, after);
}

void CLsysDoc::AddRule()
{
    LSystem after = GetLsystem();
    after.rules.Rules().push_back(Rule{'X', "WYZ"});
    Edit(EditText::AddRule, after);
}

void CLsysDoc::DeleteRule(int index)
{
    if (index < 0 || index >= static_cast<int>(m_rules.size())) {
        return;
    }
    LSystem after = GetLsystem();
    after.rules.Rules().erase(after.rules.Rules().begin() + index);
    Edit(EditText::DeleteRule, after);
}

void CLsysDoc::ResetAxiom()
{
    LSystem after = GetLsystem();
    after.axiom = Axiom("X");
    Edit(EditText::ResetStartWord, after);
}

void CLsysDoc::Edit(int nameId, const LSystem& after)
{
    const LSystem before = GetLsystem();
    // An edit that changes nothing leaves the document as it was.
    if (before == after) {
        return;
    }
    PushEdit(
        nameId, [this, after] { Replace(after); }, [this, before] { Replace(before); });
}

void CLsysDoc::Replace(const LSystem& model)
{
    m_axiom = model.axiom;
    m_rules = model.rules;
    UpdateAllViews(nullptr, 0);
}

void CLsysDoc::CopyComponentTo(Components& parts) const
{
    parts.lsystem = GetLsystem();
}
