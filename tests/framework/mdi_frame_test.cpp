// The main window: menus that follow the active document type, window
// arrangement, the window list, dropped files, bars, activation, exit.

#include "framework_fixture.h"

#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QSet>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

using namespace fixture;

namespace {

QStringList MenuTitles(MdiFrame* frame)
{
    QStringList titles;
    for (QMenu* menu : frame->TopMenus())
        titles.append(menu->title());
    return titles;
}

QMenu* WindowMenu(MdiFrame* frame)
{
    for (QMenu* menu : frame->TopMenus()) {
        if (menu->title() == "&Window")
            return menu;
    }
    return nullptr;
}

} // namespace

class MdiFrameTest : public QObject
{
    Q_OBJECT
    Fixture f;

    QList<QMdiSubWindow*> Windows() const
    {
        return f.frame->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    }

private slots:
    void init() { f.Init(); }
    void cleanup() { f.Cleanup(); }

    void TheMenuBarFollowsTheActiveDocumentType()
    {
        QCOMPARE(MenuTitles(f.frame), (QStringList{"&File", "&View"}));
        Document* text = f.text->OpenDocumentFile(QString());
        QCOMPARE(f.frame->MenuResource(), kTextType);
        QCOMPARE(MenuTitles(f.frame), (QStringList{"&File", "&Edit", "&View", "&Window"}));
        QVERIFY(f.picture->OpenDocumentFile(QString()));
        QCOMPARE(f.frame->MenuResource(), 128);
        f.frame->ActivateFrame(text->Frames().first());
        QCOMPARE(f.frame->MenuResource(), kTextType);
        Application::Instance()->CloseAllDocuments();
        Fixture::Flush();
        QCOMPARE(f.frame->MenuResource(), 128);
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("Kaleidra"));
    }

    void TheCaptionNamesTheActiveWindowOnce()
    {
        Document* document = f.text->OpenDocumentFile(QString());
        const QString title = document->Title();
        QCOMPARE(f.frame->windowTitle(), "Kaleidra - " + title);
        document->Frames().first()->showMaximized();
        QCOMPARE(f.frame->windowTitle(), "Kaleidra - [" + title + "]");
        Document* next = f.text->OpenDocumentFile(QString());
        QVERIFY(next->Frames().first()->isMaximized());
        QCOMPARE(f.frame->windowTitle(), "Kaleidra - [" + next->Title() + "]");
        next->Frames().first()->showNormal();
        QCOMPARE(f.frame->windowTitle(), "Kaleidra - " + next->Title());
    }

    void ActivationTellsTheOldViewThenTheNewOne()
    {
        Document* first = f.text->OpenDocumentFile(QString());
        auto* firstView = static_cast<TestView*>(first->Views().first());
        Document* second = f.text->OpenDocumentFile(QString());
        auto* secondView = static_cast<TestView*>(second->Views().first());
        QCOMPARE(firstView->activations, (QList<bool>{true, false}));
        QCOMPARE(secondView->activations, QList<bool>{true});
        f.frame->ActivateFrame(first->Frames().first());
        QCOMPARE(firstView->activations, (QList<bool>{true, false, true}));
        QCOMPARE(secondView->activations, (QList<bool>{true, false}));
    }

    void TileVerticallyPutsWindowsSideBySideAtFullHeight()
    {
        for (int i = 0; i < 3; ++i)
            QVERIFY(f.text->OpenDocumentFile(QString()));
        Windows().last()->showMaximized();
        QVERIFY(f.frame->Router().Execute(Cmd::WindowTileVert));
        const QRect area = f.frame->MdiArea()->viewport()->rect();
        int left = 0;
        for (QMdiSubWindow* window : Windows()) {
            QVERIFY(!window->isMaximized());
            const QRect g = window->geometry();
            QCOMPARE(g.top(), 0);
            QCOMPARE(g.height(), area.height());
            QCOMPARE(g.left(), left);
            QVERIFY(std::abs(g.width() - area.width() / 3) <= 1);
            left = g.right() + 1;
        }
        QCOMPARE(left, area.width());

        QVERIFY(f.frame->Router().Execute(Cmd::WindowTileHorz));
        int top = 0;
        for (QMdiSubWindow* window : Windows()) {
            const QRect g = window->geometry();
            QCOMPARE(g.left(), 0);
            QCOMPARE(g.width(), area.width());
            QCOMPARE(g.top(), top);
            top = g.bottom() + 1;
        }
        QCOMPARE(top, area.height());
    }

    void CascadeKeepsEveryWindowUsableAndEveryTitleBarInReach()
    {
        for (int count : {4, 7, 30}) {
            while (Windows().size() < count)
                QVERIFY(f.text->OpenDocumentFile(QString()));
            Windows().first()->showMaximized();
            QMdiSubWindow* active = Windows()[1];
            f.frame->MdiArea()->setActiveSubWindow(active);
            QVERIFY(f.frame->Router().Execute(Cmd::WindowCascade));
            const QRect area = f.frame->MdiArea()->viewport()->rect();
            QSet<int> corners;
            for (QMdiSubWindow* window : Windows()) {
                const QRect g = window->geometry();
                QVERIFY(!window->isMaximized());
                QVERIFY(g.width() >= area.width() * 2 / 3 && g.height() >= area.height() * 2 / 3);
                QVERIFY2(area.contains(g), qPrintable(QString::number(count)));
                QCOMPARE(g.left(), g.top());
                corners.insert(g.left());
            }
            // Each window a step further while there is room, then again
            // from the corner.
            QVERIFY(corners.size() >= std::min(count, 4));
            QCOMPARE(f.frame->MdiArea()->activeSubWindow(), active);
        }
    }

    void TheWindowListNamesEveryWindowAndActivatesTheChosenOne()
    {
        QVector<Document*> documents;
        for (int i = 0; i < 2; ++i)
            documents.append(f.text->OpenDocumentFile(QString()));
        QMenu* menu = WindowMenu(f.frame);
        QVERIFY(menu);
        emit menu->aboutToShow();
        QList<QAction*> entries;
        for (QAction* action : menu->actions()) {
            const int id = CommandRouter::CommandId(action);
            if (id >= MdiFrame::kWindowListFirst && id <= MdiFrame::kWindowListLast)
                entries.append(action);
        }
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0]->text(), "&1 " + documents[0]->Title());
        QVERIFY(!entries[0]->isChecked() && entries[1]->isChecked());
        entries[0]->trigger();
        QCOMPARE(f.frame->ActiveDocument(), documents[0]);

        // Past nine windows the last entry offers them all.
        for (int i = 0; i < 9; ++i)
            documents.append(f.text->OpenDocumentFile(QString()));
        emit menu->aboutToShow();
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(CommandRouter::CommandId(actions.last()), MdiFrame::kWindowListLast);
        QCOMPARE(actions.last()->text(), QStringLiteral("&More Windows..."));
        f.prompts.choices = {10};
        actions.last()->trigger();
        QCOMPARE(f.prompts.chooseItems.last().size(), 11);
        QCOMPARE(f.frame->ActiveDocument(), documents[10]);
    }

    void DroppedFilesOpen()
    {
        QTemporaryDir dir;
        const QString a = Fixture::WriteFile(dir, "a.txt", "a");
        const QString b = Fixture::WriteFile(dir, "b.pic", "b");
        QMimeData data;
        data.setUrls(
            {QUrl::fromLocalFile(a), QUrl("https://example.org/c.txt"), QUrl::fromLocalFile(b)});
        const QPoint at(100, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.frame, &drop);
        QCOMPARE(f.text->Documents().size(), 1);
        QCOMPARE(f.picture->Documents().size(), 1);
        QCOMPARE(f.text->Documents()[0]->PathName(), a);

        QMimeData remote;
        remote.setUrls({QUrl("https://example.org/c.txt")});
        QDragEnterEvent refused(at, Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QCoreApplication::sendEvent(f.frame, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void BarsShowAndHideWithTheirCheckedCommands()
    {
        QToolBar* bar = f.frame->AddCommandToolBar(128);
        QVERIFY(bar && bar->isVisible());
        QVERIFY(!f.frame->AddCommandToolBar(555));
        QAction* toggle = f.frame->MenuActions(Cmd::ViewToolBar).first();
        f.frame->UpdateActions();
        QVERIFY(toggle->isChecked());
        toggle->trigger();
        QVERIFY(!bar->isVisible());
        QVERIFY(!toggle->isChecked());
        // A bar hidden on purpose stays hidden when the bars come back.
        f.frame->ShowControlBar(bar, false);
        toggle->trigger();
        QVERIFY(!bar->isVisible());
        f.frame->ShowControlBar(bar, true);
        QVERIFY(bar->isVisible());

        QAction* status = f.frame->MenuActions(Cmd::ViewStatusBar).first();
        QVERIFY(status->isChecked());
        status->trigger();
        QVERIFY(f.frame->statusBar()->isHidden());
        QVERIFY(!status->isChecked());
    }

    void DeletingTheWindowClosesItsDocuments()
    {
        Document* document = f.text->OpenDocumentFile(QString());
        QVERIFY(f.frame->Router().Execute(Cmd::WindowNew));
        QVERIFY(f.picture->OpenDocumentFile(QString()));
        document->SetModifiedFlag();
        delete f.frame;
        f.frame = nullptr;
        Fixture::Flush();
        QVERIFY(Application::Instance()->Documents().isEmpty());
        QVERIFY(f.prompts.questions.isEmpty());
    }

    void ExitAsksEveryDocumentAndCanBeCancelled()
    {
        f.text->OpenDocumentFile(QString())->SetModifiedFlag();
        QVERIFY(f.frame->Router().Execute(Cmd::AppExit));
        QVERIFY(f.frame->isVisible());
        QCOMPARE(f.prompts.questions.size(), 1);
        f.prompts.saveChoices = {Prompts::SaveChoice::Discard};
        QVERIFY(f.frame->Router().Execute(Cmd::AppExit));
        QVERIFY(!f.frame->isVisible());
        QVERIFY(f.text->Documents().isEmpty());
    }
};

KALEIDRA_FRAMEWORK_TEST_MAIN(MdiFrameTest)
#include "mdi_frame_test.moc"
