#include "framework/application.h"

#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/framework_strings.h"
#include "framework/mdi_frame.h"
#include "framework/printing.h"
#include "framework/prompts.h"
#include "framework/recent_files.h"
#include "framework/single_instance.h"
#include "framework/standard_ids.h"
#include "framework/thread_done_event.h"
#include "framework/view.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Enough of a file's start for the few headers that tell its type, even
// after a long line of values.
constexpr qint64 kSignatureBytes = 16 * 1024;

QString Canonical(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    SetSettingsKey(QStringLiteral("kaleidra"), QStringLiteral("kaleidra"));

    AddCommand(Cmd::FileNew, [this] { OnFileNew(); });
    AddCommand(Cmd::FileOpen, [this] { OnFileOpen(); });
    AddCommand(Cmd::FilePrintSetup, [this] { OnFilePrintSetup(); });
    AddCommand(
        Cmd::FileCloseAll, [this] { OnCloseAll(); },
        [this](CommandState& state) { state.Enable(!Documents().isEmpty()); });
    AddCommand(Cmd::AppExit, [this] { OnAppExit(); });
    AddCommandRange(
        Cmd::FileMruFirst, Cmd::FileMruLast,
        [this](int id) { (void)OpenRecentFile(id - Cmd::FileMruFirst); },
        [this](int id, CommandState& state) {
            state.Enable(id - Cmd::FileMruFirst < m_recentFiles->Size());
        });
}

Application::~Application()
{
    // Closed documents and frames wait for the event loop to delete them;
    // the loop is over, so do it here, then drop what is still open before
    // the templates it refers to.
    sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (Document* document : Documents()) {
        delete document;
    }
    sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_templates.clear();
}

Application* Application::Instance()
{
    return qobject_cast<Application*>(QCoreApplication::instance());
}

QWidget* Application::DialogParent()
{
    if (QWidget* active = QApplication::activeModalWidget()) {
        return active;
    }
    Application* app = Instance();
    if (app && app->m_mainFrame) {
        return app->m_mainFrame;
    }
    return QApplication::activeWindow();
}

DocTemplate* Application::AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate)
{
    m_templates.push_back(std::move(docTemplate));
    return m_templates.back().get();
}

QVector<DocTemplate*> Application::Templates() const
{
    QVector<DocTemplate*> templates;
    for (const auto& docTemplate : m_templates) {
        templates.append(docTemplate.get());
    }
    return templates;
}

QVector<Document*> Application::Documents() const
{
    QVector<Document*> documents;
    for (const auto& docTemplate : m_templates) {
        documents += docTemplate->Documents();
    }
    return documents;
}

void Application::SetMainFrame(MdiFrame* frame)
{
    m_mainFrame = frame;
}

MdiFrame* Application::MainFrame() const
{
    return m_mainFrame;
}

DocTemplate* Application::TemplateForFile(const QString& path) const
{
    for (const auto& docTemplate : m_templates) {
        if (docTemplate->MatchesFile(path)) {
            return docTemplate.get();
        }
    }
    // An extension no type claims (a file saved as "star.txt", or none at
    // all) says nothing: the first section headers say what the file is.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    const QByteArray head = file.read(kSignatureBytes);
    for (const auto& docTemplate : m_templates) {
        if (docTemplate->MatchesContent(head)) {
            return docTemplate.get();
        }
    }
    return nullptr;
}

Document* Application::FindOpenDocument(const QString& path) const
{
    const QString wanted = Canonical(path);
    for (Document* document : Documents()) {
        if (!document->PathName().isEmpty() && Canonical(document->PathName()) == wanted) {
            return document;
        }
    }
    return nullptr;
}

Document* Application::OpenDocumentFile(const QString& path)
{
    if (path.isEmpty()) {
        return nullptr;
    }
    if (Document* open = FindOpenDocument(path)) {
        const QVector<ChildFrame*> frames = open->Frames();
        if (m_mainFrame && !frames.isEmpty()) {
            m_mainFrame->ActivateFrame(frames.first());
        }
        return open;
    }
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    DocTemplate* docTemplate = TemplateForFile(absolute);
    if (!docTemplate) {
        // Reading a file of another kind as one of ours would only give a
        // damaged document.
        Prompts::Current().ShowError(
            DialogParent(),
            FrameworkText(FrameworkString::NotADocument).arg(QDir::toNativeSeparators(absolute)));
        return nullptr;
    }
    return docTemplate->OpenDocumentFile(absolute);
}

bool Application::PrintDocumentFile(const QString& path)
{
    const bool wasOpen = FindOpenDocument(path) != nullptr;
    Document* document = OpenDocumentFile(path);
    if (!document || document->Views().isEmpty()) {
        return false;
    }
    View* view = document->Views().first();
    const bool printed = CommandRouter::Execute(view->CommandChain(), Cmd::FilePrintDirect);
    if (!wasOpen) {
        document->OnCloseDocument();
    }
    return printed;
}

