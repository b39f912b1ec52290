// The preset chooser: five lists with the presets of their kind in table
// order, nothing chosen at first, and a choice confirmed from the open list
// or with Return; browsing with the arrow keys does not close it.

#include "app_fixture.h"

#include "engine/presets.h"
#include "views/preset_dialog.h"

#include <QAbstractItemView>

using namespace appfixture;

namespace {

QStringList Entries(const QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->itemText(i));
    return entries;
}

} // namespace

class PresetDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void EachListHoldsItsKindInTableOrder()
    {
        CPresetDialog chooser;
        const QStringList controls{"1001", "1004", "1005", "1002", "1003"};
        const QList<int> counts{13, 10, 10, 12, 19};
        for (int kind = 0; kind < kKindCount; ++kind) {
            CPresetList* list = chooser.List(kind);
            QCOMPARE(list->objectName(), controls[kind]);
            QCOMPARE(list->count(), counts[kind]);
            QCOMPARE(list->currentIndex(), -1);
            for (int i = 0; i < list->count(); ++i)
                QCOMPARE(list->itemText(i), QString::fromUtf8(PresetName(kind, i)));
        }
        // The MCRM list shows the names of the IFS presets.
        QCOMPARE(Entries(chooser.List(2)), Entries(chooser.List(1)));
        QCOMPARE(chooser.Index(), -1);
        QVERIFY(!chooser.List(5));
    }

    void ArrowsBrowseAndReturnConfirms()
    {
        CPresetDialog chooser;
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        CPresetList* automata = chooser.List(4);
        automata->setFocus();
        QTest::keyClick(automata, Qt::Key_Down);
        QTest::keyClick(automata, Qt::Key_Down);
        QTest::keyClick(automata, Qt::Key_Down);
        QTest::keyClick(automata, Qt::Key_Up);
        QVERIFY(chooser.isVisible());
        QCOMPARE(chooser.Index(), -1);
        QTest::keyClick(automata, Qt::Key_Return);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(chooser.Kind(), 4);
        QCOMPARE(chooser.Index(), 1);

        // Return on a list without a selection closes with nothing chosen.
        CPresetDialog empty;
        empty.show();
        QTest::keyClick(empty.List(1), Qt::Key_Return);
        QCOMPARE(empty.result(), int(QDialog::Accepted));
        QCOMPARE(empty.Index(), -1);
    }

    void AChoiceFromTheOpenListConfirms()
    {
        CPresetDialog chooser;
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        CPresetList* mcrm = chooser.List(2);
        mcrm->showPopup();
        QAbstractItemView* popup = mcrm->view();
        QTRY_VERIFY(popup->isVisible());
        popup->setCurrentIndex(popup->model()->index(6, 0));
        QTest::keyClick(popup, Qt::Key_Return);
        QTRY_VERIFY(!chooser.isVisible());
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(chooser.Kind(), 2);
        QCOMPARE(chooser.Index(), 6);
    }
};

KALEIDRA_APP_TEST_MAIN(PresetDialogTest)
#include "preset_dialog_test.moc"
