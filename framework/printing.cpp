#include "framework/printing.h"

#include "framework/application.h"
#include "framework/framework_strings.h"
#include "framework/prompts.h"
#include "framework/view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace {

std::unique_ptr<QPrinter> s_printer;

void PaintPage(View& view, QPrinter& printer, QPainter& painter)
{
    view.OnPrint(painter, printer, QRect(0, 0, printer.width(), printer.height()));
}

QString OutputName(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return QDir::toNativeSeparators(printer.outputFileName());
    }
    return printer.printerName();
}

} // namespace

QPrinter& SharedPrinter()
{
    if (!s_printer) {
        s_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without a printer the native format has nowhere to go.
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            s_printer->setOutputFormat(QPrinter::PdfFormat);
        }
        // The printer must go before the application object does.
        qAddPostRoutine([] { s_printer.reset(); });
    }
    return *s_printer;
}

bool PrintView(View& view, PrintMode mode)
{
    QPrinter& printer = SharedPrinter();
    QPointer<View> guard(&view);
    if (!view.OnPreparePrinting(printer)) {
        return false;
    }
    QWidget* parent = Application::DialogParent();
    if (mode == PrintMode::Dialog) {
        if (!Prompts::Current().RunPrintDialog(parent, printer) || !guard) {
            return false;
        }
    } else if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString file = Prompts::Current().GetSaveFileName(
            parent, FrameworkText(FrameworkString::PrintToFileCaption),
            QFileInfo(printer.outputFileName()).fileName(),
            FrameworkText(FrameworkString::PdfFilter));
        if (file.isEmpty() || !guard) {
            return false;
        }
        printer.setOutputFileName(file);
    }

    QPainter painter;
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
        // Nothing to print to; QPainter would fail without a word.
        Prompts::Current().ShowError(parent,
                                     FrameworkText(FrameworkString::CannotPrint).arg(QString()));
        return false;
    }
    if (!painter.begin(&printer)) {
        Prompts::Current().ShowError(
            parent, FrameworkText(FrameworkString::CannotPrint).arg(OutputName(printer)));
        return false;
    }
    PaintPage(view, printer, painter);
    if (!painter.end()) {
        Prompts::Current().ShowError(
            parent, FrameworkText(FrameworkString::CannotPrint).arg(OutputName(printer)));
        return false;
    }
    return true;
}

void PreviewView(View& view)
{
    QPrinter& printer = SharedPrinter();
    if (!view.OnPreparePrinting(printer)) {
        return;
    }
    QPointer<View> guard(&view);
    Prompts::Current().RunPrintPreview(Application::DialogParent(), printer,
                                       [guard](QPrinter& target) {
                                           if (!guard) {
                                               return;
                                           }
                                           QPainter painter(&target);
                                           PaintPage(*guard, target, painter);
                                       });
}
