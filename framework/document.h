#pragma once

// The document of the document/view scheme: it owns the data and the file,
// its views show it. A document is created by its DocTemplate, lives while
// it has views, and goes away with its last view (or with Close).
//
// Files: OnOpenDocument / OnSaveDocument read and write the whole file and
// return false on failure, with the reason set through SetLastError; the
// framework then tells the user which file failed and why. A failed open
// leaves no document behind; a failed save keeps the previous file and the
// modified flag. Build the file in memory and write it with
// WriteFileAtomically (fileio/atomic_file.h).
//
// Commands handled here: Close, Save, Save As.
//
// Only the interface thread uses documents.

#include "framework/command_router.h"
#include "framework/forward.h"

#include <QObject>
#include <QString>
#include <QVector>

class Document : public QObject, public CommandTarget
{
    Q_OBJECT
public:
    Document();
    ~Document() override;

    DocTemplate* Template() const { return m_template; }

    QString Title() const { return m_title; }
    void SetTitle(const QString& title);
    // What the document holds, by name (a drawing's own name, say), for
    // documents that have one; empty by default. An untitled document shows
    // it before its title ("koch — Fractal3") and Save As proposes it as the
    // file name.
    virtual QString TitleName() const;
    // The title as windows show it, without the modified mark: the title,
    // preceded by TitleName() while the document has no file.
    QString DisplayTitle() const;
    // `name` made fit for a file name: characters that file systems refuse
    // or shells trip over (/ \ : * ? " < > | and control characters) become
    // "_", blanks and dots are trimmed from the ends and the length is
    // limited to 200 bytes of UTF-8. Empty when nothing usable remains.
    static QString FileSafeName(const QString& name);
    // The file of the document; empty while it is untitled.
    QString PathName() const { return m_pathName; }
    // Sets the file, makes its name the title and, unless told otherwise,
    // puts it at the top of the recent files.
    enum class AddToRecent
    {
        No,
        Yes
    };
    void SetPathName(const QString& path, AddToRecent add = AddToRecent::Yes);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);

    // The views in the order they were added.
    const QVector<View*>& Views() const { return m_views; }
    void AddView(View* view);
    void RemoveView(View* view);
    // The child frames of the views, one per view, in view order.
    QVector<ChildFrame*> Frames() const;
    // Calls OnUpdate(sender, hint) on every view but `sender`.
    void UpdateAllViews(View* sender, int hint = 0);

    // The reason of the last failed open or save.
    QString LastError() const { return m_lastError; }

    // A new, empty document; false stops its creation.
    virtual bool OnNewDocument();
    // Reads `path`. The default only checks that the file can be read.
    virtual bool OnOpenDocument(const QString& path);
    // Writes `path`. The default writes an empty file.
    virtual bool OnSaveDocument(const QString& path);
    // Closes every frame of the document without asking and lets the
    // document go (deleted once control returns to the event loop).
    virtual void OnCloseDocument();
    // Whether `frame` may close: yes while other frames show the document,
    // otherwise as SaveModified decides.
    virtual bool CanCloseFrame(ChildFrame* frame);
    // Asks to save a modified document: Save saves (false when that fails
    // or is cancelled), Discard answers true, Cancel false.
    virtual bool SaveModified();

    // Saves to `path`, or asks for a file when `path` is empty (Save As).
    // On success the document takes the file and is no longer modified; on
    // failure the user is told the file and the reason.
    bool DoSave(const QString& path);
    // Save: to the document's file, or Save As while it has none (or the
    // file cannot be written).
    bool DoFileSave();

    bool IsClosing() const { return m_closing; }

signals:
    void TitleChanged(const QString& title);
    void ModifiedChanged(bool modified);

protected:
    void SetLastError(const QString& reason) { m_lastError = reason; }
    // TitleName() changed: the windows' titles follow.
    void TitleNameChanged();

    QString m_lastError;

private:
    friend class DocTemplate;
    void UpdateFrameTitles();
    void ReportSaveFailure(const QString& path);

    DocTemplate* m_template = nullptr;
    QString m_title;
    QString m_pathName;
    bool m_modified = false;
    bool m_closing = false;
    QVector<View*> m_views;
};
