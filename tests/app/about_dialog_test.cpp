// The About box: the program's version lines before the bundle's, each
// record as the module's name in capitals, the eight "key: value" lines and
// the numeric version; the links and what following them does.

#include "app_fixture.h"

#include "app/about_dialog.h"
#include "app/version.h"
#include "framework/resource_library.h"

#include <QDesktopServices>
#include <QJsonArray>
#include <QListWidget>
#include <QUrl>

using namespace appfixture;

namespace {

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->item(i)->text());
    return lines;
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.append(url); }
};

} // namespace

class AboutDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void ARecordGivesTenLinesInOrder()
    {
        const QJsonObject record{
            {"ProductName", "Kaleidra"},         {"FileDescription", "Resources"},
            {"ProductVersion", "2.5"},           {"FileVersion", "2.5.1.0"},
            {"CompanyName", "Kaleidra project"}, {"LegalCopyright", "(C) 2026"},
            {"Version", QJsonArray{2, 5, 1, 7}}};
        QCOMPARE(VersionLines("kaleidra-fr.rcc", record),
                 (QStringList{
                     "KALEIDRA-FR.RCC", "ProductName: Kaleidra", "FileDescription: Resources",
                     "ProductVersion: 2.5", "FileVersion: 2.5.1.0", "CompanyName: Kaleidra project",
                     "LegalCopyright: (C) 2026", "PrivateBuild: ", "SpecialBuild: ", "2.5.1.7"}));
        // A module without a record adds nothing.
        QVERIFY(VersionLines("kaleidra-fr.rcc", QJsonObject()).isEmpty());
    }

    void TheProgramComesBeforeTheBundle()
    {
        CAboutDlg about;
        const QStringList lines = Lines(about.VersionList());
        QCOMPARE(lines.size(), 20);
        QCOMPARE(lines[0], QStringLiteral("KALEIDRA"));
        QCOMPARE(lines[10], QStringLiteral("KALEIDRA-EN.RCC"));
        QVERIFY(lines[9].contains(QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$")));
    }

    void TheProgramsVersionIsTheBuildsVersion()
    {
        // The bundles are stamped with the project version by the build.
        QCOMPARE(ProgramVersionRecord().value("ProductVersion").toString(),
                 ResourceLibrary::Instance().Version().value("ProductVersion").toString());
        QCOMPARE(ProgramVersionRecord().value("Version"),
                 ResourceLibrary::Instance().Version().value("Version"));
    }

    void TheLinksOpenTheProjectsAddressesAndTurnFollowed()
    {
        CAboutDlg about;
        CHyperLink* mail = about.MailLink();
        CHyperLink* web = about.WebLink();
        QVERIFY(mail->Target().startsWith("mailto:"));
        QVERIFY(web->Target().startsWith("https://"));
        const QColor unfollowed = web->palette().color(QPalette::WindowText);

        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("https", &catcher, "Open");
        QDesktopServices::setUrlHandler("mailto", &catcher, "Open");
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(web, Qt::LeftButton);
        web->setFocus();
        QTest::keyClick(mail, Qt::Key_Space);
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("mailto");
        QCOMPARE(catcher.urls, (QList<QUrl>{QUrl(web->Target()), QUrl(mail->Target())}));
        QVERIFY(web->IsFollowed() && mail->IsFollowed());
        CHyperLink nowhere;
        QVERIFY(!nowhere.Follow() && !nowhere.IsFollowed());
        // A followed link shows it.
        QVERIFY(web->palette().color(QPalette::WindowText) != unfollowed);
    }
};

KALEIDRA_APP_TEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
