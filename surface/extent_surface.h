#pragma once

#include "surface/drawing_surface.h"

#include <limits>

// The box of a figure in model units, y range first, and the factor by which
// the figure is multiplied when it is drawn so that it fits 32767 units.
struct FractalBounds
{
    double minY = 0.0;
    double maxY = 0.0;
    double minX = 0.0;
    double maxX = 0.0;
    double scale = 1.0;
    bool valid = false;

    friend bool operator==(const FractalBounds&, const FractalBounds&) = default;
};

// A surface that draws nothing and only grows a bounding box, so a fractal
// can measure a generation by drawing it once. Colours are ignored; arrows
// add their base point only, circles their bounding square.
class ExtentSurface final : public DrawingSurface
{
public:
    void MoveTo(double x, double y) override { Add(x, y); }
    void SetPixel(double x, double y, Color) override { SetPixel(x, y); }
    void SetPixel(double x, double y) override { Add(x, y); }
    void Line(double x1, double y1, double x2, double y2, Color) override { Line(x1, y1, x2, y2); }
    void Line(double x1, double y1, double x2, double y2) override
    {
        Add(x1, y1);
        Add(x2, y2);
    }
    void LineTo(double x, double y, Color) override { LineTo(x, y); }
    void LineTo(double x, double y) override { Add(x, y); }
    void Arrow(Point p, Polar v, int size, Color) override { Arrow(p, v, size); }
    void Arrow(Point p, Polar, int) override { Add(p.x, p.y); }
    void Circle(double cx, double cy, double r, Color) override { Circle(cx, cy, r); }
    void Circle(double cx, double cy, double r) override;
    const AffineMap* GetTransform() const override { return nullptr; }

    // The box so far, with scale 1.0 and valid. A surface that received no
    // point gives the empty box at the origin.
    FractalBounds Bounds() const;
    bool IsEmpty() const { return m_minX > m_maxX; }

    void Add(double x, double y)
    {
        if (x < m_minX) {
            m_minX = x;
        }
        if (y < m_minY) {
            m_minY = y;
        }
        if (x > m_maxX) {
            m_maxX = x;
        }
        if (y > m_maxY) {
            m_maxY = y;
        }
    }

private:
    double m_minX = std::numeric_limits<double>::max();
    double m_minY = std::numeric_limits<double>::max();
    double m_maxX = std::numeric_limits<double>::lowest();
    double m_maxY = std::numeric_limits<double>::lowest();
};
