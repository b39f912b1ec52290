#include "documents/ifs_doc.h"

#include "core/text_archive.h"
#include "documents/component_file.h"
#include "fileio/atomic_file.h"

#include <sstream>
#include <string>
#include <utility>

CIfsDoc::CIfsDoc() : m_maps(1, &kNewMap) {}

CIfsDoc::~CIfsDoc() = default;

void CIfsDoc::Change(int nameId, AffineMapSet before, AffineMapSet after)
{
    PushEdit(
        nameId,
        [this, after = std::move(after)] {
            m_maps = after;
            UpdateAllViews(nullptr, 0);
        },
        [this, before = std::move(before)] {
            m_maps = before;
            UpdateAllViews(nullptr, 0);
        });
}

void CIfsDoc::AddMap()
{
    AffineMapSet after = m_maps;
    after.Append(kIdentityMap);
    Change(CompText::AddMap, m_maps, std::move(after));
}

bool CIfsDoc::DeleteMap(int index)
{
    if (m_maps.size() < 2 || index < 0 || static_cast<std::size_t>(index) >= m_maps.size()) {
        return false;
    }
    AffineMapSet after = m_maps;
    after.Erase(static_cast<std::size_t>(index));
    Change(CompText::DeleteMap, m_maps, std::move(after));
    return true;
}

void CIfsDoc::SetMapLive(int index, const AffineMap& map)
{
    if (index >= 0 && static_cast<std::size_t>(index) < m_maps.size()) {
        m_maps[static_cast<std::size_t>(index)] = map;
    }
}

void CIfsDoc::CommitMapChange(int index, const AffineMap& before)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_maps.size() ||
        m_maps[static_cast<std::size_t>(index)] == before) {
        return;
    }
    AffineMapSet old = m_maps;
    old[static_cast<std::size_t>(index)] = before;
    Change(CompText::MoveHandle, std::move(old), m_maps);
}

bool CIfsDoc::OnOpenDocument(const QString& path)
{
    QByteArray data;
    const FileResult read = ReadWholeFile(path, data);
    if (!read) {
        SetLastError(read.error);
        return false;
    }
    std::stringstream stream(std::string(data.constData(), static_cast<std::size_t>(data.size())));
    CTextArchive archive(stream);
    m_maps = AffineMapSet(archive);
    ResetHistory();
    UpdateAllViews(nullptr, 0);
    return true;
}

bool CIfsDoc::OnSaveDocument(const QString& path)
{
    const FileResult written =
        WriteComponentFile(path, [this](CTextArchive& archive) { (void)m_maps.Save(archive); });
    if (!written) {
        SetLastError(written.error);
        return false;
    }
    MarkSaved();
    return true;
}

bool CIfsDoc::CopyComponentFrom(CFractal& fractal)
{
    const AffineMapSet* maps = fractal.GetAffineMaps();
    if (maps == nullptr) {
        return false;
    }
    m_maps = *maps;
    ResetHistory();
    UpdateAllViews(nullptr, 0);
    return true;
}
