#pragma once

// Generators and initiators as documents: a motif being drawn (m_pattern)
// and a stack of saved motifs (never written to a file). The pattern
// editors append steps through this class; every change is one undoable
// edit that marks the document modified.
//
// CGeneratorDoc files hold one "[generator]" section; CInitiatorDoc files
// one "[initiators]" section, the motif chained from the origin with its
// first segment of length 1.
//
// Only the interface thread uses these documents.

#include "documents/component_doc.h"
#include "documents/fractal_doc.h"
#include "engine/pattern.h"

#include <list>

class CPatternDoc : public CComponentDoc
{
    Q_OBJECT
public:
    CPatternDoc();
    ~CPatternDoc() override;

    const Pattern& GetPattern() const { return m_pattern; }
    // Saved motifs, the most recently saved first.
    const std::list<Pattern>& Stack() const { return m_stack; }

    // The editing commands; each updates every view with hint 0.
    // Save motif (0x8014): the motif goes on the stack, a new one starts.
    void OnSaveMotif();
    bool CanSaveMotif() const { return !m_pattern.empty(); }
    // Insert saved motif (0x8015): the front of the stack replaces the last
    // step, turned and scaled onto it (copied as it is into an empty motif).
    void OnInsertMotif();
    bool CanInsertMotif() const { return !m_stack.empty(); }
    // Delete the last step (0x801B).
    void OnDeleteLastStep();
    bool CanDeleteLastStep() const { return !m_pattern.empty(); }
    // Delete every step (the editor's 0x801C).
    void DeleteAllSteps();
    // A step drawn with the mouse.
    void AppendStep(const PatternStep& step);
    // A regular polygon of `sides` sides laid on the last step; nothing for
    // fewer than one side.
    void AppendPolygon(int sides, bool counterclockwise);

protected:
    // Replaces the motif as a file or a fractal gives it: not an edit, so
    // the history starts again and the document is not modified.
    void LoadPattern(Pattern pattern);
    // The motif and stack as one value, for the undo history.
    struct State
    {
        Pattern pattern;
        std::list<Pattern> stack;
    };
    void Change(int nameId, State after);

    Pattern m_pattern;
    std::list<Pattern> m_stack;
};

class CGeneratorDoc : public CPatternDoc, public FractalComponentTarget
{
    Q_OBJECT
public:
    // Reads the "[generator]" section; a damaged one gives the steps read
    // before the damage. False, with the reason, when the file is unreadable.
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    // The fractal's generator.
    bool CopyComponentFrom(CFractal& fractal) override;
};

class CInitiatorDoc : public CPatternDoc, public FractalComponentTarget
{
    Q_OBJECT
public:
    // Reads the "[initiators]" section as a motif of absolute angles whose
    // ratios are relative to the first segment.
    bool OnOpenDocument(const QString& path) override;
    // Writes the motif chained from the origin.
    bool OnSaveDocument(const QString& path) override;
    // The fractal's initiators (a standard fractal's starting figure, an
    // MCRM fractal's polygon).
    bool CopyComponentFrom(CFractal& fractal) override;
};
