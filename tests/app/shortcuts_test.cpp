// Every key is bound once in the main window as the user meets it: with no
// document and with a fractal window active, over the menu bar, the tool
// bars and the document window's own window menu. A key bound twice fires
// neither binding.

#include "app_fixture.h"

#include "framework/menu_builder.h"
#include "framework/resource_library.h"

#include <QAction>
#include <QHash>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

using namespace appfixture;

namespace {

void CollectMenu(const QMenu* menu, QList<QAction*>& actions)
{
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr) {
            CollectMenu(action->menu(), actions);
        } else {
            actions.append(action);
        }
    }
}

// The actions of the visible tool bars and of the active document window
// itself.
QList<QAction*> BarAndWindowActions()
{
    QList<QAction*> actions;
    for (QToolBar* bar : Frame().findChildren<QToolBar*>()) {
        if (bar->isVisible()) {
            actions += bar->actions();
        }
    }
    if (QMdiSubWindow* window = Frame().MdiArea()->activeSubWindow()) {
        actions += window->actions();
        if (window->systemMenu() != nullptr) {
            CollectMenu(window->systemMenu(), actions);
        }
    }
    return actions;
}

// The actions whose keys the window answers now.
QList<QAction*> LiveActions()
{
    QList<QAction*> actions;
    for (QAction* top : Frame().menuBar()->actions()) {
        if (top->menu() != nullptr) {
            CollectMenu(top->menu(), actions);
        } else {
            actions.append(top);
        }
    }
    return actions + BarAndWindowActions();
}

// "Ctrl+W: &Close / Close" for every key with two different actions.
QStringList Clashes(const QList<QAction*>& actions = LiveActions())
{
    QHash<QString, QAction*> owner;
    QStringList clashes;
    for (QAction* action : actions) {
        for (const QKeySequence& keys : action->shortcuts()) {
            const QString key = keys.toString(QKeySequence::PortableText);
            QAction* first = owner.value(key);
            if (first != nullptr && first != action) {
                clashes.append(key + QStringLiteral(": ") + first->text() + QStringLiteral(" / ") +
                               action->text());
            }
            owner.insert(key, action);
        }
    }
    return clashes;
}

} // namespace

class ShortcutsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CloseAll(); }

    void EveryKeyIsBoundOnceWithAndWithoutADocument()
    {
        QVERIFY2(Clashes().isEmpty(), qPrintable(Clashes().join(QLatin1Char('\n'))));
        for (int i = 0; i < 2; ++i) {
            QVERIFY(App().FractalTemplate()->OpenDocumentFile(QString()));
        }
        Flush();
        QVERIFY(Frame().MdiArea()->activeSubWindow() != nullptr);
        QVERIFY2(Clashes().isEmpty(), qPrintable(Clashes().join(QLatin1Char('\n'))));
    }

    // Every menu of every language over the tool bars of every band set
    // and a document window's own keys.
    void EveryMenuOfEveryLanguageBindsEachKeyOnce()
    {
        QVERIFY(App().FractalTemplate()->OpenDocumentFile(QString()));
        Flush();
        ResourceLibrary& library = ResourceLibrary::Instance();
        const QString original = library.Code();
        for (const QString& code : {QStringLiteral("en"), QStringLiteral("fr"),
                                    QStringLiteral("de"), QStringLiteral("es")}) {
            QVERIFY(library.Load(code));
            for (int bands :
                 {CMainFrame::kBandsInitial, CMainFrame::kBandsFractal, CMainFrame::kBandsPattern,
                  CMainFrame::kBandsIfs, CMainFrame::kBandsList}) {
                Frame().ShowBands(bands);
                for (int id : library.MenuIds()) {
                    QMenu menu;
                    FillMenu(&menu, library.Menu(id), [](QAction*, int) {});
                    QList<QAction*> actions;
                    CollectMenu(&menu, actions);
                    // In place of the menu bar, with the same bars and
                    // window.
                    actions += BarAndWindowActions();
                    const QStringList clashes = Clashes(actions);
                    QVERIFY2(clashes.isEmpty(), qPrintable(QStringLiteral("%1 menu %2 bands %3: ")
                                                               .arg(code)
                                                               .arg(id)
                                                               .arg(bands, 0, 16) +
                                                           clashes.join(QStringLiteral("; "))));
                }
            }
        }
        QVERIFY(library.Load(original));
        Frame().ShowBands(CMainFrame::kBandsFractal);
    }

    void CloseKeysCloseTheFocusedWindow_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Ctrl+W") << static_cast<int>(Qt::Key_W);
        QTest::newRow("Ctrl+F4") << static_cast<int>(Qt::Key_F4);
    }
    void CloseKeysCloseTheFocusedWindow()
    {
        QFETCH(int, key);
        Document* document = App().FractalTemplate()->OpenDocumentFile(QString());
        QVERIFY(document);
        Flush();
        View* view = document->Views().first();
        Frame().activateWindow();
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        QTest::keyClick(view, static_cast<Qt::Key>(key), Qt::ControlModifier);
        Flush();
        QTRY_VERIFY(App().FractalTemplate()->Documents().isEmpty());
    }
};

KALEIDRA_APP_TEST_MAIN(ShortcutsTest)
#include "shortcuts_test.moc"
