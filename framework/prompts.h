#pragma once

// Every question the document/view layer asks the user goes through one
// Prompts object: the save prompt, error messages, file dialogs, the choice
// of a document type or window, the print dialogs. The default shows Qt's
// dialogs; tests install a scripted one so that New/Open/Save/Close and
// printing run without anybody at the keyboard.
//
// Only the interface thread uses it.

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

class Prompts
{
public:
    enum class SaveChoice
    {
        Save,
        Discard,
        Cancel
    };

    virtual ~Prompts() = default;

    // "Save changes to <title>?" with Save, Discard and Cancel.
    virtual SaveChoice AskSaveChanges(QWidget* parent, const QString& text);
    virtual void ShowError(QWidget* parent, const QString& text);
    virtual void ShowInformation(QWidget* parent, const QString& text);
    // File dialogs: `filters` in QFileDialog's ";;" form. An empty result
    // means the user cancelled.
    virtual QStringList GetOpenFileNames(QWidget* parent, const QString& caption,
                                         const QString& filters);
    virtual QString GetSaveFileName(QWidget* parent, const QString& caption,
                                    const QString& suggested, const QString& filters);
    // Picks one of `items` (with `prompt` above the list); -1 when cancelled.
    virtual int ChooseItem(QWidget* parent, const QString& caption, const QString& prompt,
                           const QStringList& items);
    // The print dialog and page setup on `printer`; false when cancelled.
    virtual bool RunPrintDialog(QWidget* parent, QPrinter& printer);
    virtual bool RunPageSetup(QWidget* parent, QPrinter& printer);
    // A print preview that calls `paint` for every rendering it needs.
    virtual void RunPrintPreview(QWidget* parent, QPrinter& printer,
                                 const std::function<void(QPrinter&)>& paint);

    // The prompts in use (the Qt dialogs unless SetCurrent installed others).
    static Prompts& Current();
    // Installs `prompts` (not owned; nullptr restores the Qt dialogs).
    static void SetCurrent(Prompts* prompts);
};
