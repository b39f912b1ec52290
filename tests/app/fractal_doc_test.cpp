// The fractal document: files written and read back, missing and damaged
// files, refused saves that keep the old file, the day commands, presets, a
// cancelled close, and the components opening as copies.

#include "app_fixture.h"

#include "documents/ifs_doc.h"
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

// Whether the window shows something besides its background: the message
// in place of a picture.
bool GrabsText(CFractalView* view)
{
    const QImage shot = view->grab().toImage();
    const QRgb background = shot.pixel(0, 0);
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) != background) {
                return true;
            }
        }
    }
    return false;
}

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

        // A damaged file opens, unusable: never drawn, and the window, the
        // status bar and the disabled day commands say so; never saved over
        // (what was not read would be lost).
        const QByteArray cut = "[type] std\n[name] koch\n[ndays] 4\n[initiators] 3\n0,0\n";
        const QString path = WriteFile(dir, QStringLiteral("cut.frac"), cut);
        auto* document = qobject_cast<CFractalDoc*>(App().OpenDocumentFile(path));
        QVERIFY(document && document->Fractal() && !document->HasGoodFractal());
        QCOMPARE(Prompted().errors.size(), 1);
        QTest::qWait(50);
        CFractalView* view = FirstView(document);
        QCOMPARE(view->DrawingRequests(), 0);
        const QString why = QStringLiteral("the file ends before line 6");
        QVERIFY2(document->ProblemText().contains(why), qPrintable(document->ProblemText()));
        QCOMPARE(view->StatusText(), document->ProblemText());
        QCOMPARE(Frame().StatusText(), document->ProblemText());
        QVERIFY(GrabsText(view));
        for (int id : {Cmd::MoreGenerations, Cmd::FewerGenerations, Cmd::FractalInfo}) {
            QVERIFY(!CommandRouter::Query(view->CommandChain(), id).enabled);
        }
        QVERIFY(!Run(document, Cmd::MoreGenerations));
        QCOMPARE(document->Fractal()->m_days.load(), 4);
        QVERIFY(Frame().GenerationBox()->currentText().isEmpty());
        QVERIFY(!document->DoSave(path));
        QCOMPARE(ReadFile(path), cut);
        QCOMPARE(Prompted().errors.size(), 2);
        QVERIFY(Prompted().errors[1].contains(QStringLiteral("cut.frac")));
        QVERIFY(Prompted().errors[1].contains(QStringLiteral("from line 6")));

        // Read completely but not drawable (the user may be building it):
        // said as such, and saved as it is.
        const QByteArray bare = "[type] std\n[name] bare\n[ndays] 3\n[initiators] 0\n0,0\n"
                                "[generator] 2\n0,0,0.5\n0,0,0.5\n";
        const QString barePath = WriteFile(dir, QStringLiteral("bare.frac"), bare);
        auto* building = qobject_cast<CFractalDoc*>(App().OpenDocumentFile(barePath));
        QVERIFY(building && !building->HasGoodFractal());
        QVERIFY(building->ProblemText().contains(QStringLiteral("std fractal lacks")));
        QVERIFY(building->DoSave(dir.filePath(QStringLiteral("bare2.frac"))));
        QCOMPARE(ReadFile(dir.filePath(QStringLiteral("bare2.frac"))), bare);
        QCOMPARE(Prompted().errors.size(), 2);

        // No fractal (an unknown kind, or none yet): nothing to save.
        const QString spiral =
            WriteFile(dir, QStringLiteral("spiral.frac"), "[type] spiral\n[name] s\n[ndays] 2\n");
        auto* unknown = qobject_cast<CFractalDoc*>(App().OpenDocumentFile(spiral));
        QVERIFY(unknown && !unknown->Fractal());
        QVERIFY(unknown->ProblemText().contains(QStringLiteral("no fractal of a kind")));
        CFractalDoc* empty = NewDocument();
        QVERIFY(!empty->DoSave(path));
        QCOMPARE(ReadFile(path), cut);
        QCOMPARE(Prompted().errors.size(), 3);
        // A new window without a fractal says how to get one.
        QVERIFY2(empty->ProblemText().contains(QStringLiteral("Ctrl+L")),
                 qPrintable(empty->ProblemText()));
        QTest::qWait(50);
        QVERIFY(GrabsText(FirstView(empty)));
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

        // A count below 1 from a file: More generations goes to the first
        // generation, not to one that is still below it.
        QTemporaryDir dir;
        const QString path =
            WriteFile(dir, QStringLiteral("negative.frac"),
                      "[type] std\n[name] n\n[ndays] -3\n[initiators] 1\n0,0\n1,0\n"
                      "[generator] 2\n0,0,0.5\n0,0,0.5\n");
        auto* negative = qobject_cast<CFractalDoc*>(App().OpenDocumentFile(path));
        QVERIFY(negative && negative->HasGoodFractal());
        QVERIFY(Run(negative, Cmd::MoreGenerations));
        QCOMPARE(negative->Fractal()->m_days.load(), 1);
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

    void ComponentsOpenAsCopies()
    {
        CFractalDoc* document = NewDocument();
        QVERIFY(document->SetPreset(1, 0));
        QVERIFY(Run(document, Cmd::OpenComponents));
        DocTemplate* ifs = nullptr;
        for (DocTemplate* docTemplate : App().Templates()) {
            if (docTemplate->ResourceId() == Res::DocType::Ifs)
                ifs = docTemplate;
        }
        QVERIFY(ifs);
        QCOMPARE(ifs->Documents().size(), 1);
        auto* maps = qobject_cast<CIfsDoc*>(ifs->Documents().first());
        QVERIFY(maps->Maps() == *document->Fractal()->GetAffineMaps());
        // The copy is the document's own.
        maps->SetMapLive(0, AffineMap{2.0, 0.0, 0.0, 2.0, 0.0, 0.0});
        QVERIFY(!(maps->Maps() == *document->Fractal()->GetAffineMaps()));
    }
};

KALEIDRA_APP_TEST_MAIN(FractalDocTest)

#include "fractal_doc_test.moc"
