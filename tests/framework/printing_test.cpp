// Printing and preview of a view, always possible to a PDF file.

#include "framework/printing.h"
#include "framework_fixture.h"

#include <QFile>
#include <QPrinter>

using namespace fixture;

namespace {

bool IsPdf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-" && file.size() > 100;
}

} // namespace

class PrintingTest : public QObject
{
    Q_OBJECT
    Fixture f;
    QTemporaryDir dir;
    TestView* view = nullptr;

private slots:
    void init()
    {
        f.Init();
        // Whatever printers this machine has, these tests print to files.
        SharedPrinter().setOutputFormat(QPrinter::PdfFormat);
        SharedPrinter().setOutputFileName(QString());
        view = static_cast<TestView*>(f.text->OpenDocumentFile(QString())->Views().first());
    }
    void cleanup() { f.Cleanup(); }

    void PrintThroughTheDialogToAPdfFile()
    {
        f.prompts.printToFile = dir.filePath("dialog.pdf");
        QVERIFY(f.frame->Router().Execute(Cmd::FilePrint));
        QVERIFY(IsPdf(f.prompts.printToFile));
        QCOMPARE(view->prints, 1);
        QPrinter& printer = SharedPrinter();
        QCOMPARE(view->lastPage, QRect(0, 0, printer.width(), printer.height()));
        QVERIFY(!view->lastPage.isEmpty());
        QVERIFY(f.prompts.errors.isEmpty());
    }

    void ACancelledDialogPrintsNothing()
    {
        f.prompts.printToFile = dir.filePath("cancelled.pdf");
        f.prompts.acceptPrint = false;
        QVERIFY(f.frame->Router().Execute(Cmd::FilePrint));
        QVERIFY(!QFile::exists(f.prompts.printToFile));
        QCOMPARE(view->prints, 0);
    }

    void DirectPrintingWithoutAPrinterAsksForAFile()
    {
        f.prompts.saveFileNames = {dir.filePath("direct.pdf")};
        QVERIFY(f.frame->Router().Execute(Cmd::FilePrintDirect));
        QVERIFY(IsPdf(dir.filePath("direct.pdf")));
        QCOMPARE(f.prompts.saveFilters, QStringList{"PDF files (*.pdf)"});
        // No file chosen: nothing printed, nothing said.
        QVERIFY(f.frame->Router().Execute(Cmd::FilePrintDirect));
        QCOMPARE(view->prints, 1);
        QVERIFY(f.prompts.errors.isEmpty());
    }

    void TheShellPrintVerbPrintsAFileAndClosesIt()
    {
        const QString path = Fixture::WriteFile(dir, "shell.txt", "to print");
        f.prompts.saveFileNames = {dir.filePath("shell.pdf")};
        QVERIFY(Application::Instance()->PrintDocumentFile(path));
        QVERIFY(IsPdf(dir.filePath("shell.pdf")));
        QVERIFY(!Application::Instance()->FindOpenDocument(path));
        QCOMPARE(f.text->Documents().size(), 1); // the one init() opened
        QVERIFY(!Application::Instance()->PrintDocumentFile(dir.filePath("none.txt")));
    }

    void AFileThatCannotBeWrittenIsReported()
    {
        f.prompts.printToFile = dir.filePath("no-such-folder/out.pdf");
        QVERIFY(f.frame->Router().Execute(Cmd::FilePrint));
        QCOMPARE(f.prompts.errors.size(), 1);
        QVERIFY2(f.prompts.errors[0].contains("out.pdf"), qPrintable(f.prompts.errors[0]));
        QCOMPARE(view->prints, 0);
    }

    void PreviewPrintsThePageAndLeavesThePrinterAsItWas()
    {
        SharedPrinter().setOutputFileName(dir.filePath("kept.pdf"));
        QVERIFY(f.frame->Router().Execute(Cmd::FilePrintPreview));
        QCOMPARE(f.prompts.previews, 1);
        QCOMPARE(view->prints, 1);
        QCOMPARE(SharedPrinter().outputFileName(), dir.filePath("kept.pdf"));
    }

    void PrintSetupIsTheApplicationsAndNeedsNoDocument()
    {
        Application::Instance()->CloseAllDocuments();
        Fixture::Flush();
        QVERIFY(!f.frame->Router().Query(Cmd::FilePrint).enabled);
        QVERIFY(f.frame->Router().Execute(Cmd::FilePrintSetup));
        QCOMPARE(f.prompts.pageSetups, 1);
    }
};

KALEIDRA_FRAMEWORK_TEST_MAIN(PrintingTest)
#include "printing_test.moc"
