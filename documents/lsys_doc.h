#pragma once

// An L-system on its own: the axiom (start word) and the rule set, without
// the directions that draw it (a directions document holds those). File:
// "[axioms]", the axiom on a line of its own (an empty line for the empty
// axiom), then the "[rules]" section.
//
// Edits come from the list editor, one undo step each; every edit notifies
// all views with hint 0. Only the interface thread uses it.

#include "documents/component_doc.h"
#include "documents/component_source.h"
#include "documents/edit_names.h"
#include "documents/fractal_doc.h"
#include "engine/lsystem.h"

#include <string>

class CLsysDoc : public CComponentDoc, public FractalComponentTarget, public ComponentSource
{
    Q_OBJECT
public:
    CLsysDoc();

    const Axiom& GetAxiom() const { return m_axiom; }
    const RuleSet& GetRules() const { return m_rules; }
    LSystem GetLsystem() const { return {m_axiom, m_rules}; }

    // A file that cannot be read fails with the reason; damaged sections
    // give what their readers kept.
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    // The fractal's axiom and rules, as a fresh start (nothing to undo).
    bool CopyComponentFrom(CFractal& fractal) override;
    void CopyComponentTo(Components& parts) const override;

    // The edits. Words lose their blanks: a word in the file cannot hold
    // one, and a blank would split it on the next reading. A text holding
    // '=' gives the empty axiom. Rule indices outside the set change nothing.
    void SetAxiom(const std::string& text);
    // The rule's symbol becomes the first character of `text` (0 when empty).
    void SetRuleSymbol(int index, const std::string& text);
    void SetReplacement(int index, const std::string& text);
    // Appends X -> WYZ.
    void AddRule();
    void DeleteRule(int index);
    // The axiom becomes "X".
    void ResetAxiom();

private:
    void Edit(int nameId, const LSystem& after);
    void Replace(const LSystem& model);

    Axiom m_axiom;
    RuleSet m_rules;
};
