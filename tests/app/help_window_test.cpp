// The manual in the program's own window: the language in use, no browser
// and no desktop service, one window raised again, and its navigation.

#include "app_fixture.h"

#include "app/help_window.h"
#include "framework/resource_library.h"
#include "framework/standard_ids.h"

#include <QAction>
#include <QDesktopServices>
#include <QTextBrowser>
#include <QUrl>

using namespace appfixture;

namespace {

// Records every URL handed to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.append(url); }
};

QList<CHelpWindow*> HelpWindows()
{
    return Frame().findChildren<CHelpWindow*>();
}

} // namespace

class HelpWindowTest : public QObject
{
    Q_OBJECT

private:
    UrlCatcher m_catcher;

private slots:
    void initTestCase()
    {
        // Nothing to start a browser with, and a record of any try.
        qputenv("PATH", "");
        for (const char* scheme : {"file", "http", "https", "qrc"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_catcher, "Open");
        }
    }
    void cleanupTestCase()
    {
        for (const char* scheme : {"file", "http", "https", "qrc"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
    }

    void TheManualOpensInOneWindowOfTheProgramsLanguage()
    {
        QVERIFY(Frame().Router().Execute(Cmd::Help));
        QCOMPARE(HelpWindows().size(), 1);
        CHelpWindow* window = HelpWindows().first();
        QVERIFY(window->isVisible());
        QCOMPARE(window->Browser()->source(), window->Home());
        QVERIFY(window->Home().toString().endsWith(QStringLiteral("/manual/index.html")));
        QCOMPARE(window->Browser()->documentTitle(), QStringLiteral("Kaleidra manual"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Kaleidra manual"));

        // The contents command and F1 again: the same window.
        window->hide();
        QVERIFY(Frame().Router().Execute(Cmd::HelpIndex));
        QCOMPARE(HelpWindows(), QList<CHelpWindow*>{window});
        QVERIFY(window->isVisible());

        ResourceLibrary& library = ResourceLibrary::Instance();
        for (const auto& [code, title] :
             {std::pair{"fr", "Manuel de Kaleidra"}, std::pair{"de", "Kaleidra-Handbuch"},
              std::pair{"es", "Manual de Kaleidra"}, std::pair{"en", "Kaleidra manual"}}) {
            QVERIFY(library.Load(QString::fromLatin1(code)));
            QVERIFY(App().OnHelp());
            QCOMPARE(window->Browser()->documentTitle(), QString::fromUtf8(title));
            QVERIFY(window->Browser()->toHtml().contains(QStringLiteral("#keys")));
        }
        QVERIFY(m_catcher.urls.isEmpty());
    }

    void BackForwardAndContentsNavigateTheManual()
    {
        QVERIFY(App().OnHelp());
        CHelpWindow* window = HelpWindows().first();
        QTextBrowser* browser = window->Browser();
        QVERIFY(!window->BackAction()->isEnabled());
        emit browser->anchorClicked(QUrl(QStringLiteral("#keys")));
        QCOMPARE(browser->source().fragment(), QStringLiteral("keys"));
        QVERIFY(window->BackAction()->isEnabled());
        window->BackAction()->trigger();
        QCOMPARE(browser->source(), window->Home());
        QVERIFY(window->ForwardAction()->isEnabled());
        window->ForwardAction()->trigger();
        QCOMPARE(browser->source().fragment(), QStringLiteral("keys"));
        window->ContentsAction()->trigger();
        QCOMPARE(browser->source(), window->Home());

        // A link out of the manual goes to the desktop, the page stays.
        emit browser->anchorClicked(QUrl(QStringLiteral("https://example.org/")));
        QCOMPARE(m_catcher.urls, QList<QUrl>{QUrl(QStringLiteral("https://example.org/"))});
        QCOMPARE(browser->source(), window->Home());
    }
};

KALEIDRA_APP_TEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
