// The application's commands: random presets (distinct, in kind order,
// tiled side by side), a new fractal from the chooser, repainting every
// view and the colour dialog for custom colours.

#include "app_fixture.h"

#include "app/random_presets.h"
#include "engine/presets.h"
#include "ids/command_ids.h"
#include "views/preset_dialog.h"

#include <QColorDialog>
#include <QSet>
#include <QSignalSpy>

using namespace appfixture;

namespace {

const char* const kKindKeywords[] = {"std", "ifs", "mcrm", "lsys", "automaton"};

QString NameOf(const CFractalDoc* document)
{
    return document && document->Fractal() ? QString::fromStdString(document->Fractal()->m_name)
                                           : QString();
}

QStringList PresetNames(int kind)
{
    QStringList names;
    for (int i = 0; i < PresetCount(kind); ++i)
        names.append(QString::fromUtf8(PresetName(kind, i)));
    return names;
}

// The windows of `documents` fill the area side by side, full height, in
// document order.
void VerifyTiledSideBySide(const QVector<CFractalDoc*>& documents)
{
    const QRect area = Frame().MdiArea()->viewport()->rect();
    int left = 0;
    for (CFractalDoc* document : documents) {
        const QRect frame = document->Frames().first()->geometry();
        QCOMPARE(frame.left(), left);
        QCOMPARE(frame.top(), 0);
        QCOMPARE(frame.height(), area.height());
        left = frame.right() + 1;
    }
    QCOMPARE(left, area.width());
}

} // namespace

class AppCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CloseAll(); }

    void RandomDrawsAreInKindOrderAndNeverRepeat()
    {
        // One of each: the numbers are drawn in kind order, each modulo
        // its kind's count.
        unsigned next = 100;
        const QVector<PresetChoice> each =
            DrawRandomPresets(Cmd::RandomOneOfEach, [&next] { return next++; });
        QCOMPARE(each,
                 (QVector<PresetChoice>{
                     {0, 100 % 13}, {1, 101 % 10}, {2, 102 % 10}, {3, 103 % 12}, {4, 104 % 19}}));
        // A generator that always answers the same still gives four
        // different presets of the kind: the bag never gives a value twice.
        for (int command : {Cmd::RandomStandard, Cmd::RandomIfs, Cmd::RandomMcrm, Cmd::RandomLsys,
                            Cmd::RandomAutomaton}) {
            for (unsigned answer : {0u, 5u, 12u, 4000000000u}) {
                const QVector<PresetChoice> four =
                    DrawRandomPresets(command, [answer] { return answer; });
                QCOMPARE(four.size(), 4);
                QSet<int> indices;
                for (const PresetChoice& choice : four) {
                    QCOMPARE(choice.kind, RandomCommandKind(command));
                    QVERIFY(choice.index >= 0 && choice.index < PresetCount(choice.kind));
                    indices.insert(choice.index);
                }
                QCOMPARE(indices.size(), 4);
            }
        }
    }

    void FourOfAKindOpensFourDifferentPresetsTiled_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("kind");
        QTest::newRow("standard") << Cmd::RandomStandard << 0;
        QTest::newRow("IFS") << Cmd::RandomIfs << 1;
        QTest::newRow("MCRM") << Cmd::RandomMcrm << 2;
        QTest::newRow("L-system") << Cmd::RandomLsys << 3;
        QTest::newRow("automaton") << Cmd::RandomAutomaton << 4;
    }
    void FourOfAKindOpensFourDifferentPresetsTiled()
    {
        QFETCH(int, command);
        QFETCH(int, kind);
        // An earlier window is tiled with the new ones.
        QVERIFY(App().FractalTemplate()->OpenDocumentFile(QString()));
        QVERIFY(Frame().Router().Execute(command));
        const QVector<CFractalDoc*> documents = FractalDocuments();
        QCOMPARE(documents.size(), 5);
        QSet<QString> names;
        for (CFractalDoc* document : documents.mid(1)) {
            QVERIFY(document->HasGoodFractal());
            QCOMPARE(document->Fractal()->m_type, std::string(kKindKeywords[kind]));
            QVERIFY(PresetNames(kind).contains(NameOf(document)));
            names.insert(NameOf(document));
        }
        QCOMPARE(names.size(), 4);
        VerifyTiledSideBySide(documents);
    }

    void OneOfEachKindOpensFiveWindowsInKindOrder()
    {
        std::srand(7);
        QVERIFY(Frame().Router().Execute(Cmd::RandomOneOfEach));
        const QVector<CFractalDoc*> documents = FractalDocuments();
        QCOMPARE(documents.size(), 5);
        for (int kind = 0; kind < kKindCount; ++kind) {
            QVERIFY(documents[kind]->HasGoodFractal());
            QCOMPARE(documents[kind]->Fractal()->m_type, std::string(kKindKeywords[kind]));
            QVERIFY(PresetNames(kind).contains(NameOf(documents[kind])));
        }
        VerifyTiledSideBySide(documents);
    }

    void ANewFractalFromTheChooserTakesTheChosenPreset()
    {
        AnswerNextDialog<CPresetDialog>([](CPresetDialog* chooser) {
            CPresetList* lsystems = chooser->List(3);
            lsystems->setFocus();
            QTest::keyClick(lsystems, Qt::Key_Down);
            QTest::keyClick(lsystems, Qt::Key_Down);
            QTest::keyClick(lsystems, Qt::Key_Return);
        });
        QVERIFY(Frame().Router().Execute(Cmd::NewFromPreset));
        const QVector<CFractalDoc*> documents = FractalDocuments();
        QCOMPARE(documents.size(), 1);
        QCOMPARE(NameOf(documents[0]), QString::fromUtf8(PresetName(3, 1)));
    }

    void ACancelledChooserLeavesTheNewDocumentEmpty()
    {
        AnswerNextDialog<CPresetDialog>([](CPresetDialog* chooser) { chooser->reject(); });
        QVERIFY(Frame().Router().Execute(Cmd::NewFromPreset));
        const QVector<CFractalDoc*> documents = FractalDocuments();
        QCOMPARE(documents.size(), 1);
        QVERIFY(!documents[0]->Fractal());
    }

    void RepaintAllDrawsEveryFractalViewAgain()
    {
        QVERIFY(Frame().Router().Execute(Cmd::RandomIfs));
        QVector<CFractalView*> views;
        for (CFractalDoc* document : FractalDocuments())
            views.append(FirstView(document));
        QTRY_VERIFY_WITH_TIMEOUT(std::none_of(views.begin(), views.end(),
                                              [](CFractalView* v) { return v->IsDrawing(); }),
                                 30000);
        QVector<int> before;
        for (CFractalView* view : views)
            before.append(view->DrawingRequests());
        QVERIFY(Frame().Router().Execute(Cmd::RepaintAll));
        for (int i = 0; i < views.size(); ++i)
            QVERIFY(views[i]->DrawingRequests() > before[i]);
    }

    void TheCustomColourDialogOpensOnBlackAndChangesNoColour()
    {
        const ColorSet before = App().CurrentColors();
        QColor shown;
        AnswerNextDialog<QColorDialog>([&shown](QColorDialog* dialog) {
            shown = dialog->currentColor();
            dialog->setCurrentColor(Qt::yellow);
            dialog->accept();
        });
        QVERIFY(Frame().Router().Execute(Cmd::ColorDialog));
        QCOMPARE(shown, QColor(Qt::black));
        QCOMPARE(App().CurrentColors(), before);
    }
};

KALEIDRA_APP_TEST_MAIN(AppCommandsTest)
#include "app_commands_test.moc"
