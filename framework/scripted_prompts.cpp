#include "framework/scripted_prompts.h"

#include <QPrinter>
#include <QTemporaryDir>

Prompts::SaveChoice ScriptedPrompts::AskSaveChanges(QWidget* parent, const QString& text)
{
    Q_UNUSED(parent);
    questions.append(text);
    return saveChoices.isEmpty() ? SaveChoice::Cancel : saveChoices.takeFirst();
}

void ScriptedPrompts::ShowError(QWidget* parent, const QString& text)
{
    Q_UNUSED(parent);
    errors.append(text);
}

void ScriptedPrompts::ShowInformation(QWidget* parent, const QString& text)
{
    Q_UNUSED(parent);
    informations.append(text);
}

QStringList ScriptedPrompts::GetOpenFileNames(QWidget* parent, const QString& caption,
                                              const QString& filters)
{
    Q_UNUSED(parent);
    Q_UNUSED(caption);
    openFilters.append(filters);
    return openFileNames.isEmpty() ? QStringList() : openFileNames.takeFirst();
}

QString ScriptedPrompts::GetSaveFileName(QWidget* parent, const QString& caption,
                                         const QString& suggested, const QString& filters)
{
    Q_UNUSED(parent);
    Q_UNUSED(caption);
    saveSuggestions.append(suggested);
    saveFilters.append(filters);
    return saveFileNames.isEmpty() ? QString() : saveFileNames.takeFirst();
}

int ScriptedPrompts::ChooseItem(QWidget* parent, const QString& caption, const QString& prompt,
                                const QStringList& items)
{
    Q_UNUSED(parent);
    Q_UNUSED(prompt);
    chooseCaptions.append(caption);
    chooseItems.append(items);
    return choices.isEmpty() ? -1 : choices.takeFirst();
}

bool ScriptedPrompts::RunPrintDialog(QWidget* parent, QPrinter& printer)
{
    Q_UNUSED(parent);
    if (!printToFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToFile);
    }
    return acceptPrint;
}

bool ScriptedPrompts::RunPageSetup(QWidget* parent, QPrinter& printer)
{
    Q_UNUSED(parent);
    Q_UNUSED(printer);
    ++pageSetups;
    return true;
}

void ScriptedPrompts::RunPrintPreview(QWidget* parent, QPrinter& printer,
                                      const std::function<void(QPrinter&)>& paint)
{
    Q_UNUSED(parent);
    ++previews;
    // A preview renders to a device of its own; a PDF file stands in for it,
    // and the printer's settings are left as they were, as a preview does.
    const QPrinter::OutputFormat format = printer.outputFormat();
    const QString file = printer.outputFileName();
    QTemporaryDir dir;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("preview.pdf")));
    paint(printer);
    printer.setOutputFormat(format);
    printer.setOutputFileName(file);
}
