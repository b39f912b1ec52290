// Placeholder bodies: replaced by the real implementation.
#include "engine/mcrm_fractal.h"

CMcrmFractal::CMcrmFractal(const McrmPreset& p) : CIfsFractal(*p.ifs, kKeyword) {}
CMcrmFractal::CMcrmFractal(std::string name, int days, const AffineMapSet& maps, const Pattern& g)
    : CIfsFractal(std::move(name), days, maps, kKeyword), m_generator(g) {}
CMcrmFractal::CMcrmFractal(CTextArchive& ar) : CIfsFractal(ar, kKeyword) {}
bool CMcrmFractal::ComputeBounds(int, FractalBounds&, const StopFlag*, ProgressFn, void*) { return false; }
bool CMcrmFractal::Draw(DrawingSurface&, const StopFlag*) { return false; }
bool CMcrmFractal::Save(CTextArchive& ar) { return CFractal::Save(ar); }
bool CMcrmFractal::IsValid() const { return false; }
