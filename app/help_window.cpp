#include "app/help_window.h"

#include "framework/resource_library.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

namespace {

// A resource path (":/root/kaleidra/manual/index.html") as the browser's URL.
QUrl ResourceUrl(const QString& path)
{
    QUrl url;
    url.setScheme(QStringLiteral("qrc"));
    url.setPath(path.mid(1));
    return url;
}

QString ManualOf(const ResourceLibrary& library)
{
    const QString path = library.ManualPath();
    return !path.isEmpty() && QFile::exists(path) ? path : QString();
}

QPointer<CHelpWindow>& TheWindow()
{
    static QPointer<CHelpWindow> window;
    return window;
}

} // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window)
{
    const UiResources& resources = UiResources::Current();
    setWindowTitle(resources.String(Res::Str::ManualCaption));
    setObjectName(QStringLiteral("HelpWindow"));

    m_browser = new QTextBrowser(this);
    // Links inside the manual are followed here; the others are handed out.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &CHelpWindow::FollowLink);
    setCentralWidget(m_browser);

    auto* bar = addToolBar(resources.String(Res::Str::ManualCaption));
    bar->setObjectName(QStringLiteral("HelpNavigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                            resources.String(Res::Str::ManualBack));
    m_back->setShortcuts(QKeySequence::Back);
    m_forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                               resources.String(Res::Str::ManualForward));
    m_forward->setShortcuts(QKeySequence::Forward);
    m_contents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                resources.String(Res::Str::ManualContents));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_contents, &QAction::triggered, m_browser, &QTextBrowser::home);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &CHelpWindow::ShowTitle);

    resize(760, 640);
}

CHelpWindow::~CHelpWindow() = default;

bool CHelpWindow::ShowManual(const ResourceLibrary& library)
{
    QString manual = ManualOf(library);
    if (manual.isEmpty() && library.Code().compare(QLatin1String("en"), Qt::CaseInsensitive) != 0) {
        if (!m_fallback) {
            m_fallback = std::make_unique<ResourceLibrary>();
        }
        if (m_fallback->IsLoaded() || m_fallback->Load(QStringLiteral("en"))) {
            manual = ManualOf(*m_fallback);
        }
    }
    if (manual.isEmpty()) {
        m_home = QUrl();
        m_browser->clearHistory();
        m_browser->setPlainText(
            UiResources::Current().String(Res::Str::ManualMissing).arg(library.Code()));
        m_contents->setEnabled(false);
        return false;
    }
    const QUrl home = ResourceUrl(manual);
    m_contents->setEnabled(true);
    // Shown again, the manual stays on the page the user was reading.
    if (home != m_home) {
        m_home = home;
        m_browser->setSource(home);
        // The history of another manual leads nowhere now.
        m_browser->clearHistory();
    }
    return true;
}

CHelpWindow* CHelpWindow::Open(QWidget* parent)
{
    QPointer<CHelpWindow>& window = TheWindow();
    if (window.isNull() || window->parentWidget() != parent) {
        delete window.data();
        window = new CHelpWindow(parent);
    }
    (void)window->ShowManual(ResourceLibrary::Instance());
    window->show();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
    return window;
}

void CHelpWindow::FollowLink(const QUrl& url)
{
    const QUrl target = m_browser->source().resolved(url);
    if (target.scheme() == QLatin1String("qrc")) {
        m_browser->setSource(target);
        return;
    }
    // The web site or the mail address the manual names: the user asked for it.
    (void)QDesktopServices::openUrl(target);
}

void CHelpWindow::ShowTitle()
{
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? UiResources::Current().String(Res::Str::ManualCaption)
                                   : title);
}
