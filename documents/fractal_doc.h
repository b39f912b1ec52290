#pragma once

// A complete fractal as a document: owns the fractal, reads and writes its
// file, and carries the commands on the whole fractal (preset, days,
// components).

#include "engine/fractal.h"
#include "framework/document.h"

class CFractalDoc : public Document {
    Q_OBJECT
public:
    CFractalDoc();
    ~CFractalDoc() override;

    // Replaces the fractal with a preset and updates the views; false (and
    // nothing changed) when there is no such preset.
    bool SetPreset(int kind, int index);
    // The document has a fractal and it is usable.
    bool HasGoodFractal() const;

    FractalPtr m_fractal;
};
