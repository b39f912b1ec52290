#include "render/png_encoder.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Deterministic noise, so that deflate has something to do in every row.
QRgb Noise(int x, int y, bool alpha)
{
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 2654435761U ^ static_cast<std::uint32_t>(y) * 40503U;
    h ^= h >> 13;
    h *= 0x5bd1e995U;
    return alpha ? qRgba(int(h & 0xff), int((h >> 8) & 0xff), int((h >> 16) & 0xff),
                         int((h >> 24) & 0xff))
                 : qRgb(int(h & 0xff), int((h >> 8) & 0xff), int((h >> 16) & 0xff));
}

QImage ReadBack(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_TRUE(WritePng(image, buffer, &error)) << error.toStdString();
    QImage back;
    EXPECT_TRUE(back.loadFromData(buffer.data(), "PNG"));
    return back;
}

TEST(PngEncoder, ColourPicturesReadBackPixelForPixel)
{
    // A small picture (one compressed part), one large enough to be
    // compressed in parts whose seams must join, and one of noise alone,
    // which deflate cannot shrink: the output room must hold it all.
    for (const int side : {37, 900, 901}) {
        QImage image(side, side + 3, QImage::Format_RGB32);
        image.fill(qRgb(250, 240, 230));
        const bool noise = side == 901;
        for (int y = 0; y < image.height(); y += noise ? 1 : 2) {
            for (int x = noise ? 0 : y % 7; x < side; x += noise ? 1 : 3) {
                image.setPixel(x, y, Noise(x, y, false));
            }
        }
        const QImage back = ReadBack(image).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(back, image) << side;
    }
}

TEST(PngEncoder, TranslucentAndPalettePicturesKeepAlphaAndColours)
{
    QImage argb(64, 48, QImage::Format_ARGB32_Premultiplied);
    QImage straight(64, 48, QImage::Format_ARGB32);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            straight.setPixel(x, y, Noise(x, y, true));
        }
    }
    argb = straight.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(ReadBack(straight).convertToFormat(QImage::Format_ARGB32), straight);
    // Premultiplied pixels go out unpremultiplied, as the PNG format wants.
    EXPECT_EQ(ReadBack(argb).convertToFormat(QImage::Format_ARGB32),
              argb.convertToFormat(QImage::Format_ARGB32));

    QImage indexed(1500, 700, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 255, 255), qRgb(10, 20, 30), qRgba(0, 0, 255, 128)});
    indexed.fill(0);
    for (int i = 0; i < 700; ++i) {
        indexed.setPixel(i * 2, i, 1);
        indexed.setPixel(i, 699 - i, 2);
    }
    const QImage back = ReadBack(indexed);
    ASSERT_EQ(back.size(), indexed.size());
    for (const QPoint p : {QPoint(0, 0), QPoint(600, 300), QPoint(300, 399), QPoint(1499, 699)}) {
        EXPECT_EQ(back.pixel(p), indexed.pixel(p)) << p.x() << "," << p.y();
    }
    EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32),
              indexed.convertToFormat(QImage::Format_ARGB32));
}

TEST(PngEncoder, EmptyPicturesAndRefusingDevicesAreFailures)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_FALSE(WritePng(QImage(), buffer, &error));
    EXPECT_FALSE(error.isEmpty());
    QBuffer closed;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(0);
    EXPECT_FALSE(WritePng(image, closed, &error));
}

} // namespace
