#include "framework/document.h"

#include "fileio/atomic_file.h"
#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/doc_template.h"
#include "framework/framework_strings.h"
#include "framework/prompts.h"
#include "framework/standard_ids.h"
#include "framework/view.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

Document::Document()
{
    AddCommand(Cmd::FileClose, [this] {
        if (SaveModified()) {
            OnCloseDocument();
        }
    });
    AddCommand(Cmd::FileSave, [this] { (void)DoFileSave(); });
    AddCommand(Cmd::FileSaveAs, [this] { (void)DoSave(QString()); });
}

Document::~Document() = default;

void Document::SetTitle(const QString& title)
{
    m_title = title;
    UpdateFrameTitles();
    emit TitleChanged(m_title);
}

QString Document::TitleName() const
{
    return QString();
}

QString Document::DisplayTitle() const
{
    const QString name = m_pathName.isEmpty() ? TitleName() : QString();
    return name.isEmpty() ? m_title : name + QStringLiteral(" \u2014 ") + m_title;
}

QString Document::FileSafeName(const QString& name)
{
    // File systems take 255 bytes for one name: this leaves room for an
    // extension.
    constexpr qsizetype kMaxBytes = 200;
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
    QString safe;
    safe.reserve(name.size());
    for (const QChar ch : name) {
        const bool control = ch.category() == QChar::Other_Control;
        safe.append(control || refused.contains(ch) ? QLatin1Char('_') : ch);
    }
    // A leading dot would hide the file; trailing dots and blanks are lost
    // or confusing on other systems.
    const auto trimmable = [](QChar ch) { return ch.isSpace() || ch == QLatin1Char('.'); };
    qsizetype first = 0;
    while (first < safe.size() && trimmable(safe[first])) {
        ++first;
    }
    qsizetype last = safe.size();
    while (last > first && trimmable(safe[last - 1])) {
        --last;
    }
    safe = safe.mid(first, last - first);
    if (safe.toUtf8().size() > kMaxBytes) {
        while (safe.toUtf8().size() > kMaxBytes) {
            // Never half of a character outside the basic plane.
            safe.chop(safe.size() >= 2 && safe.back().isLowSurrogate() ? 2 : 1);
        }
        while (!safe.isEmpty() && trimmable(safe.back())) {
            safe.chop(1);
        }
    }
    return safe;
}

void Document::TitleNameChanged()
{
    UpdateFrameTitles();
}

void Document::SetPathName(const QString& path, AddToRecent add)
{
    const QFileInfo info(path);
    m_pathName = QDir::cleanPath(info.absoluteFilePath());
    SetTitle(info.fileName());
    if (add == AddToRecent::Yes) {
        if (Application* app = Application::Instance()) {
            app->AddToRecentFileList(m_pathName);
        }
    }
}

void Document::SetModifiedFlag(bool modified)
{
    if (m_modified == modified) {
        return;
    }
    m_modified = modified;
    UpdateFrameTitles();
    emit ModifiedChanged(m_modified);
}

void Document::AddView(View* view)
{
    Q_ASSERT(view && !m_views.contains(view));
    m_views.append(view);
    view->m_document = this;
    UpdateFrameTitles();
}

void Document::RemoveView(View* view)
{
    if (m_views.removeOne(view)) {
        UpdateFrameTitles();
    }
}

QVector<ChildFrame*> Document::Frames() const
{
    QVector<ChildFrame*> frames;
    for (View* view : m_views) {
        ChildFrame* frame = view->Frame();
        if (frame && !frames.contains(frame)) {
            frames.append(frame);
        }
    }
    return frames;
}

void Document::UpdateAllViews(View* sender, int hint)
{
    // A view may close documents or open others while updating: walk a copy.
    const QVector<View*> views = m_views;
    for (View* view : views) {
        if (view != sender && m_views.contains(view)) {
            view->OnUpdate(sender, hint);
        }
    }
}

