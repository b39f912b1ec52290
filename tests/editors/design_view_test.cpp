// What both graphical editors share: the reference frame, snapping to each
// grid alone and combined with its precedence and rounding, the scroll
// arithmetic with truncated positions, zoom limits and the grid counts the
// grid bar sets.

#include "app/app_fixture.h"

#include "editors/design_grids.h"
#include "editors/pattern_view.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

#include <QScrollBar>

#include <cmath>

using namespace appfixture;

namespace {

bool Near(Point a, Point b, double tolerance = 1e-9)
{
    return std::abs(a.x - b.x) < tolerance && std::abs(a.y - b.y) < tolerance;
}

double Distance(Point a, Point b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

} // namespace

class DesignViewTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CloseAll(); }

    void referenceFrame()
    {
        // 300 x 200 at (10, 20): side 200, a = 100 (divisor 2), b = 0.
        const Segment s = ReferenceFrame(QRect(10, 20, 300, 200), 2, 0, 0.5, 0.5);
        QCOMPARE(s.start, (Point{110.0, 120.0}));
        QCOMPARE(s.end, (Point{210.0, 120.0}));
        // Both divisors: the vertical free space shrinks by b as well.
        const Segment t = ReferenceFrame(QRect(0, 0, 300, 200), 3, 3, 0.0, 1.0);
        QCOMPARE(t.start, (Point{0.0, 134.0}));
        QCOMPARE(t.end.x - t.start.x, 66.0);
        // A divisor of 0 gives a segment of no length.
        const Segment none = ReferenceFrame(QRect(0, 0, 300, 200), 0, 0, 0.5, 0.5);
        QCOMPARE(none.start, none.end);
    }

    void snapping()
    {
        Segment reference{{100.0, 100.0}, {180.0, 100.0}}; // length 80
        DesignGrids grids(&reference);
        const Point centre{100.0, 100.0};
        const Point p{131.0, 89.0};
        QCOMPARE(grids.Snap(p, centre), p); // nothing shown

        grids.Square().shown = true; // step 20
        QCOMPARE(grids.Snap(p, centre), (Point{140.0, 80.0}));
        // Halves go away from zero on both sides of the start.
        QCOMPARE(grids.Snap({110.0, 90.0}, centre), (Point{120.0, 80.0}));
        QCOMPARE(DesignGrids::Round(-0.5), -1.0);
        QCOMPARE(DesignGrids::Round(0.5), 1.0);
        QCOMPARE(DesignGrids::Round(-0.49), 0.0);

        // The circle grid wins over the square grid: 55 becomes 60.
        grids.Circle().shown = true;
        const Point onCircle = grids.Snap({100.0 + 3.0 * 11, 100.0 + 4.0 * 11}, centre);
        QVERIFY(Near(onCircle, {136.0, 148.0}));

        // Rays only: the direction rounds to 15 degrees, the distance stays.
        grids.Circle().shown = false;
        grids.Rays().shown = true;
        const Point q{100.0 + 50.0 * std::cos(0.3), 100.0 + 50.0 * std::sin(0.3)};
        const Point onRay = grids.Snap(q, centre);
        QVERIFY(std::abs(Distance(onRay, centre) - 50.0) < 1e-9);
        QVERIFY(Near(onRay, {100.0 + 50.0 * std::cos(pi / 12), 100.0 + 50.0 * std::sin(pi / 12)}));

        // Both polar grids: on a circle and on a ray about the same centre.
        grids.Circle().shown = true;
        const Point both =
            grids.Snap({100.0 + 51.0 * std::cos(0.3), 100.0 + 51.0 * std::sin(0.3)}, centre);
        QVERIFY(Near(both, {100.0 + 60.0 * std::cos(pi / 12), 100.0 + 60.0 * std::sin(pi / 12)}));

        // Counts below 1 are ignored; a grid made with 0 takes 4.
        grids.SetSquareAndCircleCount(0);
        grids.SetRayCount(-3);
        QCOMPARE(grids.Square().count, 4);
        QCOMPARE(grids.Rays().count, 24);
        QCOMPARE(DesignGrid(0).count, 4);
    }

    void scrollingZoomAndGridCounts()
    {
        DocTemplate* generators = App().Templates()[1];
        Document* document = generators->OpenDocumentFile(QString());
        auto* view = qobject_cast<CPatternView*>(document->Views().first());
        QCOMPARE(view->m_zoom, 2);
        QCOMPARE(view->HorizontalBar()->value(), 50);
        QCOMPARE(view->VerticalBar()->maximum(), 100);

        // The arrow towards the start adds a tenth; positions truncate.
        QScrollBar* bar = view->HorizontalBar();
        QList<int> positions;
        for (int i = 0; i < 6; ++i) {
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            positions.append(bar->value());
        }
        QCOMPARE(positions, (QList<int>{60, 70, 80, 89, 99, 100}));
        QCOMPARE(view->m_scrollX, 1.0);
        // The other way, from 0.5 on the vertical bar: 0.2 after three.
        for (int i = 0; i < 3; ++i)
            view->VerticalBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(view->VerticalBar()->value(), 20);
        // Dragging the thumb places the drawing at its fraction.
        bar->setSliderPosition(35);
        bar->triggerAction(QAbstractSlider::SliderMove);
        QCOMPARE(view->m_scrollX, 0.35);

        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::ZoomIn));
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::ZoomIn));
        QCOMPARE(view->m_zoom, 1);
        for (int i = 0; i < 5; ++i)
            QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::ZoomOut));
        QCOMPARE(view->m_zoom, 6);

        view->OnSquareCountText(QStringLiteral("0"));
        view->OnSquareCountText(QStringLiteral("-2"));
        view->OnRayCountText(QStringLiteral("x"));
        QCOMPARE(view->m_grids.Square().count, 4);
        QCOMPARE(view->m_grids.Rays().count, 24);
        view->OnSquareCountText(QStringLiteral("6"));
        view->OnRayCountText(QStringLiteral("12"));
        QCOMPARE(view->m_grids.Circle().count, 6);
        QCOMPARE(view->m_grids.Rays().count, 12);
    }
};

KALEIDRA_APP_TEST_MAIN(DesignViewTest)
#include "design_view_test.moc"
