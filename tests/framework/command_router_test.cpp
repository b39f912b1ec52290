// Commands offered along the chain view -> document -> child frame -> main
// window -> application, and the update handlers that keep menus and tool
// buttons current.

#include "framework_fixture.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

using namespace fixture;

namespace {

QAction* OnlyAction(MdiFrame* frame, int id)
{
    const QList<QAction*> actions = frame->MenuActions(id);
    return actions.size() == 1 ? actions.first() : nullptr;
}

QMenu* MenuTitled(MdiFrame* frame, const QString& title)
{
    for (QMenu* menu : frame->TopMenus()) {
        if (menu->title() == title)
            return menu;
    }
    return nullptr;
}

} // namespace

class CommandRouterTest : public QObject
{
    Q_OBJECT
    Fixture f;

private slots:
    void init() { f.Init(); }
    void cleanup() { f.Cleanup(); }

    void FirstTargetAlongTheChainWins()
    {
        QVERIFY(f.text->OpenDocumentFile(QString()));
        ProbedView::probe.Reset(QStringLiteral("view"));
        ProbedDocument::probe.Reset(QStringLiteral("document"));
        ProbedChildFrame::probe.Reset(QStringLiteral("child"));
        ProbedFrame::probe.Reset(QStringLiteral("main"));
        ProbedApplication::probe.Reset(QStringLiteral("app"));
        QList<Probe*> chain{&ProbedView::probe, &ProbedDocument::probe, &ProbedChildFrame::probe,
                            &ProbedFrame::probe, &ProbedApplication::probe};
        for (Probe* probe : chain)
            probe->handles.insert(kProbe);

        // Each time the first handler stops handling, the next one gets it.
        const QStringList expected{"view:9001", "document:9001", "child:9001", "main:9001",
                                   "app:9001"};
        for (int i = 0; i < chain.size(); ++i) {
            Log().clear();
            QVERIFY(f.frame->Router().Execute(kProbe));
            QCOMPARE(Log(), QStringList{expected[i]});
            chain[i]->handles.clear();
        }
        Log().clear();
        QVERIFY(!f.frame->Router().Execute(kProbe));
        QVERIFY(Log().isEmpty());
        QVERIFY(!f.frame->Router().Query(kProbe).enabled);
    }

    void WithoutDocumentsTheMainWindowAndApplicationAnswer()
    {
        ProbedView::probe.Reset(QStringLiteral("view"));
        ProbedView::probe.handles.insert(kProbe);
        ProbedApplication::probe.Reset(QStringLiteral("app"));
        ProbedApplication::probe.handles.insert(kProbe);
        QVERIFY(f.frame->Router().Execute(kProbe));
        QCOMPARE(Log(), QStringList{"app:9001"});
        // Document commands have nobody to go to.
        QVERIFY(!f.frame->Router().Query(Cmd::FileSave).enabled);
        QVERIFY(f.frame->Router().Query(Cmd::FileNew).enabled);
    }

    void UpdateHandlersRunAfterEveryCommandAndWhenAMenuShows()
    {
        QVERIFY(f.text->OpenDocumentFile(QString()));
        ProbedView::probe.Reset(QStringLiteral("view"));
        ProbedView::probe.handles.insert(kProbe);
        ProbedView::probe.checks.insert(kCheck, false);

        QAction* check = OnlyAction(f.frame, kCheck);
        QAction* nobody = OnlyAction(f.frame, kNobody);
        QVERIFY(check && nobody);
        f.frame->UpdateActions();
        QVERIFY(check->isCheckable() && !check->isChecked());
        QVERIFY(!nobody->isEnabled());

        // A command refreshes every action.
        ProbedView::probe.checks[kCheck] = true;
        QVERIFY(f.frame->Router().Execute(kProbe));
        QVERIFY(check->isChecked());

        // So does a menu about to show.
        ProbedView::probe.checks[kCheck] = false;
        ProbedView::probe.disables.insert(kCheck);
        QMenu* edit = MenuTitled(f.frame, QStringLiteral("&Edit"));
        QVERIFY(edit);
        emit edit->aboutToShow();
        QVERIFY(!check->isChecked());
        QVERIFY(!check->isEnabled());
    }

