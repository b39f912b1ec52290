// The main frame: the bands and the colour bar after start-up and for each
// band set, the bars' controls and the commands they issue, the colour
// swatches, the centred button images, and the update handlers seen through
// the main frame's router.

#include "app_fixture.h"

#include "app/color_bar.h"
#include "app/generation_bar.h"
#include "app/image_button.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QPainter>
#include <QToolBar>

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

    // Runs first: the state start-up leaves behind.
    void AfterStartUpOnlyTheMainToolBarAndTheColourBarShow()
    {
        QCOMPARE(Frame().Bands(), CMainFrame::kBandsInitial);
        QVERIFY(Shown(Frame().Band(0)));
        for (int k = 1; k < CMainFrame::kBandCount; ++k)
            QVERIFY2(!Shown(Frame().Band(k)), qPrintable(QString::number(k)));
        QVERIFY(Shown(Frame().ColorBarDock()));
        QCOMPARE(Frame().dockWidgetArea(Frame().ColorBarDock()), Qt::RightDockWidgetArea);
        QCOMPARE(Frame().ColorBar()->Colors(), kDefaultColorSet);
        QVERIFY(App().Documents().isEmpty());
    }

    void EveryBandIsInTheTopAreaAndBandsOneToFiveCarryTheirImage()
    {
        for (int k = 0; k < CMainFrame::kBandCount; ++k) {
            QToolBar* band = Frame().Band(k);
            QVERIFY(band);
            QCOMPARE(Frame().toolBarArea(band), Qt::TopToolBarArea);
            auto* image = band->findChild<QLabel*>(QStringLiteral("BandImage"));
            QCOMPARE(image != nullptr, k > 0);
            if (image)
                QCOMPARE(image->pixmap().width(), 20);
        }
    }

    void ShowBandsFollowsEveryBit_data()
    {
        QTest::addColumn<int>("bandSet");
        for (int set : {CMainFrame::kBandsFractal, CMainFrame::kBandsPattern, CMainFrame::kBandsIfs,
                        CMainFrame::kBandsList, CMainFrame::kBandsInitial})
            QTest::addRow("0x%03x", set) << set;
    }
    void ShowBandsFollowsEveryBit()
    {
        QFETCH(int, bandSet);
        Frame().ShowBands(bandSet);
        QCOMPARE(Frame().Bands(), bandSet);
        for (int k = 0; k < CMainFrame::kBandCount; ++k)
            QCOMPARE(Shown(Frame().Band(k)), (bandSet & (1 << k)) != 0);
        QCOMPARE(Shown(Frame().ColorBarDock()), (bandSet & 0x100) != 0);
    }

    void AnActiveFractalViewShowsItsBands()
    {
        CFractalDoc* document = OpenPreset(0, 0);
        QVERIFY(document);
        QCOMPARE(Frame().Bands(), CMainFrame::kBandsFractal);
        QCOMPARE(Frame().ColorBar()->Colors(), FirstView(document)->m_settings.colors);
        // A list editor would take the bands away; activating the fractal
        // window again brings them back.
        Frame().ShowBands(CMainFrame::kBandsList);
        CFractalDoc* other = OpenPreset(1, 0);
        QVERIFY(other);
        QCOMPARE(Frame().Bands(), CMainFrame::kBandsFractal);
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

    void TheGenerationBarWorksOnlyForAFractal()
    {
        QComboBox* box = Frame().GenerationBox();
        CImageButton* more = Frame().GenerationBar()->MoreButton();
        Frame().UpdateActions();
        QVERIFY(!box->isEnabled());
        QVERIFY(!more->isEnabled());

        CFractalDoc* document = OpenPreset(3, 0);
        QVERIFY(document && document->HasGoodFractal());
        Frame().UpdateActions();
        QVERIFY(box->isEnabled());
        QVERIFY(more->isEnabled());
        const int days = document->Fractal()->m_days;
        more->click();
        QCOMPARE(document->Fractal()->m_days.load(), days + 1);
        Frame().GenerationBar()->FewerButton()->click();
        QCOMPARE(document->Fractal()->m_days.load(), days);

        // Confirming an entry of the box issues its command to the document.
        box->clear();
        box->addItems({"1", "2"});
        box->setCurrentIndex(0);
        emit box->activated(0);
        QCOMPARE(document->Fractal()->m_days.load(), 1);
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
        for (int id :
             {Cmd::NewFromPreset, Cmd::RandomOneOfEach, Cmd::RandomStandard, Cmd::RandomIfs,
              Cmd::RandomMcrm, Cmd::RandomLsys, Cmd::RandomAutomaton, Cmd::RepaintAll,
              Cmd::Color(0), Cmd::Color(6), Cmd::ColorDialog, Cmd::AppAbout, Cmd::Help,
              Cmd::DesignSheet})
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
