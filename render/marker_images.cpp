#include "render/marker_images.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {

constexpr QRgb kTransparentGreen = 0xff00ff00;

} // namespace

ImageList::ImageList(const QImage& strip, int imageWidth)
{
    if (strip.isNull() || imageWidth <= 0 || strip.width() < imageWidth) {
        return;
    }
    m_width = imageWidth;
    m_count = strip.width() / imageWidth;
    m_images = strip.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < m_images.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_images.scanLine(y));
        for (int x = 0; x < m_images.width(); ++x) {
            line[x] = (line[x] | 0xff000000) == kTransparentGreen ? 0 : (line[x] | 0xff000000);
        }
    }
    m_images.convertTo(QImage::Format_ARGB32_Premultiplied);
}

QRect ImageList::SourceRect(int index, int width, int height) const
{
    if (index < 0 || index >= m_count || width <= 0 || height <= 0) {
        return {};
    }
    return {index * m_width, 0, std::min(width, m_width), std::min(height, ImageHeight())};
}

QImage DefaultMarkerStrip()
{
    constexpr int n = kDefaultMarkerCount;
    constexpr int s = kMarkerSize;
    QImage strip(n * s, s, QImage::Format_RGB32);
    strip.fill(kTransparentGreen);
    QPainter p(&strip);
    // Aliased on purpose: a blended edge would be neither green nor marker.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor dark(0x20, 0x20, 0x20);
    const QColor colours[] = {QColor(0xd0, 0x20, 0x20), QColor(0x20, 0x60, 0xd0),
                              QColor(0x20, 0x90, 0x30), QColor(0xd0, 0x80, 0x10)};
    for (int i = 0; i < n; ++i) {
        const int x = i * s;
        const QColor fill = colours[i % 4];
        p.setPen(dark);
        p.setBrush(fill);
        switch (i) {
        case 9: // the origin: a cross hair
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(x + 4, 4, 8, 8);
            p.drawLine(x + 1, 8, x + 15, 8);
            p.drawLine(x + 8, 1, x + 8, 15);
            break;
        case 1:
        case 8: // images of maps: a diamond
            p.drawPolygon(QPolygon(
                {QPoint(x + 8, 2), QPoint(x + 14, 8), QPoint(x + 8, 14), QPoint(x + 2, 8)}));
            break;
        case 2:
        case 4: // points of a construction: a small square
            p.drawRect(x + 5, 5, 6, 6);
            break;
        default: // the others: a disc of the index's colour
            p.drawEllipse(x + 4, 4, 8, 8);
            break;
        }
    }
    p.end();
    return strip;
}
