// Placeholder bodies: replaced by the real implementation.
#include "engine/standard_fractal.h"

CStandardFractal::CStandardFractal(const StandardPreset& p) : CFractal(p.name, p.days, kKeyword) {}
CStandardFractal::CStandardFractal(std::string name, int days, const Pattern& g, const InitiatorSet& i)
    : CFractal(std::move(name), days, kKeyword), m_initiators(i), m_generator(g) {}
CStandardFractal::CStandardFractal(CTextArchive& ar) : CFractal(ar, kKeyword) {}
bool CStandardFractal::ComputeBounds(int, FractalBounds&, const StopFlag*, ProgressFn, void*) { return false; }
bool CStandardFractal::Draw(DrawingSurface&, const StopFlag*) { return false; }
void CStandardFractal::DrawInitiatorOverlay(MarkerSurface&, ColorPair) {}
void CStandardFractal::DrawGeneratorOverlay(MarkerSurface&, ColorPair) {}
bool CStandardFractal::Save(CTextArchive& ar) { return CFractal::Save(ar); }
bool CStandardFractal::IsValid() const { return false; }
