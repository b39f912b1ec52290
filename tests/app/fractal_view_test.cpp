// The fractal window with real windows: presets of every kind drawn on the
// windows' own threads, requests collapsing, stop, repaints that start
// nothing, closing and replacing the fractal mid-drawing, the generation box,
// the view's commands, the information dialog and printing.

#include "app_fixture.h"

#include "app/color_bar.h"
#include "engine/presets.h"
#include "framework/thread_done_event.h"
#include "ids/command_ids.h"
#include "render/fractal_painter.h"
#include "views/fractal_info_dialog.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTimer>

#include <cmath>
#include <map>

using namespace appfixture;

namespace {

// The completion events the drawing threads post while it lives, by thread.
class Completions : public QObject
{
public:
    Completions() { qApp->installEventFilter(this); }
    ~Completions() override { qApp->removeEventFilter(this); }

    QList<int> Of(const CFractalView* view) const
    {
        const auto found = m_results.find(view->DrawingThreadId());
        return found == m_results.end() ? QList<int>() : found->second;
    }
    // The view's last drawing completed and no other is under way.
    bool Finished(const CFractalView* view) const
    {
        return !Of(view).isEmpty() && Of(view).last() == 0 && !view->IsDrawing();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == qApp && event->type() == ThreadDoneEvent::kType) {
            const auto* done = static_cast<ThreadDoneEvent*>(event);
            m_results[done->ThreadId()].append(done->Result());
        }
        return false;
    }

private:
    std::map<std::thread::id, QList<int>> m_results;
};

int PresetIndex(int kind, const char* name)
{
    for (int i = 0; i < PresetCount(kind); ++i) {
        if (QString::fromUtf8(PresetName(kind, i)).trimmed() == QLatin1String(name))
            return i;
    }
    return -1;
}

CFractalDoc* NewDocument()
{
    return qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
}

