#include "documents/fractal_doc.h"

#include "app/main_frame.h"
#include "app/preset_dialog.h"
#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "engine/presets.h"
#include "framework/application.h"
#include "fileio/atomic_file.h"
#include "framework/child_frame.h"
#include "framework/command_ids.h"
#include "framework/doc_template.h"
#include "framework/resource_ids.h"
#include "framework/ui_resources.h"
#include "render/fractal_view.h"

#include <QComboBox>

#include <climits>
#include <sstream>
#include <string>

namespace {

// Reasons a fractal is not saved, shown after "Cannot save <file>". Bundle
// strings, with these English texts while a bundle lacks them.
constexpr int kNoFractalToSave = Res::Str::NoFractalToSave;
constexpr int kDamagedFractal = Res::Str::DamagedFractalNotSaved;

QString Text(int id, const char* english)
{
    const QString text = UiResources::Current().String(id);
    return text.isEmpty() ? QString::fromUtf8(english) : text;
}

// The document types a fractal's components open as, in the order they are
// opened, with the getter that says whether the fractal has one.
struct ComponentType
{
    int docType;
    bool (*present)(CFractal&);
};
constexpr ComponentType kComponentTypes[] = {
    {Res::DocType::Generator, [](CFractal& f) { return f.GetGenerator() != nullptr; }},
    {Res::DocType::Initiator, [](CFractal& f) { return f.GetInitiators() != nullptr; }},
    {Res::DocType::Ifs, [](CFractal& f) { return f.GetAffineMaps() != nullptr; }},
    {Res::DocType::Lsys, [](CFractal& f) { return f.GetLsystem() != nullptr; }},
    {Res::DocType::Automaton, [](CFractal& f) { return f.GetAutomaton() != nullptr; }},
    {Res::DocType::Directions, [](CFractal& f) { return f.GetDirections() != nullptr; }},
};

DocTemplate* TemplateOf(int docType)
{
    if (Application* app = Application::Instance()) {
        for (DocTemplate* docTemplate : app->Templates()) {
            if (docTemplate->ResourceId() == docType) {
                return docTemplate;
            }
        }
    }
    return nullptr;
}

} // namespace

CFractalDoc::CFractalDoc()
{
    AddCommand(Cmd::ChoosePreset, [this] { OnChoosePreset(); });
    AddCommand(Cmd::MoreGenerations, [this] { OnMoreGenerations(); });
    AddCommand(Cmd::FewerGenerations, [this] { OnFewerGenerations(); });
    AddCommand(Cmd::GenerationBox, [this] {
        if (CMainFrame* frame = CMainFrame::Instance(); frame && frame->GenerationBox()) {
            OnGenerationSelected(*frame->GenerationBox());
        }
    });
    AddCommand(
        Cmd::OpenComponents, [this] { OnOpenComponents(); },
        [this](CommandState& state) { state.Enable(CanOpenComponents()); });
}

CFractalDoc::~CFractalDoc() = default;

bool CFractalDoc::HasGoodFractal() const
{
    return m_fractal && !m_fractal->m_bad;
}

QVector<CFractalView*> CFractalDoc::FractalViews() const
{
    QVector<CFractalView*> views;
    for (View* view : Views()) {
        if (auto* fractalView = qobject_cast<CFractalView*>(view)) {
            views.append(fractalView);
        }
    }
    return views;
}

bool CFractalDoc::SetPreset(int kind, int index)
{
    if (index < 0 || index >= PresetCount(kind)) {
        return false;
    }
    FractalPtr preset = CreatePreset(kind, index);
    if (!preset) {
        return false;
    }
    // A view still drawing the previous fractal holds it until it stops.
    m_fractal = std::move(preset);
    UpdateAllViews(nullptr, 0);
    return true;
}

