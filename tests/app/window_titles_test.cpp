// What the main window tells of a fractal window: titles that name the
// fractal, the modified mark, Save As's proposed name, typed day counts in
// the generation box with their element count, and the progress of a long
// drawing on the status bar.

#include "app_fixture.h"

#include "app/generation_bar.h"
#include "engine/presets.h"
#include "engine/standard_fractal.h"
#include "framework/scripted_prompts.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"

#include <QComboBox>
#include <QLineEdit>

using namespace appfixture;

namespace {

ScriptedPrompts& Prompted()
{
    return dynamic_cast<ScriptedPrompts&>(Prompts::Current());
}

CFractalDoc* NewPreset(const char* name)
{
    auto* document =
        qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
    for (int i = 0; document != nullptr && i < PresetCount(0); ++i) {
        if (QLatin1String(PresetName(0, i)) == QLatin1String(name)) {
            (void)document->SetPreset(0, i);
        }
    }
    return document;
}

QString FrameTitle(Document* document)
{
    return document->Frames().isEmpty() ? QString() : document->Frames().first()->windowTitle();
}

void TypeDays(const QString& text)
{
    QComboBox* box = Frame().GenerationBox();
    box->lineEdit()->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), text);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
}

} // namespace

class WindowTitlesTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        Prompted().saveChoices = {Prompts::SaveChoice::Discard, Prompts::SaveChoice::Discard};
        CloseAll();
        Prompted().saveChoices.clear();
        Prompted().questions.clear();
    }

    void AnUntitledWindowIsNamedAfterItsFractal()
    {
        CFractalDoc* document = NewPreset("koch");
        QVERIFY(document != nullptr);
        const QString untitled = document->Title();
        QCOMPARE(FrameTitle(document), "koch \u2014 " + untitled);
        QVERIFY(Frame().windowTitle().endsWith("koch \u2014 " + untitled));
        // A preset on an untitled document changes its name, not its state.
        (void)document->SetPreset(1, 0);
        QCOMPARE(FrameTitle(document), QString::fromUtf8(PresetName(1, 0)) + " \u2014 " + untitled);
        QVERIFY(!document->IsModified());
    }

    void SaveAsProposesTheNameMadeFileSafe()
    {
        CFractalDoc* document = NewPreset("koch");
        QTemporaryDir dir;
        Prompted().saveFileNames = {dir.filePath("first.frac")};
        QVERIFY(document->DoSave(QString()));
        QCOMPARE(Prompted().saveSuggestions.last(), QStringLiteral("koch.frac"));
        // A name with a dot of its own still gets the extension.
        QCOMPARE(Document::FileSafeName(QStringLiteral(" a/b\\c:d*e?f\"g<h>i|j\tk. ")),
                 QStringLiteral("a_b_c_d_e_f_g_h_i_j_k"));
        QCOMPARE(Document::FileSafeName(QStringLiteral("..//..")), QStringLiteral("__"));
        QVERIFY(Document::FileSafeName(QStringLiteral(" . ")).isEmpty());
        // Within a file system's 255 bytes for a name, whatever the script.
        QCOMPARE(Document::FileSafeName(QString(300, QLatin1Char('x'))).size(), 200);
        QCOMPARE(Document::FileSafeName(QString(300, QChar(0x00e9))).size(), 100);

        CFractalDoc* dotted = NewPreset("koch");
        const Pattern& generator = *dotted->Fractal()->GetGenerator();
        const InitiatorSet& initiators = *dotted->Fractal()->GetInitiators();
        dotted->SetFractal(new CStandardFractal("snow 1.5: \"flake\"", 3, generator, initiators));
        Prompted().saveFileNames.clear();
        QVERIFY(!dotted->DoSave(QString()));
        QCOMPARE(Prompted().saveSuggestions.last(), QStringLiteral("snow 1.5_ _flake_.frac"));
        // Nothing to name it after: the usual title.
        auto* empty =
            qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
        QVERIFY(!empty->DoSave(QString()));
        QCOMPARE(Prompted().saveSuggestions.last(), empty->Title() + ".frac");
    }

    void APresetOnANamedDocumentIsAChangeToSave()
    {
        CFractalDoc* document = NewPreset("koch");
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.frac");
        QVERIFY(document->DoSave(path));
        QCOMPARE(FrameTitle(document), QStringLiteral("kept.frac"));
        QVERIFY(!document->IsModified());

        (void)document->SetPreset(2, 0);
        QVERIFY(document->IsModified());
        QCOMPARE(FrameTitle(document), QStringLiteral("kept.frac*"));
        // Closing asks; the scripted user cancels and the window stays.
        Prompted().saveChoices.clear();
        QVERIFY(!document->Frames().first()->close());
        QCOMPARE(Prompted().questions, QStringList{"Save changes to kept.frac?"});
        QCOMPARE(FractalDocuments().size(), 1);
        // Saved, the mark goes.
        QVERIFY(document->DoFileSave());
        QCOMPARE(FrameTitle(document), QStringLiteral("kept.frac"));
    }

    void TheGenerationBoxTakesTypedDays()
    {
        CFractalDoc* document = NewPreset("koch");
        QTRY_VERIFY(Frame().GenerationBox()->isEnabled());
        QComboBox* box = Frame().GenerationBox();

        TypeDays(QStringLiteral("7"));
        QCOMPARE(document->Fractal()->m_days.load(), 7);
        // 3 sides, 4^7 segments on each.
        QTRY_VERIFY(box->toolTip().contains(QLocale().toString(3 * 16384)));
        QTRY_COMPARE(box->currentText(), QStringLiteral("7"));

        for (const QString& refused : {QStringLiteral("0"), QStringLiteral("x"),
                                       QStringLiteral("-4"), QStringLiteral("99999999999")}) {
            TypeDays(refused);
            QCOMPARE(document->Fractal()->m_days.load(), 7);
            QCOMPARE(box->currentText(), QStringLiteral("7"));
        }
        QCOMPARE(CGenerationBar::TypedDays(QStringLiteral(" 12 ")), 12);
        TypeDays(QStringLiteral("2"));
        QCOMPARE(document->Fractal()->m_days.load(), 2);
    }

    void ALongDrawingReportsItsProgress()
    {
        CFractalDoc* document = NewPreset("koch");
        CFractalView* view = FirstView(document);
        QTRY_VERIFY(!view->IsDrawing());
        // Long enough on a fast machine with many cores.
        document->SetDays(13);
        // Its size first, then what it does and how far it got.
        QVERIFY(view->StatusText().contains(QLocale().toString(3LL * 67108864)));
        QTRY_VERIFY_WITH_TIMEOUT(view->StatusText().contains(" %"), 30000);
        const QString progress = view->StatusText();
        QVERIFY2(progress.startsWith("Measuring koch, 13 generations \u2014 ") ||
                     progress.startsWith("Drawing koch, 13 generations \u2014 "),
                 qPrintable(progress));
        QCOMPARE(Frame().StatusText(), progress);
        // Gone with the drawing: the idle text again.
        QTRY_VERIFY_WITH_TIMEOUT(!view->IsDrawing() && view->StatusText().isEmpty(), 120000);

        // A stopped drawing takes its text along too.
        document->SetDays(14);
        QTRY_VERIFY_WITH_TIMEOUT(view->StatusText().contains(" %"), 30000);
        QVERIFY(view->StopDrawing());
        QTRY_VERIFY(view->StatusText().isEmpty());
    }
};

KALEIDRA_APP_TEST_MAIN(WindowTitlesTest)
#include "window_titles_test.moc"
