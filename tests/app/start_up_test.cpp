// Start-up: switches in their three forms, the language code from a switch
// or the locale, the bundle looked up case-insensitively, the fallback of a
// locale without a bundle, and the message and exit code of a missing bundle.

#include "app_fixture.h"

#include "app/start_options.h"
#include "framework/resource_library.h"

#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>

using namespace appfixture;

namespace {

QString ProgramPath()
{
    return QStringLiteral(KALEIDRA_BUNDLE_DIR "/kaleidra");
}

// The program run unattended with `arguments`, offscreen, without the
// test's bundle folder in its environment.
struct Run
{
    int exitCode = -1;
    QString errors;
};

Run RunProgram(const QString& program, const QStringList& arguments,
               const QStringList& extraEnvironment = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("KALEIDRA_BUNDLE_DIR"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& entry : extraEnvironment)
        environment.insert(entry.section(QLatin1Char('='), 0, 0),
                           entry.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class StartUpTest : public QObject
{
    Q_OBJECT

private slots:
    void LanguageSwitchesInEveryFormAndCase_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("language");
        QTest::newRow("/FRENCH") << "/FRENCH" << int(LanguageSwitch::French);
        QTest::newRow("--french") << "--french" << int(LanguageSwitch::French);
        QTest::newRow("-english") << "-english" << int(LanguageSwitch::English);
        QTest::newRow("-GERMAN") << "-GERMAN" << int(LanguageSwitch::German);
        QTest::newRow("--spanish") << "--spanish" << int(LanguageSwitch::Spanish);
        // Compared over the name's length: longer switches still match,
        // shorter ones do not.
        QTest::newRow("/frenchy") << "/frenchy" << int(LanguageSwitch::French);
        QTest::newRow("-englishman") << "-englishman" << int(LanguageSwitch::English);
        QTest::newRow("/fren") << "/fren" << int(LanguageSwitch::None);
        QTest::newRow("-englis") << "-englis" << int(LanguageSwitch::None);
        // A file is no switch, whatever its name.
        QTest::newRow("french.frac") << "french.frac" << int(LanguageSwitch::None);
        QTest::newRow("/home/french") << "/home/french" << int(LanguageSwitch::None);
    }
    void LanguageSwitchesInEveryFormAndCase()
    {
        QFETCH(QString, argument);
        QFETCH(int, language);
        const StartOptions options = ParseStartOptions({argument});
        QCOMPARE(int(options.language), language);
        QCOMPARE(options.files.isEmpty(), !SwitchName(argument).isEmpty());
    }

    void TheLastLanguageSwitchWinsAndFilesKeepTheirOrder()
    {
        const StartOptions options =
            ParseStartOptions({"a.frac", "/french", "/tmp/b.frac", "--german", "-x", "c.frac"});
        QCOMPARE(options.language, LanguageSwitch::German);
        QCOMPARE(options.files, (QStringList{"a.frac", "/tmp/b.frac", "c.frac"}));
        QVERIFY(!options.print);
        QVERIFY(options.errors.isEmpty());
    }

    void PrintSwitchesPrintEveryFile()
    {
        StartOptions options = ParseStartOptions({"/p", "a.frac"});
        QVERIFY(options.print);
        QCOMPARE(options.files, QStringList{"a.frac"});
        options = ParseStartOptions({"--print", "a.frac", "b.frac"});
        QVERIFY(options.print);
        QCOMPARE(options.files, (QStringList{"a.frac", "b.frac"}));
        // Print-to names the file, the printer, then a driver and a port
        // that mean nothing here.
        options = ParseStartOptions({"/pt", "a.frac", "Office", "driver", "port", "b.frac"});
        QVERIFY(options.print);
        QCOMPARE(options.printerName, QStringLiteral("Office"));
        QCOMPARE(options.files, (QStringList{"a.frac", "b.frac"}));
    }

    void OwnOptionsTakeTheirValuesAndRefuseBadOnes()
    {
        StartOptions options = ParseStartOptions(
            {"--preset", "0:12", "--preset=4:18", "--screenshot", "/tmp/s.png", "--unattended"});
        QCOMPARE(options.presets, (QVector<PresetChoice>{{0, 12}, {4, 18}}));
        QCOMPARE(options.screenshotPath, QStringLiteral("/tmp/s.png"));
        QVERIFY(options.unattended);
        QVERIFY(options.errors.isEmpty());

        // Outside the tables (13 standard, 19 automata), not numbers, missing.
        options = ParseStartOptions({"--preset", "0:13", "--preset", "5:0", "--preset", "x:y",
                                     "--preset", "-1:0", "--screenshot"});
        QVERIFY(options.presets.isEmpty());
        QCOMPARE(options.errors.size(), 5);
    }

    void TheCodeComesFromTheSwitchOrTheLocaleInCapitals()
    {
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(LanguageCodeFor(LanguageSwitch::French, german), QStringLiteral("fr"));
        QCOMPARE(LanguageCodeFor(LanguageSwitch::English, german), QStringLiteral("en"));
        QCOMPARE(LanguageCodeFor(LanguageSwitch::German, QLocale::c()), QStringLiteral("de"));
        QCOMPARE(LanguageCodeFor(LanguageSwitch::Spanish, german), QStringLiteral("es"));
        QCOMPARE(LanguageCodeFor(LanguageSwitch::None, german), QStringLiteral("DE"));
        QCOMPARE(LanguageCodeFor(LanguageSwitch::None, QLocale(QLocale::Japanese)),
                 QStringLiteral("JA"));
        QCOMPARE(ResourceLibrary::BundleName(QStringLiteral("DE")),
                 QStringLiteral("kaleidra-DE.rcc"));
    }

    void OnlyALocaleCodeFallsBackToEnglish()
    {
        QCOMPARE(LanguageCodesToTry(LanguageSwitch::None, "JA"), (QStringList{"JA", "en"}));
        QCOMPARE(LanguageCodesToTry(LanguageSwitch::None, "EN"), QStringList{"EN"});
        QCOMPARE(LanguageCodesToTry(LanguageSwitch::German, "de"), QStringList{"de"});
    }

    void TheBundleIsFoundWhateverTheCase()
    {
        QVERIFY(App().LoadLanguage(LanguageSwitch::None, QLocale(QLocale::German)));
        QCOMPARE(App().LanguageCode(), QStringLiteral("DE"));
        QCOMPARE(QFileInfo(ResourceLibrary::Instance().Path()).fileName(),
                 QStringLiteral("kaleidra-de.rcc"));

        QVERIFY(App().LoadLanguage(LanguageSwitch::None, QLocale(QLocale::Japanese)));
        QCOMPARE(App().LanguageCode(), QStringLiteral("en"));

        QVERIFY(App().LoadLanguage(LanguageSwitch::Spanish, QLocale(QLocale::French)));
        QCOMPARE(App().LanguageCode(), QStringLiteral("es"));
        QVERIFY(App().LoadLanguage(LanguageSwitch::English, QLocale::c()));
    }

    void QtsOwnDialogsSpeakTheBundlesLanguage()
    {
        if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                               "/qtbase_fr.qm"))
            QSKIP("Qt's translations are not installed");
        QVERIFY(App().LoadLanguage(LanguageSwitch::French, QLocale::c()));
        const QString french = QCoreApplication::translate("QPlatformTheme", "Cancel");
        QVERIFY(App().LoadLanguage(LanguageSwitch::English, QLocale::c()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        QVERIFY2(french != QStringLiteral("Cancel"), qPrintable(french));
    }

    void AProgramWithoutItsBundlesTellsAndFails()
    {
        if (!QFileInfo::exists(ProgramPath()))
            QSKIP("the program is not built");
        // The program alone in a folder, where no bundle can be found.
        QTemporaryDir dir;
        const QString lonely = dir.filePath("kaleidra");
        QVERIFY(QFile::copy(ProgramPath(), lonely));
        QVERIFY(QFile::setPermissions(lonely, QFile::permissions(lonely) | QFile::ExeOwner));

        Run run = RunProgram(lonely, {"--german", "--unattended"});
        QVERIFY(run.exitCode > 0);
        QVERIFY2(run.errors.contains("Cannot find resource DLL (kaleidra-de.rcc)"),
                 qPrintable(run.errors));

        // A locale without a bundle names the locale's bundle, not the
        // English one tried after it.
        run = RunProgram(lonely, {"--unattended"}, {"LC_ALL=ja_JP.UTF-8", "LANG=ja_JP.UTF-8"});
        QVERIFY(run.exitCode > 0);
        QVERIFY2(run.errors.contains("Cannot find resource DLL (kaleidra-JA.rcc)"),
                 qPrintable(run.errors));
    }

    void FilesOnTheCommandLineOpenOrTheStartFails()
    {
        if (!QFileInfo::exists(ProgramPath()))
            QSKIP("the program is not built");
        QTemporaryDir dir;
        const QString fractal = dir.filePath("koch.frac");
        auto* document =
            qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
        QVERIFY(document && document->SetPreset(0, 0));
        QVERIFY(document->DoSave(fractal));
        CloseAll();

        // A locale without a bundle still starts, in English.
        const QString picture = dir.filePath("a.png");
        Run run = RunProgram(ProgramPath(), {fractal, "--screenshot", picture},
                             {"LC_ALL=ja_JP.UTF-8", "LANG=ja_JP.UTF-8"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QImage(picture).width() > 200);
        // Nothing could be opened: the user is told why and the start fails.
        const QString missing = dir.filePath("missing.frac");
        run = RunProgram(ProgramPath(),
                         {"--english", missing, "--screenshot", dir.filePath("b.png")});
        QVERIFY(run.exitCode > 0);
        QVERIFY2(run.errors.contains(missing), qPrintable(run.errors));
        // Printing what cannot be opened is no success either.
        run = RunProgram(ProgramPath(), {"--english", "--unattended", "/p", missing});
        QVERIFY(run.exitCode > 0);
        QVERIFY2(run.errors.contains(missing), qPrintable(run.errors));
    }
};

KALEIDRA_APP_TEST_MAIN(StartUpTest)
#include "start_up_test.moc"
