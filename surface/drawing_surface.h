#pragma once

// The small interface through which every fractal and editor draws, so that
// the same drawing code measures (ExtentSurface), paints a window or an
// image, prints and exports. Coordinates are model coordinates in doubles,
// y pointing down.

#include "core/geometry.h"

#include <cstdint>
#include <string>

// A colour in the 32-bit layout of stored colour sets: red in bits 0-7,
// green in bits 8-15, blue in bits 16-23, nothing above.
using Color = std::uint32_t;

constexpr Color MakeColor(int red, int green, int blue)
{
    return static_cast<Color>(red & 0xff) | (static_cast<Color>(green & 0xff) << 8) |
           (static_cast<Color>(blue & 0xff) << 16);
}
constexpr int RedOf(Color c)
{
    return static_cast<int>(c & 0xff);
}
constexpr int GreenOf(Color c)
{
    return static_cast<int>((c >> 8) & 0xff);
}
constexpr int BlueOf(Color c)
{
    return static_cast<int>((c >> 16) & 0xff);
}

// The two colours an overlay is drawn with (the overlay colour and its shade).
struct ColorPair
{
    Color first = 0;
    Color second = 0;
};

// Operations with a colour draw with a temporary solid one-pixel pen (and
// brush) of that colour; those without use what the owner selected.
class DrawingSurface
{
public:
    virtual ~DrawingSurface() = default;

    virtual void MoveTo(double x, double y) = 0;
    virtual void SetPixel(double x, double y, Color color) = 0;
    virtual void SetPixel(double x, double y) = 0;
    virtual void Line(double x1, double y1, double x2, double y2, Color color) = 0;
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    virtual void LineTo(double x, double y, Color color) = 0;
    virtual void LineTo(double x, double y) = 0;
    // A filled equilateral triangle of side `size` whose tip is p + v.
    virtual void Arrow(Point p, Polar v, int size, Color color) = 0;
    virtual void Arrow(Point p, Polar v, int size) = 0;
    // The outline of a circle, never filled.
    virtual void Circle(double cx, double cy, double r, Color color) = 0;
    virtual void Circle(double cx, double cy, double r) = 0;
    // The model-to-device transform, or null for the identity.
    virtual const AffineMap* GetTransform() const = 0;
};

// A drawing surface that can also draw marker images and text, and pick one
// of four colours by step flags. Used by the overlays and the editors.
class MarkerSurface : public virtual DrawingSurface
{
public:
    // Image `index` of the surface's image list centred on (x, y).
    virtual void DrawImage(double x, double y, int width, int height, int index) = 0;
    // Sets the text colour (it stays set), then writes the text.
    virtual void DrawText(const std::string& text, double x, double y, Color color) = 0;
    // Top-left corner at (x, y) truncated to device units, no transform.
    virtual void DrawText(const std::string& text, double x, double y) = 0;
    virtual double TextWidth(const std::string& text) = 0;
    virtual double TextHeight(const std::string& text) = 0;
    // Colour table entry by flags: bit 2 picks the upper half, bits 4 or 8
    // the odd entry.
    virtual Color SelectColor(int flags) = 0;
};