bool CFractalDoc::OnOpenDocument(const QString& path)
{
    QByteArray data;
    const FileResult read = ReadWholeFile(path, data);
    if (!read) {
        SetLastError(read.error);
        return false;
    }
    std::stringstream stream(std::string(data.constData(), static_cast<std::size_t>(data.size())));
    CTextArchive archive(stream);
    // Whether the fractal is usable is its own business (m_bad): a damaged
    // file still opens.
    FractalPtr fractal;
    (void)CreateFractal(fractal, archive);
    m_fractal = std::move(fractal);
    SetModifiedFlag(false);
    UpdateAllViews(nullptr, 0);
    return true;
}

bool CFractalDoc::OnSaveDocument(const QString& path)
{
    if (!m_fractal) {
        SetLastError(Text(kNoFractalToSave, "The document holds no fractal yet."));
        return false;
    }
    if (m_fractal->m_bad) {
        SetLastError(Text(kDamagedFractal, "The fractal could not be read completely; saving it "
                                           "would lose what was not read."));
        return false;
    }
    std::stringstream stream;
    CTextArchive archive(stream);
    (void)m_fractal->Save(archive);
    const FileResult written = WriteFileAtomically(path, stream.str());
    if (!written) {
        SetLastError(written.error);
        return false;
    }
    return true;
}

bool CFractalDoc::CanCloseFrame(ChildFrame* frame)
{
    if (!Document::CanCloseFrame(frame)) {
        // The window stays, and goes on drawing.
        return false;
    }
    if (frame != nullptr) {
        if (auto* view = qobject_cast<CFractalView*>(frame->GetView())) {
            view->EndDrawing();
        }
    }
    return true;
}

void CFractalDoc::OnCloseDocument()
{
    if (!IsClosing()) {
        for (CFractalView* view : FractalViews()) {
            view->EndDrawing();
        }
    }
    Document::OnCloseDocument();
}

void CFractalDoc::OnChoosePreset()
{
    CPresetDialog dialog(Application::DialogParent());
    if (dialog.exec() == QDialog::Accepted && dialog.Index() != -1) {
        (void)SetPreset(dialog.Kind(), dialog.Index());
    }
}

void CFractalDoc::SetDays(int days)
{
    if (!HasGoodFractal()) {
        return;
    }
    if (days >= 1) {
        m_fractal->m_days = days;
    }
    // The day commands change the picture, not the file's content as the
    // user sees it: the document is not marked modified.
    UpdateAllViews(nullptr, 0);
}

void CFractalDoc::OnMoreGenerations()
{
    if (HasGoodFractal()) {
        const int days = m_fractal->m_days;
        SetDays(days < INT_MAX ? days + 1 : days);
    }
}

void CFractalDoc::OnFewerGenerations()
{
    if (HasGoodFractal()) {
        const int days = m_fractal->m_days;
        SetDays(days > INT_MIN ? days - 1 : days);
    }
}

void CFractalDoc::OnGenerationSelected(const QComboBox& box)
{
    const int index = box.currentIndex();
    if (!HasGoodFractal() || index < 0) {
        return;
    }
    // Text that is not a number gives 0, which changes nothing.
    SetDays(box.itemText(index).trimmed().toInt());
}

bool CFractalDoc::CanOpenComponents() const
{
    if (!HasGoodFractal()) {
        return false;
    }
    for (const ComponentType& type : kComponentTypes) {
        if (type.present(*m_fractal) && TemplateOf(type.docType) != nullptr) {
            return true;
        }
    }
    return false;
}

void CFractalDoc::OnOpenComponents()
{
    if (!CanOpenComponents()) {
        return;
    }
    // The new documents may change what this one's fractal is; hold it.
    const FractalPtr fractal = m_fractal;
    for (const ComponentType& type : kComponentTypes) {
        DocTemplate* docTemplate = TemplateOf(type.docType);
        if (docTemplate == nullptr || !type.present(*fractal)) {
            continue;
        }
        Document* document = docTemplate->OpenDocumentFile(QString());
        auto* target = dynamic_cast<FractalComponentTarget*>(document);
        if (target != nullptr && target->CopyComponentFrom(*fractal)) {
            document->UpdateAllViews(nullptr, 0);
        }
    }
}