void Document::UpdateFrameTitles()
{
    const QVector<ChildFrame*> frames = Frames();
    const QString title = DisplayTitle();
    // The mark says the file on disk differs from what the windows show.
    const QString mark = m_modified ? QStringLiteral("*") : QString();
    for (int i = 0; i < frames.size(); ++i) {
        frames[i]->setWindowTitle(frames.size() > 1
                                      ? QStringLiteral("%1:%2%3").arg(title).arg(i + 1).arg(mark)
                                      : title + mark);
    }
}

bool Document::OnNewDocument()
{
    SetModifiedFlag(false);
    return true;
}

bool Document::OnOpenDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetLastError(file.errorString());
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool Document::OnSaveDocument(const QString& path)
{
    const FileResult result = WriteFileAtomically(path, QByteArray());
    if (!result) {
        SetLastError(result.error);
    }
    return result.ok;
}

void Document::OnCloseDocument()
{
    if (m_closing) {
        return;
    }
    m_closing = true;
    // The views stop whatever still reads the document before any goes.
    const QVector<View*> views = Views();
    for (View* view : views) {
        view->OnDocumentClosing();
    }
    for (ChildFrame* frame : Frames()) {
        frame->CloseWithoutAsking();
    }
    if (m_template) {
        m_template->RemoveDocument(this);
    }
    deleteLater();
}

bool Document::CanCloseFrame(ChildFrame* frame)
{
    const QVector<ChildFrame*> frames = Frames();
    for (ChildFrame* other : frames) {
        if (other != frame) {
            return true;
        }
    }
    return SaveModified();
}

bool Document::SaveModified()
{
    if (!IsModified()) {
        return true;
    }
    const QString text = FrameworkText(FrameworkString::AskToSave).arg(DisplayTitle());
    switch (Prompts::Current().AskSaveChanges(Application::DialogParent(), text)) {
    case Prompts::SaveChoice::Save:
        return DoFileSave();
    case Prompts::SaveChoice::Discard:
        return true;
    case Prompts::SaveChoice::Cancel:
        break;
    }
    return false;
}

bool Document::DoSave(const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        const QString extension = m_template ? m_template->DefaultExtension() : QString();
        QString suggested = m_pathName;
        if (suggested.isEmpty()) {
            // The name of what the document holds, when it has one: a name
            // with dots of its own ("koch 1.5") still gets the extension.
            const QString named = FileSafeName(TitleName());
            suggested = named.isEmpty() ? m_title : named;
            const QString ending = QLatin1Char('.') + extension;
            if (!extension.isEmpty() && !named.isEmpty() &&
                !suggested.endsWith(ending, Qt::CaseInsensitive)) {
                suggested += ending;
            }
        }
        if (!extension.isEmpty() && QFileInfo(suggested).suffix().isEmpty()) {
            suggested += QLatin1Char('.') + extension;
        }
        QString filters = m_template ? m_template->Filter() : QString();
        if (!filters.isEmpty()) {
            filters += QStringLiteral(";;");
        }
        filters += FrameworkText(FrameworkString::AllFilesFilter);
        target = Prompts::Current().GetSaveFileName(Application::DialogParent(),
                                                    FrameworkText(FrameworkString::SaveAsCaption),
                                                    suggested, filters);
        if (target.isEmpty()) {
            return false; // cancelled
        }
        if (!extension.isEmpty() && QFileInfo(target).suffix().isEmpty()) {
            target += QLatin1Char('.') + extension;
        }
    }
    m_lastError.clear();
    if (!OnSaveDocument(target)) {
        ReportSaveFailure(target);
        return false;
    }
    SetPathName(target);
    SetModifiedFlag(false);
    return true;
}

bool Document::DoFileSave()
{
    if (m_pathName.isEmpty()) {
        return DoSave(QString());
    }
    const QFileInfo info(m_pathName);
    if (info.exists() && !info.isWritable()) {
        return DoSave(QString());
    }
    return DoSave(m_pathName);
}

void Document::ReportSaveFailure(const QString& path)
{
    QString reason = m_lastError;
    if (reason.isEmpty()) {
        reason = FrameworkText(FrameworkString::UnknownReason);
    }
    Prompts::Current().ShowError(
        Application::DialogParent(),
        FrameworkText(FrameworkString::CannotSave).arg(QDir::toNativeSeparators(path), reason));
}