// A window on Koch's snowflake at `days` generations, drawing it.
CFractalDoc* Koch(int days)
{
    CFractalDoc* document = NewDocument();
    FractalPtr koch = CreatePreset(0, PresetIndex(0, "koch"));
    koch->m_days = days;
    document->SetFractal(std::move(koch));
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
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == ToQColor(colour).rgb() ? 1 : 0;
    }
    return n;
}

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
        for (int kind = 0; kind < kKindCount; ++kind) {
            Completions completions;
            CFractalDoc* document = NewDocument();
            CFractalView* view = FirstView(document);
            QVERIFY(document->SetPreset(kind, 0));
            QTRY_VERIFY_WITH_TIMEOUT(completions.Finished(view), 120000);
            const QImage shown = view->grab().toImage();
            QVERIFY2(CountColour(shown, view->m_settings.FractalColor()) > 50, PresetName(kind, 0));
            QVERIFY(CountColour(shown, view->m_settings.Background()) > 1000);
            CloseAll();
        }
    }

    void RequestsCollapseStopEndsTheDrawingAndRepaintsStartNone()
    {
        Completions completions;
        CFractalView* view = FirstView(Koch(13));
        QTRY_VERIFY(view->IsDrawing());
        QVERIFY(Query(view, Cmd::Stop).enabled);
        QVERIFY(Run(view, Cmd::Refresh));
        QVERIFY(Run(view, Cmd::Refresh));
        QTRY_COMPARE(completions.Of(view), QList<int>{-1});
        QTRY_VERIFY(view->IsDrawing());
        QVERIFY(Run(view, Cmd::Stop));
        QTRY_COMPARE(completions.Of(view), (QList<int>{-1, -1}));
        QVERIFY(!Query(view, Cmd::Stop).enabled);

        const int requests = view->DrawingRequests();
        view->repaint();
        (void)view->grab();
        view->Frame()->hide();
        view->Frame()->show();
        QTest::qWait(100);
        QCOMPARE(view->DrawingRequests(), requests);
        QCOMPARE(completions.Of(view), (QList<int>{-1, -1}));
        // A new size is a new picture.
        view->Frame()->resize(view->Frame()->size() + QSize(30, 20));
        QCOMPARE(view->DrawingRequests(), requests + 1);
    }

    void ReplacingOrClosingMidDrawingNeverOutlivesTheFractalOrTheThread()
    {
        for (const bool byCommand : {false, true}) {
            Completions completions;
            CFractalDoc* document = Koch(13);
            QPointer<CFractalView> view = FirstView(document);
            QTRY_VERIFY(view->IsDrawing());
            // Each drawing holds the fractal the document lets go.
            for (int i = 0; i < 10; ++i) {
                FractalPtr koch = CreatePreset(0, PresetIndex(0, "koch"));
                koch->m_days = 12 + i % 2;
                document->SetFractal(std::move(koch));
                QTest::qWait(i % 3);
            }
            QTRY_VERIFY(view->IsDrawing());
            if (byCommand)
                document->OnCloseDocument();
            else
                QVERIFY(view->Frame()->close());
            // The thread has ended before closing returns.
            QVERIFY(view && !view->HasDrawingThread());
            QCoreApplication::processEvents();
            QCOMPARE(completions.Of(view).last(), -1);
            Flush();
            QVERIFY(!view);
        }
    }

    // Deleted directly, not closed through its document or window, a view
    // still stops its drawing before it waits for the thread.
    void AViewDeletedMidDrawingDoesNotWaitForTheDrawing()
    {
        CFractalDoc* document = Koch(16);
        CFractalView* view = FirstView(document);
        const QPointer<ChildFrame> frame = view->Frame();
        QTRY_VERIFY(view->IsDrawing());
        QTest::qWait(100);
        QElapsedTimer clock;
        clock.start();
        delete view;
        // 3 * 4^16 segments take minutes to measure and draw.
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(document->Views().isEmpty());
        QVERIFY(frame && frame->close());
    }

    void TheGenerationBoxListsTheMeasuredDayCounts()
    {
        // No fractal window: nothing to choose.
        QComboBox* box = Frame().GenerationBox();
        Frame().UpdateActions();
        QVERIFY(!box->isEnabled());

        Completions completions;
        CFractalDoc* document = Koch(1);
        CFractalView* view = FirstView(document);
        QTRY_VERIFY(completions.Finished(view));
        QCOMPARE(box->currentText(), QStringLiteral("1"));
        Frame().UpdateActions();
        QVERIFY(box->isEnabled());
        QVERIFY(Run(view, Cmd::MoreGenerations));
        QTRY_COMPARE(box->currentText(), QStringLiteral("2"));
        QTRY_VERIFY(completions.Finished(view));
        document->Fractal()->m_days = 5;
        document->UpdateAllViews(nullptr, 0);
        QTRY_VERIFY(completions.Of(view).size() == 3 && completions.Finished(view));
        QCOMPARE(box->currentText(), QStringLiteral("5"));

        // Another window takes the box; coming back refills it from the cache.
        CFractalDoc* other = Koch(3);
        QTRY_VERIFY(completions.Finished(FirstView(other)));
        Frame().ActivateFrame(document->Frames().first());
        QTRY_COMPARE(Entries(box), (QStringList{"1", "2", "5"}));
        QCOMPARE(box->currentText(), QStringLiteral("5"));
        QCOMPARE(Frame().Bands(), CMainFrame::kBandsFractal);
        QCOMPARE(Frame().ColorBar()->Colors(), view->m_settings.colors);
        // Only the active window's own drawing thread refreshes the box.
        box->clear();
        App().OnThreadDone(0, FirstView(other)->DrawingThreadId());
        QCOMPARE(box->count(), 0);
        App().OnThreadDone(0, view->DrawingThreadId());
        QCOMPARE(Entries(box), (QStringList{"1", "2", "5"}));

        // Choosing an entry sets the day count; text that is no day count
        // changes nothing.
        emit box->activated(static_cast<int>(Entries(box).indexOf("2")));
        QCOMPARE(document->Fractal()->m_days.load(), 2);
        for (const char* text : {"x", "0", "", " 7"}) {
            QVERIFY(Frame().Router().ExecuteValue(Cmd::GenerationBox, QString::fromLatin1(text)));
        }
        QCOMPARE(document->Fractal()->m_days.load(), 7);

        Frame().ActivateFrame(other->Frames().first());
        QTRY_COMPARE(Entries(box), QStringList{"3"});
    }

    void ZoomOverlayAndColourPairCommands()
    {
        CFractalDoc* document = Koch(5);
        CFractalView* view = FirstView(document);
        QCOMPARE(Query(view, Cmd::ZoomReset).checked, std::optional<bool>(true));
        const int requests = view->DrawingRequests();
        for (const int id :
             {Cmd::ZoomOut, Cmd::ZoomOut, Cmd::ZoomOut, Cmd::ZoomIn, Cmd::ZoomIn, Cmd::ZoomIn})
            QVERIFY(Run(view, id));
        QVERIFY(std::abs(view->m_zoom - 0.884736) < 1e-9);
        QCOMPARE(view->DrawingRequests(), requests + 6);
        QCOMPARE(Query(view, Cmd::ZoomReset).checked, std::optional<bool>(false));
        QVERIFY(Run(view, Cmd::ZoomReset));
        QCOMPARE(Query(view, Cmd::ZoomReset).checked, std::optional<bool>(true));

        // An overlay shows the first generation; turning it off keeps it.
        QVERIFY(Run(view, Cmd::ShowGenerator));
        QCOMPARE(view->m_settings.flags, kShowFractal | kShowGenerator);
        QCOMPARE(document->Fractal()->m_days.load(), 1);
        QVERIFY(Run(view, Cmd::ShowGenerator));
        QCOMPARE(Query(view, Cmd::ShowGenerator).checked, std::optional<bool>(false));
        QCOMPARE(document->Fractal()->m_days.load(), 1);

        // The next background/fractal pair of the table; the first after an
        // unknown background.
        view->m_settings.ChoosePair(17);
        QVERIFY(Run(view, Cmd::ColorDialog));
        QCOMPARE(view->m_settings.FractalColor(), kBackgroundFractalPairs[0].second);
        view->m_settings.colors[0] = 0x123456;
        QVERIFY(Run(view, Cmd::ColorDialog));
        QCOMPARE(view->m_settings.Background(), kBackgroundFractalPairs[0].first);
        QCOMPARE(Frame().ColorBar()->GetColor(0), kBackgroundFractalPairs[0].first);
    }

    void TheInformationDialogReportsTheFractalAndItsMeasuredDays()
    {
        Completions completions;
        CFractalDoc* document = Koch(1);
        QTRY_VERIFY(completions.Finished(FirstView(document)));
        document->Fractal()->m_days = 2;
        const FractalPtr fractal = document->Fractal();
        const StopFlag never{false};
        QVERIFY(fractal->PrepareBounds(&never, nullptr, nullptr));

        CFractalInfoDlg dialog(fractal);
        QTableWidget* report = dialog.Report();
        QStringList rows;
        for (int row = 0; row < report->rowCount(); ++row)
            rows.append(report->item(row, 0)->text() + "=" + report->item(row, 1)->text() + "/" +
                        report->item(row, 0)->data(CFractalInfoDlg::kImageRole).toString());
        const FractalBounds b = fractal->BoundsSnapshot();
        const FractalBounds one = fractal->CacheSnapshot()[1];
        QCOMPARE(rows.size(), 17);
        QCOMPARE(rows.mid(0, 3), (QStringList{"Name=koch/1", "Type=std/0", "Generations=2/0"}));
        QCOMPARE(rows[3], "x=" + QString::asprintf("%lf", b.minX * b.scale) + "/3");
        QCOMPARE(rows[6], "cy=" + QString::asprintf("%lf", (b.maxY - b.minY) * b.scale) + "/4");
        QCOMPARE(rows[7], QStringLiteral("Generations=1/2"));
        QCOMPARE(rows[11], "cy=" + QString::asprintf("%lf", one.maxY - one.minY) + "/5");
        QCOMPARE(rows[12], QStringLiteral("Generations=2/2"));
        // No label or value is cut: each column holds its widest text.
        dialog.show();
        QStyleOptionViewItem option;
        option.initFrom(report);
        option.decorationSize = report->iconSize();
        for (int row = 0; row < report->rowCount(); ++row) {
            for (int column = 0; column < 2; ++column) {
                const QModelIndex index = report->model()->index(row, column);
                QVERIFY(report->columnWidth(column) >=
                        report->itemDelegate()->sizeHint(option, index).width());
            }
        }
        QVERIFY(report->viewport()->width() >= report->columnWidth(0) + report->columnWidth(1));
    }

    void PrintingDrawsTheFractalInBlackOverTheBackground()
    {
        Completions completions;
        // Printed while the window is most likely still drawing it.
        CFractalView* view = FirstView(Koch(8));
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
        QCOMPARE(CountColour(page, view->m_settings.FractalColor()), 0);
        // A drawing that printing stopped starts again and completes.
        QTRY_VERIFY(completions.Finished(view));

        QVERIFY(!FirstView(NewDocument())->OnPreparePrinting(printer));
    }

    // A day count beyond what the kind can draw is refused in words, never
    // drawn as another generation.
    void TooManyDaysAreRefusedInWordsNotDrawnAsAnotherGeneration()
    {
        Completions completions;
        CFractalDoc* document = Koch(3);
        CFractalView* view = FirstView(document);
        QTRY_VERIFY_WITH_TIMEOUT(completions.Finished(view), 60000);
        document->SetDays(document->Fractal()->MaxDays() + 1);
        QVERIFY(!view->IsDrawing());
        QVERIFY(view->StatusText().contains(QString::number(document->Fractal()->MaxDays())));
        document->SetDays(4);
        QVERIFY(view->StatusText().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(completions.Finished(view), 60000);
    }

    // Measuring a huge figure for printing shows a progress dialog whose
    // Cancel gives up printing at once, leaving the window responsive.
    void PrintingAHugeFigureCanBeCancelledWhileMeasuring()
    {
        CFractalView* view = FirstView(Koch(20));
        bool shown = false;
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [&shown] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<QProgressDialog*>(widget);
                if (progress != nullptr && progress->isVisible()) {
                    shown = true;
                    progress->cancel();
                }
            }
        });
        cancel.start(50);
        QElapsedTimer clock;
        clock.start();
        QPrinter printer;
        QVERIFY(!view->OnPreparePrinting(printer));
        QVERIFY(shown);
        // Koch at 20 days is 3 * 4^20 segments: hours to measure in full.
        QVERIFY(clock.elapsed() < 30000);
        QVERIFY(!view->GetFractalDoc()->Fractal()->BoundsSnapshot().valid);
    }
};

KALEIDRA_APP_TEST_MAIN(FractalViewTest)

#include "fractal_view_test.moc"
