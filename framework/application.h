#pragma once

// The application object of the document/view layer: it keeps the document
// templates (in the order they were added), the main window, the recent
// files and the printer settings; it is the last stop of command routing;
// and it receives the drawing threads' completion events (0x500).
//
// Commands handled here: New (asks which type when several templates offer
// one), Open, Print Setup, Close All, Exit, the recent files.
//
// Only the interface thread uses it, except PostThreadDone.

#include "framework/command_router.h"
#include "framework/forward.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <thread>
#include <vector>

class QPrinter;

class Application : public QApplication, public CommandTarget
{
    Q_OBJECT
public:
    // Settings go to QSettings("kaleidra", "kaleidra") until SetSettingsKey.
    Application(int& argc, char** argv);
    ~Application() override;

    // The running Application, nullptr when the application object is of
    // another class.
    static Application* Instance();
    // The window dialogs should belong to: the main window, if any.
    static QWidget* DialogParent();

    DocTemplate* AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate);
    QVector<DocTemplate*> Templates() const;
    // Every open document, template by template, each in creation order.
    QVector<Document*> Documents() const;

    // The main window (not owned).
    void SetMainFrame(MdiFrame* frame);
    MdiFrame* MainFrame() const;

    // The first template whose extension `path` has; when none has, the
    // first whose content signature the file's start matches; else nullptr.
    DocTemplate* TemplateForFile(const QString& path) const;
    // The open document of `path` (compared as canonical paths).
    Document* FindOpenDocument(const QString& path) const;
    // Opens `path` with the template of its extension, or activates its
    // window when it is already open. nullptr when the open failed or no
    // template knows the extension (the user has been told why).
    Document* OpenDocumentFile(const QString& path);

    // The shell's print verb: opens `path` (unless it is open), prints its
    // first view without the print dialog, and closes what it opened.
    // False when the file could not be opened or nothing was printed.
    bool PrintDocumentFile(const QString& path);

    // Asks every modified document to save; false as soon as one refuses.
    bool SaveAllModified();
    // Closes every document without asking.
    void CloseAllDocuments();

    // Where settings live: QSettings(organization, application).
    void SetSettingsKey(const QString& organization, const QString& application);
    QString SettingsOrganization() const { return m_settingsOrganization; }
    QString SettingsApplication() const { return m_settingsApplication; }
    RecentFileList& RecentFiles() { return *m_recentFiles; }
    void AddToRecentFileList(const QString& path);

    QPrinter& Printer();

    // For a start with `files`: hands them to an instance already running
    // for this user and returns false (this process should then exit), or
    // becomes that instance and returns true. Files later sent by other
    // starts are opened and the main window comes forward.
    bool StartOrForward(const QStringList& files, const QString& serverName = QString());

    // A drawing thread finished (event 0x500). Default: nothing.
    virtual void OnThreadDone(int result, std::thread::id thread);

    // The standard commands, for subclasses that route them differently.
    virtual void OnFileNew();
    virtual void OnFileOpen();
    void OnFilePrintSetup();
    void OnCloseAll();
    void OnAppExit();
    bool OpenRecentFile(int index);

protected:
    bool event(QEvent* event) override;
    // Files sent by a later start. Default: open each, raise the window.
    virtual void OnFilesReceived(const QStringList& files);

private:
    std::vector<std::unique_ptr<DocTemplate>> m_templates;
    QPointer<MdiFrame> m_mainFrame;
    QString m_settingsOrganization;
    QString m_settingsApplication;
    std::unique_ptr<RecentFileList> m_recentFiles;
    SingleInstance* m_singleInstance = nullptr;
};
