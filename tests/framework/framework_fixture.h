#pragma once

// Shared by the framework tests: an in-memory bundle, a text document type,
// probes that record which target of the command chain handled what, and a
// main() that runs a test object inside an Application with its settings
// in a temporary folder.

#include "framework/application.h"
#include "fileio/atomic_file.h"
#include "framework/child_frame.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/mdi_frame.h"
#include "framework/recent_files.h"
#include "framework/scripted_prompts.h"
#include "framework/standard_ids.h"
#include "framework/ui_resources.h"
#include "framework/view.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

namespace fixture {

inline constexpr int kTextType = 130;    // has a menu of its own
inline constexpr int kPictureType = 131; // uses the main menu
inline constexpr int kProbe = 0x9001;    // test commands
inline constexpr int kCheck = 0x9002;
inline constexpr int kNobody = 0x9003;

inline QStringList& Log()
{
    static QStringList log;
    return log;
}

// What one kind of target does with the test commands.
struct Probe
{
    QString name;
    QSet<int> handles;
    QHash<int, bool> checks;
    QSet<int> disables;

    void Reset(const QString& newName)
    {
        name = newName;
        handles.clear();
        checks.clear();
        disables.clear();
    }
};

template <class Base> class Probed : public Base
{
public:
    using Base::Base;
    static inline Probe probe;

    bool OnCommand(int id) override
    {
        if (probe.handles.contains(id)) {
            Log().append(QStringLiteral("%1:%2").arg(probe.name).arg(id, 0, 16));
            return true;
        }
        return Base::OnCommand(id);
    }
    bool OnUpdateCommand(int id, CommandState& state) override
    {
        if (!probe.handles.contains(id) && !probe.checks.contains(id) &&
            !probe.disables.contains(id))
            return Base::OnUpdateCommand(id, state);
        if (probe.checks.contains(id))
            state.SetCheck(probe.checks.value(id));
        if (probe.disables.contains(id))
            state.Enable(false);
        return true;
    }
};

// A document holding the bytes of its file. Content starting with "BAD" is
// refused on reading; failSave makes the next save fail before writing.
class TextDocument : public Document
{
public:
    QByteArray content;
    bool failSave = false;
    int opens = 0;

    bool OnNewDocument() override { return Document::OnNewDocument(); }
    bool OnOpenDocument(const QString& path) override
    {
        ++opens;
        const FileResult read = ReadWholeFile(path, content);
        if (!read) {
            SetLastError(read.error);
            return false;
        }
        if (content.startsWith("BAD")) {
            SetLastError(QStringLiteral("the content is damaged"));
            return false;
        }
        return true;
    }
    bool OnSaveDocument(const QString& path) override
    {
        if (failSave) {
            SetLastError(QStringLiteral("the figure could not be written"));
            return false;
        }
        const FileResult written = WriteFileAtomically(path, content);
        if (!written)
            SetLastError(written.error);
        return written.ok;
    }
};

class TestView : public View
{
public:
    int initialUpdates = 0;
    int updates = 0;
    int prints = 0;
    QRect lastPage;
    QList<bool> activations;

