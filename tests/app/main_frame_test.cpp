// The main frame: the bands and the colour bar after start-up and for the
// active view, the generation buttons, the colour swatches, the centred
// button images, and the update handlers seen through the main frame's
// router.

#include "app_fixture.h"

#include "app/color_bar.h"
#include "app/generation_bar.h"
#include "app/image_button.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"

#include <QColorDialog>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolBar>

#include <algorithm>

using namespace appfixture;

namespace {

CFractalDoc* OpenPreset(int kind, int index)
{
    auto* document =
        qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
    if (document)
        document->SetPreset(kind, index);
    return document;
}

bool Shown(QWidget* bar)
{
    return !bar->isHidden();
}

void ClickSwatchAndChoose(int k, const QColor& color)
{
    AnswerNextDialog<QColorDialog>([color](QColorDialog* dialog) {
        dialog->setCurrentColor(color);
        dialog->accept();
    });
    Frame().ColorBar()->Swatch(k)->click();
}

} // namespace

class MainFrameTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CloseAll(); }

    // Runs first: the state start-up leaves behind. Bands 1 to 5 carry their
    // image from the resources.
    void AfterStartUpOnlyTheMainToolBarAndTheColourBarShow()
    {
        QCOMPARE(Frame().Bands(), CMainFrame::kBandsInitial);
        for (int k = 0; k < CMainFrame::kBandCount; ++k) {
            QCOMPARE(Shown(Frame().Band(k)), k == 0);
            const auto labels = Frame().Band(k)->findChildren<QLabel*>();
            QCOMPARE(std::any_of(labels.begin(), labels.end(),
                                 [](const QLabel* label) { return !label->pixmap().isNull(); }),
                     k > 0);
        }
        QVERIFY(Shown(Frame().ColorBarDock()));
        QCOMPARE(Frame().ColorBar()->Colors(), App().CurrentColors());
        QVERIFY(App().Documents().isEmpty());
    }

    // The active fractal window's bands and colours; the last window gone,
    // the frame is back to its initial bands.
    void AnActiveFractalViewShowsItsBands()
    {
        CFractalDoc* document = OpenPreset(0, 0);
        QVERIFY(document);
        QCOMPARE(Frame().Bands(), CMainFrame::kBandsFractal);
        QVERIFY(Shown(Frame().Band(1)) && Shown(Frame().Band(2)) && !Shown(Frame().Band(3)));
        QCOMPARE(Frame().ColorBar()->Colors(), FirstView(document)->m_settings.colors);
        // A list editor would take the bands away; activating the fractal
        // window again brings them back.
        Frame().ShowBands(CMainFrame::kBandsList);
        QVERIFY(!Shown(Frame().ColorBarDock()));
        CFractalDoc* other = OpenPreset(1, 0);
        QVERIFY(other);
        QCOMPARE(Frame().Bands(), CMainFrame::kBandsFractal);
        QVERIFY(Shown(Frame().ColorBarDock()));
        Frame().GridSquaresEdit()->setText(QStringLiteral("7"));
        Frame().GridRaysEdit()->setText(QStringLiteral("9"));
        CloseAll();
        QCOMPARE(Frame().Bands(), CMainFrame::kBandsInitial);
        QVERIFY(!Shown(Frame().Band(1)));
        QCOMPARE(Frame().ColorBar()->Colors(), App().CurrentColors());
        // With no window left the grid counts are the defaults again.
        QCOMPARE(Frame().GridSquaresEdit()->text(), QStringLiteral("4"));
        QCOMPARE(Frame().GridRaysEdit()->text(), QStringLiteral("4"));
    }

    void SwatchKIssuesColourCommandK_data()
    {
        QTest::addColumn<int>("k");
        for (int k = 0; k < CColorBar::kSwatchCount; ++k)
            QTest::addRow("swatch %d", k) << k;
    }
    void SwatchKIssuesColourCommandK()
    {
        // Without a fractal view the application's own colours change; a
        // cancelled dialog changes nothing.
        QFETCH(int, k);
        const ColorSet before = App().CurrentColors();
        const QColor chosen(10 + k, 20 + k, 30 + k);
        ClickSwatchAndChoose(k, chosen);
        ColorSet expected = before;
        expected[k] = MakeColor(chosen.red(), chosen.green(), chosen.blue());
        QCOMPARE(App().CurrentColors(), expected);
        QCOMPARE(Frame().ColorBar()->Colors(), expected);
        AnswerNextDialog<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
        Frame().ColorBar()->Swatch(k)->click();
        QCOMPARE(App().CurrentColors(), expected);
    }

    void WithAFractalViewActiveTheSwatchChangesTheViewsColour()
    {
        CFractalDoc* document = OpenPreset(0, 1);
        CFractalView* view = FirstView(document);
        QVERIFY(view);
        const ColorSet application = App().CurrentColors();
        ClickSwatchAndChoose(3, QColor(1, 2, 3));
        QCOMPARE(view->m_settings.colors[3], MakeColor(1, 2, 3));
        QCOMPARE(Frame().ColorBar()->GetColor(3), MakeColor(1, 2, 3));
        QCOMPARE(App().CurrentColors(), application);
    }

    // The generation box has its own test with the fractal window; here the
    // buttons beside it.
    void TheGenerationButtonsWorkOnlyForAFractal()
    {
        CImageButton* more = Frame().GenerationBar()->MoreButton();
        Frame().UpdateActions();
        QVERIFY(!more->isEnabled());

        CFractalDoc* document = OpenPreset(3, 0);
        QVERIFY(document && document->HasGoodFractal());
        Frame().UpdateActions();
        QVERIFY(more->isEnabled());
        const int days = document->Fractal()->m_days;
        more->click();
        QCOMPARE(document->Fractal()->m_days.load(), days + 1);
        Frame().GenerationBar()->FewerButton()->click();
        QCOMPARE(document->Fractal()->m_days.load(), days);
    }

    void StopIsEnabledOnlyWhileDrawingAndCheckMarksFollowTheView()
    {
        CFractalDoc* document = OpenPreset(0, 0);
        CFractalView* view = FirstView(document);
        QVERIFY(view);
        // Far too many generations to finish before the stop; whatever the
        // new window still asks for draws them too.
        document->Fractal()->m_days = 14;
        document->UpdateAllViews(nullptr, 0);
        QTest::qWait(200);
        QTRY_VERIFY(view->IsDrawing());
        QVERIFY(Frame().Router().Query(Cmd::Stop).enabled);
        QVERIFY(Frame().Router().Execute(Cmd::Stop));
        QTRY_VERIFY_WITH_TIMEOUT(!view->IsDrawing(), 10000);
        QVERIFY(!Frame().Router().Query(Cmd::Stop).enabled);

        QCOMPARE(Frame().Router().Query(Cmd::ShowFractal).checked, std::optional<bool>(true));
        QVERIFY(Frame().Router().Execute(Cmd::ShowFractal));
        QCOMPARE(Frame().Router().Query(Cmd::ShowFractal).checked, std::optional<bool>(false));
        QCOMPARE(Frame().Router().Query(Cmd::ZoomReset).checked, std::optional<bool>(true));
        QVERIFY(Frame().Router().Execute(Cmd::ZoomIn));
        QCOMPARE(Frame().Router().Query(Cmd::ZoomReset).checked, std::optional<bool>(false));
    }

    void ApplicationCommandsAreOn()
    {
        for (int id : {Cmd::NewFromPreset, Cmd::RandomOneOfEach, Cmd::RandomStandard,
                       Cmd::RandomIfs, Cmd::RandomMcrm, Cmd::RandomLsys, Cmd::RandomAutomaton,
                       Cmd::RepaintAll, Cmd::Color(0), Cmd::Color(6), Cmd::ColorDialog,
                       Cmd::AppAbout, Cmd::Help, Cmd::DesignSheet})
            QVERIFY2(Frame().Router().Query(id).enabled, qPrintable(QString::number(id, 16)));
    }

    void AButtonImageIsCentredAndClippedEvenly()
    {
        QCOMPARE(CImageButton::ImageOrigin(QSize(24, 22)), QPoint(4, 3));
        // Integer division truncates: narrower than the image, the offset
        // is negative and the image is clipped on both sides.
        QCOMPARE(CImageButton::ImageOrigin(QSize(10, 13)), QPoint(-3, -1));
        QCOMPARE(CImageButton::ImageOrigin(QSize(15, 15)), QPoint(0, 0));

        QPixmap red(16, 16);
        red.fill(Qt::red);
        const auto render = [&red](QSize size) {
            CImageButton button;
            button.SetImages({red});
            button.resize(size);
            QImage image(size, QImage::Format_ARGB32);
            image.fill(Qt::white);
            button.render(&image);
            return image;
        };
        const QImage narrow = render(QSize(10, 10));
        QCOMPARE(QColor(narrow.pixel(0, 0)), QColor(Qt::red));
        QCOMPARE(QColor(narrow.pixel(9, 9)), QColor(Qt::red));
    }
};

KALEIDRA_APP_TEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
