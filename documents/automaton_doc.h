#pragma once

// An automaton on its own: the axioms and the productions of a substitution
// system over numbered symbols, without the generator that draws it. File:
// "[axioms]" (the count, then the symbols) and "[productions]".
//
// Edits come from the list editor, one undo step each; every edit notifies
// all views with hint 0. Only the interface thread uses it.

#include "documents/component_doc.h"
#include "documents/component_source.h"
#include "documents/edit_names.h"
#include "documents/fractal_doc.h"
#include "engine/automaton.h"

class CAutomatonDoc : public CComponentDoc, public FractalComponentTarget, public ComponentSource
{
    Q_OBJECT
public:
    CAutomatonDoc();

    const Automaton& GetAutomaton() const { return m_automaton; }

    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    bool CopyComponentFrom(CFractal& fractal) override;
    void CopyComponentTo(Components& parts) const override;

    // The edits; production indices outside the list change nothing.
    void SetAxioms(const SymbolList& axioms);
    void SetProduction(int index, const SymbolList& production);
    // Appends the production 0 0 0.
    void AddProduction();
    // Later productions move up and so take a lower symbol number.
    void DeleteProduction(int index);

private:
    void Edit(int nameId, const Automaton& after);
    void Replace(const Automaton& automaton);

    Automaton m_automaton;
};