    void AStaleEnabledActionDoesNotRunADisabledCommand()
    {
        QVERIFY(f.text->OpenDocumentFile(QString()));
        ProbedView::probe.Reset(QStringLiteral("view"));
        ProbedView::probe.handles.insert(kProbe);
        QAction* probe = OnlyAction(f.frame, kProbe);
        f.frame->UpdateActions();
        QVERIFY(probe->isEnabled());
        ProbedView::probe.disables.insert(kProbe);
        probe->trigger();
        QVERIFY(Log().isEmpty());
        QVERIFY(!probe->isEnabled());
    }

    void ShortcutsStatusTextsAndToolTipsComeFromTheBundle()
    {
        QAction* fileNew = OnlyAction(f.frame, Cmd::FileNew);
        QVERIFY(fileNew);
        QCOMPARE(fileNew->text(), QStringLiteral("&New"));
        QCOMPARE(fileNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(fileNew->statusTip(), QStringLiteral("Create a new document"));

        QVERIFY(f.frame->AddCommandToolBar(128));
        QToolBar* bar = f.frame->findChild<QToolBar*>(QStringLiteral("ToolBar128"));
        QVERIFY(bar);
        QList<QAction*> buttons;
        for (QAction* action : bar->actions()) {
            if (!action->isSeparator())
                buttons.append(action);
        }
        QCOMPARE(buttons.size(), 3);
        QCOMPARE(CommandRouter::CommandId(buttons[2]), kProbe);
        QCOMPARE(buttons[2]->toolTip(), QStringLiteral("Probe"));
        QCOMPARE(buttons[2]->statusTip(), QStringLiteral("Probe the chain"));
        QVERIFY(!buttons[0]->icon().isNull());

        // A key from a menu text runs its command in the active document.
        QVERIFY(f.text->OpenDocumentFile(QString()));
        ProbedView::probe.Reset(QStringLiteral("view"));
        ProbedView::probe.handles.insert(kProbe);
        f.frame->UpdateActions();
        QVERIFY(buttons[2]->isEnabled());
        f.frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.frame));
        QTest::keyClick(f.frame, Qt::Key_F5);
        QCOMPARE(Log(), QStringList{"view:9001"});
    }

    void AContextMenuOffersItsCommandsToItsViewFirst()
    {
        Document* first = f.text->OpenDocumentFile(QString());
        QVERIFY(first && f.text->OpenDocumentFile(QString()));
        // The first document's view is not the active one.
        View* view = first->Views().first();
        QVERIFY(f.frame->ActiveView() != view);
        ProbedView::probe.Reset(QStringLiteral("view"));
        ProbedView::probe.handles.insert(kProbe);
        ProbedView::probe.checks.insert(kCheck, true);

        bool checkedInMenu = false;
        QTimer::singleShot(0, [&] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(popup);
            const QList<QAction*> actions = popup->actions();
            QCOMPARE(actions.size(), 2);
            checkedInMenu = actions[1]->isChecked();
            actions[0]->trigger();
            popup->close();
        });
        QVERIFY(view->TrackPopupMenu(201, QPoint(10, 10)));
        QVERIFY(checkedInMenu);
        QCOMPARE(Log(), QStringList{"view:9001"});
        QVERIFY(!view->TrackPopupMenu(999, QPoint(10, 10)));
    }

    void ALaterRegistrationTakesACommandOver()
    {
        struct Target : CommandTarget
        {
            QString ran;
            Target()
            {
                AddCommandRange(10, 20, [this](int) { ran = QStringLiteral("range"); });
                AddCommand(15, [this] { ran = QStringLiteral("single"); });
                AddUpdateHandler(30, [](CommandState& state) { state.SetCheck(true); });
            }
        } target;
        const CommandRouter::Chain chain{&target};
        QVERIFY(CommandRouter::Execute(chain, 15));
        QCOMPARE(target.ran, QStringLiteral("single"));
        QVERIFY(CommandRouter::Execute(chain, 12));
        QCOMPARE(target.ran, QStringLiteral("range"));
        // An update handler alone shows the state but runs nothing.
        QCOMPARE(CommandRouter::Query(chain, 30).checked, std::optional<bool>(true));
        QVERIFY(!CommandRouter::Execute(chain, 30));
    }
};

KALEIDRA_FRAMEWORK_TEST_MAIN(CommandRouterTest)
#include "command_router_test.moc"
