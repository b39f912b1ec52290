#pragma once

// The list editor of an automaton document: the axioms, one row per
// production (symbol i is rewritten by production i), then a check of the
// whole automaton (symbols without a production, an empty start word), the
// highest valid symbol and the symbols in use. Only the words (column 2)
// are edited.
//
// Only the interface thread uses it.

#include "editors/report_list_view.h"

class CAutomatonDoc;

class CAutomatonView : public ReportListView
{
    Q_OBJECT
public:
    CAutomatonView();

    CAutomatonDoc* GetDocument() const;
    int PopupMenuFor(int row) const override;

    // The commands, also for tests; they act on the selected row.
    void OnEditWord();
    void OnAddProduction();
    void OnDeleteProduction();

protected:
    void BuildRows() override;
    void StoreEdit(int row, int column, const QString& text) override;

private:
    int ProductionCount() const;
};
