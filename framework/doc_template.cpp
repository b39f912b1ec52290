#include "framework/doc_template.h"

#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/document.h"
#include "framework/framework_strings.h"
#include "framework/mdi_frame.h"
#include "framework/prompts.h"
#include "framework/ui_resources.h"
#include "framework/view.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMdiArea>
#include <QPixmap>

#include <algorithm>
#include <cerrno>

DocTemplate::DocTemplate(int resourceId, DocumentFactory makeDocument, ViewFactory makeView)
    : m_resourceId(resourceId), m_makeDocument(std::move(makeDocument)),
      m_makeView(std::move(makeView))
{
    LoadStrings();
}

DocTemplate::~DocTemplate()
{
    // Documents outliving their template would point back at it.
    for (Document* document : m_documents)
        document->m_template = nullptr;
}

void DocTemplate::LoadStrings()
{
    m_strings = UiResources::Current().String(m_resourceId).split(QLatin1Char('\n'));
    m_extensions.clear();
    const QString extensions = GetDocString(DocString::FilterExt);
    for (QString extension : extensions.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        extension = extension.trimmed();
        while (extension.startsWith(QLatin1Char('*')) || extension.startsWith(QLatin1Char('.')))
            extension.remove(0, 1);
        if (!extension.isEmpty())
            m_extensions.append(extension);
    }
}

QString DocTemplate::GetDocString(DocString field) const
{
    const int index = static_cast<int>(field);
    return index < m_strings.size() ? m_strings[index] : QString();
}

QString DocTemplate::Filter() const
{
    if (m_extensions.isEmpty())
        return QString();
    QString name = GetDocString(DocString::FilterName);
    // A filter name that already lists its patterns is used as it stands.
    if (name.contains(QLatin1Char('(')))
        return name;
    QStringList patterns;
    for (const QString& extension : m_extensions)
        patterns.append(QStringLiteral("*.") + extension);
    if (name.isEmpty())
        name = GetDocString(DocString::DocName);
    return QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' '))).trimmed();
}

QString DocTemplate::DefaultExtension() const
{
    return m_extensions.isEmpty() ? QString() : m_extensions.first();
}

bool DocTemplate::MatchesFile(const QString& path) const
{
    const QString suffix = QFileInfo(path).suffix();
    for (const QString& extension : m_extensions) {
        if (suffix.compare(extension, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void DocTemplate::AddDocument(Document* document)
{
    Q_ASSERT(!m_documents.contains(document));
    m_documents.append(document);
    document->m_template = this;
}

void DocTemplate::RemoveDocument(Document* document)
{
    if (m_documents.removeOne(document))
        document->m_template = nullptr;
}

void DocTemplate::SetDefaultTitle(Document* document)
{
    const QString name = GetDocString(DocString::DocName);
    if (name.isEmpty())
        document->SetTitle(FrameworkText(FrameworkString::Untitled));
    else
        document->SetTitle(name + QString::number(m_untitledCount + 1));
}

ChildFrame* DocTemplate::CreateNewFrame(Document* document)
{
    Application* app = Application::Instance();
    MdiFrame* main = app ? app->MainFrame() : nullptr;
    if (!main)
        return nullptr;
    std::unique_ptr<ChildFrame> frame =
        m_makeFrame ? m_makeFrame() : std::make_unique<ChildFrame>();
    std::unique_ptr<View> view = m_makeView();
    if (!frame || !view)
        return nullptr;
    if (!m_viewColors.isEmpty()) {
        view->OnInitialColors(m_viewColors);
    }
    View* shown = view.release();
    frame->SetView(shown);
    QIcon icon = UiResources::Current().Icon(m_resourceId);
    if (icon.isNull())
        icon = QApplication::windowIcon();
    if (icon.isNull()) {
        // Without any icon the frame would show the toolkit's logo.
        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        icon = QIcon(blank);
    }
    frame->setWindowIcon(icon);
    document->AddView(shown);
    ChildFrame* result = frame.release();
    // A new window takes two thirds of the area, placed where it overlaps
    // the others least.
    const QSize area = main->MdiArea()->viewport()->size();
    if (area.width() > 0 && area.height() > 0)
        result->resize(std::max(area.width() * 2 / 3, 200), std::max(area.height() * 2 / 3, 150));
    main->MdiArea()->addSubWindow(result);
    result->hide();
    return result;
}

void DocTemplate::InitialUpdateFrame(ChildFrame* frame)
{
    if (View* view = frame->GetView())
        view->OnInitialUpdate();
    Application* app = Application::Instance();
    if (MdiFrame* main = app ? app->MainFrame() : nullptr)
        main->ShowNewFrame(frame);
    else
        frame->show();
}

Document* DocTemplate::OpenDocumentFile(const QString& path)
{
    if (!path.isEmpty() && QFileInfo(path).isDir()) {
        // A folder opens on most systems but reads as nothing.
        Prompts::Current().ShowError(
            Application::DialogParent(),
            FrameworkText(FrameworkString::CannotOpen)
                .arg(QDir::toNativeSeparators(path), qt_error_string(EISDIR)));
        return nullptr;
    }
    std::unique_ptr<Document> made = m_makeDocument();
    if (!made)
        return nullptr;
    Document* document = made.release();
    AddDocument(document);
    ChildFrame* frame = CreateNewFrame(document);
    if (!frame) {
        document->OnCloseDocument();
        return nullptr;
    }

    if (path.isEmpty()) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            document->OnCloseDocument();
            return nullptr;
        }
        ++m_untitledCount;
    } else {
        document->m_lastError.clear();
        if (!document->OnOpenDocument(path)) {
            ReportOpenFailure(document, path);
            document->OnCloseDocument();
            return nullptr;
        }
        document->SetPathName(path);
    }
    InitialUpdateFrame(frame);
    return document;
}

void DocTemplate::ReportOpenFailure(Document* document, const QString& path)
{
    QString reason = document->LastError();
    if (reason.isEmpty()) {
        // The document gave no reason; the file system may have one.
        QFile file(path);
        reason = file.open(QIODevice::ReadOnly) ? FrameworkText(FrameworkString::UnknownReason)
                                                : file.errorString();
    }
    Prompts::Current().ShowError(
        Application::DialogParent(),
        FrameworkText(FrameworkString::CannotOpen).arg(QDir::toNativeSeparators(path), reason));
}
