#pragma once

// The surface overlays and editors draw on: a GdiSurface that also draws
// marker images, text, and picks one of four colours by step flags.

#include "render/gdi_surface.h"
#include "render/marker_images.h"

#include <string>

class GdiMarkerSurface : public GdiSurface, public MarkerSurface
{
public:
    // `colorTable` points at four consecutive colours (entries 3 to 6 of the
    // owner's ColorSet); neither it nor the image list is owned, and either
    // may be null (then SelectColor gives black and DrawImage draws nothing).
    GdiMarkerSurface(QPainter* painter, const Color* colorTable, const ImageList* images);

    // Image `index` cropped to width x height from its top-left corner, its
    // top-left at the transformed point minus half the size (truncated),
    // combined with what is below by exclusive or where the painter can
    // (a raster image), drawn plainly on vector devices.
    void DrawImage(double x, double y, int width, int height, int index) override;
    void DrawText(const std::string& text, double x, double y, Color color) override;
    void DrawText(const std::string& text, double x, double y) override;
    double TextWidth(const std::string& text) override;
    double TextHeight(const std::string& text) override;
    Color SelectColor(int flags) override;

    // The colour text is written in: black until DrawText is given one, then
    // that one, as a device context keeps its text colour.
    Color TextColor() const { return m_textColor; }

private:
    const Color* m_colorTable;
    const ImageList* m_images;
    Color m_textColor = 0;
};
