// The generator, initiator and affine-map documents: their files read and
// written back, the motif stack, undo and redo of every kind of edit, the
// modified flag with the save prompt, and their parts taken from fractals.

#include "app/app_fixture.h"

#include "documents/ifs_doc.h"
#include "documents/pattern_doc.h"
#include "engine/presets.h"
#include "framework/scripted_prompts.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

#include <QFile>

#include <cmath>

using namespace appfixture;

namespace {

ScriptedPrompts& Prompted()
{
    return dynamic_cast<ScriptedPrompts&>(Prompts::Current());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size()
               ? file.fileName()
               : QString();
}

DocTemplate* TemplateOf(int type)
{
    for (DocTemplate* docTemplate : App().Templates()) {
        if (docTemplate->ResourceId() == type)
            return docTemplate;
    }
    return nullptr;
}

template <class Doc> Doc* New(int type)
{
    return qobject_cast<Doc*>(TemplateOf(type)->OpenDocumentFile(QString()));
}

template <class Doc> Doc* Open(int type, const QString& path)
{
    return qobject_cast<Doc*>(TemplateOf(type)->OpenDocumentFile(path));
}

PatternStep Step(int flags, double angle, double ratio)
{
    PatternStep step;
    step.flags = flags;
    step.angle = angle;
    step.ratio = ratio;
    return step;
}

bool Run(Document* document, int id)
{
    return CommandRouter::Execute(document->Views().first()->CommandChain(), id);
}

bool Enabled(Document* document, int id)
{
    return CommandRouter::Query(document->Views().first()->CommandChain(), id).enabled;
}

} // namespace

class ComponentDocsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        Prompted().saveChoices.clear();
        Prompted().questions.clear();
        for (Document* document : App().Documents())
            document->SetModifiedFlag(false);
        CloseAll();
    }

    void templatesRegisterInTheirOrder()
    {
        QVector<int> ids;
        for (DocTemplate* docTemplate : App().Templates())
            ids.append(docTemplate->ResourceId());
        QVERIFY(ids.size() >= 4);
        QCOMPARE(ids.mid(0, 4), (QVector<int>{130, 131, 132, 133}));
    }

    void generatorFilesRoundTrip()
    {
        QTemporaryDir dir;
        auto* doc = New<CGeneratorDoc>(Res::DocType::Generator);
        QVERIFY(doc);
        doc->AppendStep(Step(0, 0.5, 0.25));
        doc->AppendStep(Step(StepInvisible | StepFinal, -1.0, 2.0));
        const QString path = dir.filePath("my.gen");
        QVERIFY(doc->DoSave(path));
        QCOMPARE(ReadFile(path), QByteArray("[generator] 2\n0,0.5,0.25\n6,-1,2\n"));
        const Pattern saved = doc->GetPattern();
        CloseAll();

        auto* again = Open<CGeneratorDoc>(Res::DocType::Generator, path);
        QVERIFY(again);
        QCOMPARE(again->GetPattern(), saved);
        QVERIFY(!again->IsModified());

        // A damaged section keeps the steps read before the damage.
        const QString damaged = WriteFile(dir, "bad.gen", "[generator] 3\n0,1,1\n0,x,1\n");
        auto* partial = Open<CGeneratorDoc>(Res::DocType::Generator, damaged);
        QVERIFY(partial);
        QCOMPARE(partial->GetPattern().size(), std::size_t{1});
        // A file that cannot be read opens nothing.
        QVERIFY(!Open<CGeneratorDoc>(Res::DocType::Generator, dir.filePath("none.gen")));
        Prompted().errors.clear();
    }

    void initiatorReadsAsUnitStepsAndSavesFromTheOrigin()
    {
        QTemporaryDir dir;
        const QString path =
            WriteFile(dir, "square.init", "[initiators] 4\n2,2\n4,2\n4,4\n2,4\n2,2\n");
        auto* doc = Open<CInitiatorDoc>(Res::DocType::Initiator, path);
        QVERIFY(doc);
        const Pattern& pattern = doc->GetPattern();
        QCOMPARE(pattern.size(), std::size_t{4});
        const double angles[] = {0.0, pi / 2, pi, -pi / 2};
        for (std::size_t i = 0; i < 4; ++i) {
            QVERIFY(std::abs(pattern[i].angle - angles[i]) < 1e-12);
            QCOMPARE(pattern[i].ratio, 1.0);
        }
        const QString out = dir.filePath("out.init");
        QVERIFY(doc->DoSave(out));
        const QList<QByteArray> lines = ReadFile(out).split('\n');
        QCOMPARE(lines.mid(0, 5),
                 (QList<QByteArray>{"[initiators] 4", "0,0", "1,0", "1,1", "0,1"}));
        // The way back ends where it started, up to rounding.
        const QList<QByteArray> last = lines[5].split(',');
        QCOMPARE(last.size(), 2);
        QVERIFY(std::abs(last[0].toDouble()) < 1e-12 && std::abs(last[1].toDouble()) < 1e-12);
    }

    void ifsFilesRoundTrip()
    {
        QTemporaryDir dir;
        auto* doc = New<CIfsDoc>(Res::DocType::Ifs);
        QVERIFY(doc);
        const QString fresh = dir.filePath("new.maps");
        QVERIFY(doc->DoSave(fresh));
        QCOMPARE(ReadFile(fresh), QByteArray("[affine] 1\n( 1,0,0,1 ) ( 0.25,0.25 )\n"));

        doc->AddMap();
        doc->SetMapLive(1, AffineMap{0.5, -0.25, 0.25, 0.5, 1, -2});
        doc->CommitMapChange(1, kIdentityMap);
        const QString path = dir.filePath("my.maps");
        QVERIFY(doc->DoSave(path));
        const AffineMapSet saved = doc->Maps();
        CloseAll();
        auto* again = Open<CIfsDoc>(Res::DocType::Ifs, path);
        QVERIFY(again);
        QCOMPARE(again->Maps(), saved);

        auto* empty =
            Open<CIfsDoc>(Res::DocType::Ifs, WriteFile(dir, "empty.maps", "[affine] 0\n"));
        QVERIFY(empty);
        QVERIFY(empty->Maps().empty());
    }

    void motifStack()
    {
        auto* doc = New<CGeneratorDoc>(Res::DocType::Generator);
        QVERIFY(!Enabled(doc, Cmd::SaveMotif));
        QVERIFY(!Enabled(doc, Cmd::InsertMotif));
        QVERIFY(!Enabled(doc, Cmd::DeleteLastStep));
        // A three-step motif inserted on the second step of a carrier.
        doc->AppendStep(Step(0, 0.0, 1.0 / 3));
        doc->AppendStep(Step(0, pi / 3, 1.0 / 3));
        doc->AppendStep(Step(StepFinal, 0.0, 1.0 / 3));
        const Pattern motif = doc->GetPattern();
        QVERIFY(Run(doc, Cmd::SaveMotif));
        QVERIFY(doc->GetPattern().empty());
        QCOMPARE(doc->Stack().size(), std::size_t{1});
        doc->AppendStep(Step(0, 0.0, 1.0));
        doc->AppendStep(Step(0, pi / 2, 2.0));
        QVERIFY(Run(doc, Cmd::InsertMotif));
        const Pattern& nested = doc->GetPattern();
        QCOMPARE(nested.size(), std::size_t{4});
        QCOMPARE(nested[0], Step(0, 0.0, 1.0));
        for (std::size_t i = 0; i < 3; ++i) {
            QVERIFY(std::abs(nested[i + 1].angle - (motif[i].angle + pi / 2)) < 1e-12);
            QVERIFY(std::abs(nested[i + 1].ratio - motif[i].ratio * 2.0) < 1e-12);
            QCOMPARE(nested[i + 1].flags, motif[i].flags);
        }
        QVERIFY(doc->Stack().empty());

        // Into an empty motif the saved one goes unchanged.
        QVERIFY(Run(doc, Cmd::SaveMotif));
        QVERIFY(Run(doc, Cmd::InsertMotif));
        QCOMPARE(doc->GetPattern().size(), std::size_t{4});
        QVERIFY(doc->Stack().empty());

        while (!doc->GetPattern().empty())
            QVERIFY(Run(doc, Cmd::DeleteLastStep));
        QVERIFY(!Enabled(doc, Cmd::DeleteLastStep));
    }

    void everyEditUndoesAndRedoes()
    {
        auto* doc = New<CGeneratorDoc>(Res::DocType::Generator);
        doc->AppendStep(Step(0, 0.0, 1.0));
        doc->AppendPolygon(3, true);
        QCOMPARE(doc->GetPattern().size(), std::size_t{3});
        doc->DeleteAllSteps();
        QVERIFY(Run(doc, Cmd::EditUndo));
        QCOMPARE(doc->GetPattern().size(), std::size_t{3});
        QVERIFY(Run(doc, Cmd::EditUndo));
        QCOMPARE(doc->GetPattern().size(), std::size_t{1});
        QVERIFY(Run(doc, Cmd::EditRedo));
        QCOMPARE(doc->GetPattern().size(), std::size_t{3});
        // Save motif and its undo bring back both the motif and the stack.
        QVERIFY(Run(doc, Cmd::SaveMotif));
        QVERIFY(Run(doc, Cmd::EditUndo));
        QCOMPARE(doc->GetPattern().size(), std::size_t{3});
        QVERIFY(doc->Stack().empty());
        // The menu names the edit.
        const CommandState undo =
            CommandRouter::Query(doc->Views().first()->CommandChain(), Cmd::EditUndo);
        QVERIFY(undo.text.has_value());
        QVERIFY(undo.text->contains(QStringLiteral("Add polygon")));

        auto* maps = New<CIfsDoc>(Res::DocType::Ifs);
        maps->AddMap();
        QVERIFY(!maps->DeleteMap(5));
        QVERIFY(maps->DeleteMap(0));
        QCOMPARE(maps->Maps().size(), std::size_t{1});
        QVERIFY(!maps->DeleteMap(0)); // never the last one
        // A drag changes the map live and is one edit when it ends.
        maps->SetMapLive(0, AffineMap{0.5, 0, 0, 0.5, 0, 0});
        maps->SetMapLive(0, AffineMap{0.25, 0, 0, 0.25, 0, 0});
        maps->CommitMapChange(0, kIdentityMap);
        QVERIFY(Run(maps, Cmd::EditUndo));
        QCOMPARE(maps->Maps()[0], kIdentityMap);
        QVERIFY(Run(maps, Cmd::EditUndo));
        QCOMPARE(maps->Maps().size(), std::size_t{2});
        QVERIFY(Run(maps, Cmd::EditUndo));
        QCOMPARE(maps->Maps(), AffineMapSet(1, &CIfsDoc::kNewMap));
        QVERIFY(!Enabled(maps, Cmd::EditUndo));
    }

    void editsMarkModifiedAndClosingAsks()
    {
        QTemporaryDir dir;
        auto* doc = New<CInitiatorDoc>(Res::DocType::Initiator);
        QVERIFY(!doc->IsModified());
        doc->AppendStep(Step(0, 0.0, 1.0));
        QVERIFY(doc->IsModified());
        QVERIFY(Run(doc, Cmd::EditUndo));
        QVERIFY(!doc->IsModified());
        QVERIFY(Run(doc, Cmd::EditRedo));
        QVERIFY(doc->IsModified());
        QVERIFY(doc->DoSave(dir.filePath("t.init")));
        QVERIFY(!doc->IsModified());
        doc->AppendStep(Step(0, pi / 2, 1.0));
        QVERIFY(doc->IsModified());
        QVERIFY(Run(doc, Cmd::EditUndo));
        QVERIFY(!doc->IsModified()); // back to what the file holds

        // Closing a modified document asks; Cancel keeps it open.
        doc->AppendStep(Step(0, pi / 2, 1.0));
        Prompted().saveChoices = {Prompts::SaveChoice::Cancel};
        QVERIFY(!doc->CanCloseFrame(doc->Frames().first()));
        QCOMPARE(Prompted().questions.size(), 1);
        Prompted().saveChoices = {Prompts::SaveChoice::Save};
        QVERIFY(doc->CanCloseFrame(doc->Frames().first()));
        QCOMPARE(ReadFile(dir.filePath("t.init")), QByteArray("[initiators] 2\n0,0\n1,0\n1,1\n"));
    }

    void openComponentsOfPresets()
    {
        // Standard: a generator and an initiator; IFS: maps; MCRM: its
        // polygon as a generator, and maps.
        const struct
        {
            int kind;
            QVector<int> types;
        } cases[] = {{0, {131, 132}}, {1, {133}}, {2, {131, 133}}};
        for (const auto& c : cases) {
            auto* fractal =
                qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
            QVERIFY(fractal->SetPreset(c.kind, 0));
            QVERIFY(Run(fractal, Cmd::OpenComponents));
            for (int type : c.types) {
                DocTemplate* docTemplate = TemplateOf(type);
                QCOMPARE(docTemplate->Documents().size(), 1);
                Document* document = docTemplate->Documents().first();
                QVERIFY(!document->IsModified());
                if (auto* maps = qobject_cast<CIfsDoc*>(document))
                    QCOMPARE(maps->Maps(), *fractal->Fractal()->GetAffineMaps());
                else if (type == 131)
                    QCOMPARE(qobject_cast<CPatternDoc*>(document)->GetPattern(),
                             *fractal->Fractal()->GetGenerator());
                else
                    QCOMPARE(qobject_cast<CPatternDoc*>(document)->GetPattern(),
                             Pattern(*fractal->Fractal()->GetInitiators()));
            }
            CloseAll();
        }
    }
};

KALEIDRA_APP_TEST_MAIN(ComponentDocsTest)
#include "component_docs_test.moc"
