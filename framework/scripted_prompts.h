#pragma once

// Prompts that answer from a script instead of asking anybody: for tests
// and for running the program unattended. Each question takes the next
// answer of its queue; an empty queue answers as a user who cancels.
// Everything shown is recorded.

#include "framework/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

class ScriptedPrompts : public Prompts
{
public:
    // Answers, consumed front first.
    QList<SaveChoice> saveChoices;
    QStringList saveFileNames;
    QList<QStringList> openFileNames;
    QList<int> choices;
    // The print dialog accepts while true; a non-empty printToFile makes the
    // printer write a PDF there.
    bool acceptPrint = true;
    QString printToFile;

    // What was shown.
    QStringList questions;
    QStringList errors;
    QStringList informations;
    QStringList saveFilters;
    QStringList saveSuggestions; // the file names Save As proposed
    QStringList openFilters;
    QStringList chooseCaptions;
    QList<QStringList> chooseItems;
    int previews = 0;
    int pageSetups = 0;

    SaveChoice AskSaveChanges(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    void ShowInformation(QWidget* parent, const QString& text) override;
    QStringList GetOpenFileNames(QWidget* parent, const QString& caption,
                                 const QString& filters) override;
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                            const QString& filters) override;
    int ChooseItem(QWidget* parent, const QString& caption, const QString& prompt,
                   const QStringList& items) override;
    bool RunPrintDialog(QWidget* parent, QPrinter& printer) override;
    bool RunPageSetup(QWidget* parent, QPrinter& printer) override;
    void RunPrintPreview(QWidget* parent, QPrinter& printer,
                         const std::function<void(QPrinter&)>& paint) override;
};
