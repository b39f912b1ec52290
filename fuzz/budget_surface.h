#pragma once

// A marker surface for the fuzz targets: it draws nothing, and after a given
// number of drawing calls it raises the stop flag, so that the fractal's next
// element accounting abandons the drawing with the int -1. Fuzzed files may
// ask for any day count; the budget keeps every input quick.

#include "engine/fractal.h"
#include "surface/drawing_surface.h"

#include <cstdint>
#include <string>

class BudgetSurface final : public MarkerSurface
{
public:
    BudgetSurface(StopFlag& stop, std::int64_t budget) : m_stop(stop), m_budget(budget) {}

    void MoveTo(double, double) override { Spend(); }
    void SetPixel(double, double, Color) override { Spend(); }
    void SetPixel(double, double) override { Spend(); }
    void Line(double, double, double, double, Color) override { Spend(); }
    void Line(double, double, double, double) override { Spend(); }
    void LineTo(double, double, Color) override { Spend(); }
    void LineTo(double, double) override { Spend(); }
    void Arrow(Point, Polar, int, Color) override { Spend(); }
    void Arrow(Point, Polar, int) override { Spend(); }
    void Circle(double, double, double, Color) override { Spend(); }
    void Circle(double, double, double) override { Spend(); }
    const AffineMap* GetTransform() const override { return nullptr; }

    void DrawImage(double, double, int, int, int) override { Spend(); }
    void DrawText(const std::string&, double, double, Color) override { Spend(); }
    void DrawText(const std::string&, double, double) override { Spend(); }
    double TextWidth(const std::string& text) override
    {
        return 8.0 * static_cast<double>(text.size());
    }
    double TextHeight(const std::string&) override { return 16.0; }
    Color SelectColor(int flags) override { return static_cast<Color>(flags & 0xffffff); }

    std::int64_t Calls() const { return m_calls; }

private:
    void Spend()
    {
        if (++m_calls >= m_budget) {
            m_stop.store(true, std::memory_order_relaxed);
        }
    }

    StopFlag& m_stop;
    std::int64_t m_budget;
    std::int64_t m_calls = 0;
};
