// The fractal document: files written and read back, missing and damaged
// files, refused saves that keep the old file, the day commands, presets, a
// cancelled close, and the components opening once their types exist.

#include "app_fixture.h"

#include "engine/affine_map_set.h"
#include "engine/presets.h"
#include "framework/scripted_prompts.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

#include <QComboBox>
#include <QFile>

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

CFractalDoc* NewDocument()
{
    return qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
}

bool Run(Document* document, int id)
{
    return CommandRouter::Execute(FirstView(document)->CommandChain(), id);
}

// An IFS document type of the test's own, standing in for the real one.
class MapsDocument : public Document, public FractalComponentTarget
{
public:
    AffineMapSet maps;

    bool CopyComponentFrom(CFractal& fractal) override
    {
        if (fractal.GetAffineMaps() == nullptr)
            return false;
        maps = *fractal.GetAffineMaps();
        return true;
    }
};

} // namespace

class FractalDocTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { Prompted().errors.clear(); }
    void cleanup() { CloseAll(); }

    void EachKindIsWrittenAndReadBackUnchanged()
    {
        const char* const keywords[] = {"std", "ifs", "mcrm", "lsys", "automaton"};
        QTemporaryDir dir;
        for (int kind = 0; kind < kKindCount; ++kind) {
            CFractalDoc* document = NewDocument();
            QVERIFY(document->SetPreset(kind, 1));
            document->Fractal()->m_days = 3;
            const QString path = dir.filePath(QStringLiteral("%1.frac").arg(kind));
            QVERIFY(document->DoSave(path));
            const QByteArray saved = ReadFile(path);
            QVERIFY(saved.startsWith(QByteArray("[type] ") + keywords[kind] + "\n[name] " +
                                     PresetName(kind, 1) + "\n[ndays] 3\n"));
            CloseAll();

            auto* reread = qobject_cast<CFractalDoc*>(App().OpenDocumentFile(path));
            QVERIFY(reread && reread->HasGoodFractal());
            QCOMPARE(reread->Fractal()->m_days.load(), 3);
            QVERIFY(reread->DoSave(path + "2"));
            QCOMPARE(ReadFile(path + "2"), saved);
            CloseAll();
        }
        QVERIFY(Prompted().errors.isEmpty());
    }

    void MissingAndDamagedFilesLoseNothing()
    {
        QTemporaryDir dir;
        QVERIFY(!App().OpenDocumentFile(dir.filePath(QStringLiteral("missing.frac"))));
        QCOMPARE(Prompted().errors.size(), 1);
        QVERIFY(Prompted().errors[0].contains(QStringLiteral("missing.frac")));
        QVERIFY(Prompted().errors[0].contains(QStringLiteral("No such file")));

        // A damaged file opens, unusable: never drawn, its days never
        // changed, and never saved over (what was not read would be lost).
        const QByteArray cut = "[type] std\n[name] koch\n[ndays] 4\n[initiators] 3\n0,0\n";
        const QString path = WriteFile(dir, QStringLiteral("cut.frac"), cut);
        auto* document = qobject_cast<CFractalDoc*>(App().OpenDocumentFile(path));
        QVERIFY(document && document->Fractal() && !document->HasGoodFractal());
        QCOMPARE(Prompted().errors.size(), 1);
        QTest::qWait(50);
        QCOMPARE(FirstView(document)->DrawingRequests(), 0);
        QVERIFY(Run(document, Cmd::MoreGenerations));
        QCOMPARE(document->Fractal()->m_days.load(), 4);
        QVERIFY(!document->DoSave(path));
        QCOMPARE(ReadFile(path), cut);
        QCOMPARE(Prompted().errors.size(), 2);
        QVERIFY(Prompted().errors[1].contains(QStringLiteral("cut.frac")));

        // No fractal (an unknown kind, or none yet): nothing to save.
        const QString spiral =
            WriteFile(dir, QStringLiteral("spiral.frac"), "[type] spiral\n[name] s\n[ndays] 2\n");
        auto* unknown = qobject_cast<CFractalDoc*>(App().OpenDocumentFile(spiral));
        QVERIFY(unknown && !unknown->Fractal());
        QVERIFY(!NewDocument()->DoSave(path));
        QCOMPARE(ReadFile(path), cut);
        QCOMPARE(Prompted().errors.size(), 3);
    }

    void DayCommandsAndPresets()
    {
        CFractalDoc* document = NewDocument();
        QVERIFY(!document->SetPreset(0, -1));
        QVERIFY(!document->SetPreset(0, PresetCount(0)));
        QVERIFY(!document->SetPreset(kKindCount, 0));
        QVERIFY(!document->Fractal());
        QVERIFY(document->SetPreset(4, PresetCount(4) - 1));
        document->Fractal()->m_days = 1;
        CFractalView* view = FirstView(document);
        const int requests = view->DrawingRequests();
        QVERIFY(Run(document, Cmd::FewerGenerations));
        QCOMPARE(document->Fractal()->m_days.load(), 1);
        QCOMPARE(view->DrawingRequests(), requests + 1);
        QVERIFY(Run(document, Cmd::MoreGenerations));
        QCOMPARE(document->Fractal()->m_days.load(), 2);
        QVERIFY(!document->IsModified());
    }

    void ACancelledCloseLeavesTheWindowDrawing()
    {
        CFractalDoc* document = NewDocument();
        QVERIFY(document->SetPreset(0, 0));
        document->Fractal()->m_days = 13;
        document->UpdateAllViews(nullptr, 0);
        CFractalView* view = FirstView(document);
        QTRY_VERIFY(view->IsDrawing());
        document->SetModifiedFlag(true);
        Prompted().saveChoices = {Prompts::SaveChoice::Cancel};
        QVERIFY(!view->Frame()->close());
        QVERIFY(view->HasDrawingThread() && view->IsDrawing());

        // Of two windows, closing one ends only that one's drawing.
        QVERIFY(CommandRouter::Execute(Frame().CommandChain(), Cmd::WindowNew));
        auto* second = qobject_cast<CFractalView*>(document->Views().last());
        QVERIFY(second->Frame()->close());
        QVERIFY(!second->HasDrawingThread());
        QVERIFY(view->HasDrawingThread());
        document->SetModifiedFlag(false);
    }

    void ComponentsOpenOnceTheirDocumentTypesExist()
    {
        CFractalDoc* document = NewDocument();
        QVERIFY(document->SetPreset(1, 0));
        QVERIFY(!CommandRouter::Query(FirstView(document)->CommandChain(), Cmd::OpenComponents)
                     .enabled);

        App().AddDocTemplate(DocTemplate::Make<MapsDocument, View>(Res::DocType::Ifs));
        QVERIFY(Run(document, Cmd::OpenComponents));
        const QVector<Document*> opened = App().Templates().last()->Documents();
        QCOMPARE(opened.size(), 1);
        auto* maps = dynamic_cast<MapsDocument*>(opened.first());
        QVERIFY(maps->maps == *document->Fractal()->GetAffineMaps());
        maps->maps[0].a += 1.0;
        QVERIFY(!(maps->maps == *document->Fractal()->GetAffineMaps()));

        // A standard fractal has no component with a document type yet.
        CFractalDoc* standard = NewDocument();
        QVERIFY(standard->SetPreset(0, 0));
        QVERIFY(!standard->CanOpenComponents());
    }
};

KALEIDRA_APP_TEST_MAIN(FractalDocTest)

#include "fractal_doc_test.moc"
