// A fractal window's picture leaving the program: exported files compared
// with what the window shows and with kaleidra-render, cancelled and failed
// exports, the export dialog, the clipboard; and zooming with the wheel and
// the keys.

#include "app_fixture.h"

#include "engine/presets.h"
#include "framework/scripted_prompts.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "views/export_dialog.h"
#include "views/picture_export.h"

#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QWheelEvent>
#include <QXmlStreamReader>

#include <map>

using namespace appfixture;

namespace {

constexpr Color kBackground = 0x302010; // #102030
constexpr Color kFractal = 0x40c0f0;    // #f0c040

int KochIndex()
{
    for (int i = 0; i < PresetCount(0); ++i) {
        if (QString::fromUtf8(PresetName(0, i)).trimmed() == QLatin1String("koch")) {
            return i;
        }
    }
    return -1;
}

// A window on Koch's snowflake at `days` generations in known colours, its
// drawing finished.
CFractalView* KochWindow(int days)
{
    auto* document =
        qobject_cast<CFractalDoc*>(App().FractalTemplate()->OpenDocumentFile(QString()));
    FractalPtr koch = CreatePreset(0, KochIndex());
    koch->m_days = days;
    document->SetFractal(std::move(koch));
    CFractalView* view = FirstView(document);
    view->m_settings.Background() = kBackground;
    view->m_settings.FractalColor() = kFractal;
    view->RequestDrawing();
    Flush();
    return view;
}

bool WaitDrawn(CFractalView* view)
{
    const bool drawn = QTest::qWaitFor(
        [view] { return view->DrawingRequests() > 0 && !view->IsDrawing(); }, 20000);
    Flush();
    return drawn;
}

// Whether the window comes to show `picture`. A loaded machine may still
// have a repaint of the window queued (its frame settling, a late request),
// so the window gets a few seconds to finish; a wrong picture never matches.
bool ShowsPicture(CFractalView* view, const QImage& picture)
{
    return QTest::qWaitFor(
        [&] {
            return !view->IsDrawing() &&
                   view->grab().toImage().convertToFormat(QImage::Format_RGB32) == picture;
        },
        5000);
}

// kaleidra-render on the same fractal, size and colours.
bool Render(int days, QSize size, const QString& output)
{
    const QStringList args = {QStringLiteral("--preset"),
                              QStringLiteral("0:%1").arg(KochIndex()),
                              QStringLiteral("--days"),
                              QString::number(days),
                              QStringLiteral("--size"),
                              QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                              QStringLiteral("--no-antialias"),
                              QStringLiteral("--background"),
                              QStringLiteral("#102030"),
                              QStringLiteral("--color"),
                              QStringLiteral("#f0c040"),
                              QStringLiteral("--quiet"),
                              QStringLiteral("-o"),
                              output};
    return QProcess::execute(QStringLiteral(KALEIDRA_RENDER_BINARY), args) == 0;
}

QImage Rgb(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// How many elements of each name a well-formed XML file holds; empty when
// it is not well-formed.
std::map<QString, int> ElementCounts(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    std::map<QString, int> counts;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            ++counts[xml.name().toString()];
        }
    }
    return xml.hasError() ? std::map<QString, int>() : counts;
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SendWheel(QWidget* widget, int angle, Qt::KeyboardModifiers modifiers)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT

private:
    ScriptedPrompts m_prompts;
    QTemporaryDir m_dir;

    QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

private slots:
    void init()
    {
        m_prompts = ScriptedPrompts();
        Prompts::SetCurrent(&m_prompts);
    }
    void cleanup()
    {
        CloseAll();
        Prompts::SetCurrent(nullptr);
    }

    void APngIsTheWindowsPictureAndTheRenderersPixelForPixel()
    {
        CFractalView* view = KochWindow(4);
        QVERIFY(WaitDrawn(view));
        QVERIFY(view->ExportPicture(Path("window.png"), view->size(), false));
        QVERIFY(ShowsPicture(view, Rgb(Path("window.png"))));

        // Another size than the window's, and zoomed out.
        view->m_zoom = 1.44;
        const QSize size(331, 207);
        QVERIFY(view->ExportPicture(Path("Koch.PNG"), size, false));
        const QImage exported = Rgb(Path("Koch.PNG"));
        QCOMPARE(exported.size(), size);
        view->m_zoom = 1.0;
        QVERIFY(view->ExportPicture(Path("unzoomed.png"), size, false));
        QVERIFY(Render(4, size, Path("renderer.png")));
        QCOMPARE(Rgb(Path("unzoomed.png")), Rgb(Path("renderer.png")));
        QVERIFY(exported != Rgb(Path("renderer.png")));
        QVERIFY(m_prompts.errors.isEmpty());
    }

    void SvgAndPdfAreWholeFilesOfTheRenderersMake()
    {
        CFractalView* view = KochWindow(3);
        const QSize size(300, 200);
        QVERIFY(view->ExportPicture(Path("koch.svg"), size, false));
        QVERIFY(Render(3, size, Path("renderer.svg")));
        const std::map<QString, int> svg = ElementCounts(Path("koch.svg"));
        QVERIFY(!svg.empty());
        QCOMPARE(svg, ElementCounts(Path("renderer.svg")));
        // Koch's 3 sides of 4^3 segments, joined into paths: 192 lines.
        const QByteArray text = Contents(Path("koch.svg"));
        QCOMPARE(text.count(" L") + text.count("\"L"), 192);
        QVERIFY(text.contains("stroke=\"#f0c040\""));

        QVERIFY(view->ExportPicture(Path("koch.pdf"), size, false));
        const QByteArray pdf = Contents(Path("koch.pdf"));
        QVERIFY(pdf.startsWith("%PDF-"));
        // One page of the picture's size in points.
        QCOMPARE(pdf.count("/Type /Page\n"), 1);
        QVERIFY(pdf.contains("/MediaBox [0 0 300.000000 200.000000]"));
    }

