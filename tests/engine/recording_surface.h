#pragma once

// A marker surface for tests that draws nothing and records every call in
// order, with its arguments, so a test can check exactly what a fractal, an
// overlay or a component drew.

#include "surface/drawing_surface.h"

#include <cmath>
#include <cstddef>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

enum class SurfaceOp
{
    MoveTo,
    SetPixel,
    Line,
    LineTo,
    Arrow,
    Circle,
    Image,
    Text
};

struct SurfaceCall
{
    SurfaceOp op = SurfaceOp::MoveTo;
    // The point of MoveTo, SetPixel, LineTo and Text, a line's start, an
    // arrow's base, a circle's centre, an image's centre.
    Point a;
    Point b;        // a line's end
    Polar v;        // an arrow's vector
    double r = 0.0; // a circle's radius
    int size = 0;   // an arrow's size
    int width = 0;  // an image's width, height and index
    int height = 0;
    int index = 0;
    std::optional<Color> color; // set for the operations given a colour
    std::string text;
};

class RecordingSurface : public MarkerSurface
{
public:
    // The four colours SelectColor picks from, distinct for tests.
    Color table[4] = {0x000003, 0x000004, 0x000005, 0x000006};
    std::vector<SurfaceCall> calls;

    void MoveTo(double x, double y) override { Add(SurfaceOp::MoveTo, {x, y}); }
    void SetPixel(double x, double y, Color color) override
    {
        Add(SurfaceOp::SetPixel, {x, y}).color = color;
    }
    void SetPixel(double x, double y) override { Add(SurfaceOp::SetPixel, {x, y}); }
    void Line(double x1, double y1, double x2, double y2, Color color) override
    {
        Line(x1, y1, x2, y2);
        calls.back().color = color;
    }
    void Line(double x1, double y1, double x2, double y2) override
    {
        Add(SurfaceOp::Line, {x1, y1}).b = {x2, y2};
    }
    void LineTo(double x, double y, Color color) override
    {
        Add(SurfaceOp::LineTo, {x, y}).color = color;
    }
    void LineTo(double x, double y) override { Add(SurfaceOp::LineTo, {x, y}); }
    void Arrow(Point p, Polar v, int size, Color color) override
    {
        Arrow(p, v, size);
        calls.back().color = color;
    }
    void Arrow(Point p, Polar v, int size) override
    {
        SurfaceCall& call = Add(SurfaceOp::Arrow, p);
        call.v = v;
        call.size = size;
    }
    void Circle(double cx, double cy, double r, Color color) override
    {
        Circle(cx, cy, r);
        calls.back().color = color;
    }
    void Circle(double cx, double cy, double r) override { Add(SurfaceOp::Circle, {cx, cy}).r = r; }
    const AffineMap* GetTransform() const override { return nullptr; }

    void DrawImage(double x, double y, int width, int height, int index) override
    {
        SurfaceCall& call = Add(SurfaceOp::Image, {x, y});
        call.width = width;
        call.height = height;
        call.index = index;
    }
    void DrawText(const std::string& text, double x, double y, Color color) override
    {
        DrawText(text, x, y);
        calls.back().color = color;
    }
    void DrawText(const std::string& text, double x, double y) override
    {
        Add(SurfaceOp::Text, {x, y}).text = text;
    }
    double TextWidth(const std::string& text) override { return 8.0 * text.size(); }
    double TextHeight(const std::string&) override { return 16.0; }
    Color SelectColor(int flags) override
    {
        const bool upper = (flags & 2) != 0;
        const bool odd = (flags & (4 | 8)) != 0;
        return table[(upper ? 2 : 0) + (odd ? 1 : 0)];
    }

    // The recorded calls of one kind, in order.
    std::vector<SurfaceCall> Of(SurfaceOp op) const
    {
        std::vector<SurfaceCall> out;
        for (const SurfaceCall& call : calls) {
            if (call.op == op) {
                out.push_back(call);
            }
        }
        return out;
    }
    std::size_t Count(SurfaceOp op) const { return Of(op).size(); }

private:
    SurfaceCall& Add(SurfaceOp op, Point a)
    {
        SurfaceCall call;
        call.op = op;
        call.a = a;
        calls.push_back(call);
        return calls.back();
    }
};

// The calls as text, coordinates to 1e-6: "L0,0>2,0" a line, "M2,0" a move,
// "T'F'16,16#1" a text with its colour, "I9@0,0/16" an image with its width.
inline std::string Trace(const RecordingSurface& surface)
{
    const auto num = [](double v) {
        const double r = std::round(v * 1e6) / 1e6;
        std::ostringstream out;
        out << std::setprecision(12) << (r == 0.0 ? 0.0 : r);
        return out.str();
    };
    std::string trace;
    for (const SurfaceCall& c : surface.calls) {
        const std::string a = num(c.a.x) + "," + num(c.a.y);
        switch (c.op) {
        case SurfaceOp::Line:
            trace += " L" + a + ">" + num(c.b.x) + "," + num(c.b.y);
            break;
        case SurfaceOp::MoveTo:
            trace += " M" + a;
            break;
        case SurfaceOp::Text:
            trace += " T'" + c.text + "'" + a + "#" + std::to_string(c.color.value_or(0));
            break;
        case SurfaceOp::Image:
            trace += " I" + std::to_string(c.index) + "@" + a + "/" + std::to_string(c.width);
            break;
        default:
            trace += " ?";
        }
    }
    return trace.empty() ? trace : trace.substr(1);
}
