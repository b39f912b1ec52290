#include "render/window_surface.h"

#include "render/fractal_painter.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr Color kBackground = 0xC0D8FE;
constexpr Color kFractal = 0x000080;

template <typename Pred> bool WaitFor(Pred pred)
{
    const auto end = std::chrono::steady_clock::now() + 120s;
    while (!pred() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(1ms);
    }
    return pred();
}

int Count(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

// Frame k of the busy animation is a grey of level 100 + k.
ImageList NumberedAnimation()
{
    QImage strip(32 * WindowSurface::kAnimationFrames, 32, QImage::Format_RGB32);
    for (int x = 0; x < strip.width(); ++x) {
        for (int y = 0; y < 32; ++y) {
            strip.setPixel(x, y, qRgb(100 + x / 32, 100 + x / 32, 100 + x / 32));
        }
    }
    return ImageList(strip, 32);
}

FractalPtr Koch(int days)
{
    FractalPtr koch = FractalFromText(kKochText);
    koch->m_days = days;
    return koch;
}

// A surface with its completions and publications recorded.
struct Harness
{
    WindowSurface surface{NumberedAnimation(), ImageList(DefaultMarkerStrip(), kMarkerSize)};
    std::mutex mutex;
    std::vector<int> results;
    std::vector<QImage> published;
    std::atomic<int> completions{0};

    Harness()
    {
        EnsureGuiApp();
        surface.SetCompletion([this](int result, std::thread::id) {
            std::lock_guard lock(mutex);
            results.push_back(result);
            ++completions;
        });
        surface.SetImageReady([this] {
            std::lock_guard lock(mutex);
            published.push_back(surface.Image());
        });
        EXPECT_TRUE(surface.Start());
    }
    void Draw(const FractalPtr& fractal, QSize size = {200, 160}, double dpr = 1.0)
    {
        DrawRequest r;
        r.fractal = fractal;
        r.settings.colors[0] = kBackground;
        r.settings.colors[1] = kFractal;
        r.pixelSize = size;
        r.devicePixelRatio = dpr;
        surface.Request(std::move(r));
    }
    std::vector<int> Results()
    {
        std::lock_guard lock(mutex);
        return results;
    }
    std::vector<QImage> Published()
    {
        std::lock_guard lock(mutex);
        return published;
    }
};

TEST(WindowSurface, MeasuresWithTheBusyAnimationThenLetsTheFigureGrowVisibly)
{
    Harness h;
    // Millions of segments: measured with progress, painted for more than
    // one publication interval, into an image of device pixels.
    h.Draw(Koch(12), {300, 240}, 2.0);
    ASSERT_TRUE(WaitFor([&] { return h.completions == 1; }));
    EXPECT_EQ(h.Results(), std::vector<int>{0});
    EXPECT_GT(h.surface.AnimationFrameCount(), 12);
    const std::vector<QImage> images = h.Published();
    ASSERT_GE(images.size(), 3u);
    EXPECT_EQ(images.back().size(), QSize(300, 240));
    EXPECT_EQ(images.back().devicePixelRatio(), 2.0);

    // First the animation: a frame at (10, 10) in window units over a black
    // hatch rising to the right on white.
    const QImage& busy = images.front();
    const int grey = qRed(busy.pixel(2 * 26, 2 * 26));
    EXPECT_GE(grey, 100);
    EXPECT_LT(grey, 100 + WindowSurface::kAnimationFrames);
    EXPECT_EQ(qRed(busy.pixel(2 * 9, 2 * 9)) % 255, 0);
    for (int x = 120; x < 140; ++x) {
        const QRgb here = busy.pixel(x, 150);
        EXPECT_EQ(busy.pixel(x + 2, 148), here);
        EXPECT_TRUE(here == qRgb(0, 0, 0) || here == qRgb(255, 255, 255));
    }
    EXPECT_NE(busy.pixel(120, 150), busy.pixel(124, 150));

    // Then the painting, more of the figure in each picture.
    std::vector<int> figure;
    for (const QImage& image : images) {
        if (Count(image, ToQColor(kBackground).rgb()) > 0) {
            figure.push_back(Count(image, ToQColor(kFractal).rgb()));
        }
    }
    ASSERT_GE(figure.size(), 2u);
    EXPECT_LT(figure.front(), figure.back());
    EXPECT_TRUE(images.back() == h.surface.Image());
}

TEST(WindowSurface, AFractalLetGoOrLockedElsewhereIsDrawnSafelyAndStillStops)
{
    Harness h;
    FractalPtr first = Koch(13);
    h.Draw(first);
    ASSERT_TRUE(WaitFor([&] { return h.surface.IsDrawing(); }));
    // The document replaces its fractal: the drawing still holds the first.
    first = FractalPtr();
    FractalPtr second = Koch(2);
    h.Draw(second);
    ASSERT_TRUE(WaitFor([&] { return h.completions == 2; }));
    EXPECT_EQ(h.Results(), (std::vector<int>{-1, 0}));
    EXPECT_GT(Count(h.surface.Image(), ToQColor(kFractal).rgb()), 0);

    // Another drawing of the same fractal holds its lock: this one waits,
    // and a stop still ends it.
    std::unique_lock held(second->DrawingLock());
    h.Draw(second);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(h.completions, 2);
    EXPECT_TRUE(h.surface.Stop());
    ASSERT_TRUE(WaitFor([&] { return h.completions == 3; }));
    h.Draw(second);
    std::this_thread::sleep_for(30ms);
    held.unlock();
    ASSERT_TRUE(WaitFor([&] { return h.completions == 4; }));
    EXPECT_EQ(h.Results(), (std::vector<int>{-1, 0, -1, 0}));

    // A window cleared while drawing (its document lost its fractal) gets
    // nothing more from the stopped drawing.
    h.Draw(Koch(13));
    ASSERT_TRUE(WaitFor([&] { return h.surface.IsDrawing(); }));
    std::this_thread::sleep_for(150ms);
    h.surface.ClearImage();
    h.surface.Stop();
    ASSERT_TRUE(WaitFor([&] { return h.completions == 5; }));
    EXPECT_TRUE(h.surface.Image().isNull());

    // A straight line is a figure too: measured under the busy hatch, the
    // drawing ends on the finished picture, the line across the middle.
    h.Draw(FractalFromText("[type] std\n[name] line\n[ndays] 17\n[initiators] 1\n0,0\n1,0\n"
                           "[generator] 2\n0,0,0.5\n0,0,0.5\n"));
    ASSERT_TRUE(WaitFor([&] { return h.completions == 6; }));
    EXPECT_EQ(h.Results().back(), 0);
    EXPECT_GT(h.surface.AnimationFrameCount(), 0);
    const QImage line = h.surface.Image();
    EXPECT_EQ(Count(line, ToQColor(kFractal).rgb()), 200);
    EXPECT_EQ(Count(line, ToQColor(kBackground).rgb()), 200 * 160 - 200);
    EXPECT_EQ(line.pixel(0, 79), ToQColor(kFractal).rgb());
    EXPECT_EQ(line.pixel(199, 79), ToQColor(kFractal).rgb());
}

} // namespace
