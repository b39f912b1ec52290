// Placeholder bodies: replaced by the real implementation.
#include "engine/ifs_fractal.h"

CIfsFractal::CIfsFractal(const IfsPreset& p) : CFractal(p.name, p.days, kKeyword) {}
CIfsFractal::CIfsFractal(std::string name, int days, const AffineMapSet& maps)
    : CFractal(std::move(name), days, kKeyword), m_maps(maps) {}
CIfsFractal::CIfsFractal(CTextArchive& ar) : CFractal(ar, kKeyword) {}
CIfsFractal::CIfsFractal(const IfsPreset& p, std::string type) : CFractal(p.name, p.days, std::move(type)) {}
CIfsFractal::CIfsFractal(std::string name, int days, const AffineMapSet& maps, std::string type)
    : CFractal(std::move(name), days, std::move(type)), m_maps(maps) {}
CIfsFractal::CIfsFractal(CTextArchive& ar, std::string type) : CFractal(ar, std::move(type)) {}
bool CIfsFractal::ComputeBounds(int, FractalBounds&, const StopFlag*, ProgressFn, void*) { return false; }
bool CIfsFractal::Draw(DrawingSurface&, const StopFlag*) { return false; }
void CIfsFractal::DrawInitiatorOverlay(MarkerSurface&, ColorPair) {}
void CIfsFractal::DrawGeneratorOverlay(MarkerSurface&, ColorPair) {}
bool CIfsFractal::Save(CTextArchive& ar) { return CFractal::Save(ar); }
bool CIfsFractal::IsValid() const { return false; }
