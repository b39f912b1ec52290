#pragma once

// A complete fractal as a document: owns the fractal, reads and writes its
// file, and carries the commands on the whole fractal (preset, days,
// components).
//
// The fractal may be replaced at any time (a preset, the design sheet); the
// drawing threads of the views hold references of their own while they draw,
// so a replaced fractal goes only when its last drawing has ended. Closing
// tells the views first (View::OnDocumentClosing), so they stop their
// drawings and wait for their threads.
//
// Only the interface thread uses the document.

#include "engine/create_fractal.h"
#include "engine/fractal.h"
#include "framework/document.h"

// A component document (generator, initiator, IFS, L-system, automaton,
// directions) that can take a copy of its part of a fractal; the document's
// open-components command fills new documents of those types through it.
class FractalComponentTarget
{
public:
    virtual ~FractalComponentTarget() = default;
    // Replaces the document's content with a copy of its kind of component
    // of `fractal`; false (and nothing changed) when the fractal has none.
    virtual bool CopyComponentFrom(CFractal& fractal) = 0;
};

class CFractalDoc : public Document
{
    Q_OBJECT
public:
    CFractalDoc();
    ~CFractalDoc() override;

    // Replaces the fractal with a preset and updates the views; false (and
    // nothing changed) when there is no such preset.
    bool SetPreset(int kind, int index);
    // The document has a fractal and it is usable.
    bool HasGoodFractal() const;
    // The fractal, or null before one is read or chosen. Views draw it from
    // their own threads through the reference they take.
    const FractalPtr& Fractal() const { return m_fractal; }
    // Replaces the fractal (the design sheet, tests) and updates the views.
    // A document with a file is then modified: the file no longer holds
    // what the windows show, so saving and closing must not pass for
    // doing nothing.
    void SetFractal(FractalPtr fractal);
    // The fractal's name (empty without a fractal): an untitled window is
    // called after it, and Save As proposes it.
    QString TitleName() const override;
    // The day count, when it is at least 1 and the fractal is usable; the
    // views draw anew either way. The day commands change the picture, not
    // the file's content as the user sees it: the document is not marked
    // modified.
    void SetDays(int days);

    // Reads the file. A file that cannot be read fails with the reason; a
    // damaged one opens with an unusable fractal (or none, for an unknown
    // kind) that is never drawn, and ProblemText says why.
    bool OnOpenDocument(const QString& path) override;
    // Writes the file atomically. Refused, with the reason, when there is no
    // fractal or the file was not read completely: what a damaged file held
    // beyond the point where reading failed would otherwise be lost. A
    // fractal read completely is saved as it is, drawable or not (the user
    // may be building it).
    bool OnSaveDocument(const QString& path) override;
    // Why the fractal cannot be drawn, for its windows and the status bar:
    // where a damaged file broke off, what a complete one lacks, or that
    // the file held no fractal of a known kind. Empty when it can be drawn
    // (or when a new document has no fractal yet).
    QString ProblemText() const;

    // The commands, also for tests.
    void OnMoreGenerations();
    void OnFewerGenerations();
    // The generation box's chosen entry becomes the day count; text that is
    // no whole number changes nothing.
    void OnGenerationChosen(const QString& text);
    // Opens each component of the fractal that a document type exists for.
    void OnOpenComponents();
    bool CanOpenComponents() const;

private:
    FractalPtr m_fractal;
    // How the file was read; complete for fractals made in the program.
    FractalReadReport m_read;
    bool m_fromFile = false;
};
