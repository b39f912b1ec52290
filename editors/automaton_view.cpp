#include "editors/automaton_view.h"

#include "documents/automaton_doc.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

#include <set>
#include <string>

CAutomatonView::CAutomatonView()
    : ReportListView(Res::Bitmap::AutomatonRows, {Res::Str::SymbolColumn, 100},
                     {Res::Str::WordColumn, 500})
{
    AddCommand(Cmd::EditEntry, [this] { OnEditWord(); });
    AddCommand(Cmd::AddEntry, [this] { OnAddProduction(); });
    // Deleting makes no sense on the start-word row.
    AddCommand(
        Cmd::DeleteEntry, [this] { OnDeleteProduction(); },
        [this](CommandState& state) { state.Enable(SelectedRow() != 0); });
}

CAutomatonDoc* CAutomatonView::GetDocument() const
{
    return qobject_cast<CAutomatonDoc*>(View::GetDocument());
}

int CAutomatonView::ProductionCount() const
{
    const CAutomatonDoc* document = GetDocument();
    return document ? static_cast<int>(document->GetAutomaton().m_productions.size()) : 0;
}

int CAutomatonView::PopupMenuFor(int row) const
{
    return row >= 0 && row <= ProductionCount() ? Res::Popup::AutomatonRow
                                                : Res::Popup::AutomatonCheck;
}

void CAutomatonView::BuildRows()
{
    const CAutomatonDoc* document = GetDocument();
    if (document == nullptr) {
        return;
    }
    const Automaton& automaton = document->GetAutomaton();
    const int n = static_cast<int>(automaton.m_productions.size());
    const QString startWord = BundleText(Res::Str::StartWordLabel);
    const QString productionLabel = BundleText(Res::Str::ProductionLabel);
    const QString check = BundleText(Res::Str::CheckLabel);

    AddRow(kStartWordImage, startWord, QString(),
           QString::fromStdString(automaton.m_axioms.ToText()));
    for (int i = 0; i < n; ++i) {
        AddRow(
            kEntryImage, productionLabel, QString::number(i),
            QString::fromStdString(automaton.m_productions[static_cast<std::size_t>(i)].ToText()));
    }

    AddRow(kNoImage, QString(), QString(), QString());
    std::set<int> used;
    if (automaton.m_axioms.empty()) {
        AddRow(kProblemImage, check, startWord, BundleText(Res::Str::EmptyAxiom));
    } else {
        const QByteArray format = BundleText(Res::Str::AxiomOutOfRange).toUtf8();
        for (int v : automaton.m_axioms) {
            used.insert(v);
            if (v < 0 || v >= n) {
                AddRow(kProblemImage, check, startWord, QString::asprintf(format.constData(), v));
            }
        }
    }
    if (n > 0) {
        const QByteArray format = BundleText(Res::Str::ProductionOutOfRange).toUtf8();
        for (int p = 0; p < n; ++p) {
            for (int v : automaton.m_productions[static_cast<std::size_t>(p)]) {
                used.insert(v);
                if (v < 0 || v >= n) {
                    AddRow(kProblemImage, check, startWord,
                           QString::asprintf(format.constData(), v, p));
                }
            }
        }
        AddRow(kSummaryImage, check, productionLabel,
               QString::asprintf(BundleText(Res::Str::HighestSymbol).toUtf8().constData(), n - 1));
    }
    if (!used.empty()) {
        std::string list;
        for (int v : used) {
            list += std::to_string(v) + ' ';
        }
        AddRow(kSummaryImage, check, BundleText(Res::Str::SymbolsLabel),
               QString::asprintf(BundleText(Res::Str::KnownSymbols).toUtf8().constData(),
                                 list.c_str()));
    }
}

void CAutomatonView::StoreEdit(int row, int column, const QString& text)
{
    CAutomatonDoc* document = GetDocument();
    // Only the words are edited; a symbol number follows from the row.
    if (document == nullptr || column != 2) {
        return;
    }
    const SymbolList list = SymbolList::FromText(text.toStdString());
    if (row == 0) {
        document->SetAxioms(list);
    } else if (row >= 1 && row <= ProductionCount()) {
        document->SetProduction(row - 1, list);
    }
}

void CAutomatonView::OnEditWord()
{
    const int row = SelectedRow();
    if (row >= 0) {
        StartEdit(row, 2, CellText(row, 2));
    }
}

void CAutomatonView::OnAddProduction()
{
    if (CAutomatonDoc* document = GetDocument()) {
        document->AddProduction();
    }
}

void CAutomatonView::OnDeleteProduction()
{
    const int row = SelectedRow();
    if (CAutomatonDoc* document = GetDocument(); document && row >= 1 && row <= ProductionCount()) {
        document->DeleteProduction(row - 1);
    }
}
