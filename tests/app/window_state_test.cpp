// The main window across starts: a first start fits small screens without
// pushing a bar control into a tool bar's overflow, and a later start finds
// the window, its bars and its dock as the last one left them.

#include "app_fixture.h"

#include "app/generation_bar.h"

#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QSettings>
#include <QToolBar>
#include <QTreeView>

using namespace appfixture;

namespace {

// Whether `widget` shows whole inside the main window's width (a control
// in a tool bar's overflow menu is hidden).
bool ShowsWhole(const QWidget* widget)
{
    if (!widget->isVisible()) {
        return false;
    }
    const QPoint right = widget->mapTo(&Frame(), QPoint(widget->width(), 0));
    return right.x() <= Frame().width();
}

} // namespace

class WindowStateTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Nothing of the user's settings is read or written.
        QVERIFY(m_settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    }

    void AFirstStartFitsASmallScreen()
    {
        auto* document =
            qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
        QVERIFY(document && document->SetPreset(0, 0));
        QTRY_COMPARE(Frame().Bands(), static_cast<int>(CMainFrame::kBandsFractal));
        // 1366 x 768 at a scale factor of 2, and as it is, less a task bar.
        for (const QRect& screen : {QRect(0, 0, 683, 360), QRect(0, 0, 1366, 728)}) {
            Frame().FitScreen(screen);
            QVERIFY(screen.contains(Frame().geometry()));
            QTRY_VERIFY2(ShowsWhole(Frame().GenerationBox()),
                         qPrintable(QString::number(screen.width())));
        }
        CloseAll();
    }

    void TheOpenDialogOffersEveryTypeAndFitsItsColumns()
    {
        QTemporaryDir dir;
        const QString name = QStringLiteral("a-rather-long-name-for-a-fractal-of-many-days.frac");
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        Prompts* scripted = &Prompts::Current();
        Prompts::SetCurrent(nullptr); // Qt's own dialogs
        QStringList filters;
        int shownWidth = 0;
        AnswerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            dialog->setDirectory(dir.path());
            auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            const int needed = tree != nullptr ? tree->fontMetrics().horizontalAdvance(name) : 0;
            for (int waited = 0; tree != nullptr && waited < 5000; waited += 20) {
                shownWidth = tree->header()->sectionSize(0);
                if (shownWidth > needed) {
                    break;
                }
                QTest::qWait(20);
            }
            filters = dialog->nameFilters();
            shownWidth -= needed;
            dialog->reject();
        });
        App().OnFileOpen();
        Prompts::SetCurrent(scripted);

        QCOMPARE(filters.first(), QStringLiteral("All Kaleidra files (*.frac *.gen *.init *.maps "
                                                 "*.lsys *.auto *.dirs)"));
        QCOMPARE(filters[1], QStringLiteral("Fractal files (*.frac)"));
        QCOMPARE(filters.size(), 9); // and the six component types, all files last
        QCOMPARE(filters.last(), QStringLiteral("All files (*)"));
        QVERIFY2(shownWidth > 0, "the name column cuts the name short");
    }

    // Run last: it replaces the main frame of the running program.
    void TheNextStartRestoresTheWindow()
    {
        const QRect placed(40, 30, 760, 520);
        {
            CMainFrame frame;
            QVERIFY(frame.Create());
            frame.setGeometry(placed);
            frame.addDockWidget(Qt::LeftDockWidgetArea, frame.ColorBarDock());
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            QVERIFY(frame.close()); // saved as the window closes
        }
        QSettings written(App().SettingsOrganization(), App().SettingsApplication());
        QVERIFY(written.fileName().startsWith(m_settingsDir.path()));
        QVERIFY(written.contains(QStringLiteral("MainWindow/Geometry")));

        CMainFrame again;
        QVERIFY(again.Create());
        QSettings settings(App().SettingsOrganization(), App().SettingsApplication());
        QVERIFY(again.RestoreWindowState(settings));
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.size(), placed.size());
        QCOMPARE(again.dockWidgetArea(again.ColorBarDock()), Qt::LeftDockWidgetArea);
        // The bands the last session left visible are not brought back: which
        // show is the active view's business.
        QCOMPARE(again.Bands(), static_cast<int>(CMainFrame::kBandsInitial));

        // No settings: nothing restored.
        QSettings none(m_settingsDir.filePath("none.conf"), QSettings::IniFormat);
        CMainFrame fresh;
        QVERIFY(fresh.Create());
        QVERIFY(!fresh.RestoreWindowState(none));
    }

private:
    QTemporaryDir m_settingsDir;
};

KALEIDRA_APP_TEST_MAIN(WindowStateTest)
#include "window_state_test.moc"
