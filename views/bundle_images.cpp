#include "views/bundle_images.h"

#include "framework/ui_resources.h"

#include <algorithm>

ImageList LoadBundleImages(int bitmap, int width)
{
    // The bundle gives pixmaps with green already made transparent; the list
    // is made from a strip where green stands for transparent, as an image
    // a worker thread may draw with.
    constexpr QRgb kMaskGreen = 0xff00ff00;
    const QVector<QPixmap> images = UiResources::Current().ImageList(bitmap, width);
    if (images.isEmpty()) {
        return ImageList();
    }
    const int height = images.front().height();
    QImage strip(width * static_cast<int>(images.size()), height, QImage::Format_ARGB32);
    strip.fill(kMaskGreen);
    for (int i = 0; i < images.size(); ++i) {
        const QImage image = images[i].toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < std::min(height, image.height()); ++y) {
            for (int x = 0; x < std::min(width, image.width()); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) != 0) {
                    strip.setPixel(i * width + x, y, pixel | 0xff000000);
                }
            }
        }
    }
    return ImageList(strip, width);
}
