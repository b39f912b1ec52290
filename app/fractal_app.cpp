#include "app/fractal_app.h"

#include "app/main_frame.h"
#include "app/screenshot.h"
#include "documents/automaton_doc.h"
#include "documents/directions_doc.h"
#include "documents/fractal_doc.h"
#include "documents/ifs_doc.h"
#include "documents/lsys_doc.h"
#include "documents/pattern_doc.h"
#include "editors/automaton_view.h"
#include "editors/directions_view.h"
#include "editors/ifs_view.h"
#include "editors/lsys_view.h"
#include "editors/pattern_view.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/printing.h"
#include "framework/resource_library.h"
#include "framework/scripted_prompts.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"
#include "views/fractal_view.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QTranslator>

#include <cstdio>

namespace {

// Prompts for unattended runs: nobody answers, and whatever would have been
// shown goes to the standard error stream instead.
class ConsolePrompts : public ScriptedPrompts
{
public:
    void ShowError(QWidget* parent, const QString& text) override
    {
        ScriptedPrompts::ShowError(parent, text);
        std::fprintf(stderr, "kaleidra: %s\n", qPrintable(text));
    }
    void ShowInformation(QWidget* parent, const QString& text) override
    {
        ScriptedPrompts::ShowInformation(parent, text);
        std::fprintf(stderr, "kaleidra: %s\n", qPrintable(text));
    }
};

QStringList AbsolutePaths(const QStringList& files)
{
    QStringList paths;
    for (const QString& file : files)
        paths.append(QFileInfo(file).absoluteFilePath());
    return paths;
}

} // namespace

CFractalApp::CFractalApp(int& argc, char** argv) : Application(argc, argv)
{
    setApplicationName(QStringLiteral("kaleidra"));
    SetSettingsKey(QStringLiteral("kaleidra"), QStringLiteral("kaleidra"));
    AddCommands();
}

CFractalApp::~CFractalApp()
{
    // The main frame closes the documents while the templates still exist.
    delete m_mainFrame.data();
    if (m_unattendedPrompts)
        Prompts::SetCurrent(nullptr);
}

CFractalApp* CFractalApp::Instance()
{
    return qobject_cast<CFractalApp*>(QCoreApplication::instance());
}

std::optional<int> CFractalApp::InitInstance(const QStringList& arguments)
{
    const StartOptions options = ParseStartOptions(arguments);
    for (const QString& error : options.errors)
        std::fprintf(stderr, "kaleidra: bad option %s\n", qPrintable(error));
    if (!options.errors.isEmpty())
        return 2;

    const bool unattended = options.unattended || !options.screenshotPath.isEmpty();
    if (unattended) {
        m_unattendedPrompts = std::make_unique<ConsolePrompts>();
        Prompts::SetCurrent(m_unattendedPrompts.get());
    }
    // Printing is a job of its own and an unattended run must not wake the
    // user's window; any other start joins the running program if there is one.
    if (!options.print && !unattended && !StartOrForward(AbsolutePaths(options.files)))
        return 0;

    if (!LoadLanguage(options.language, QLocale::system()))
        return 1;
    RegisterTemplates();
    if (!CreateMainFrame())
        return 1;

    if (options.print)
        return PrintStartFiles(options) ? 0 : 1;
    if (!options.screenshotPath.isEmpty()) {
        // The whole screen, so that the picture shows what a user would see
        // with the window maximized.
        if (const QScreen* screen = m_mainFrame->screen())
            m_mainFrame->setGeometry(screen->availableGeometry());
    }
    // Shown first, so that new windows are sized and tiled in the real area.
    m_mainFrame->show();
    if (!OpenStartFiles(options))
        return 1;
    OpenStartPresets(options);

    if (!options.screenshotPath.isEmpty()) {
        m_screenshot = new ScreenshotJob(this, m_mainFrame, options.screenshotPath);
        m_screenshot->Start();
    }
    return std::nullopt;
}

bool CFractalApp::LoadLanguage(LanguageSwitch language, const QLocale& locale)
{
    const QString code = LanguageCodeFor(language, locale);
    for (const QString& candidate : LanguageCodesToTry(language, code)) {
        if (ResourceLibrary::Instance().Load(candidate)) {
            m_languageCode = candidate;
            LoadQtTranslations();
            setWindowIcon(UiResources::Current().Icon(Res::MainFrame));
            return true;
        }
    }
    // The bundle first asked for is the one the user has to install.
    const QString message = MissingBundleMessage(ResourceLibrary::BundleName(code));
    if (!m_unattendedPrompts)
        std::fprintf(stderr, "kaleidra: %s\n", qPrintable(message));
    Prompts::Current().ShowError(nullptr, message);
    return false;
}

