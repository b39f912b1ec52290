#include "framework/doc_template.h"

#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/document.h"
#include "framework/framework_strings.h"
#include "framework/mdi_frame.h"
#include "framework/menu_builder.h"
#include "framework/prompts.h"
#include "framework/ui_resources.h"
#include "framework/view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QMdiArea>
#include <QMenu>
#include <QPixmap>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <functional>

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

void DocTemplate::KeepMenuShortcuts(ChildFrame& frame) const
{
    // The frame's own window menu binds the platform's close keys (Ctrl+W
    // and Ctrl+F4 here). A key that a command of this type's menu also
    // binds would be ambiguous while the window has focus, and Qt then does
    // nothing at all: the menu's command keeps it, the frame the others.
    QSet<QString> taken;
    std::function<void(const QVector<MenuItem>&)> collect = [&](const QVector<MenuItem>& items) {
        for (const MenuItem& item : items) {
            const QKeySequence keys = SplitMenuText(item.text).shortcut;
            if (!keys.isEmpty()) {
                taken.insert(keys.toString(QKeySequence::PortableText));
            }
            collect(item.items);
        }
    };
    collect(UiResources::Current().Menu(m_resourceId));
    QMenu* system = frame.systemMenu();
    if (system == nullptr) {
        return;
    }
    for (QAction* action : system->actions()) {
        QList<QKeySequence> kept;
        for (const QKeySequence& keys : action->shortcuts()) {
            if (!taken.contains(keys.toString(QKeySequence::PortableText))) {
                kept.append(keys);
            }
        }
        action->setShortcuts(kept);
    }
}

QStringList DocTemplate::LeadingHeaders(const QByteArray& head, int count)
{
    // A header is a bracketed lower-case word opening a line; values (an
    // L-system's axiom with its own brackets, say) never start that way.
    QStringList headers;
    for (const QByteArray& line : head.split('\n')) {
        if (headers.size() >= count) {
            break;
        }
        const QByteArray word = line.trimmed();
        const qsizetype close = word.indexOf(']');
        if (!word.startsWith('[') || close < 2) {
            continue;
        }
        const QByteArray name = word.mid(1, close - 1);
        const bool lowerWord =
            std::all_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        if (lowerWord) {
            headers.append(QString::fromLatin1(word.left(close + 1)));
        }
    }
    return headers;
}

bool DocTemplate::MatchesContent(const QByteArray& head) const
{
    if (m_signature.isEmpty()) {
        return false;
    }
    const QStringList found = LeadingHeaders(head, static_cast<int>(m_signature.size()));
    return found == m_signature;
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
    KeepMenuShortcuts(*frame);
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
