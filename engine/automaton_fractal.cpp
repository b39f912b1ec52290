// Placeholder bodies: replaced by the real implementation.
#include "engine/automaton_fractal.h"

CAutomatonFractal::CAutomatonFractal(const AutomatonPreset& p) : CFractal(p.name, p.days, kKeyword) {}
CAutomatonFractal::CAutomatonFractal(std::string name, int days, const Automaton& a, const Pattern& g)
    : CFractal(std::move(name), days, kKeyword), m_automaton(a), m_generator(g) {}
CAutomatonFractal::CAutomatonFractal(CTextArchive& ar) : CFractal(ar, kKeyword) {}
bool CAutomatonFractal::ComputeBounds(int, FractalBounds&, const StopFlag*, ProgressFn, void*) { return false; }
bool CAutomatonFractal::Draw(DrawingSurface&, const StopFlag*) { return false; }
void CAutomatonFractal::DrawInitiatorOverlay(MarkerSurface&, ColorPair) {}
void CAutomatonFractal::DrawGeneratorOverlay(MarkerSurface&, ColorPair) {}
bool CAutomatonFractal::Save(CTextArchive& ar) { return CFractal::Save(ar); }
bool CAutomatonFractal::IsValid() const { return false; }