void CFractalApp::LoadQtTranslations()
{
    // Qt's own dialogs (colour, file, print) speak the bundle's language.
    if (!m_qtTranslator)
        m_qtTranslator = new QTranslator(this);
    else
        removeTranslator(m_qtTranslator);
    const QString file = QStringLiteral("qtbase_") + m_languageCode.toLower();
    if (m_qtTranslator->load(file, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(m_qtTranslator);
}

void CFractalApp::RegisterTemplates()
{
    if (m_fractalTemplate)
        return;
    // Document types register in a fixed order: fractal first; generator,
    // initiator, IFS, L-system, automaton and directions documents follow
    // it, in that order, as they become available.
    m_fractalTemplate =
        AddDocTemplate(DocTemplate::Make<CFractalDoc, CFractalView>(Res::DocType::Fractal));
    // A fractal file saved under any other extension still opens.
    m_fractalTemplate->SetContentSignature({QStringLiteral("[type]")});
    AddDocTemplate(DocTemplate::Make<CGeneratorDoc, CGeneratorView>(Res::DocType::Generator))
        ->SetContentSignature({QStringLiteral("[generator]")});
    AddDocTemplate(DocTemplate::Make<CInitiatorDoc, CInitiatorView>(Res::DocType::Initiator))
        ->SetContentSignature({QStringLiteral("[initiators]")});
    AddDocTemplate(DocTemplate::Make<CIfsDoc, CIfsView>(Res::DocType::Ifs))
        ->SetContentSignature({QStringLiteral("[affine]")});
    AddDocTemplate(DocTemplate::Make<CLsysDoc, CLsysView>(Res::DocType::Lsys));
    AddDocTemplate(DocTemplate::Make<CAutomatonDoc, CAutomatonView>(Res::DocType::Automaton));
    AddDocTemplate(DocTemplate::Make<CDirectionsDoc, CDirectionsView>(Res::DocType::Directions));
    SyncViewColors();
}

void CFractalApp::SyncViewColors()
{
    const QVector<QRgb> colors = ToRgbList(m_colors);
    for (DocTemplate* docTemplate : Templates()) {
        docTemplate->SetViewColors(colors);
    }
}

bool CFractalApp::CreateMainFrame()
{
    auto frame = std::make_unique<CMainFrame>();
    SetMainFrame(frame.get());
    if (!frame->Create()) {
        SetMainFrame(nullptr);
        return false;
    }
    // As the user left it; a first start fits the screen.
    QSettings settings(SettingsOrganization(), SettingsApplication());
    if (!frame->RestoreWindowState(settings)) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            frame->FitScreen(screen->availableGeometry());
    }
    m_mainFrame = frame.release();
    return true;
}

bool CFractalApp::OpenStartFiles(const StartOptions& options)
{
    int opened = 0;
    for (const QString& file : options.files) {
        if (OpenDocumentFile(file))
            ++opened;
    }
    // The user has been told about each file that failed; the program only
    // gives up when it was started for files and could open none of them.
    return options.files.isEmpty() || opened > 0;
}

bool CFractalApp::PrintStartFiles(const StartOptions& options)
{
    if (!options.printerName.isEmpty())
        Printer().setPrinterName(options.printerName);
    bool printed = !options.files.isEmpty();
    for (const QString& file : options.files)
        printed = PrintDocumentFile(file) && printed;
    return printed;
}

void CFractalApp::OpenStartPresets(const StartOptions& options)
{
    for (const PresetChoice& preset : options.presets) {
        if (auto* document =
                qobject_cast<CFractalDoc*>(m_fractalTemplate->OpenDocumentFile(QString())))
            (void)document->SetPreset(preset.kind, preset.index);
    }
    if (options.presets.size() > 1)
        m_mainFrame->TileVertically();
}

void CFractalApp::OnThreadDone(int result, std::thread::id thread)
{
    Q_UNUSED(result);
    if (m_fractalTemplate) {
        for (Document* document : m_fractalTemplate->Documents()) {
            for (View* view : document->Views()) {
                auto* fractalView = qobject_cast<CFractalView*>(view);
                if (fractalView && fractalView->DrawingThreadId() == thread)
                    fractalView->ShowGenerationDone();
            }
        }
    }
    emit DrawingDone(thread);
}
