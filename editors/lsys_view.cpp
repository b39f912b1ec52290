#include "editors/lsys_view.h"

#include "documents/lsys_doc.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

#include <QTableWidget>

#include <algorithm>
#include <set>
#include <string>

namespace {

// What the turtle does something with, known without a rule.
constexpr char kTurtleSymbols[] = "+-|[]FfDGM";

} // namespace

CLsysView::CLsysView()
    : ReportListView(Res::Bitmap::LsysRows, {Res::Str::LsysSymbolColumn, 100},
                     {Res::Str::ReplacementColumn, 300})
{
    // Items that make no sense on the start-word row are disabled there.
    const auto notOnStartWord = [this](CommandState& state) { state.Enable(SelectedRow() != 0); };
    AddCommand(Cmd::EditEntry, [this] { OnEditReplacement(); });
    AddCommand(
        Cmd::EditSymbol, [this] { OnEditSymbol(); }, notOnStartWord);
    AddCommand(Cmd::AddEntry, [this] { OnAddRule(); });
    AddCommand(
        Cmd::DeleteEntry, [this] { OnDeleteRule(); }, notOnStartWord);
    AddCommand(Cmd::ResetAxiom, [this] { OnResetAxiom(); });
}

CLsysDoc* CLsysView::GetDocument() const
{
    return qobject_cast<CLsysDoc*>(View::GetDocument());
}

int CLsysView::RuleCount() const
{
    const CLsysDoc* document = GetDocument();
    return document ? static_cast<int>(document->GetRules().size()) : 0;
}

int CLsysView::PopupMenuFor(int row) const
{
    return row >= 0 && row <= RuleCount() ? Res::Popup::LsysRow : Res::Popup::LsysCheck;
}

void CLsysView::BuildRows()
{
    const CLsysDoc* document = GetDocument();
    if (document == nullptr) {
        return;
    }
    const Axiom& axiom = document->GetAxiom();
    const RuleSet& rules = document->GetRules();
    const QString startWord = BundleText(Res::Str::StartWordLabel);
    const QString check = BundleText(Res::Str::CheckLabel);

    AddRow(kStartWordImage, startWord, QString(), QString::fromStdString(axiom.Text()));
    for (const Rule& rule : rules) {
        AddRow(kEntryImage, BundleText(Res::Str::RuleLabel), QString::asprintf("%c", rule.symbol),
               QString::fromStdString(rule.replacement));
    }

    AddRow(kNoImage, QString(), QString(), QString());
    std::set<unsigned char> known(std::begin(kTurtleSymbols), std::end(kTurtleSymbols) - 1);
    for (const Rule& rule : rules) {
        known.insert(static_cast<unsigned char>(rule.symbol));
    }
    const auto isKnown = [&known](char ch) {
        return known.count(static_cast<unsigned char>(ch)) != 0;
    };
    if (axiom.empty()) {
        AddRow(kProblemImage, check, startWord, BundleText(Res::Str::EmptyAxiom));
    } else {
        for (char ch : axiom.Text()) {
            if (!isKnown(ch)) {
                AddRow(kProblemImage, check, startWord,
                       QString::asprintf(BundleText(Res::Str::UnknownInAxiom).toUtf8().constData(),
                                         ch));
            }
        }
    }
    const QString rulesLabel = BundleText(Res::Str::RulesLabel);
    const QByteArray unknownInRule = BundleText(Res::Str::UnknownInRule).toUtf8();
    for (std::size_t r = 0; r < rules.size(); ++r) {
        for (char ch : rules[r].replacement) {
            if (!isKnown(ch)) {
                AddRow(kProblemImage, check, rulesLabel,
                       QString::asprintf(unknownInRule.constData(), ch, static_cast<int>(r)));
            }
        }
    }
    std::string list;
    for (unsigned char ch : known) {
        list += static_cast<char>(ch);
        list += ' ';
    }
    AddRow(
        kSummaryImage, check, BundleText(Res::Str::SymbolsLabel),
        QString::asprintf(BundleText(Res::Str::KnownSymbols).toUtf8().constData(), list.c_str()));
}

void CLsysView::StoreEdit(int row, int column, const QString& text)
{
    CLsysDoc* document = GetDocument();
    if (document == nullptr || row < 0 || row > RuleCount()) {
        return;
    }
    const std::string word = text.toStdString();
    if (row == 0) {
        document->SetAxiom(word);
    } else if (column == 1) {
        document->SetRuleSymbol(row - 1, word);
    } else if (column == 2) {
        document->SetReplacement(row - 1, word);
    }
}

void CLsysView::OnEditReplacement()
{
    const int row = SelectedRow();
    if (row >= 0) {
        StartEdit(row, 2, CellText(row, 2));
    }
}

void CLsysView::OnEditSymbol()
{
    const int row = SelectedRow();
    if (row >= 0) {
        StartEdit(row, 1, CellText(row, 1));
    }
}

void CLsysView::OnAddRule()
{
    if (CLsysDoc* document = GetDocument()) {
        document->AddRule();
    }
}

void CLsysView::OnDeleteRule()
{
    const int row = SelectedRow();
    if (CLsysDoc* document = GetDocument(); document && row >= 1 && row <= RuleCount()) {
        document->DeleteRule(row - 1);
    }
}

void CLsysView::OnResetAxiom()
{
    CLsysDoc* document = GetDocument();
    if (document == nullptr) {
        return;
    }
    // A start word whose label says it is locked keeps its word.
    if (CellText(0, 0).compare(BundleText(Res::Str::StartWordLocked), Qt::CaseInsensitive) != 0) {
        document->ResetAxiom();
    }
}
