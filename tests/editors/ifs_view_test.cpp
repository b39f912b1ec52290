// The IFS editor in a real window: tabs that select, add and delete maps
// (never the last), handles dragged with synthesised mouse events under
// each constraint, the coefficient box, and a whole drag as one undo step.

#include "app/app_fixture.h"

#include "documents/ifs_doc.h"
#include "editors/affine_map_box.h"
#include "editors/ifs_view.h"
#include "framework/standard_ids.h"
#include "framework/ui_resources.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"
#include "render/gdi_surface.h"

#include <QScrollBar>
#include <QTabBar>

#include <cmath>

using namespace appfixture;

namespace {

CIfsView* NewEditor()
{
    DocTemplate* ifs = nullptr;
    for (DocTemplate* docTemplate : App().Templates()) {
        if (docTemplate->ResourceId() == Res::DocType::Ifs)
            ifs = docTemplate;
    }
    Document* document = ifs->OpenDocumentFile(QString());
    auto* view = qobject_cast<CIfsView*>(document->Views().first());
    view->Frame()->showMaximized();
    QTest::qWait(20);
    view->repaint();
    return view;
}

QPoint At(Point p)
{
    return QPoint(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
}

// The window position of model point (x, y).
QPoint ModelAt(const CIfsView* view, double x, double y)
{
    Point p{x, y};
    Apply(view->m_viewTransform, p);
    return At(p);
}

void Drag(CIfsView* view, QPoint from, QPoint to)
{
    QWindow* window = view->window()->windowHandle();
    const auto at = [view](QPoint p) { return view->mapTo(view->window(), p); };
    QTest::mousePress(window, Qt::LeftButton, {}, at(from));
    QTest::mouseMove(window, at((from + to) / 2));
    QTest::mouseMove(window, at(to));
    QTest::mouseRelease(window, Qt::LeftButton, {}, at(to));
    QTest::qWait(1);
}

bool Near(double a, double b)
{
    return std::abs(a - b) < 0.02;
}

QStringList TabTexts(const QTabBar* tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts.append(tabs->tabText(i));
    return texts;
}

} // namespace

class IfsViewTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
    }

    void cleanup()
    {
        for (Document* document : App().Documents())
            document->SetModifiedFlag(false);
        CloseAll();
    }

    void tabsAddAndDeleteMaps()
    {
        CIfsView* view = NewEditor();
        CIfsDoc* doc = view->GetIfsDoc();
        const QString adding = UiResources::Current().String(Res::Str::AddMapTab);
        QCOMPARE(TabTexts(view->Tabs()), (QStringList{"[0]", adding}));
        QCOMPARE(view->m_selected, 0);
        // Deleting the only map does nothing.
        QVERIFY(!CommandRouter::Query(view->CommandChain(), Cmd::DeleteMap).enabled);
        view->DeleteCurrentMap();
        QCOMPARE(doc->Maps().size(), std::size_t{1});

        // A click on the adding tab appends an identity map and selects it;
        // its square and handles lie on the unit square's.
        QTabBar* tabs = view->Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QTest::qWait(1);
        QCOMPARE(doc->Maps().size(), std::size_t{2});
        QCOMPARE(doc->Maps()[1], kIdentityMap);
        QCOMPARE(TabTexts(tabs), (QStringList{"[0]", "[1]", adding}));
        QCOMPARE(view->m_selected, 1);
        QCOMPARE(tabs->currentIndex(), 1);
        view->repaint();
        QCOMPARE(view->m_mapFrame, view->m_unitFrame);

        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::AddMap));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QCOMPARE(view->m_selected, 0);
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::DeleteMap));
        QCOMPARE(doc->Maps().size(), std::size_t{2});
        QCOMPARE(TabTexts(tabs), (QStringList{"[0]", "[1]", adding}));
        QCOMPARE(view->m_selected, 1);

        // Undo brings the deleted map back, with its tab.
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::EditUndo));
        QCOMPARE(doc->Maps().size(), std::size_t{3});
        QCOMPARE(tabs->count(), 4);
    }

    void handleDragsUnderEachConstraint()
    {
        CIfsView* view = NewEditor();
        CIfsDoc* doc = view->GetIfsDoc();
        view->AddMap(); // the identity, selected
        view->repaint();
        const int index = view->m_selected;

        // The origin handle one reference length to the right: e = 1, f = 0.
        Drag(view, At(view->m_mapFrame.w), ModelAt(view, 1.0, 0.0));
        AffineMap m = doc->Maps()[static_cast<std::size_t>(index)];
        QVERIFY(Near(m.e, 1.0) && Near(m.f, 0.0));
        QVERIFY(Near(m.a, 1.0) && Near(m.b, 0.0) && Near(m.c, 0.0) && Near(m.d, 1.0));
        QVERIFY(doc->IsModified());
        // The whole drag is one step of the history.
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::EditUndo));
        QCOMPARE(doc->Maps()[static_cast<std::size_t>(index)], kIdentityMap);
        view->repaint();

        // Quarter turn: u to the model point (0, 1) turns the map by 90
        // degrees, and the box says so. The square grid snaps the release
        // onto that point exactly.
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::SquareGrid));
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::QuarterTurnConstraint));
        QVERIFY(CommandRouter::Query(view->CommandChain(), Cmd::QuarterTurnConstraint).checked);
        Drag(view, At(view->m_mapFrame.u), ModelAt(view, 0.0, 1.0));
        m = doc->Maps()[static_cast<std::size_t>(index)];
        QVERIFY(Near(m.a, 0.0) && Near(m.c, 1.0) && Near(m.b, -1.0) && Near(m.d, 0.0));
        CAffineMapBox* box = view->MapBox();
        QCOMPARE(box->ValueText(Res::Control::MapScaleX), QStringLiteral("1.0000"));
        QCOMPARE(box->ValueText(Res::Control::MapScaleY), QStringLiteral("1.0000"));
        QCOMPARE(box->ValueText(Res::Control::MapAngleX), QStringLiteral("90.00"));
        QCOMPARE(box->ValueText(Res::Control::MapAngleY), QStringLiteral("90.00"));
        QCOMPARE(box->Title(), QStringLiteral("Map %1").arg(index));

        // Mirror: (b, d) follows as (c, a).
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::MirrorConstraint));
        QCOMPARE(view->m_constraint, 1);
        view->repaint();
        Drag(view, At(view->m_mapFrame.u), ModelAt(view, 0.5, 0.25));
        m = doc->Maps()[static_cast<std::size_t>(index)];
        QVERIFY(Near(m.a, 0.5) && Near(m.c, 0.25));
        QVERIFY(Near(m.b, m.c) && Near(m.d, m.a));

        // A press beside every handle changes nothing.
        const AffineMap before = m;
        Drag(view, QPoint(3, 3), QPoint(60, 60));
        QCOMPARE(doc->Maps()[static_cast<std::size_t>(index)], before);
    }

    void theMapSquareIsDrawn()
    {
        CIfsView* view = NewEditor();
        view->repaint();
        const QImage image = view->grab().toImage();
        // The left side of the selected map's square (the default map moved by
        // a quarter) is a one-pixel line in colour 1.
        Point model{0.25, 0.75};
        Apply(view->m_viewTransform, model);
        const QPoint mid(static_cast<int>(model.x), static_cast<int>(model.y));
        QCOMPARE(image.pixel(mid) & 0xffffff, ToQColor(view->m_colors[1]).rgb() & 0xffffff);
        // Zooming and scrolling change the picture, not the maps.
        const AffineMapSet maps = view->GetIfsDoc()->Maps();
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::ZoomOut));
        view->HorizontalBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        view->repaint();
        QVERIFY(view->grab().toImage() != image);
        QCOMPARE(view->GetIfsDoc()->Maps(), maps);
    }
};

KALEIDRA_APP_TEST_MAIN(IfsViewTest)
#include "ifs_view_test.moc"
