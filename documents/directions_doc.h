#pragma once

// A turtle compass on its own: the count of equally spaced headings (a new
// document has 8). File: one "[directions]" section.
//
// Edits come from the directions editor, one undo step each; every edit
// notifies all views with hint 0. Only the interface thread uses it.

#include "documents/component_doc.h"
#include "documents/component_source.h"
#include "documents/edit_names.h"
#include "documents/fractal_doc.h"
#include "engine/lsystem.h"

class CDirectionsDoc : public CComponentDoc, public FractalComponentTarget, public ComponentSource
{
    Q_OBJECT
public:
    static constexpr int kNewCount = 8;

    CDirectionsDoc();

    const Directions& GetDirections() const { return m_directions; }

    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    bool CopyComponentFrom(CFractal& fractal) override;
    void CopyComponentTo(Components& parts) const override;

    // A compass of `count` headings; false (nothing changed) for a count
    // below 1 or beyond Directions::kMaxCount.
    bool SetCount(int count);

private:
    void Replace(const Directions& directions);

    Directions m_directions;
};
