#pragma once

// SVG output that streams. The fractal's own drawing, which may run to tens
// of millions of lines, is written straight to the file as paths (connected
// lines joined into one "M ... L ... L ..." path of at most a few thousand
// points), with the same truncation to whole logical units as a painter's
// surface and the window's isotropic mapping applied; nothing of it is held
// in memory. Coordinates are in the picture's own units, so a stroke of width
// 1 is the one-pixel pen of a window in every viewer, and a pixel is a unit
// square. Background and overlays, small and full of images and text, come
// from Qt's SVG generator and are written first.

#include "engine/fractal.h"
#include "render/display_settings.h"
#include "render/isotropic_mapping.h"
#include "surface/drawing_surface.h"

#include <QPoint>

#include <cstdint>
#include <string>

class QIODevice;

// A drawing surface that writes SVG elements for the fractal's drawing; the
// caller opens the group (FractalGroupStart) and closes it.
class SvgPathSurface final : public DrawingSurface
{
public:
    // `pen` is the group's stroke (the fractal colour); elements of another
    // colour carry their own. `mapping` takes whole logical units to the
    // picture's units.
    SvgPathSurface(QIODevice& out, Color pen, const IsotropicParams& mapping);
    ~SvgPathSurface() override;
    SvgPathSurface(const SvgPathSurface&) = delete;
    SvgPathSurface& operator=(const SvgPathSurface&) = delete;

    // The colour of SetPixel without a colour.
    void SetColor(Color color) { m_color = color; }
    void SetProgress(ProgressFn progress, void* arg)
    {
        m_progress = progress;
        m_arg = arg;
    }
    // Ends the open path and writes what is buffered; false once a write failed.
    bool Finish();

    std::int64_t Lines() const { return m_lines; }
    std::int64_t Pixels() const { return m_pixels; }
    std::int64_t Moves() const { return m_moves; }

    void MoveTo(double x, double y) override;
    void SetPixel(double x, double y, Color color) override;
    void SetPixel(double x, double y) override { SetPixel(x, y, m_color); }
    void Line(double x1, double y1, double x2, double y2, Color color) override;
    void Line(double x1, double y1, double x2, double y2) override { Line(x1, y1, x2, y2, m_pen); }
    void LineTo(double x, double y, Color color) override;
    void LineTo(double x, double y) override { LineTo(x, y, m_pen); }
    void Arrow(Point p, Polar v, int size, Color color) override;
    void Arrow(Point p, Polar v, int size) override { Arrow(p, v, size, m_pen); }
    void Circle(double cx, double cy, double r, Color color) override;
    void Circle(double cx, double cy, double r) override { Circle(cx, cy, r, m_pen); }
    const AffineMap* GetTransform() const override { return nullptr; }

private:
    void Segment(QPoint from, QPoint to, Color color);
    void OpenPath(Color color);
    void ClosePath();
    void Emit(char command, QPoint p);
    void AppendX(int x);
    void AppendY(int y);
    void Count(std::int64_t& counter);
    void Flush();

    QIODevice& m_out;
    IsotropicParams m_mapping;
    Color m_pen;
    Color m_color;
    std::string m_buffer;
    bool m_failed = false;
    bool m_pathOpen = false;
    Color m_pathColor = 0;
    int m_pathPoints = 0;
    QPoint m_pathEnd;
    bool m_pathEndValid = false;
    QPoint m_current;
    std::int64_t m_lines = 0;
    std::int64_t m_pixels = 0;
    std::int64_t m_moves = 0;
    std::int64_t m_elements = 0;
    ProgressFn m_progress = nullptr;
    void* m_arg = nullptr;
};

// "#rrggbb" of a stored colour.
std::string SvgColor(Color color);

// The content of a document Qt's SVG generator wrote with the same view box
// as ours: what lies inside its root, less its title and description.
std::string SvgBody(const std::string& document);

// The group the fractal's elements go in: its pen, never a fill.
std::string FractalGroupStart(Color pen);
