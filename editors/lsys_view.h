#pragma once

// The list editor of an L-system document: the start word, one row per
// rule, then a check of the whole L-system (symbols that no rule and no
// turtle command knows, an empty start word) and the list of known symbols.
//
// Only the interface thread uses it.

#include "editors/report_list_view.h"

class CLsysDoc;

class CLsysView : public ReportListView
{
    Q_OBJECT
public:
    CLsysView();

    CLsysDoc* GetDocument() const;
    int PopupMenuFor(int row) const override;

    // The commands, also for tests; they act on the selected row.
    void OnEditReplacement();
    void OnEditSymbol();
    void OnAddRule();
    void OnDeleteRule();
    void OnResetAxiom();

protected:
    void BuildRows() override;
    void StoreEdit(int row, int column, const QString& text) override;

private:
    int RuleCount() const;
};