bool Application::SaveAllModified()
{
    for (Document* document : Documents()) {
        if (!document->SaveModified()) {
            return false;
        }
    }
    return true;
}

void Application::CloseAllDocuments()
{
    for (Document* document : Documents()) {
        document->OnCloseDocument();
    }
}

void Application::SetSettingsKey(const QString& organization, const QString& application)
{
    m_settingsOrganization = organization;
    m_settingsApplication = application;
    m_recentFiles = std::make_unique<RecentFileList>(organization, application);
}

void Application::AddToRecentFileList(const QString& path)
{
    m_recentFiles->Add(path);
}

QPrinter& Application::Printer()
{
    return SharedPrinter();
}

bool Application::StartOrForward(const QStringList& files, const QString& serverName)
{
    delete m_singleInstance;
    m_singleInstance = new SingleInstance(
        serverName.isEmpty() ? SingleInstance::DefaultServerName() : serverName, this);
    if (m_singleInstance->StartOrForward(files) == SingleInstance::Role::Forwarded) {
        return false;
    }
    connect(m_singleInstance, &SingleInstance::FilesReceived, this, &Application::OnFilesReceived);
    return true;
}

void Application::OnFilesReceived(const QStringList& files)
{
    for (const QString& file : files) {
        (void)OpenDocumentFile(file);
    }
    if (m_mainFrame) {
        m_mainFrame->setWindowState(m_mainFrame->windowState() & ~Qt::WindowMinimized);
        m_mainFrame->show();
        m_mainFrame->raise();
        m_mainFrame->activateWindow();
    }
}

void Application::OnThreadDone(int result, std::thread::id thread)
{
    Q_UNUSED(result);
    Q_UNUSED(thread);
}

bool Application::event(QEvent* event)
{
    if (event->type() == ThreadDoneEvent::kType) {
        const auto* done = static_cast<ThreadDoneEvent*>(event);
        OnThreadDone(done->Result(), done->ThreadId());
        return true;
    }
    return QApplication::event(event);
}

void Application::OnFileNew()
{
    QVector<DocTemplate*> offered;
    QStringList names;
    for (const auto& docTemplate : m_templates) {
        const QString name = docTemplate->GetDocString(DocTemplate::DocString::FileNewName);
        if (!name.isEmpty()) {
            offered.append(docTemplate.get());
            names.append(name);
        }
    }
    if (offered.isEmpty() && !m_templates.empty()) {
        offered.append(m_templates.front().get());
    }
    if (offered.isEmpty()) {
        return;
    }
    int choice = 0;
    if (offered.size() > 1) {
        choice = Prompts::Current().ChooseItem(DialogParent(),
                                               FrameworkText(FrameworkString::NewCaption),
                                               FrameworkText(FrameworkString::NewPrompt), names);
        if (choice < 0 || choice >= offered.size()) {
            return;
        }
    }
    (void)offered[choice]->OpenDocumentFile(QString());
}

void Application::OnFileOpen()
{
    QStringList filters;
    QStringList patterns;
    for (const auto& docTemplate : m_templates) {
        const QString filter = docTemplate->Filter();
        if (filter.isEmpty()) {
            continue;
        }
        filters.append(filter);
        for (const QString& extension : docTemplate->Extensions()) {
            patterns.append(QStringLiteral("*.") + extension);
        }
    }
    // Every document type at once first, as the usual choice.
    if (filters.size() > 1) {
        filters.prepend(FrameworkText(FrameworkString::AllDocumentsFilter) + QStringLiteral(" (") +
                        patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    filters.append(FrameworkText(FrameworkString::AllFilesFilter));
    const QStringList files = Prompts::Current().GetOpenFileNames(
        DialogParent(), FrameworkText(FrameworkString::OpenCaption),
        filters.join(QStringLiteral(";;")));
    for (const QString& file : files) {
        (void)OpenDocumentFile(file);
    }
}

void Application::OnFilePrintSetup()
{
    (void)Prompts::Current().RunPageSetup(DialogParent(), Printer());
}

void Application::OnCloseAll()
{
    if (SaveAllModified()) {
        CloseAllDocuments();
    }
}

void Application::OnAppExit()
{
    if (m_mainFrame) {
        m_mainFrame->close();
    } else if (SaveAllModified()) {
        CloseAllDocuments();
        quit();
    }
}

bool Application::OpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles->Size()) {
        return false;
    }
    const QString path = m_recentFiles->Files().at(index);
    if (!QFileInfo::exists(path)) {
        m_recentFiles->Remove(index);
        Prompts::Current().ShowError(
            DialogParent(),
            FrameworkText(FrameworkString::FileNotFound).arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (OpenDocumentFile(path)) {
        return true;
    }
    // The open has told the user why; the entry would fail again.
    m_recentFiles->Remove(m_recentFiles->Files().indexOf(path));
    return false;
}
