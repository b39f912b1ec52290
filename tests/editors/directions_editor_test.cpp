// The directions document and its compass editor inside the running
// program: the header texts, the compass geometry, editing the count, the
// colours, files and undo.

#include "app/app_fixture.h"
#include "app/color_bar.h"
#include "documents/directions_doc.h"
#include "editors/directions_view.h"
#include "framework/standard_ids.h"
#include "ids/resource_ids.h"
#include "render/fractal_painter.h"
#include "render/gdi_surface.h"

#include <QDockWidget>
#include <QFile>
#include <QLineEdit>

using namespace appfixture;

namespace {

CDirectionsDoc* NewDirections()
{
    for (DocTemplate* docTemplate : App().Templates()) {
        if (docTemplate->ResourceId() == Res::DocType::Directions)
            return qobject_cast<CDirectionsDoc*>(docTemplate->OpenDocumentFile({}));
    }
    return nullptr;
}

CDirectionsView* ViewOf(Document* document)
{
    return document ? qobject_cast<CDirectionsView*>(document->Views().value(0)) : nullptr;
}

} // namespace

class DirectionsEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CloseAll(); }

    void headerAndCompass()
    {
        QCOMPARE(CDirectionsView::HeaderText(8), QStringLiteral("8 (45.000000)"));
        QCOMPARE(CDirectionsView::HeaderText(3), QStringLiteral("3 (120.000000)"));
        QCOMPARE(CDirectionsView::HeaderText(0), QStringLiteral("0"));

        // 400 x 458: the compass area is 400 x 400 below the band and gap.
        const CompassLayout eight = CompassLayout::Make(400, 458, 8);
        QCOMPARE(eight.centre, QPoint(200, 258));
        QCOMPARE(eight.radius, 168);
        QCOMPARE(eight.spokeEnds.size(), 8);
        QCOMPARE(eight.spokeEnds[0], QPoint(368, 258));
        QCOMPARE(eight.spokeEnds[2], QPoint(200, 90)); // straight up
        QCOMPARE(eight.spokeEnds[4], QPoint(32, 258));
        QCOMPARE(eight.labelCentres[2].y(), 258.0 - 184.0);

        // Any count opens; the layout stays bounded.
        const CompassLayout huge = CompassLayout::Make(400, 458, 2147483647);
        QCOMPARE(huge.spokeEnds.size(), CompassLayout::kMaxSpokes);
        QVERIFY(huge.labelCentres.isEmpty());

        const CompassLayout three = CompassLayout::Make(400, 458, 3);
        QCOMPARE(three.spokeEnds.size(), 3);
        QCOMPARE(three.spokeEnds[1], QPoint(116, 112)); // 120 degrees on, upwards
        // cos(-4 pi / 3) is a hair below -0.5: truncation gives 115.
        QCOMPARE(three.spokeEnds[2], QPoint(115, 403));
    }

    void editingTheCount()
    {
        CDirectionsDoc* doc = NewDirections();
        CDirectionsView* view = ViewOf(doc);
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QCOMPARE(doc->GetDirections().Count(), 8);
        QVERIFY(!doc->IsModified());

        view->OnEditCount();
        QLineEdit* box = view->EditBox();
        QVERIFY(box->isVisible());
        QCOMPARE(box->geometry(), QRect(80, 16, 150, 20));
        QCOMPARE(box->selectedText(), QStringLiteral("8"));
        QTest::keyClicks(box, "3");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!box->isVisible());
        QCOMPARE(doc->GetDirections(), Directions(3));
        QVERIFY(doc->IsModified());

        // Below 1, or no number: nothing changes and the box stays open.
        for (const char* text : {"0", "-4", "many"}) {
            view->OnEditCount();
            box->setText(QString::fromLatin1(text));
            QTest::keyClick(box, Qt::Key_Return);
            QVERIFY2(box->isVisible(), text);
            QCOMPARE(box->text(), QString::fromLatin1(text));
            QCOMPARE(doc->GetDirections().Count(), 3);
        }
        box->setText(QStringLiteral(" 12 headings"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(doc->GetDirections().Count(), 12);

        doc->UndoStack().undo();
        doc->UndoStack().undo();
        QCOMPARE(doc->GetDirections().Count(), 8);
        QVERIFY(!doc->IsModified());
    }

    // The band is the background at 80 %, whatever the background is.
    void colours()
    {
        CDirectionsDoc* doc = NewDirections();
        CDirectionsView* view = ViewOf(doc);
        QVERIFY(QTest::qWaitForWindowExposed(view));
        for (const Color background : {view->Colors()[0], MakeColor(40, 200, 100)}) {
            view->SetBackground(background);
            const QImage picture = view->grab().toImage();
            QCOMPARE(QColor(picture.pixel(view->width() - 3, 3)),
                     ToQColor(ScaleColor(background, 0.8)));
            QCOMPARE(QColor(picture.pixel(3, 52)), ToQColor(background));
        }
    }

    // The compass starts from the program's colours and the colour bar
    // shows its own while it is active; a list editor hides the bar.
    void theMainFrameFollows()
    {
        const ColorSet saved = App().CurrentColors();
        App().CurrentColors()[0] = MakeColor(10, 20, 30);
        App().SyncViewColors();
        CDirectionsDoc* doc = NewDirections();
        CDirectionsView* view = ViewOf(doc);
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QCOMPARE(view->Colors()[0], MakeColor(10, 20, 30));
        view->SetBackground(MakeColor(200, 100, 50));
        QTRY_COMPARE(Frame().ColorBar()->Swatch(0)->GetColor(), MakeColor(200, 100, 50));
        QVERIFY(Frame().ColorBarDock()->isVisible());

        for (DocTemplate* docTemplate : App().Templates()) {
            if (docTemplate->ResourceId() == Res::DocType::Lsys)
                docTemplate->OpenDocumentFile({});
        }
        QTRY_VERIFY(!Frame().ColorBarDock()->isVisible());
        App().CurrentColors() = saved;
        App().SyncViewColors();
    }

    void files()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new.dirs"));
        CDirectionsDoc* doc = NewDirections();
        QVERIFY(doc->DoSave(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[directions] 8\n"));
        QVERIFY(doc->SetCount(5));
        QVERIFY(doc->DoSave(path));
        CloseAll();
        auto* reopened = qobject_cast<CDirectionsDoc*>(App().OpenDocumentFile(path));
        QVERIFY(reopened);
        QCOMPARE(reopened->GetDirections(), Directions(5));
    }
};

KALEIDRA_APP_TEST_MAIN(DirectionsEditorTest)
#include "directions_editor_test.moc"
