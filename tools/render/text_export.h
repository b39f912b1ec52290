#pragma once

// The exchange format for plotters and for checking other programs: every
// element the fractal draws, one a line, in the fractal's model units (the
// drawing's units divided by the bounds' scale), 9 significant digits:
//   L x1 y1 x2 y2   a line
//   P x y           a pixel
//   M x y           a pen move

#include "surface/drawing_surface.h"

#include <cstdint>
#include <string>

class QIODevice;

class TextExportSurface final : public DrawingSurface
{
public:
    // Writes to `out` (not owned) through a buffer; `scale` is the bounds'.
    TextExportSurface(QIODevice& out, double scale);
    ~TextExportSurface() override;
    TextExportSurface(const TextExportSurface&) = delete;
    TextExportSurface& operator=(const TextExportSurface&) = delete;

    // Writes what is buffered; false once any write has failed.
    bool Finish();

    std::int64_t Lines() const { return m_lines; }
    std::int64_t Pixels() const { return m_pixels; }
    std::int64_t Moves() const { return m_moves; }

    void MoveTo(double x, double y) override;
    void SetPixel(double x, double y, Color) override { SetPixel(x, y); }
    void SetPixel(double x, double y) override;
    void Line(double x1, double y1, double x2, double y2, Color) override { Line(x1, y1, x2, y2); }
    void Line(double x1, double y1, double x2, double y2) override;
    void LineTo(double x, double y, Color) override { LineTo(x, y); }
    void LineTo(double x, double y) override;
    // Arrows and circles belong to overlays and editors, not to a fractal's
    // drawing: they have no line in the format and are left out.
    void Arrow(Point, Polar, int, Color) override {}
    void Arrow(Point, Polar, int) override {}
    void Circle(double, double, double, Color) override {}
    void Circle(double, double, double) override {}
    const AffineMap* GetTransform() const override { return nullptr; }

private:
    void Number(double drawingUnits);
    void EndRecord();

    QIODevice& m_out;
    double m_scale;
    std::string m_buffer;
    bool m_failed = false;
    double m_currentX = 0.0; // drawing units
    double m_currentY = 0.0;
    std::int64_t m_lines = 0;
    std::int64_t m_pixels = 0;
    std::int64_t m_moves = 0;
};

// One number as the format writes it: 9 significant digits, shortest form,
// never "-0".
std::string FormatModelNumber(double value);
