#include "documents/pattern_doc.h"

#include "core/text_archive.h"
#include "documents/component_file.h"
#include "fileio/atomic_file.h"
#include "ids/command_ids.h"

#include <sstream>
#include <string>
#include <utility>

namespace {

// The whole file as a stream, or false with the reason.
bool ReadStream(const QString& path, std::stringstream& stream, QString& error)
{
    QByteArray data;
    const FileResult read = ReadWholeFile(path, data);
    if (!read) {
        error = read.error;
        return false;
    }
    stream.str(std::string(data.constData(), static_cast<std::size_t>(data.size())));
    return true;
}

} // namespace

CPatternDoc::CPatternDoc()
{
    AddCommand(
        Cmd::SaveMotif, [this] { OnSaveMotif(); },
        [this](CommandState& state) { state.Enable(CanSaveMotif()); });
    AddCommand(
        Cmd::InsertMotif, [this] { OnInsertMotif(); },
        [this](CommandState& state) { state.Enable(CanInsertMotif()); });
    AddCommand(
        Cmd::DeleteLastStep, [this] { OnDeleteLastStep(); },
        [this](CommandState& state) { state.Enable(CanDeleteLastStep()); });
}

CPatternDoc::~CPatternDoc() = default;

void CPatternDoc::Change(int nameId, State after)
{
    State before{m_pattern, m_stack};
    PushEdit(
        nameId,
        [this, after = std::move(after)] {
            m_pattern = after.pattern;
            m_stack = after.stack;
            UpdateAllViews(nullptr, 0);
        },
        [this, before = std::move(before)] {
            m_pattern = before.pattern;
            m_stack = before.stack;
            UpdateAllViews(nullptr, 0);
        });
}

void CPatternDoc::OnSaveMotif()
{
    if (!CanSaveMotif()) {
        return;
    }
    State after{Pattern(), m_stack};
    after.stack.push_front(m_pattern);
    Change(CompText::SaveMotif, std::move(after));
}

void CPatternDoc::OnInsertMotif()
{
    if (!CanInsertMotif()) {
        return;
    }
    State after{m_pattern, m_stack};
    Pattern motif = after.stack.front();
    after.stack.pop_front();
    after.pattern.Append(motif);
    Change(CompText::InsertMotif, std::move(after));
}

void CPatternDoc::OnDeleteLastStep()
{
    if (!CanDeleteLastStep()) {
        return;
    }
    State after{m_pattern, m_stack};
    after.pattern.Steps().pop_back();
    Change(CompText::DeleteLastStep, std::move(after));
}

void CPatternDoc::DeleteAllSteps()
{
    if (m_pattern.empty()) {
        return;
    }
    Change(CompText::DeleteAllSteps, State{Pattern(), m_stack});
}

void CPatternDoc::AppendStep(const PatternStep& step)
{
    State after{m_pattern, m_stack};
    after.pattern.Steps().push_back(step);
    Change(CompText::DrawSegment, std::move(after));
}

void CPatternDoc::AppendPolygon(int sides, bool counterclockwise)
{
    if (sides < 1) {
        return;
    }
    State after{m_pattern, m_stack};
    after.pattern.AppendPolygon(sides, counterclockwise);
    Change(CompText::AddPolygon, std::move(after));
}

void CPatternDoc::LoadPattern(Pattern pattern)
{
    m_pattern = std::move(pattern);
    ResetHistory();
    UpdateAllViews(nullptr, 0);
}

bool CGeneratorDoc::OnOpenDocument(const QString& path)
{
    std::stringstream stream;
    if (!ReadStream(path, stream, m_lastError)) {
        return false;
    }
    CTextArchive archive(stream);
    LoadPattern(Pattern(archive));
    return true;
}

bool CGeneratorDoc::OnSaveDocument(const QString& path)
{
    const FileResult written =
        WriteComponentFile(path, [this](CTextArchive& archive) { (void)m_pattern.Save(archive); });
    if (!written) {
        SetLastError(written.error);
        return false;
    }
    MarkSaved();
    return true;
}

bool CGeneratorDoc::CopyComponentFrom(CFractal& fractal)
{
    const Pattern* generator = fractal.GetGenerator();
    if (generator == nullptr) {
        return false;
    }
    LoadPattern(*generator);
    return true;
}

bool CInitiatorDoc::OnOpenDocument(const QString& path)
{
    std::stringstream stream;
    if (!ReadStream(path, stream, m_lastError)) {
        return false;
    }
    CTextArchive archive(stream);
    LoadPattern(Pattern(InitiatorSet(archive)));
    return true;
}

bool CInitiatorDoc::OnSaveDocument(const QString& path)
{
    const FileResult written = WriteComponentFile(
        path, [this](CTextArchive& archive) { (void)InitiatorSet(m_pattern).Save(archive); });
    if (!written) {
        SetLastError(written.error);
        return false;
    }
    MarkSaved();
    return true;
}

bool CInitiatorDoc::CopyComponentFrom(CFractal& fractal)
{
    const InitiatorSet* initiators = fractal.GetInitiators();
    if (initiators == nullptr) {
        return false;
    }
    LoadPattern(Pattern(*initiators));
    return true;
}
