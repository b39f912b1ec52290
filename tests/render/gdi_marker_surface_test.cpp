#include "render/gdi_marker_surface.h"

#include "test_support.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr Color kRed = MakeColor(255, 0, 0);

// Two 4x4 images: the second red with a green (transparent) top-left pixel.
ImageList TwoImages()
{
    QImage strip(8, 4, QImage::Format_RGB32);
    strip.fill(0xff000000);
    for (int y = 0; y < 4; ++y) {
        for (int x = 4; x < 8; ++x) {
            strip.setPixel(x, y, 0xffff0000);
        }
    }
    strip.setPixel(4, 0, 0xff00ff00);
    return ImageList(strip, 4);
}

TEST(GdiMarkerSurface, SelectColorPicksByFlags)
{
    QImage image = WhiteImage(4, 4);
    QPainter painter(&image);
    const Color table[4] = {3, 4, 5, 6};
    GdiMarkerSurface surface(&painter, table, nullptr);
    EXPECT_EQ(surface.SelectColor(0), 3u);
    EXPECT_EQ(surface.SelectColor(4), 4u);
    EXPECT_EQ(surface.SelectColor(8), 4u);
    EXPECT_EQ(surface.SelectColor(2), 5u);
    EXPECT_EQ(surface.SelectColor(6), 6u);
    EXPECT_EQ(surface.SelectColor(2 | 8), 6u);
    EXPECT_EQ(surface.SelectColor(1 | 16), 3u);
}

TEST(GdiMarkerSurface, DrawImageIsCentredAndCombinedByExclusiveOr)
{
    const ImageList images = TwoImages();
    QImage image = WhiteImage(20, 20);
    {
        QPainter painter(&image);
        GdiMarkerSurface surface(&painter, nullptr, &images);
        const AffineMap shift{1, 0, 0, 1, 0.3, 0.3};
        surface.SetTransform(&shift);
        // Centre 10.6 + 0.3: the corner is truncate(10.9 - 2) = 8.
        surface.DrawImage(10.6, 10.6, 4, 4, 1);
    }
    // White XOR red is cyan; the green pixel left the white alone.
    EXPECT_EQ(image.pixel(8, 8), 0xffffffffu);
    EXPECT_EQ(image.pixel(9, 8), 0xff00ffffu);
    EXPECT_EQ(image.pixel(11, 11), 0xff00ffffu);
    EXPECT_EQ(image.pixel(12, 11), 0xffffffffu);
    EXPECT_EQ(image.pixel(7, 9), 0xffffffffu);
    {
        // Drawn a second time, an exclusive-or marker takes itself away.
        QPainter painter(&image);
        GdiMarkerSurface surface(&painter, nullptr, &images);
        surface.DrawImage(10, 10, 4, 4, 1);
        surface.DrawImage(10, 10, 2, 2, 7); // outside the list: nothing
    }
    EXPECT_TRUE(LitPixels(image).empty());
}

TEST(GdiMarkerSurface, DrawImageCropsFromTheTopLeftCorner)
{
    const ImageList images = TwoImages();
    QImage image = WhiteImage(20, 20);
    {
        QPainter painter(&image);
        GdiMarkerSurface surface(&painter, nullptr, &images);
        surface.DrawImage(10, 10, 2, 2, 1);
    }
    // Corner 9: the 2x2 crop holds the transparent pixel and three red ones.
    EXPECT_EQ(LitPixels(image), (std::vector<QPoint>{{10, 9}, {9, 10}, {10, 10}}));
}

TEST(GdiMarkerSurface, TextColourStaysSetAndTextIgnoresTheTransform)
{
    EnsureGuiApp();
    QImage image = WhiteImage(200, 60);
    QPainter painter(&image);
    GdiMarkerSurface surface(&painter, nullptr, nullptr);
    const AffineMap far{1, 0, 0, 1, 1000, 1000};
    surface.SetTransform(&far);
    EXPECT_EQ(surface.TextColor(), 0u);
    surface.DrawText("W", 10.9, 5.9, kRed);
    EXPECT_EQ(surface.TextColor(), kRed);
    surface.DrawText("W", 100, 5);
    const double height = surface.TextHeight("W");
    EXPECT_GT(surface.TextWidth("WW"), surface.TextWidth("W"));
    EXPECT_EQ(surface.TextHeight("."), height);
    painter.end();

    const std::vector<QPoint> lit = LitPixels(image);
    ASSERT_FALSE(lit.empty());
    int redRight = 0;
    for (QPoint p : lit) {
        // Top-left corner at the truncated point: nothing above or left.
        EXPECT_GE(p.x(), 10);
        EXPECT_GE(p.y(), 5);
        EXPECT_LT(p.y(), 5 + height + 1);
        const QRgb c = image.pixel(p);
        if (p.x() >= 100 && qRed(c) > qGreen(c) + 100) {
            ++redRight;
        }
    }
    // The second text, given no colour, is red too.
    EXPECT_GT(redRight, 5);
}

TEST(MarkerImages, TheDefaultStripHasTransparentBackgroundsAndDistinctMarkers)
{
    const QImage strip = DefaultMarkerStrip();
    ASSERT_EQ(strip.width(), kDefaultMarkerCount * kMarkerSize);
    ASSERT_EQ(strip.height(), kMarkerSize);
    const ImageList images(strip, kMarkerSize);
    EXPECT_EQ(images.Count(), kDefaultMarkerCount);
    for (int i = 0; i < images.Count(); ++i) {
        const QImage one = images.Strip().copy(images.SourceRect(i, 16, 16));
        int opaque = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                opaque += qAlpha(one.pixel(x, y)) == 255 ? 1 : 0;
            }
        }
        EXPECT_EQ(qAlpha(one.pixel(0, 0)), 0) << "image " << i;
        EXPECT_GT(opaque, 10) << "image " << i;
        EXPECT_LT(opaque, 200) << "image " << i;
        // Centred on pixel 8, where DrawImage puts the point.
        EXPECT_EQ(qAlpha(one.pixel(8, 8)) == 255 || qAlpha(one.pixel(8, 5)) == 255, true)
            << "image " << i;
    }
}

} // namespace
