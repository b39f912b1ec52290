// The L-system document and its list editor inside the running program:
// the check rows, the in-place edit, the menus, files, undo and the save
// prompt, and the components of an L-system fractal.

#include "app/app_fixture.h"
#include "documents/directions_doc.h"
#include "documents/lsys_doc.h"
#include "editors/lsys_view.h"
#include "engine/presets.h"
#include "framework/scripted_prompts.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

#include <QFile>
#include <QLineEdit>
#include <QTableWidget>

using namespace appfixture;

namespace {

DocTemplate* TemplateOf(int docType)
{
    for (DocTemplate* docTemplate : App().Templates()) {
        if (docTemplate->ResourceId() == docType)
            return docTemplate;
    }
    return nullptr;
}

CLsysView* ViewOf(Document* document)
{
    return document ? qobject_cast<CLsysView*>(document->Views().value(0)) : nullptr;
}

// The rows with the problem image, as column-2 texts.
QStringList Problems(const CLsysView& view)
{
    QStringList texts;
    for (int row = 0; row < view.RowCount(); ++row) {
        if (view.RowImage(row) == ReportListView::kProblemImage)
            texts.append(view.CellText(row, 2));
    }
    return texts;
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& content)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

} // namespace

class LsysEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CloseAll(); }

    void checkRows()
    {
        auto* doc = qobject_cast<CLsysDoc*>(TemplateOf(Res::DocType::Lsys)->OpenDocumentFile({}));
        CLsysView* view = ViewOf(doc);
        QVERIFY(view);
        // A new document: the empty start word is the one problem.
        QCOMPARE(Problems(*view), QStringList{"The start word is empty"});

        doc->SetAxiom("F");
        doc->AddRule();
        doc->SetRuleSymbol(0, "F");
        doc->SetReplacement(0, "F+F-F");
        QVERIFY(Problems(*view).isEmpty());
        const int last = view->RowCount() - 1;
        QCOMPARE(view->RowImage(last), int(ReportListView::kSummaryImage));
        QCOMPARE(view->CellText(last, 2), QStringLiteral("Symbols: + - D F G M [ ] f | "));
        QCOMPARE(view->CellText(1, 1), QStringLiteral("F"));

        // A new rule is X -> WYZ and nothing knows W, Y or Z.
        doc->AddRule();
        QCOMPARE(Problems(*view),
                 (QStringList{"Unknown symbol W in rule 1", "Unknown symbol Y in rule 1",
                              "Unknown symbol Z in rule 1"}));

        doc->SetAxiom("AB");
        QCOMPARE(Problems(*view).mid(0, 2), (QStringList{"Unknown symbol A in the start word",
                                                         "Unknown symbol B in the start word"}));
        // Blanks cannot be stored in a word: they go.
        doc->SetAxiom("F F");
        QCOMPARE(doc->GetAxiom().Text(), std::string("FF"));
    }

    void menusAndCommands()
    {
        auto* doc = qobject_cast<CLsysDoc*>(TemplateOf(Res::DocType::Lsys)->OpenDocumentFile({}));
        CLsysView* view = ViewOf(doc);
        view->OnAddRule();
        view->OnAddRule();
        QCOMPARE(view->PopupMenuFor(0), int(Res::Popup::LsysRow));
        QCOMPARE(view->PopupMenuFor(2), int(Res::Popup::LsysRow));
        QCOMPARE(view->PopupMenuFor(3), int(Res::Popup::LsysCheck));
        QCOMPARE(view->PopupMenuFor(-1), int(Res::Popup::LsysCheck));

        view->SelectRow(0);
        QVERIFY(!CommandRouter::Query(view->CommandChain(), Cmd::EditSymbol).enabled);
        QVERIFY(!CommandRouter::Query(view->CommandChain(), Cmd::DeleteEntry).enabled);
        QVERIFY(CommandRouter::Query(view->CommandChain(), Cmd::EditEntry).enabled);
        view->OnResetAxiom();
        QCOMPARE(doc->GetAxiom().Text(), std::string("X"));

        view->SelectRow(1);
        QVERIFY(CommandRouter::Query(view->CommandChain(), Cmd::DeleteEntry).enabled);
        doc->SetReplacement(1, "F");
        view->SelectRow(1);
        view->OnDeleteRule();
        QCOMPARE(doc->GetRules().size(), std::size_t(1));
        QCOMPARE(doc->GetRules()[0].replacement, std::string("F"));
        // A check row is no rule: nothing is deleted.
        view->SelectRow(view->RowCount() - 1);
        view->OnDeleteRule();
        QCOMPARE(doc->GetRules().size(), std::size_t(1));
    }

    // Enter commits, and the focus the box then loses stores nothing more.
    void enterCommitsOnce()
    {
        auto* doc = qobject_cast<CLsysDoc*>(TemplateOf(Res::DocType::Lsys)->OpenDocumentFile({}));
        CLsysView* view = ViewOf(doc);
        doc->AddRule();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        view->SelectRow(1);
        view->OnEditReplacement();
        QLineEdit* box = view->EditBox();
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QStringLiteral("WYZ"));
        QCOMPARE(box->selectedText(), QStringLiteral("WYZ"));
        const int steps = doc->UndoStack().count();
        QTest::keyClicks(box, "F-F");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!box->isVisible());
        QVERIFY(!view->IsEditing());
        QCOMPARE(doc->GetRules()[0].replacement, std::string("F-F"));
        QCOMPARE(doc->UndoStack().count(), steps + 1);
        view->List()->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(doc->UndoStack().count(), steps + 1);

        // The symbol: its first character, through the box losing the focus.
        view->SelectRow(1);
        view->OnEditSymbol();
        QCOMPARE(box->text(), QStringLiteral("X"));
        box->setText(QStringLiteral("Gx"));
        view->List()->setFocus();
        QTRY_VERIFY(!view->IsEditing());
        QCOMPARE(doc->GetRules()[0].symbol, 'G');
    }

    void files()
    {
        QTemporaryDir dir;
        // The empty start word is written as an empty line and read back.
        auto* doc = qobject_cast<CLsysDoc*>(TemplateOf(Res::DocType::Lsys)->OpenDocumentFile({}));
        doc->AddRule();
        const QString empty = dir.filePath(QStringLiteral("empty.lsys"));
        QVERIFY(doc->DoSave(empty));
        CloseAll();
        doc = qobject_cast<CLsysDoc*>(App().OpenDocumentFile(empty));
        QVERIFY(doc);
        QVERIFY(doc->GetAxiom().empty());
        QCOMPARE(doc->GetRules().size(), std::size_t(1));
        QCOMPARE(doc->GetRules()[0].replacement, std::string("WYZ"));
        CloseAll();

        // A rule section broken off after its second rule keeps two rules.
        const QString broken =
            WriteFile(dir, "broken.lsys", "[axioms]\nF\n[rules] 3\nF=F+G\nG=GG\nH");
        doc = qobject_cast<CLsysDoc*>(App().OpenDocumentFile(broken));
        QVERIFY(doc);
        QCOMPARE(doc->GetAxiom().Text(), std::string("F"));
        QCOMPARE(doc->GetRules().size(), std::size_t(2));
        QCOMPARE(doc->GetRules()[1].replacement, std::string("GG"));
        QVERIFY(!doc->IsModified());
    }

    void undoRedoAndTheSavePrompt()
    {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        Prompts* previous = &Prompts::Current();
        Prompts::SetCurrent(&prompts);
        auto* doc = qobject_cast<CLsysDoc*>(TemplateOf(Res::DocType::Lsys)->OpenDocumentFile({}));
        CLsysView* view = ViewOf(doc);
        QVERIFY(!doc->IsModified());
        doc->AddRule();
        QVERIFY(doc->IsModified());
        QCOMPARE(CommandRouter::Query(view->CommandChain(), Cmd::EditUndo).text.value_or(QString()),
                 QStringLiteral("&Undo Add rule"));
        QVERIFY(!CommandRouter::Query(view->CommandChain(), Cmd::EditRedo).enabled);
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::EditUndo));
        QVERIFY(doc->GetRules().empty());
        QVERIFY(!doc->IsModified());
        QCOMPARE(view->RowCount(), 4); // start word, separator, problem, summary
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::EditRedo));
        QCOMPARE(doc->GetRules().size(), std::size_t(1));
        QVERIFY(doc->IsModified());

        // Saved, then undone past the saved state: modified again.
        QVERIFY(doc->DoSave(dir.filePath(QStringLiteral("a.lsys"))));
        QVERIFY(!doc->IsModified());
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::EditUndo));
        QVERIFY(doc->IsModified());

        // Closing asks; Cancel keeps the window, Discard lets it go.
        prompts.saveChoices = {Prompts::SaveChoice::Cancel};
        QVERIFY(!App().SaveAllModified());
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(TemplateOf(Res::DocType::Lsys)->Documents().size(), 1);
        prompts.saveChoices = {Prompts::SaveChoice::Discard};
        QVERIFY(App().SaveAllModified());
        Prompts::SetCurrent(previous);
    }

    // Open-components on an L-system preset: an L-system and a directions
    // document holding copies.
    void componentsOfAnLsystemFractal()
    {
        int hilbert = -1;
        for (int i = 0; i < PresetCount(3); ++i) {
            if (QString::fromLatin1(PresetName(3, i)).contains(QLatin1String("hilbert")))
                hilbert = i;
        }
        QVERIFY(hilbert >= 0);
        auto* fractalDoc =
            qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile({}));
        QVERIFY(fractalDoc->SetPreset(3, hilbert));
        fractalDoc->OnOpenComponents();
        const auto lsysDocs = TemplateOf(Res::DocType::Lsys)->Documents();
        const auto dirsDocs = TemplateOf(Res::DocType::Directions)->Documents();
        QCOMPARE(lsysDocs.size(), 1);
        QCOMPARE(dirsDocs.size(), 1);
        auto* lsys = qobject_cast<CLsysDoc*>(lsysDocs.first());
        const LSystem original = *fractalDoc->Fractal()->GetLsystem();
        QVERIFY(lsys->GetLsystem() == original);
        QCOMPARE(qobject_cast<CDirectionsDoc*>(dirsDocs.first())->GetDirections(),
                 *fractalDoc->Fractal()->GetDirections());
        QVERIFY(!lsys->IsModified());
        lsys->SetReplacement(0, "F");
        QVERIFY(*fractalDoc->Fractal()->GetLsystem() == original);
        lsys->UndoStack().undo();
    }
};

KALEIDRA_APP_TEST_MAIN(LsysEditorTest)
#include "lsys_editor_test.moc"
