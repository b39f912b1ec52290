#include "documents/directions_doc.h"

#include "core/text_archive.h"
#include "documents/component_file.h"

CDirectionsDoc::CDirectionsDoc() : m_directions(kNewCount) {}

bool CDirectionsDoc::OnOpenDocument(const QString& path)
{
    Directions read;
    const FileResult result =
        ReadComponentFile(path, [&read](CTextArchive& ar) { read = Directions(ar); });
    if (!result) {
        SetLastError(result.error);
        return false;
    }
    m_directions = read;
    ResetHistory();
    UpdateAllViews(nullptr, 0);
    return true;
}

bool CDirectionsDoc::OnSaveDocument(const QString& path)
{
    const FileResult result =
        WriteComponentFile(path, [this](CTextArchive& ar) { (void)m_directions.Save(ar); });
    if (!result) {
        SetLastError(result.error);
        return false;
    }
    MarkSaved();
    return true;
}

bool CDirectionsDoc::CopyComponentFrom(CFractal& fractal)
{
    const Directions* directions = fractal.GetDirections();
    if (directions == nullptr) {
        return false;
    }
    m_directions = *directions;
    ResetHistory();
    return true;
}

bool CDirectionsDoc::SetCount(int count)
{
    if (count < 1 || count > Directions::kMaxCount) {
        return false;
    }
    const Directions before = m_directions;
    const Directions after(count);
    if (!(before == after)) {
        PushEdit(
            EditText::ChangeDirections, [this, after] { Replace(after); },
            [this, before] { Replace(before); });
    }
    return true;
}

void CDirectionsDoc::Replace(const Directions& directions)
{
    m_directions = directions;
    UpdateAllViews(nullptr, 0);
}

void CDirectionsDoc::CopyComponentTo(Components& parts) const
{
    parts.directions = m_directions;
}
