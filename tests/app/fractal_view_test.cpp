// The fractal window: real windows drawing presets of every kind on their
// own threads, requests collapsing, stop, closing and replacing the fractal
// mid-drawing, no drawing for a mere repaint, the generation box, zoom,
// overlays, colours, the information dialog and printing.

#include "app_fixture.h"

#include "app/color_bar.h"
#include "documents/fractal_info_dialog.h"
#include "engine/presets.h"
#include "framework/command_ids.h"
#include "framework/printing.h"
#include "framework/scripted_prompts.h"
#include "framework/thread_done_event.h"
#include "render/fractal_painter.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QTableWidget>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

using namespace appfixture;

namespace {

// Every completion event the drawing threads post, by thread.
class Completions : public QObject
{
public:
    std::map<std::thread::id, QList<int>> results;

    Completions() { qApp->installEventFilter(this); }
    ~Completions() override { qApp->removeEventFilter(this); }

    QList<int> Of(const CFractalView* view) const
    {
        const auto found = results.find(view->DrawingThreadId());
        return found == results.end() ? QList<int>() : found->second;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == qApp && event->type() == ThreadDoneEvent::kType) {
            const auto* done = static_cast<ThreadDoneEvent*>(event);
            results[done->ThreadId()].append(done->Result());
        }
        return false;
    }
};

int PresetIndex(int kind, const char* name)
{
    for (int i = 0; i < PresetCount(kind); ++i) {
        if (QString::fromUtf8(PresetName(kind, i)).trimmed() == QLatin1String(name))
            return i;
    }
    return -1;
}

// A new window on an empty fractal document.
CFractalDoc* NewDocument()
{
    return qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
}

// A window on Koch's snowflake at `days` generations.
CFractalDoc* Koch(int days)
{
    CFractalDoc* document = NewDocument();
    if (document == nullptr)
        return nullptr;
    document->m_fractal = CreatePreset(0, PresetIndex(0, "koch"));
    document->m_fractal->m_days = days;
    document->UpdateAllViews(nullptr, 0);
    return document;
}

bool Run(CFractalView* view, int id)
{
    return CommandRouter::Execute(view->CommandChain(), id);
}

CommandState Query(CFractalView* view, int id)
{
    return CommandRouter::Query(view->CommandChain(), id);
}

int CountColour(const QImage& image, Color colour)
{
    const QRgb wanted = ToQColor(colour).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == wanted ? 1 : 0;
    }
    return n;
}

// Answers every modal dialog of class DialogClass that shows while it
// lives, and counts them.
template <class DialogClass> class DialogWatcher
{
public:
    explicit DialogWatcher(std::function<void(DialogClass*)> answer) : m_answer(std::move(answer))
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<DialogClass*>(QApplication::activeModalWidget());
            if (dialog && dialog->isVisible()) {
                ++shown;
                m_answer(dialog);
            }
        });
        m_poll.start();
    }
    int shown = 0;

private:
    std::function<void(DialogClass*)> m_answer;
    QTimer m_poll;
};

QStringList Entries(const QComboBox* box)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries.append(box->itemText(i));
    return entries;
}

} // namespace

class FractalViewTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CloseAll(); }

    void EachKindDrawsItsPresetInTheFractalColour()
    {
        Completions completions;
        for (int kind = 0; kind < kKindCount; ++kind) {
            // A thread's id may be that of an ended one.
            completions.results.clear();
            CFractalDoc* document = NewDocument();
            QVERIFY(document);
            CFractalView* view = FirstView(document);
            // Nothing to draw yet: the background alone.
            QCOMPARE(view->DrawingRequests(), 0);
            QVERIFY(document->SetPreset(kind, 0));
            QTRY_VERIFY_WITH_TIMEOUT(!completions.Of(view).isEmpty() &&
                                         completions.Of(view).last() == 0 && !view->IsDrawing(),
                                     120000);
            QVERIFY(!view->IsDrawing());
            const QImage shown = view->grab().toImage();
            QVERIFY2(CountColour(shown, view->m_settings.FractalColor()) > 50, PresetName(kind, 0));
            QVERIFY(CountColour(shown, view->m_settings.Background()) > 1000);
            CloseAll();
        }
    }

    void ANewViewStartsFromTheApplicationColoursWithARandomPair()
    {
        CFractalDoc* document = Koch(2);
        CFractalView* view = FirstView(document);
        const ColorSet& colours = App().CurrentColors();
        for (std::size_t k = 2; k < colours.size(); ++k)
            QCOMPARE(view->m_settings.colors[k], colours[k]);
        QVERIFY(std::any_of(kBackgroundFractalPairs.begin(), kBackgroundFractalPairs.end(),
                            [view](const ColorPair& pair) {
                                return pair.first == view->m_settings.Background() &&
                                       pair.second == view->m_settings.FractalColor();
                            }));
        QCOMPARE(view->m_settings.flags, kShowFractal);
        QCOMPARE(view->m_zoom, 1.0);
    }

    void RequestsDuringALongDrawingCollapseIntoOneAndStopEndsIt()
    {
        Completions completions;
        CFractalDoc* document = Koch(13);
        CFractalView* view = FirstView(document);
        QTRY_VERIFY(view->IsDrawing());
        QVERIFY(Query(view, Cmd::Stop).enabled);
        QVERIFY(Run(view, Cmd::Refresh));
        QVERIFY(Run(view, Cmd::Refresh));
        QTRY_COMPARE(completions.Of(view), QList<int>{-1});
        QTRY_VERIFY(view->IsDrawing());
        QVERIFY(Run(view, Cmd::Stop));
        QTRY_COMPARE(completions.Of(view), (QList<int>{-1, -1}));
        QTest::qWait(100);
        QCOMPARE(completions.Of(view), (QList<int>{-1, -1}));
        QVERIFY(!view->IsDrawing());
        // Nothing to stop now.
        QVERIFY(!Query(view, Cmd::Stop).enabled);
    }

    void ARepaintAloneStartsNoDrawing()
    {
        Completions completions;
        CFractalDoc* document = Koch(3);
        CFractalView* view = FirstView(document);
        QTRY_COMPARE(completions.Of(view), QList<int>{0});
        const int requests = view->DrawingRequests();
        view->repaint();
        view->update();
        (void)view->grab();
        document->Frames().first()->hide();
        document->Frames().first()->show();
        QTest::qWait(100);
        QCOMPARE(view->DrawingRequests(), requests);
        QCOMPARE(completions.Of(view), QList<int>{0});

        // A new size is a new picture.
        document->Frames().first()->resize(document->Frames().first()->size() + QSize(30, 20));
        QTRY_COMPARE(completions.Of(view), (QList<int>{0, 0}));
        QCOMPARE(view->DrawingRequests(), requests + 1);
    }

    void ClosingMidDrawingReturnsOnlyOnceTheThreadHasEnded()
    {
        Completions completions;
        // Through the window's close box, and through the Close command.
        for (const bool byCommand : {false, true}) {
            completions.results.clear();
            CFractalDoc* document = Koch(13);
            QPointer<CFractalView> view = FirstView(document);
            QTRY_VERIFY(view->IsDrawing());
            const std::thread::id thread = view->DrawingThreadId();
            if (byCommand)
                document->OnCloseDocument();
            else
                QVERIFY(document->Frames().first()->close());
            QVERIFY(view);
            QVERIFY(!view->HasDrawingThread());
            QVERIFY(!view->IsDrawing());
            QCoreApplication::processEvents();
            QCOMPARE(completions.results[thread], QList<int>{-1});
            Flush();
            QVERIFY(!view);
        }
    }

    void ReplacingTheFractalMidDrawingIsSafe()
    {
        Completions completions;
        CFractalDoc* document = Koch(13);
        CFractalView* view = FirstView(document);
        QTRY_VERIFY(view->IsDrawing());
        // The drawing holds the fractal the document lets go.
        for (int i = 0; i < 20; ++i) {
            QVERIFY(document->SetPreset(i % kKindCount, 0));
            QTest::qWait(i % 3);
        }
        QVERIFY(document->SetPreset(0, PresetIndex(0, "koch")));
        QTRY_VERIFY_WITH_TIMEOUT(!completions.Of(view).isEmpty() &&
                                     completions.Of(view).last() == 0 && !view->IsDrawing(),
                                 60000);
        QVERIFY(CountColour(view->grab().toImage(), view->m_settings.FractalColor()) > 50);
    }

    void TheGenerationBoxListsTheMeasuredDayCounts()
    {
        Completions completions;
        CFractalDoc* document = Koch(1);
        CFractalView* view = FirstView(document);
        QComboBox* box = Frame().GenerationBox();
        QVERIFY(box);
        QTRY_COMPARE(completions.Of(view).size(), 1);
        QCOMPARE(box->currentText(), QStringLiteral("1"));
        QVERIFY(Run(view, Cmd::MoreGenerations));
        QTRY_COMPARE(completions.Of(view).size(), 2);
        QCOMPARE(box->currentText(), QStringLiteral("2"));
        document->m_fractal->m_days = 5;
        document->UpdateAllViews(nullptr, 0);
        QTRY_COMPARE(completions.Of(view).size(), 3);
        QCOMPARE(box->currentText(), QStringLiteral("5"));

        // Another window takes the box; coming back refills it from the cache.
        CFractalDoc* other = Koch(3);
        QTRY_COMPARE(completions.Of(FirstView(other)).size(), 1);
        QCOMPARE(box->currentText(), QStringLiteral("3"));
        Frame().ActivateFrame(document->Frames().first());
        QTRY_COMPARE(Entries(box), (QStringList{"1", "2", "5"}));
        QCOMPARE(box->currentText(), QStringLiteral("5"));
        Frame().ActivateFrame(other->Frames().first());
        QTRY_COMPARE(Entries(box), QStringList{QStringLiteral("3")});
        Frame().ActivateFrame(document->Frames().first());
        QTRY_COMPARE(Entries(box).size(), 3);
        QCOMPARE(Frame().Bands(), CMainFrame::kBandsFractal);
        QCOMPARE(Frame().ColorBar()->Colors(), view->m_settings.colors);

        // The box's own selection sets the day count.
        box->setCurrentIndex(1);
        QVERIFY(CommandRouter::Execute(Frame().CommandChain(), Cmd::GenerationBox));
        QCOMPARE(document->m_fractal->m_days.load(), 2);
    }

    void ZoomCommandsMultiplyAndResetIsCheckedAtOne()
    {
        CFractalDoc* document = Koch(2);
        CFractalView* view = FirstView(document);
        QCOMPARE(Query(view, Cmd::ZoomReset).checked, std::optional<bool>(true));
        const int requests = view->DrawingRequests();
        for (int i = 0; i < 3; ++i)
            QVERIFY(Run(view, Cmd::ZoomOut));
        for (int i = 0; i < 3; ++i)
            QVERIFY(Run(view, Cmd::ZoomIn));
        QVERIFY(std::abs(view->m_zoom - 0.884736) < 1e-9);
        QCOMPARE(view->DrawingRequests(), requests + 6);
        QCOMPARE(Query(view, Cmd::ZoomReset).checked, std::optional<bool>(false));
        QVERIFY(Run(view, Cmd::ZoomReset));
        QCOMPARE(view->m_zoom, 1.0);
        QCOMPARE(Query(view, Cmd::ZoomReset).checked, std::optional<bool>(true));
    }

    void AnOverlaySetsTheDayCountToOneForEveryView()
    {
        CFractalDoc* document = Koch(5);
        CFractalView* view = FirstView(document);
        QVERIFY(CommandRouter::Execute(Frame().CommandChain(), Cmd::WindowNew));
        QCOMPARE(document->Views().size(), 2);
        auto* second = qobject_cast<CFractalView*>(document->Views().last());
        const int secondRequests = second->DrawingRequests();

        QVERIFY(Run(view, Cmd::ShowGenerator));
        QCOMPARE(view->m_settings.flags, kShowFractal | kShowGenerator);
        QCOMPARE(Query(view, Cmd::ShowGenerator).checked, std::optional<bool>(true));
        QCOMPARE(document->m_fractal->m_days.load(), 1);
        QVERIFY(second->DrawingRequests() > secondRequests);
        QCOMPARE(second->m_settings.flags, kShowFractal);
        QVERIFY(Run(view, Cmd::ShowGenerator));
        QCOMPARE(document->m_fractal->m_days.load(), 1);
        QCOMPARE(Query(view, Cmd::ShowGenerator).checked, std::optional<bool>(false));

        // The initiator overlay alike; the fractal itself only toggles.
        document->m_fractal->m_days = 4;
        QVERIFY(Run(view, Cmd::ShowInitiator));
        QCOMPARE(document->m_fractal->m_days.load(), 1);
        QVERIFY(Run(view, Cmd::ShowFractal));
        QCOMPARE(view->m_settings.flags, kShowInitiator);
        QCOMPARE(document->m_fractal->m_days.load(), 1);
    }

    void ColourDialogsChangeOneEntryAndTheColourBarFollows()
    {
        Completions completions;
        CFractalDoc* document = Koch(2);
        CFractalView* view = FirstView(document);
        const ColorSet before = view->m_settings.colors;
        {
            DialogWatcher<QColorDialog> cancel([](QColorDialog* dialog) { dialog->reject(); });
            QVERIFY(Run(view, Cmd::Color(3)));
            QCOMPARE(cancel.shown, 1);
            QCOMPARE(view->m_settings.colors, before);
        }
        {
            DialogWatcher<QColorDialog> choose([](QColorDialog* dialog) {
                dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
                dialog->accept();
            });
            QVERIFY(Run(view, Cmd::Color(1)));
            QCOMPARE(choose.shown, 1);
        }
        QCOMPARE(view->m_settings.FractalColor(), MakeColor(0x12, 0x34, 0x56));
        QCOMPARE(Frame().ColorBar()->GetColor(1), MakeColor(0x12, 0x34, 0x56));
        QTRY_VERIFY(!completions.Of(view).isEmpty() && completions.Of(view).last() == 0 &&
                    !view->IsDrawing());
        QTRY_VERIFY(CountColour(view->grab().toImage(), MakeColor(0x12, 0x34, 0x56)) > 50);
    }

    void ColourPairCommandCyclesThroughTheTable()
    {
        CFractalDoc* document = Koch(2);
        CFractalView* view = FirstView(document);
        view->m_settings.ChoosePair(3);
        QVERIFY(Run(view, Cmd::ColorDialog));
        QCOMPARE(view->m_settings.Background(), kBackgroundFractalPairs[4].first);
        QCOMPARE(view->m_settings.FractalColor(), kBackgroundFractalPairs[4].second);
        QCOMPARE(Frame().ColorBar()->GetColor(0), kBackgroundFractalPairs[4].first);
        view->m_settings.ChoosePair(17);
        QVERIFY(Run(view, Cmd::ColorDialog));
        QCOMPARE(view->m_settings.Background(), kBackgroundFractalPairs[0].first);
        view->m_settings.colors[0] = 0x123456;
        QVERIFY(Run(view, Cmd::ColorDialog));
        QCOMPARE(view->m_settings.Background(), kBackgroundFractalPairs[0].first);
        QCOMPARE(view->m_settings.FractalColor(), kBackgroundFractalPairs[0].second);
    }

    void TheInformationDialogReportsTheFractalAndItsMeasuredDays()
    {
        Completions completions;
        CFractalDoc* document = Koch(1);
        CFractalView* view = FirstView(document);
        QTRY_COMPARE(completions.Of(view).size(), 1);
        document->m_fractal->m_days = 2;
        document->UpdateAllViews(nullptr, 0);
        QTRY_COMPARE(completions.Of(view).size(), 2);

        QStringList labels;
        QStringList values;
        QList<int> images;
        DialogWatcher<CFractalInfoDlg> watcher([&](CFractalInfoDlg* dialog) {
            QTableWidget* report = dialog->Report();
            for (int row = 0; row < report->rowCount(); ++row) {
                labels.append(report->item(row, 0)->text());
                values.append(report->item(row, 1)->text());
                images.append(report->item(row, 0)->data(CFractalInfoDlg::kImageRole).toInt());
            }
            dialog->accept();
        });
        QVERIFY(Run(view, Cmd::FractalInfo));
        QCOMPARE(labels,
                 (QStringList{"Name", "Type", "Generations", "x", "y", "cx", "cy", "Generations",
                              "x", "y", "cx", "cy", "Generations", "x", "y", "cx", "cy"}));
        QCOMPARE(images, (QList<int>{1, 0, 0, 3, 3, 4, 4, 2, 3, 3, 4, 5, 2, 3, 3, 4, 5}));
        const FractalBounds b = document->m_fractal->BoundsSnapshot();
        const auto cache = document->m_fractal->CacheSnapshot();
        QCOMPARE(values.mid(0, 3), (QStringList{"koch", "std", "2"}));
        QCOMPARE(values[3], QString::asprintf("%lf", b.minX * b.scale));
        QCOMPARE(values[5], QString::asprintf("%lf", (b.maxX - b.minX) * b.scale));
        QCOMPARE(values[7], QStringLiteral("1"));
        QCOMPARE(values[11], QString::asprintf("%lf", cache[1].maxY - cache[1].minY));
        QCOMPARE(values[12], QStringLiteral("2"));
        QVERIFY(values[9].contains(QLatin1Char('.')) && values[9].section('.', 1).size() == 6);

        // No dialog for a document without a usable fractal.
        CFractalDoc* empty = NewDocument();
        DialogWatcher<QDialog> none([](QDialog* dialog) { dialog->reject(); });
        QVERIFY(Run(FirstView(empty), Cmd::FractalInfo));
        QCOMPARE(none.shown, 0);
        QCOMPARE(watcher.shown, 1);
    }

    void PrintingDrawsTheFractalInBlackOverTheBackground()
    {
        Completions completions;
        // Printed while the window is (most likely) still drawing it.
        CFractalDoc* document = Koch(8);
        CFractalView* view = FirstView(document);

        QPrinter printer;
        QVERIFY(view->OnPreparePrinting(printer));
        QImage page(500, 400, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            view->OnPrint(painter, printer, page.rect());
        }
        QVERIFY(CountColour(page, 0) > 500);
        QVERIFY(CountColour(page, view->m_settings.Background()) > 500);
        QVERIFY(CountColour(page, view->m_settings.FractalColor()) == 0);
        // A drawing that printing interrupted starts again and completes.
        QTRY_VERIFY_WITH_TIMEOUT(
            !completions.Of(view).isEmpty() && completions.Of(view).last() == 0, 60000);

        // Through the print command, into a PDF file.
        QTemporaryDir dir;
        auto* prompts = dynamic_cast<ScriptedPrompts*>(&Prompts::Current());
        QVERIFY(prompts);
        prompts->printToFile = dir.filePath(QStringLiteral("koch.pdf"));
        prompts->acceptPrint = true;
        QVERIFY(Run(view, Cmd::FilePrint));
        prompts->printToFile.clear();
        QFile pdf(dir.filePath(QStringLiteral("koch.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.size() > 2000);

        // Nothing to print without a usable fractal.
        QVERIFY(!FirstView(NewDocument())->OnPreparePrinting(printer));
    }

    void RightClickShowsTheFractalContextMenu()
    {
        CFractalDoc* document = Koch(2);
        CFractalView* view = FirstView(document);
        QList<int> ids;
        QTimer::singleShot(50, [&ids] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* action : menu->actions())
                    ids.append(CommandRouter::CommandId(action));
                menu->close();
            }
        });
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(20, 20));
        QVERIFY(ids.contains(Cmd::Refresh));
        QVERIFY(ids.contains(Cmd::Stop));
        QVERIFY(ids.contains(Cmd::ZoomReset));
    }
};

KALEIDRA_APP_TEST_MAIN(FractalViewTest)

#include "fractal_view_test.moc"
