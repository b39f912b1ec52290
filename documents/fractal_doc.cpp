#include "documents/fractal_doc.h"

#include "core/text_archive.h"
#include "engine/presets.h"
#include "framework/application.h"
#include "framework/atomic_file.h"
#include "framework/doc_template.h"
#include "framework/ui_resources.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

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
    AddCommand(Cmd::MoreGenerations, [this] { OnMoreGenerations(); });
    AddCommand(Cmd::FewerGenerations, [this] { OnFewerGenerations(); });
    AddValueCommand(Cmd::GenerationBox, [this](const QString& text) { OnGenerationChosen(text); });
    AddCommand(
        Cmd::OpenComponents, [this] { OnOpenComponents(); },
        [this](CommandState& state) { state.Enable(CanOpenComponents()); });
}

CFractalDoc::~CFractalDoc() = default;

bool CFractalDoc::HasGoodFractal() const
{
    return m_fractal && !m_fractal->m_bad;
}

void CFractalDoc::SetFractal(FractalPtr fractal)
{
    // A view still drawing the previous fractal holds it until it stops.
    m_fractal = std::move(fractal);
    UpdateAllViews(nullptr, 0);
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
    SetFractal(std::move(preset));
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

void CFractalDoc::SetDays(int days)
{
    if (!HasGoodFractal()) {
        return;
    }
    if (days >= 1) {
        m_fractal->m_days = days;
    }
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

void CFractalDoc::OnGenerationChosen(const QString& text)
{
    if (!HasGoodFractal()) {
        return;
    }
    // Text that is not a number gives 0, which changes nothing.
    SetDays(text.trimmed().toInt());
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
