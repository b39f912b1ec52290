// The automaton document and its list editor inside the running program:
// the check rows, renumbering, what column 1 stores, files and undo.

#include "app/app_fixture.h"
#include "documents/automaton_doc.h"
#include "editors/automaton_view.h"
#include "framework/standard_ids.h"
#include "ids/resource_ids.h"

#include <QFile>
#include <QLineEdit>

using namespace appfixture;

namespace {

CAutomatonDoc* NewAutomaton()
{
    for (DocTemplate* docTemplate : App().Templates()) {
        if (docTemplate->ResourceId() == Res::DocType::Automaton)
            return qobject_cast<CAutomatonDoc*>(docTemplate->OpenDocumentFile({}));
    }
    return nullptr;
}

CAutomatonView* ViewOf(Document* document)
{
    return document ? qobject_cast<CAutomatonView*>(document->Views().value(0)) : nullptr;
}

// Column-2 texts of the rows with `image`.
QStringList Rows(const CAutomatonView& view, int image)
{
    QStringList texts;
    for (int row = 0; row < view.RowCount(); ++row) {
        if (view.RowImage(row) == image)
            texts.append(view.CellText(row, 2));
    }
    return texts;
}

SymbolList List(const char* text)
{
    return SymbolList::FromText(text);
}

} // namespace

class AutomatonEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CloseAll(); }

    void checkRowsAndRenumbering()
    {
        CAutomatonDoc* doc = NewAutomaton();
        CAutomatonView* view = ViewOf(doc);
        QVERIFY(view);
        QCOMPARE(Rows(*view, ReportListView::kProblemImage),
                 QStringList{"The start word is empty"});

        doc->SetAxioms(List("0 3"));
        doc->AddProduction();
        doc->AddProduction();
        doc->SetProduction(0, List("0 1"));
        doc->SetProduction(1, List("1, 0"));
        QCOMPARE(view->CellText(0, 2), QStringLiteral("0 3 "));
        QCOMPARE(view->CellText(2, 1), QStringLiteral("1"));
        QCOMPARE(view->CellText(2, 2), QStringLiteral("1 0 "));
        QCOMPARE(Rows(*view, ReportListView::kProblemImage),
                 QStringList{"Symbol 3 in the start word has no production"});
        QCOMPARE(Rows(*view, ReportListView::kSummaryImage),
                 (QStringList{"Symbols 0 to 1 have a production", "Symbols: 0 1 3 "}));

        // Deleting production 0 renumbers the other: its 1 is now too large.
        view->SelectRow(1);
        view->OnDeleteProduction();
        QCOMPARE(doc->GetAutomaton().m_productions.size(), std::size_t(1));
        QCOMPARE(view->CellText(1, 1), QStringLiteral("0"));
        QCOMPARE(Rows(*view, ReportListView::kProblemImage),
                 (QStringList{"Symbol 3 in the start word has no production",
                              "Symbol 1 in production 0 has no production"}));
        QCOMPARE(view->PopupMenuFor(1), int(Res::Popup::AutomatonRow));
        QCOMPARE(view->PopupMenuFor(2), int(Res::Popup::AutomatonCheck));
    }

    // Only the words are edited: a commit in column 1 stores nothing.
    void onlyWordsAreStored()
    {
        CAutomatonDoc* doc = NewAutomaton();
        CAutomatonView* view = ViewOf(doc);
        view->OnAddProduction();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        const Automaton before = doc->GetAutomaton();
        view->StartEdit(1, 1, QStringLiteral("7"));
        view->CommitEdit();
        QVERIFY(doc->GetAutomaton() == before);
        QVERIFY(!view->EditBox()->isVisible());

        view->SelectRow(1);
        view->OnEditWord();
        QCOMPARE(view->EditBox()->text(), QStringLiteral("0 0 0 "));
        QTest::keyClicks(view->EditBox(), "0,x 2");
        QTest::keyClick(view->EditBox(), Qt::Key_Enter);
        QCOMPARE(doc->GetAutomaton().m_productions[0], List("0 0 2"));
        QCOMPARE(doc->UndoStack().count(), 2);
        doc->UndoStack().undo();
        QCOMPARE(doc->GetAutomaton().m_productions[0], List("0 0 0"));
    }

    void files()
    {
        QTemporaryDir dir;
        const QString empty = dir.filePath(QStringLiteral("empty.auto"));
        QVERIFY(NewAutomaton()->DoSave(empty));
        QFile file(empty);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[axioms] 0\n\n[productions] 0\n"));
        CloseAll();
        auto* reopened = qobject_cast<CAutomatonDoc*>(App().OpenDocumentFile(empty));
        QVERIFY(reopened);
        QVERIFY(reopened->GetAutomaton() == Automaton());
        CloseAll();

        CAutomatonDoc* doc = NewAutomaton();
        doc->SetAxioms(List("0"));
        doc->AddProduction();
        doc->AddProduction();
        doc->SetProduction(1, List(""));
        QVERIFY(doc->IsModified());
        const Automaton saved = doc->GetAutomaton();
        const QString path = dir.filePath(QStringLiteral("a.auto"));
        QVERIFY(doc->DoSave(path));
        QVERIFY(!doc->IsModified());
        CloseAll();
        reopened = qobject_cast<CAutomatonDoc*>(App().OpenDocumentFile(path));
        QVERIFY(reopened);
        QVERIFY(reopened->GetAutomaton() == saved);
        QVERIFY(!reopened->UndoStack().canUndo());
    }
};

KALEIDRA_APP_TEST_MAIN(AutomatonEditorTest)
#include "automaton_editor_test.moc"
