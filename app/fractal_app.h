#pragma once

// The application object: language choice and bundle, document templates,
// the commands that belong to no document (presets, random presets, colours,
// help, About), and the drawing threads' completion events.
//
// Start-up runs in InitInstance, in this order: the command line, one
// program per user (a later start hands its files over and ends), the
// language bundle and Qt's own translations, the document templates, the
// main frame, then the files of the command line (opened, or printed after
// which the program ends).
//
// Only the interface thread uses it.

#include "app/start_options.h"
#include "framework/application.h"
#include "render/display_settings.h"

#include <QPointer>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

class CFractalDoc;
class CMainFrame;
class ScreenshotJob;
class ScriptedPrompts;
class QTranslator;

class CFractalApp : public Application
{
    Q_OBJECT
public:
    CFractalApp(int& argc, char** argv);
    ~CFractalApp() override;

    static CFractalApp* Instance();

    // The whole start-up for `arguments` (those after the program's name).
    // nullopt when the program goes on into the event loop, otherwise the
    // code it exits with: 0 after handing the files to a running instance or
    // printing them, non-zero when something failed (the user has been told).
    std::optional<int> InitInstance(const QStringList& arguments);

    // The steps of the start-up, for tests. LoadLanguage also makes Qt's own
    // dialogs speak the bundle's language; it tells the user when no bundle
    // is found and returns false.
    bool LoadLanguage(LanguageSwitch language, const QLocale& locale);
    void RegisterTemplates();
    bool CreateMainFrame();

    // The application-wide colours: what new views start from and what the
    // colour bar shows when no fractal view is active. After changing them,
    // SyncViewColors hands them to the templates for the next new views.
    ColorSet& CurrentColors() { return m_colors; }
    void SyncViewColors();
    const ColorSet& CurrentColors() const { return m_colors; }
    // The code of the bundle in use ("fr", "DE"), empty before LoadLanguage.
    QString LanguageCode() const { return m_languageCode; }
    // The fractal document template (the first one registered).
    DocTemplate* FractalTemplate() const { return m_fractalTemplate; }

    // The commands, also for tests.
    // A new fractal, then the chooser for it; a cancelled chooser leaves the
    // new document empty.
    CFractalDoc* OnNewFromPreset();
    // The documents a random command opened, in window order.
    QVector<CFractalDoc*> OnRandomPresets(int command);
    // Every fractal view draws again; other views repaint.
    void OnRepaintAll();
    // The colour dialog for entry k of the application-wide colours.
    void OnColor(int k);
    // The colour dialog on black, for defining custom colours.
    void OnColorDialog();
    void OnAbout();
    // The design sheet, composing a fractal from the open components.
    void OnDesignSheet();
    // Opens the manual in the help window; false when no manual was found.
    bool OnHelp();

    void OnThreadDone(int result, std::thread::id thread) override;

signals:
    // A drawing thread finished (after its view was told).
    void DrawingDone(std::thread::id thread);

private:
    void AddCommands();
    void LoadQtTranslations();
    // Opens the files of the command line; false when none of them opened.
    bool OpenStartFiles(const StartOptions& options);
    bool PrintStartFiles(const StartOptions& options);
    void OpenStartPresets(const StartOptions& options);

    ColorSet m_colors = kDefaultColorSet;
    QString m_languageCode;
    DocTemplate* m_fractalTemplate = nullptr;
    QPointer<CMainFrame> m_mainFrame;
    std::unique_ptr<ScriptedPrompts> m_unattendedPrompts;
    QTranslator* m_qtTranslator = nullptr;
    ScreenshotJob* m_screenshot = nullptr;
};