    void CancelledOrFailedExportsLeaveNoFileAndSayWhy()
    {
        CFractalView* view = KochWindow(2);
        // A cancelled export keeps the file it would have replaced.
        QFile old(Path("kept.png"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        StopFlag stop{true};
        PictureOptions options = view->PictureOptionsFor(QSize(64, 64));
        options.stop = &stop;
        const FractalPtr fractal = view->GetFractalDoc()->Fractal();
        for (const char* name : {"kept.png", "new.svg", "new.pdf"}) {
            const QString path = Path(name);
            QCOMPARE(ExportFractalPicture(fractal, path, *PictureTypeOf(path), options).status,
                     ExportStatus::Cancelled);
        }
        QCOMPARE(Contents(Path("kept.png")), QByteArray("old"));
        QVERIFY(!QFile::exists(Path("new.svg")) && !QFile::exists(Path("new.pdf")));

        // Cancelled from the progress dialog while measuring a figure of
        // hours (its window's own drawing stopped first).
        CFractalView* huge = KochWindow(20);
        huge->StopDrawing();
        bool shown = false;
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [&shown] {
            if (auto* progress =
                    qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
                shown = true;
                progress->cancel();
            }
        });
        cancel.start(50);
        QVERIFY(!huge->ExportPicture(Path("huge.png"), QSize(64, 64), false));
        cancel.stop();
        QVERIFY(shown);
        QVERIFY(!QFile::exists(Path("huge.png")));
        QVERIFY(m_prompts.errors.isEmpty());

        const QString unwritable = Path("no-such-folder/koch.png");
        QVERIFY(!view->ExportPicture(unwritable, QSize(64, 64), false));
        QCOMPARE(m_prompts.errors.size(), 1);
        QVERIFY2(m_prompts.errors.first().startsWith(unwritable + " could not be written: "),
                 qPrintable(m_prompts.errors.first()));
        QVERIFY(!QFile::exists(unwritable));
        QVERIFY(!view->ExportPicture(Path("koch.gif"), QSize(64, 64), false));
        QCOMPARE(m_prompts.errors.last(),
                 QStringLiteral("koch.gif: choose a name ending in .png, .svg or .pdf."));
        QVERIFY(!QFile::exists(Path("koch.gif")));
    }

    void TheExportCommandAsksNameAndSizeStartingFromTheWindow()
    {
        CFractalView* view = KochWindow(2);
        const QSize client = view->size();
        m_prompts.saveFileNames = {Path("chosen")};
        AnswerNextDialog<CExportDialog>([&](CExportDialog* dialog) {
            QCOMPARE(dialog->PictureSize(), client);
            QVERIFY(dialog->PathEdit()->text().endsWith(QStringLiteral(".png")));
            dialog->findChild<QPushButton*>(QStringLiteral("browse"))->click();
            // No extension: a PNG.
            dialog->WidthBox()->setValue(120);
            dialog->HeightBox()->setValue(90);
            dialog->accept();
        });
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::ExportPicture));
        QCOMPARE(m_prompts.saveFilters,
                 QStringList{QStringLiteral(
                     "PNG images (*.png);;SVG drawings (*.svg);;PDF documents (*.pdf)")});
        QCOMPARE(Rgb(Path("chosen.png")).size(), QSize(120, 90));

        // A name of another type is refused and the dialog stays; a bare
        // name goes beside the suggested one.
        CExportDialog dialog(Path("koch.bmp"), client);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_prompts.errors.size(), 1);
        dialog.PathEdit()->setText(QStringLiteral("bare"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Path(), Path("bare.png"));
    }

    void CopyPutsTheWindowsPictureOnTheClipboard()
    {
        CFractalView* view = KochWindow(3);
        QVERIFY(WaitDrawn(view));
        QGuiApplication::clipboard()->clear();
        QVERIFY(CommandRouter::Execute(view->CommandChain(), Cmd::EditCopy));
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), view->size());
        QVERIFY(ShowsPicture(view, copied.convertToFormat(QImage::Format_RGB32)));
    }

    void TheWheelWithCtrlAndTheKeysZoom()
    {
        CFractalView* view = KochWindow(1);
        SendWheel(view, 120, Qt::ControlModifier);
        QCOMPARE(view->m_zoom, 0.8);
        SendWheel(view, -240, Qt::ControlModifier);
        QCOMPARE(view->m_zoom, 0.8 * 1.2 * 1.2);
        // A touchpad's small steps make a notch together; the plain wheel
        // leaves the zoom alone.
        SendWheel(view, 120, Qt::NoModifier);
        SendWheel(view, 60, Qt::ControlModifier);
        QCOMPARE(view->m_zoom, 0.8 * 1.2 * 1.2);
        SendWheel(view, 60, Qt::ControlModifier);
        QCOMPARE(view->m_zoom, 0.8 * 1.2 * 1.2 * 0.8);

        Frame().activateWindow();
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        view->m_zoom = 1.0;
        QTest::keyClick(view, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(view->m_zoom, 0.8);
        QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(view->m_zoom, 0.8 * 0.8);
        QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(view->m_zoom, 0.8 * 0.8 * 1.2);
        QTest::keyClick(view, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(view->m_zoom, 1.0);
    }
};

KALEIDRA_APP_TEST_MAIN(ExportTest)
#include "export_test.moc"
