// The recent files: order, limit, settings, and the file menu entries.

#include "framework_fixture.h"

#include <QMenu>
#include <QSettings>

using namespace fixture;

class RecentFilesTest : public QObject
{
    Q_OBJECT
    Fixture f;
    QTemporaryDir dir;

    QMenu* FileMenu() const { return f.frame->TopMenus().first(); }

private slots:
    void init() { f.Init(); }
    void cleanup() { f.Cleanup(); }

    void NewestFirstWithoutDuplicatesAndAtMostSixteen()
    {
        RecentFileList list(QStringLiteral("kaleidra-test"), QStringLiteral("order"));
        for (int i = 0; i < 20; ++i)
            list.Add(QStringLiteral("/data/f%1.txt").arg(i));
        QCOMPARE(list.Size(), 16);
        QCOMPARE(list.Files().first(), QStringLiteral("/data/f19.txt"));
        QCOMPARE(list.Files().last(), QStringLiteral("/data/f4.txt"));
        list.Add(QStringLiteral("/data/../data/f10.txt"));
        QCOMPARE(list.Size(), 16);
        QCOMPARE(list.Files().first(), QStringLiteral("/data/f10.txt"));
        QCOMPARE(list.Files().count(QStringLiteral("/data/f10.txt")), 1);

        // Kept in the settings, read back by the next run.
        RecentFileList again(QStringLiteral("kaleidra-test"), QStringLiteral("order"));
        QCOMPARE(again.Files(), list.Files());
        QSettings settings(QStringLiteral("kaleidra-test"), QStringLiteral("order"));
        QCOMPARE(settings.value("Recent File List/File1").toString(),
                 QStringLiteral("/data/f10.txt"));
        QCOMPARE(settings.value("Recent File List/File16").toString(),
                 QStringLiteral("/data/f4.txt"));
        again.Remove(0);
        QVERIFY(!settings.contains("Recent File List/File16"));
    }

    void MenuCaptionsNumberTheEntries()
    {
        RecentFileList list(QStringLiteral("kaleidra-test"), QStringLiteral("captions"));
        for (int i = 11; i >= 1; --i)
            list.Add(QStringLiteral("/d/%1.txt").arg(i));
        list.Add(QStringLiteral("/d/R&D.txt"));
        QCOMPARE(list.MenuText(0), QStringLiteral("&1 /d/R&&D.txt"));
        QCOMPARE(list.MenuText(9), QStringLiteral("1&0 /d/9.txt"));
        QCOMPARE(list.MenuText(11), QStringLiteral("12 /d/11.txt"));
    }

    void TheFileMenuListsThemAndOpensTheChosenOne()
    {
        const QString a = Fixture::WriteFile(dir, "a.txt", "a");
        const QString b = Fixture::WriteFile(dir, "b.txt", "b");
        Application* app = Application::Instance();
        app->AddToRecentFileList(a);
        app->AddToRecentFileList(b);
        emit FileMenu()->aboutToShow();
        QList<QAction*> entries;
        QAction* placeholder = nullptr;
        for (QAction* action : FileMenu()->actions()) {
            const int id = CommandRouter::CommandId(action);
            if (id < Cmd::FileMruFirst || id > Cmd::FileMruLast)
                continue;
            if (action->isVisible())
                entries.append(action);
            else
                placeholder = action;
        }
        QVERIFY(placeholder);
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries[0]->text().endsWith("b.txt"));
        QVERIFY(entries[1]->isEnabled());
        entries[1]->trigger();
        QCOMPARE(f.frame->ActiveDocument()->PathName(), a);
        QCOMPARE(app->RecentFiles().Files().first(), a);

        // Emptied, the list shows the bundle's entry, disabled.
        while (app->RecentFiles().Size() > 0)
            app->RecentFiles().Remove(0);
        emit f.frame->TopMenus().first()->aboutToShow();
        const QList<QAction*> mru = f.frame->MenuActions(Cmd::FileMruFirst);
        QCOMPARE(mru.size(), 1);
        QVERIFY(mru[0]->isVisible() && !mru[0]->isEnabled());
    }

    void AnEntryThatNoLongerOpensIsRemovedWithAMessage()
    {
        Application* app = Application::Instance();
        const QString damaged = Fixture::WriteFile(dir, "damaged.txt", "BAD");
        const QString kept = Fixture::WriteFile(dir, "kept.txt", "fine");
        app->AddToRecentFileList(kept);
        app->AddToRecentFileList(dir.filePath("gone.txt"));
        app->AddToRecentFileList(damaged);

        QVERIFY(!app->OpenRecentFile(1));
        QCOMPARE(f.prompts.errors.size(), 1);
        QVERIFY(f.prompts.errors[0].contains(dir.filePath("gone.txt")));
        QCOMPARE(app->RecentFiles().Files(), (QStringList{damaged, kept}));

        QVERIFY(!app->OpenRecentFile(0));
        QCOMPARE(f.prompts.errors.size(), 2);
        QCOMPARE(app->RecentFiles().Files(), QStringList{kept});
        QVERIFY(app->Documents().isEmpty());
    }
};

KALEIDRA_FRAMEWORK_TEST_MAIN(RecentFilesTest)
#include "recent_files_test.moc"
