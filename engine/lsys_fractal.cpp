// Placeholder bodies: replaced by the real implementation.
#include "engine/lsys_fractal.h"

CLsysFractal::CLsysFractal(const LsysPreset& p) : CFractal(p.name, p.days, kKeyword) {}
CLsysFractal::CLsysFractal(std::string name, int days, const LSystem& l, const Directions& d)
    : CFractal(std::move(name), days, kKeyword), m_lsystem(l), m_directions(d) {}
CLsysFractal::CLsysFractal(CTextArchive& ar) : CFractal(ar, kKeyword) {}
bool CLsysFractal::ComputeBounds(int, FractalBounds&, const StopFlag*, ProgressFn, void*) { return false; }
bool CLsysFractal::Draw(DrawingSurface&, const StopFlag*) { return false; }
void CLsysFractal::DrawInitiatorOverlay(MarkerSurface&, ColorPair) {}
void CLsysFractal::DrawGeneratorOverlay(MarkerSurface&, ColorPair) {}
bool CLsysFractal::Save(CTextArchive& ar) { return CFractal::Save(ar); }
bool CLsysFractal::IsValid() const { return false; }
