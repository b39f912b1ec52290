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
    ForgetHistory();
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
    ForgetHistory();
    return true;
}

bool CDirectionsDoc::SetCount(int count)
{
    if (count < 1 || count > Directions::kMaxCount) {
        return false;
    }
    PushEdit<Directions>(EditText::ChangeDirections, m_directions, Directions(count),
                         [this](const Directions& model) { Replace(model); });
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
