#include "documents/fractal_doc.h"

#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "engine/presets.h"
#include "fileio/atomic_file.h"
#include "framework/application.h"
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
    // A fractal that cannot be drawn has no days to change.
    const auto usable = [this](CommandState& state) { state.Enable(HasGoodFractal()); };
    AddCommand(
        Cmd::MoreGenerations, [this] { OnMoreGenerations(); }, usable);
    AddCommand(
        Cmd::FewerGenerations, [this] { OnFewerGenerations(); }, usable);
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
    m_read = {};
    m_fromFile = false;
    if (!PathName().isEmpty()) {
        SetModifiedFlag(true);
    }
    TitleNameChanged();
    UpdateAllViews(nullptr, 0);
}

QString CFractalDoc::TitleName() const
{
    return m_fractal ? QString::fromStdString(m_fractal->m_name) : QString();
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
    // Whether the fractal is usable is its own business (m_bad): a damaged
    // file still opens, and the report keeps where it broke off.
    FractalPtr fractal;
    (void)ReadFractalText(std::string(data.constData(), static_cast<std::size_t>(data.size())),
                          fractal, m_read);
    m_fractal = std::move(fractal);
    m_fromFile = true;
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
    if (!m_read.complete) {
        SetLastError(Text(kDamagedFractal, "The fractal could not be read completely (from line "
                                           "%1); saving it would lose what was not read.")
                         .arg(m_read.line));
        return false;
    }
    std::stringstream stream;
    CTextArchive archive(stream);
    if (!m_fractal->Save(archive) || !stream) {
        SetLastError(Text(Res::Str::FractalNotWritten, "The fractal could not be written out."));
        return false;
    }
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

QString CFractalDoc::ProblemText() const
{
    if (!m_fractal) {
        // A new window says how to give it a fractal rather than stay blank.
        return m_fromFile ? Text(Res::Str::NoKnownFractal,
                                 "This file holds no fractal of a kind this program knows.")
                          : Text(Res::Str::NoFractalYet, "No fractal yet.");
    }
    if (!m_fractal->m_bad) {
        // Drawn, even from a file cut short after what it needs.
        return QString();
    }
    if (!m_read.complete) {
        return m_read.endOfFile
                   ? Text(Res::Str::EndsBeforeLine,
                          "This fractal cannot be drawn: the file ends before line %1.")
                         .arg(m_read.line)
                   : Text(Res::Str::DamagedAtLine,
                          "This fractal cannot be drawn: the file is damaged at line %1.")
                         .arg(m_read.line);
    }
    return Text(Res::Str::LacksWhatItNeeds,
                "This fractal cannot be drawn: the %1 fractal lacks what it needs.")
        .arg(QString::fromStdString(m_fractal->m_type));
}

void CFractalDoc::OnMoreGenerations()
{
    if (HasGoodFractal()) {
        // A count below 1 (from a file) draws nothing; one more is the
        // first generation that does.
        const int days = m_fractal->m_days;
        SetDays(days < 1 ? 1 : (days < INT_MAX ? days + 1 : days));
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
