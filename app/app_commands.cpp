// The commands of the application object: new fractals from presets, the
// random presets, repainting, the application-wide colours, help and About.

#include "app/about_dialog.h"
#include "app/color_bar.h"
#include "app/fractal_app.h"
#include "app/help_window.h"
#include "app/main_frame.h"
#include "app/random_presets.h"
#include "documents/fractal_doc.h"
#include "editors/design_sheet.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/resource_library.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "render/gdi_surface.h"
#include "views/fractal_view.h"
#include "views/preset_dialog.h"

#include <QColorDialog>

void CFractalApp::AddCommands()
{
    AddCommand(Cmd::NewFromPreset, [this] { (void)OnNewFromPreset(); });
    for (const int command : {Cmd::RandomOneOfEach, Cmd::RandomStandard, Cmd::RandomIfs,
                              Cmd::RandomMcrm, Cmd::RandomLsys, Cmd::RandomAutomaton}) {
        AddCommand(command, [this, command] { (void)OnRandomPresets(command); });
    }
    AddCommand(Cmd::RepaintAll, [this] { OnRepaintAll(); });
    AddCommandRange(Cmd::ColorFirst, Cmd::ColorLast,
                    [this](int id) { OnColor(id - Cmd::ColorFirst); });
    AddCommand(Cmd::ColorDialog, [this] { OnColorDialog(); });
    AddCommand(Cmd::AppAbout, [this] { OnAbout(); });
    AddCommand(Cmd::Help, [this] { (void)OnHelp(); });
    AddCommand(Cmd::HelpIndex, [this] { (void)OnHelp(); });
    AddCommand(Cmd::DesignSheet, [this] { OnDesignSheet(); });
}

void CFractalApp::OnDesignSheet()
{
    designsheet sheet(Templates(), m_mainFrame ? m_mainFrame->ActiveDocument() : nullptr,
                      DialogParent());
    sheet.exec();
}

CFractalDoc* CFractalApp::OnNewFromPreset()
{
    if (!m_fractalTemplate) {
        return nullptr;
    }
    auto* document = qobject_cast<CFractalDoc*>(m_fractalTemplate->OpenDocumentFile(QString()));
    if (!document) {
        return nullptr;
    }
    (void)ChoosePresetFor(*document);
    return document;
}

QVector<CFractalDoc*> CFractalApp::OnRandomPresets(int command)
{
    QVector<CFractalDoc*> documents;
    const int windows = RandomCommandWindows(command);
    if (!m_fractalTemplate || windows == 0) {
        return documents;
    }
    for (int i = 0; i < windows; ++i) {
        if (auto* document =
                qobject_cast<CFractalDoc*>(m_fractalTemplate->OpenDocumentFile(QString()))) {
            documents.append(document);
        }
    }
    if (MdiFrame* frame = MainFrame()) {
        frame->TileVertically();
    }
    // Drawn only now, after the new views took their random colours.
    const QVector<PresetChoice> presets = DrawRandomPresets(command);
    for (int i = 0; i < documents.size() && i < presets.size(); ++i) {
        (void)documents[i]->SetPreset(presets[i].kind, presets[i].index);
    }
    return documents;
}

void CFractalApp::OnRepaintAll()
{
    for (Document* document : Documents()) {
        for (View* view : document->Views()) {
            // A fractal view only draws anew when asked to; a plain repaint
            // would show the same picture again.
            if (auto* fractalView = qobject_cast<CFractalView*>(view)) {
                fractalView->RequestDrawing();
            } else {
                view->update();
            }
        }
    }
}

void CFractalApp::OnColor(int k)
{
    if (k < 0 || k >= static_cast<int>(m_colors.size())) {
        return;
    }
    Color& entry = m_colors[static_cast<std::size_t>(k)];
    const QColor chosen = QColorDialog::getColor(ToQColor(entry), DialogParent());
    if (!chosen.isValid()) {
        return;
    }
    entry = MakeColor(chosen.red(), chosen.green(), chosen.blue());
    SyncViewColors();
    if (CMainFrame* frame = CMainFrame::Instance(); frame && frame->ColorBar()) {
        frame->ColorBar()->SetColor(k, entry);
    }
}

void CFractalApp::OnColorDialog()
{
    // Only for defining custom colours: they stay in every later colour
    // dialog of this run.
    (void)QColorDialog::getColor(Qt::black, DialogParent());
}

void CFractalApp::OnAbout()
{
    CAboutDlg about(DialogParent());
    about.exec();
}

bool CFractalApp::OnHelp()
{
    // The manual in a window of our own: no browser needs to be installed,
    // and the manual speaks the program's language.
    const CHelpWindow* window = CHelpWindow::Open(DialogParent());
    return window != nullptr && window->Home().isValid();
}
