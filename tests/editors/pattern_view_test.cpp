// The pattern editor in a real window: segments drawn with synthesised mouse
// events land in the document and on the screen, with the flags of the
// buttons and keys held, snapped to the grids, chained or fanned; polygons
// from the shape box; the information box; the click that only activates.

#include "app/app_fixture.h"

#include "app/color_bar.h"
#include "documents/pattern_doc.h"
#include "editors/pattern_info_box.h"
#include "editors/pattern_view.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"
#include "render/gdi_surface.h"

#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>

#include <cmath>

using namespace appfixture;

namespace {

DocTemplate* TemplateOf(int type)
{
    for (DocTemplate* docTemplate : App().Templates()) {
        if (docTemplate->ResourceId() == type)
            return docTemplate;
    }
    return nullptr;
}

CPatternView* NewEditor(int type = Res::DocType::Generator)
{
    Document* document = TemplateOf(type)->OpenDocumentFile(QString());
    auto* view = qobject_cast<CPatternView*>(document->Views().first());
    view->Frame()->showMaximized();
    QTest::qWait(20); // the activation of the new window is over
    view->repaint();
    return view;
}

QPoint At(Point p)
{
    return QPoint(static_cast<int>(p.x), static_cast<int>(p.y));
}

// Events go to the main window as the window system would send them, so
// that focus and the activation of windows follow the press.
void Draw(CPatternView* view, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers keys = {})
{
    QWindow* window = view->window()->windowHandle();
    const auto at = [view](QPoint p) { return view->mapTo(view->window(), p); };
    QTest::mousePress(window, button, keys, at(from));
    QTest::mouseMove(window, at((from + to) / 2));
    QTest::mouseMove(window, at(to));
    QTest::mouseRelease(window, button, keys, at(to));
    QTest::qWait(1);
}

QRgb PixelAt(CPatternView* view, Point p)
{
    const QImage image = view->grab().toImage();
    return image.pixel(static_cast<int>(p.x), static_cast<int>(p.y)) & 0xffffff;
}

QRgb Rgb(Color c)
{
    return ToQColor(c).rgb() & 0xffffff;
}

bool Near(double a, double b, double tolerance = 1e-9)
{
    return std::abs(a - b) < tolerance;
}

} // namespace

