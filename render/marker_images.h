#pragma once

// Image lists: equal images cut from one strip laid side by side, pure green
// (0x00FF00) standing for transparent. Marker images are 16 by 16 pixels and
// the overlays address them by index.

#include <QImage>

class ImageList
{
public:
    ImageList() = default;
    // Cuts `strip` into images `imageWidth` wide and as high as the strip.
    // Pure green pixels become transparent; everything else is opaque.
    ImageList(const QImage& strip, int imageWidth);

    int Count() const { return m_count; }
    int ImageWidth() const { return m_width; }
    int ImageHeight() const { return m_images.height(); }
    bool IsEmpty() const { return m_count == 0; }
    // Every image side by side, premultiplied ARGB, transparent where green.
    const QImage& Strip() const { return m_images; }
    // The source rectangle of image `index` cropped to width x height from its
    // top-left corner; empty when the index is outside the list.
    QRect SourceRect(int index, int width, int height) const;

private:
    QImage m_images;
    int m_width = 0;
    int m_count = 0;
};

// The marker images drawn by the program itself, as a strip of 16x16 images
// with a green background, until the language bundles bring drawn ones.
// Index 1: a map's image, 2: a generator point, 4: an initiator point,
// 8: a composed map's image, 9: the origin.
QImage DefaultMarkerStrip();
inline constexpr int kMarkerSize = 16;
inline constexpr int kDefaultMarkerCount = 12;