    TestView() { EnablePrinting(); }
    void OnInitialUpdate() override
    {
        ++initialUpdates;
        View::OnInitialUpdate();
    }
    void OnUpdate(View* sender, int hint) override
    {
        ++updates;
        View::OnUpdate(sender, hint);
    }
    void OnActivateView(bool activate, View* activated, View* deactivated) override
    {
        activations.append(activate);
        View::OnActivateView(activate, activated, deactivated);
    }
    void OnPrint(QPainter& painter, QPrinter& printer, const QRect& pageRect) override
    {
        Q_UNUSED(printer);
        ++prints;
        lastPage = pageRect;
        painter.fillRect(pageRect.adjusted(0, 0, -pageRect.width() / 2, 0), Qt::black);
    }
};

using ProbedDocument = Probed<TextDocument>;
using ProbedView = Probed<TestView>;
using ProbedChildFrame = Probed<ChildFrame>;
using ProbedFrame = Probed<MdiFrame>;
using ProbedApplication = Probed<Application>;

inline MemoryResources& Resources()
{
    static MemoryResources resources;
    return resources;
}

inline QVector<MenuItem> FileMenu(bool withDocument)
{
    QVector<MenuItem> items{MenuCommand(QStringLiteral("&New\tCtrl+N"), Cmd::FileNew),
                            MenuCommand(QStringLiteral("&Open...\tCtrl+O"), Cmd::FileOpen)};
    if (withDocument) {
        items += {MenuCommand(QStringLiteral("&Close"), Cmd::FileClose),
                  MenuCommand(QStringLiteral("&Save\tCtrl+S"), Cmd::FileSave),
                  MenuCommand(QStringLiteral("Save &As..."), Cmd::FileSaveAs),
                  MenuCommand(QStringLiteral("Close A&ll"), Cmd::FileCloseAll),
                  MenuSeparator(),
                  MenuCommand(QStringLiteral("&Print...\tCtrl+P"), Cmd::FilePrint),
                  MenuCommand(QStringLiteral("Print Pre&view"), Cmd::FilePrintPreview)};
    }
    items += {MenuSeparator(), MenuCommand(QStringLiteral("Recent File"), Cmd::FileMruFirst),
              MenuSeparator(), MenuCommand(QStringLiteral("E&xit"), Cmd::AppExit)};
    return items;
}

inline void InstallResources()
{
    MemoryResources& r = Resources();
    r.SetString(0xE000, QStringLiteral("Kaleidra"));
    r.SetString(kTextType, QStringLiteral("\nText\nText Document\nText Files\n.txt\nk.text\nText"));
    r.SetString(kPictureType,
                QStringLiteral("\nPicture\nPicture\nPicture Files (*.pic)\n.pic\nk.pic\nPicture"));
    r.SetString(kProbe, QStringLiteral("Probe the chain\nProbe"));
    r.SetString(Cmd::FileNew, QStringLiteral("Create a new document\nNew"));
    const QVector<MenuItem> viewMenu{
        MenuCommand(QStringLiteral("&Toolbar"), Cmd::ViewToolBar),
        MenuCommand(QStringLiteral("&Status Bar"), Cmd::ViewStatusBar)};
    r.SetMenu(128, {MenuPopup(QStringLiteral("&File"), FileMenu(false)),
                    MenuPopup(QStringLiteral("&View"), viewMenu)});
    r.SetMenu(
        kTextType,
        {MenuPopup(QStringLiteral("&File"), FileMenu(true)),
         MenuPopup(QStringLiteral("&Edit"), {MenuCommand(QStringLiteral("&Probe\tF5"), kProbe),
                                             MenuCommand(QStringLiteral("&Check"), kCheck),
                                             MenuCommand(QStringLiteral("&Nobody"), kNobody)}),
         MenuPopup(QStringLiteral("&View"), viewMenu),
         MenuPopup(QStringLiteral("&Window"),
                   {MenuCommand(QStringLiteral("&New Window"), Cmd::WindowNew),
                    MenuCommand(QStringLiteral("&Cascade"), Cmd::WindowCascade),
                    MenuCommand(QStringLiteral("&Tile"), Cmd::WindowTileHorz),
                    MenuCommand(QStringLiteral("Tile &Vertically"), Cmd::WindowTileVert)})});
    // The context menu: only its first sub-menu shows.
    r.SetMenu(
        201, {MenuPopup(QStringLiteral("popup"), {MenuCommand(QStringLiteral("&Probe"), kProbe),
                                                  MenuCommand(QStringLiteral("&Check"), kCheck)})});
    r.SetToolBar(128, ToolBarSpec{128, {Cmd::FileNew, Cmd::FileOpen, 0, kProbe}});
    QPixmap image(16, 16);
    image.fill(Qt::red);
    r.SetImages(128, {image, image, image});
    UiResources::SetCurrent(&r);
}

// The application's state for one test: a shown main window, the two
// document types, scripted prompts.
class Fixture
{
public:
    ScriptedPrompts prompts;
    ProbedFrame* frame = nullptr;
    DocTemplate* text = nullptr;
    DocTemplate* picture = nullptr;

    void Init()
    {
        InstallResources();
        prompts = ScriptedPrompts();
        Prompts::SetCurrent(&prompts);
        Application* app = Application::Instance();
        if (app->Templates().isEmpty()) {
            auto textTemplate = std::make_unique<DocTemplate>(
                kTextType, [] { return std::make_unique<ProbedDocument>(); },
                [] { return std::make_unique<ProbedView>(); });
            textTemplate->SetFrameFactory([] { return std::make_unique<ProbedChildFrame>(); });
            app->AddDocTemplate(std::move(textTemplate));
            app->AddDocTemplate(DocTemplate::Make<TextDocument, TestView>(kPictureType));
        }
        text = app->Templates().at(0);
        picture = app->Templates().at(1);
        frame = new ProbedFrame(128);
        app->SetMainFrame(frame);
        QVERIFY(frame->Create());
        frame->resize(800, 600);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
    }

    void Cleanup()
    {
        Application* app = Application::Instance();
        app->CloseAllDocuments();
        Flush();
        delete frame;
        frame = nullptr;
        Flush();
        Prompts::SetCurrent(nullptr);
        while (app->RecentFiles().Size() > 0)
            app->RecentFiles().Remove(0);
        Log().clear();
        for (Probe* probe : {&ProbedDocument::probe, &ProbedView::probe, &ProbedChildFrame::probe,
                             &ProbedFrame::probe, &ProbedApplication::probe})
            probe->Reset(QString());
    }

    // Runs the deletions closed frames and documents left for the event loop.
    static void Flush()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& data)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(data);
        return path;
    }
};

} // namespace fixture

// main() of a framework test: settings in a temporary XDG folder, an
// application object of class AppClass (ProbedApplication by default).
#define KALEIDRA_FRAMEWORK_TEST_MAIN_WITH_APP(TestObject, AppClass)                                \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        QTemporaryDir config;                                                                      \
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());                                        \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        AppClass app(argc, argv);                                                                  \
        app.SetSettingsKey(QStringLiteral("kaleidra-test"), QStringLiteral("framework"));          \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
#define KALEIDRA_FRAMEWORK_TEST_MAIN(TestObject)                                                   \
    KALEIDRA_FRAMEWORK_TEST_MAIN_WITH_APP(TestObject, fixture::ProbedApplication)