class PatternViewTest : public QObject
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

    void aDraggedSegmentIsStoredAndDrawn()
    {
        CPatternView* view = NewEditor();
        auto* doc = view->GetPatternDoc();
        const Segment ref = view->m_reference;
        const double length = view->m_referencePolar.length;
        QVERIFY(length > 50);
        // Ctrl puts the end on the reference end: angle 0, ratio 1.
        Draw(view, At(ref.start), At(ref.start) + QPoint(7, 9), Qt::LeftButton,
             Qt::ControlModifier);
        QCOMPARE(doc->GetPattern().size(), std::size_t{1});
        QCOMPARE(doc->GetPattern()[0], (PatternStep{0, 0.0, 1.0}));
        QVERIFY(doc->IsModified());

        // No grid: the exact pixel, relative to the reference.
        const QPoint end = At(ref.end) + QPoint(0, -40);
        Draw(view, end, end);
        const Pattern& pattern = doc->GetPattern();
        QCOMPARE(pattern.size(), std::size_t{2});
        const Polar expected = ToPolar(Point{end.x() - ref.end.x, end.y() - ref.end.y});
        QVERIFY(Near(pattern[1].angle, expected.angle));
        QVERIFY(Near(pattern[1].ratio, expected.length / length));
        QCOMPARE(pattern[1].flags, 0);
        // The segment shows in the colour of plain steps, entry 3.
        const Point onSegment{ref.end.x, ref.end.y - 28};
        QCOMPARE(PixelAt(view, onSegment), Rgb(view->m_colors[3]));
        QCOMPARE(view->InfoBox()->Title(), QStringLiteral("Steps: 2"));
        // The status bar tells where the mouse is, in reference units.
        const QPoint mouse = At(ref.end) + QPoint(0, 40);
        QTest::mouseMove(view->window()->windowHandle(), view->mapTo(view->window(), mouse));
        const QString where = QStringLiteral("x = %1, y = %2")
                                  .arg((mouse.x() - ref.start.x) / length, 0, 'f', 4)
                                  .arg((mouse.y() - ref.start.y) / length, 0, 'f', 4);
        QCOMPARE(Frame().StatusText(), where);
        QCOMPARE(view->InfoBox()->AngleText(),
                 QString::asprintf("%.6lf", expected.angle * 180.0 / pi));

        // Right button with Shift: invisible and final, drawn in entry 6.
        const QPoint down = end + QPoint(-30, 0);
        Draw(view, down, down, Qt::RightButton, Qt::ShiftModifier);
        QCOMPARE(doc->GetPattern()[2].flags, StepInvisible | StepFinal);
        QCOMPARE(PixelAt(view, {end.x() - 22.0, static_cast<double>(end.y())}),
                 Rgb(view->m_colors[6]));

        // A release on the anchor: ratio 0, shown as "0".
        Draw(view, down, down);
        QCOMPARE(doc->GetPattern()[3].ratio, 0.0);
        QCOMPARE(view->InfoBox()->RatioText(), QStringLiteral("0"));

        // Undo takes the last segment off the screen too.
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::EditUndo));
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::EditUndo));
        view->repaint();
        QCOMPARE(doc->GetPattern().size(), std::size_t{2});
        QVERIFY(PixelAt(view, {end.x() - 22.0, static_cast<double>(end.y())}) !=
                Rgb(view->m_colors[6]));
    }

    void theSquareGridSnapsTheEnd()
    {
        CPatternView* view = NewEditor(Res::DocType::Initiator);
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::SquareGrid));
        view->repaint();
        const Segment ref = view->m_reference;
        const double step = view->m_referencePolar.length / 4;
        const QPoint off =
            At(ref.start) + QPoint(static_cast<int>(step * 2 + 3), static_cast<int>(-step - 4));
        Draw(view, off, off);
        const PatternStep s = view->GetPatternDoc()->GetPattern()[0];
        const Point end = ref.start + FromPolar({s.angle, s.ratio * view->m_referencePolar.length});
        QVERIFY(Near(end.x, ref.start.x + 2 * step, 1e-6));
        QVERIFY(Near(end.y, ref.start.y - step, 1e-6));
    }

    void fanModeStartsEverySegmentAtTheReferenceStart()
    {
        CPatternView* view = NewEditor();
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::FanMode));
        view->repaint();
        const Segment ref = view->m_reference;
        const QPoint a = At(ref.start) + QPoint(40, -40);
        const QPoint b = At(ref.start) + QPoint(40, 40);
        Draw(view, a, a);
        QCOMPARE(view->m_anchor, ref.start);
        Draw(view, b, b);
        const Pattern& pattern = view->GetPatternDoc()->GetPattern();
        QCOMPARE(pattern.size(), std::size_t{2});
        // Both from the start: the second is the mirror of the first (up to
        // the half pixel the start may lie off the pixel grid).
        QVERIFY(Near(pattern[0].angle, -pattern[1].angle, 0.02));
        QVERIFY(Near(pattern[0].ratio, pattern[1].ratio, 0.01));
    }

    void polygonsDeleteAllAndTheInformationBox()
    {
        CPatternView* view = NewEditor();
        auto* doc = view->GetPatternDoc();
        view->OnShapeSelected(0);
        QVERIFY(doc->GetPattern().empty());
        view->OnShapeText(QStringLiteral("Square")); // entry 3: four sides
        QCOMPARE(doc->GetPattern().size(), std::size_t{4});
        QCOMPARE(view->ShapeEntry(), 0);
        view->repaint();
        QCOMPARE(view->InfoBox()->Title(), QStringLiteral("Steps: 4"));
        QCOMPARE(view->InfoBox()->RatioText(), QStringLiteral("1/1.000000"));
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::DeleteAllSteps));
        view->repaint();
        QVERIFY(doc->GetPattern().empty());
        QCOMPARE(view->InfoBox()->Title(), QStringLiteral("Steps: 0"));
        QCOMPARE(view->InfoBox()->AngleText(), QStringLiteral("-"));
        QCOMPARE(view->InfoBox()->RatioText(), QStringLiteral("-"));
    }

    void theClickThatActivatesDrawsNothing()
    {
        CPatternView* first = NewEditor();
        CPatternView* second = NewEditor();
        // Side by side, so that a click reaches the window behind.
        first->Frame()->showNormal();
        second->Frame()->showNormal();
        Frame().TileVertically();
        QTest::qWait(20);
        first->repaint();
        QCOMPARE(Frame().ActiveView(), second);
        const QPoint p = At(first->m_reference.end) + QPoint(0, 30);
        Draw(first, p, p);
        QCOMPARE(Frame().ActiveView(), first);
        QVERIFY(first->GetPatternDoc()->GetPattern().empty());
        // The next click draws.
        Draw(first, p, p);
        QCOMPARE(first->GetPatternDoc()->GetPattern().size(), std::size_t{1});
    }

    void barsFollowTheActiveEditor()
    {
        CPatternView* view = NewEditor();
        QCOMPARE(Frame().Bands(), 0x139);
        // A colour chosen in the dialog goes to the view and its swatch;
        // cancelling changes neither.
        AnswerNextDialog<QColorDialog>([](QColorDialog* dialog) {
            dialog->setCurrentColor(QColor(0x56, 0x34, 0x12));
            dialog->accept();
        });
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::Color(2)));
        QCOMPARE(view->m_colors[2], Color{0x123456});
        QCOMPARE(Frame().ColorBar()->GetColor(2), Color{0x123456});
        AnswerNextDialog<QColorDialog>([](QColorDialog* dialog) {
            dialog->setCurrentColor(Qt::red);
            dialog->reject();
        });
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::Color(2)));
        QCOMPARE(view->m_colors[2], Color{0x123456});
        QCOMPARE(Frame().ColorBar()->GetColor(2), Color{0x123456});
        // Typing in the grid bar sets the editor's counts.
        QLineEdit* squares = Frame().GridSquaresEdit();
        squares->clear();
        QTest::keyClicks(squares, QStringLiteral("8"));
        QCOMPARE(view->m_grids.Square().count, 8);
        QCOMPARE(view->m_grids.Circle().count, 8);
        // A shape from the pattern bar: entry 3 appends a square, and the box
        // goes back to its first entry.
        QComboBox* shapes = Frame().ShapeBox();
        shapes->setCurrentIndex(3);
        emit shapes->activated(3);
        QCOMPARE(view->GetPatternDoc()->GetPattern().size(), std::size_t{4});
        QCOMPARE(shapes->currentIndex(), 0);
        // With no window left, the bars go back to the program's own.
        CloseAll();
        QCOMPARE(Frame().Bands(), 0x101);
    }
};

KALEIDRA_APP_TEST_MAIN(PatternViewTest)
#include "pattern_view_test.moc"
