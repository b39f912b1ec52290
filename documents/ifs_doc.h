#pragma once

// A set of affine maps as a document: the content of a ".maps" file, one
// "[affine]" section. A new document holds one map, the identity moved by
// (0.25, 0.25). The IFS editor changes the maps through this class; each
// change is one undoable edit that marks the document modified (a whole
// drag of a handle is one edit).
//
// Only the interface thread uses the document.

#include "documents/component_doc.h"
#include "documents/fractal_doc.h"
#include "engine/affine_map_set.h"

class CIfsDoc : public CComponentDoc, public FractalComponentTarget
{
    Q_OBJECT
public:
    static constexpr AffineMap kNewMap{1.0, 0.0, 0.0, 1.0, 0.25, 0.25};

    CIfsDoc();
    ~CIfsDoc() override;

    const AffineMapSet& Maps() const { return m_maps; }

    // Appends the identity map.
    void AddMap();
    // Erases map `index`; refused (false) for an index outside the set and
    // for the last map left.
    bool DeleteMap(int index);
    // Replaces map `index` without recording an edit, as a drag does while
    // the mouse moves; other views are not told. Ignored outside the set.
    void SetMapLive(int index, const AffineMap& map);
    // Records the change of map `index` from `before` to what it is now as
    // one edit (the end of a drag); nothing when it did not change.
    void CommitMapChange(int index, const AffineMap& before);

    // Reads the "[affine]" section; a damaged one gives the maps read before
    // the damage, possibly none.
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    // The maps of an IFS or MCRM fractal.
    bool CopyComponentFrom(CFractal& fractal) override;

private:
    void Change(int nameId, AffineMapSet before, AffineMapSet after);

    AffineMapSet m_maps;
};
