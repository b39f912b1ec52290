// The fractal document: files read and written back, damaged and missing
// files, refused and failed saves that keep the old file, the day commands
// and the generation box, presets, closing a window while it draws, and
// opening the components once their document types exist.

#include "app_fixture.h"

#include "app/preset_dialog.h"
#include "engine/affine_map_set.h"
#include "engine/presets.h"
#include "framework/command_ids.h"
#include "framework/resource_ids.h"
#include "framework/scripted_prompts.h"
#include "framework/view.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using namespace appfixture;

namespace {

const char* const kKindKeywords[] = {"std", "ifs", "mcrm", "lsys", "automaton"};

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
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return path;
}

CFractalDoc* NewDocument()
{
    return qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
}

CFractalDoc* Open(const QString& path)
{
    return qobject_cast<CFractalDoc*>(App().OpenDocumentFile(path));
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
    int copies = 0;

    bool CopyComponentFrom(CFractal& fractal) override
    {
        if (fractal.GetAffineMaps() == nullptr)
            return false;
        maps = *fractal.GetAffineMaps();
        ++copies;
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
        QTemporaryDir dir;
        for (int kind = 0; kind < kKindCount; ++kind) {
            CFractalDoc* document = NewDocument();
            QVERIFY(document->SetPreset(kind, 1));
            document->m_fractal->m_days = 3;
            const QString path = dir.filePath(QStringLiteral("kind%1.frac").arg(kind));
            QVERIFY(document->DoSave(path));
            QCOMPARE(document->PathName(), path);
            QVERIFY(!document->IsModified());
            const QByteArray saved = ReadFile(path);
            QVERIFY(saved.startsWith(QByteArray("[type] ") + kKindKeywords[kind] + "\n[name] " +
                                     PresetName(kind, 1) + "\n[ndays] 3\n"));
            CloseAll();

            CFractalDoc* reread = Open(path);
            QVERIFY(reread);
            QVERIFY(reread->HasGoodFractal());
            QCOMPARE(reread->m_fractal->m_name, std::string(PresetName(kind, 1)));
            QCOMPARE(reread->m_fractal->m_days.load(), 3);
            const QString again = dir.filePath(QStringLiteral("again%1.frac").arg(kind));
            QVERIFY(reread->DoSave(again));
            QCOMPARE(ReadFile(again), saved);
            CloseAll();
        }
        QVERIFY(Prompted().errors.isEmpty());
    }

    void AnAliasKeywordOpensAsItsKindAndIsSavedCanonically()
    {
        QTemporaryDir dir;
        const QString path = WriteFile(
            dir, QStringLiteral("classical.frac"),
            "[type] classical\r\n[name] koch\r\n[ndays] 2\r\n[initiators] 1\r\n0,0\r\n1,0\r\n"
            "[generator] 4\r\n0,0,0.333333\r\n0,-1.0472,0.333333\r\n0,1.0472,0.333333\r\n"
            "0,0,0.333333\r\n");
        CFractalDoc* document = Open(path);
        QVERIFY(document && document->HasGoodFractal());
        QCOMPARE(document->m_fractal->m_name, std::string("koch"));
        QVERIFY(document->DoSave(path));
        const QByteArray saved = ReadFile(path);
        QVERIFY(saved.startsWith("[type] std\n[name] koch\n[ndays] 2\n"));
        QVERIFY(!saved.contains('\r'));
    }

    void AFileThatCannotBeReadIsReportedWithItsPathAndReason()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("missing.frac"));
        const int before = App().FractalTemplate()->Documents().size();
        QVERIFY(!Open(missing));
        QCOMPARE(App().FractalTemplate()->Documents().size(), before);
        QCOMPARE(Prompted().errors.size(), 1);
        QVERIFY(Prompted().errors.first().contains(QStringLiteral("missing.frac")));
        QVERIFY(Prompted().errors.first().contains(QStringLiteral("No such file")));
    }

    void ADamagedFileOpensUnusableAndIsNeverDrawnNorSavedOver()
    {
        QTemporaryDir dir;
        const QByteArray cut = "[type] std\n[name] koch\n[ndays] 4\n[initiators] 3\n0,0\n";
        const QString path = WriteFile(dir, QStringLiteral("cut.frac"), cut);
        CFractalDoc* document = Open(path);
        QVERIFY(document);
        QVERIFY(document->m_fractal);
        QVERIFY(document->m_fractal->m_bad);
        QVERIFY(!document->HasGoodFractal());
        QVERIFY(Prompted().errors.isEmpty());
        CFractalView* view = FirstView(document);
        QTest::qWait(50);
        QCOMPARE(view->DrawingRequests(), 0);
        const QImage shown = view->grab().toImage();
        QCOMPARE(shown.pixel(shown.width() / 2, shown.height() / 2),
                 QColor(RedOf(view->m_settings.Background()),
                        GreenOf(view->m_settings.Background()),
                        BlueOf(view->m_settings.Background()))
                     .rgb());

        // Neither the day commands nor saving touch it; the file stays whole.
        QVERIFY(Run(document, Cmd::MoreGenerations));
        QCOMPARE(document->m_fractal->m_days.load(), 4);
        QVERIFY(!document->DoSave(path));
        QCOMPARE(ReadFile(path), cut);
        QCOMPARE(Prompted().errors.size(), 1);
        QVERIFY(Prompted().errors.first().contains(QStringLiteral("cut.frac")));
        CloseAll();

        // An unknown kind opens with no fractal at all.
        const QString spiral =
            WriteFile(dir, QStringLiteral("spiral.frac"), "[type] spiral\n[name] s\n[ndays] 2\n");
        CFractalDoc* unknown = Open(spiral);
        QVERIFY(unknown);
        QVERIFY(!unknown->m_fractal);
    }

    void FailedSavesKeepThePreviousFile()
    {
        QTemporaryDir dir;
        const QString path = WriteFile(dir, QStringLiteral("old.frac"), "previous content\n");

        // Nothing to save: refused with a reason.
        CFractalDoc* empty = NewDocument();
        QVERIFY(!empty->DoSave(path));
        QCOMPARE(ReadFile(path), QByteArray("previous content\n"));
        QCOMPARE(Prompted().errors.size(), 1);
        QVERIFY(Prompted().errors.last().contains(QStringLiteral("old.frac")));
        QVERIFY(Prompted().errors.last().size() > QStringLiteral("old.frac").size() + 20);

        // A file in a folder nobody may write to (not a test for root).
        CFractalDoc* document = NewDocument();
        QVERIFY(document->SetPreset(0, 0));
        QVERIFY(!document->DoSave(dir.path()));
        QCOMPARE(Prompted().errors.size(), 2);
        if (geteuid() != 0) {
            QVERIFY(
                QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            QVERIFY(!document->DoSave(path));
            QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner |
                                                          QFileDevice::WriteOwner |
                                                          QFileDevice::ExeOwner));
            QCOMPARE(ReadFile(path), QByteArray("previous content\n"));
            QCOMPARE(Prompted().errors.size(), 3);
        }
        QVERIFY(document->PathName().isEmpty());
    }

    void DayCommandsNeverGoBelowOneAndLeaveTheFileUnmodified()
    {
        CFractalDoc* document = NewDocument();
        QVERIFY(document->SetPreset(0, 0));
        document->m_fractal->m_days = 1;
        CFractalView* view = FirstView(document);
        int requests = view->DrawingRequests();
        QVERIFY(Run(document, Cmd::FewerGenerations));
        QCOMPARE(document->m_fractal->m_days.load(), 1);
        QCOMPARE(view->DrawingRequests(), ++requests);
        QVERIFY(Run(document, Cmd::MoreGenerations));
        QVERIFY(Run(document, Cmd::MoreGenerations));
        QCOMPARE(document->m_fractal->m_days.load(), 3);
        QVERIFY(Run(document, Cmd::FewerGenerations));
        QCOMPARE(document->m_fractal->m_days.load(), 2);
        QVERIFY(!document->IsModified());

        // The generation box: a number becomes the day count; anything else,
        // or no selection, leaves it.
        QComboBox box;
        box.addItems({QStringLiteral("7"), QStringLiteral("x"), QStringLiteral("0")});
        box.setCurrentIndex(1);
        document->OnGenerationSelected(box);
        QCOMPARE(document->m_fractal->m_days.load(), 2);
        box.setCurrentIndex(2);
        document->OnGenerationSelected(box);
        QCOMPARE(document->m_fractal->m_days.load(), 2);
        box.setCurrentIndex(-1);
        document->OnGenerationSelected(box);
        QCOMPARE(document->m_fractal->m_days.load(), 2);
        box.setCurrentIndex(0);
        document->OnGenerationSelected(box);
        QCOMPARE(document->m_fractal->m_days.load(), 7);
        QVERIFY(!document->IsModified());
    }

    void PresetsReplaceTheFractalOnlyWhenTheyExist()
    {
        CFractalDoc* document = NewDocument();
        QVERIFY(!document->SetPreset(0, -1));
        QVERIFY(!document->SetPreset(0, PresetCount(0)));
        QVERIFY(!document->SetPreset(kKindCount, 0));
        QVERIFY(!document->m_fractal);
        QVERIFY(document->SetPreset(4, PresetCount(4) - 1));
        QCOMPARE(document->m_fractal->m_name, std::string(PresetName(4, PresetCount(4) - 1)));
        CFractal* kept = document->m_fractal.get();
        QVERIFY(!document->SetPreset(1, PresetCount(1)));
        QCOMPARE(document->m_fractal.get(), kept);

        // The chooser: cancelled changes nothing; a confirmed entry is taken.
        auto* poll = new QTimer(this);
        bool confirm = false;
        connect(poll, &QTimer::timeout, this, [&confirm] {
            auto* chooser = qobject_cast<CPresetDialog*>(QApplication::activeModalWidget());
            if (!chooser || !chooser->isVisible())
                return;
            if (confirm)
                emit chooser->List(1)->Confirmed(2);
            else
                chooser->reject();
        });
        poll->start(10);
        QVERIFY(Run(document, Cmd::ChoosePreset));
        QCOMPARE(document->m_fractal.get(), kept);
        confirm = true;
        QVERIFY(Run(document, Cmd::ChoosePreset));
        delete poll;
        QCOMPARE(document->m_fractal->m_name, std::string(PresetName(1, 2)));
        QCOMPARE(document->m_fractal->m_type, std::string("ifs"));
    }

    void ACancelledCloseLeavesTheWindowDrawing()
    {
        CFractalDoc* document = NewDocument();
        QVERIFY(document->SetPreset(0, 0));
        document->m_fractal->m_days = 13;
        CFractalView* view = FirstView(document);
        view->RequestDrawing();
        QTRY_VERIFY(view->IsDrawing());
        document->SetModifiedFlag(true);
        Prompted().saveChoices = {Prompts::SaveChoice::Cancel};
        QVERIFY(!document->Frames().first()->close());
        QVERIFY(view->HasDrawingThread());
        QVERIFY(view->IsDrawing());

        // With two windows, closing one ends only that one's drawing.
        QVERIFY(CommandRouter::Execute(Frame().CommandChain(), Cmd::WindowNew));
        auto* second = qobject_cast<CFractalView*>(document->Views().last());
        QVERIFY(second != view);
        QTRY_VERIFY(second->IsDrawing());
        QVERIFY(document->Frames().last()->close());
        QVERIFY(!second->HasDrawingThread());
        QVERIFY(view->HasDrawingThread());
        QVERIFY(view->StopDrawing());
        document->SetModifiedFlag(false);
    }

    void ComponentsOpenOnceTheirDocumentTypesExist()
    {
        CFractalDoc* document = NewDocument();
        QVERIFY(document->SetPreset(1, 0));
        QVERIFY(!CommandRouter::Query(FirstView(document)->CommandChain(), Cmd::OpenComponents)
                     .enabled);

        App().AddDocTemplate(DocTemplate::Make<MapsDocument, View>(Res::DocType::Ifs));
        QVERIFY(document->CanOpenComponents());
        QVERIFY(Run(document, Cmd::OpenComponents));
        DocTemplate* maps = App().Templates().last();
        QCOMPARE(maps->Documents().size(), 1);
        auto* opened = dynamic_cast<MapsDocument*>(maps->Documents().first());
        QVERIFY(opened);
        QCOMPARE(opened->copies, 1);
        QVERIFY(opened->maps == *document->m_fractal->GetAffineMaps());
        opened->maps[0].a += 1.0;
        QVERIFY(!(opened->maps == *document->m_fractal->GetAffineMaps()));

        // A standard fractal has no component with a document type yet.
        CFractalDoc* standard = NewDocument();
        QVERIFY(standard->SetPreset(0, 0));
        QVERIFY(!standard->CanOpenComponents());
    }
};

KALEIDRA_APP_TEST_MAIN(FractalDocTest)

#include "fractal_doc_test.moc"
