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

template <typename Pred> bool WaitFor(Pred pred, std::chrono::milliseconds limit = 60s)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(1ms);
    }
    return pred();
}

QRgb Rgb(Color c)
{
    return ToQColor(c).rgb();
}

int CountPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

// An animation strip whose frame k is filled with a grey of its own.
ImageList NumberedAnimation()
{
    QImage strip(32 * WindowSurface::kAnimationFrames, 32, QImage::Format_RGB32);
    for (int k = 0; k < WindowSurface::kAnimationFrames; ++k) {
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                strip.setPixel(k * 32 + x, y, qRgb(100 + k, 100 + k, 100 + k));
            }
        }
    }
    return ImageList(strip, 32);
}

// A surface with its completions and publications recorded.
struct Harness
{
    WindowSurface surface{NumberedAnimation(), ImageList(DefaultMarkerStrip(), kMarkerSize)};
    std::mutex mutex;
    std::vector<int> results;
    std::vector<QImage> published;
    std::atomic<int> completions{0};
    std::atomic<int> starts{0};

    Harness()
    {
        EnsureGuiApp();
        surface.SetCompletion([this](int result, std::thread::id id) {
            EXPECT_EQ(id, std::this_thread::get_id());
            std::lock_guard lock(mutex);
            results.push_back(result);
            ++completions;
        });
        surface.SetImageReady([this] {
            std::lock_guard lock(mutex);
            published.push_back(surface.Image());
        });
        surface.SetDrawingStarted([this] { ++starts; });
        EXPECT_TRUE(surface.Start());
    }

    DrawRequest Make(const FractalPtr& fractal, QSize size = {200, 160}, double dpr = 1.0)
    {
        DrawRequest r;
        r.fractal = fractal;
        r.settings.colors[0] = kBackground;
        r.settings.colors[1] = kFractal;
        r.pixelSize = size;
        r.devicePixelRatio = dpr;
        return r;
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

FractalPtr Koch(int days)
{
    FractalPtr koch = FractalFromText(kKochText);
    koch->m_days = days;
    return koch;
}

TEST(WindowSurface, DrawsTheFractalIntoAnImageOfTheWindowsDevicePixels)
{
    Harness h;
    h.surface.Request(h.Make(Koch(3), {240, 200}, 2.0));
    ASSERT_TRUE(WaitFor([&] { return h.completions == 1; }));
    EXPECT_EQ(h.Results(), std::vector<int>{0});
    const QImage image = h.surface.Image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(240, 200));
    EXPECT_EQ(image.devicePixelRatio(), 2.0);
    EXPECT_GT(CountPixels(image, Rgb(kFractal)), 200);
    EXPECT_GT(CountPixels(image, Rgb(kBackground)), 240 * 200 / 2);
    EXPECT_FALSE(h.surface.IsDrawing());
}

TEST(WindowSurface, MeasuringShowsTheBusyAnimationAndALongDrawingGrowsVisibly)
{
    Harness h;
    // Millions of segments: measured with progress, painted for well over
    // one publication interval.
    h.surface.Request(h.Make(Koch(11), {300, 300}));
    ASSERT_TRUE(WaitFor([&] { return h.completions == 1; }, 300s));
    EXPECT_EQ(h.Results(), std::vector<int>{0});
    EXPECT_GT(h.surface.AnimationFrameCount(), 12);

    const std::vector<QImage> images = h.Published();
    ASSERT_GE(images.size(), 3u);
    // The first publication is the busy animation: a frame at (10, 10) over
    // a black hatch rising to the right on white.
    const QImage& busy = images.front();
    const QRgb frame = busy.pixel(20, 20);
    EXPECT_EQ(qRed(frame), qGreen(frame));
    EXPECT_GE(qRed(frame), 100);
    EXPECT_LT(qRed(frame), 100 + WindowSurface::kAnimationFrames);
    int rising = 0;
    int falling = 0;
    for (int y = 100; y < 140; ++y) {
        for (int x = 100; x < 140; ++x) {
            if (busy.pixel(x, y) == qRgb(0, 0, 0)) {
                rising += busy.pixel(x + 1, y - 1) == qRgb(0, 0, 0) ? 1 : 0;
                falling += busy.pixel(x + 1, y + 1) == qRgb(0, 0, 0) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(rising, 20);
    EXPECT_EQ(falling, 0);
    EXPECT_GT(CountPixels(busy, qRgb(255, 255, 255)), 0);

    // Then the painting: at least one picture before the finished one, and
    // the finished one has more of the figure than the first.
    std::vector<int> fractalPixels;
    for (const QImage& image : images) {
        if (CountPixels(image, Rgb(kBackground)) > 0) {
            fractalPixels.push_back(CountPixels(image, Rgb(kFractal)));
        }
    }
    ASSERT_GE(fractalPixels.size(), 2u);
    EXPECT_LT(fractalPixels.front(), fractalPixels.back());
    EXPECT_TRUE(images.back() == h.surface.Image());
}

TEST(WindowSurface, RequestsDuringADrawingCollapseAndStopEndsItAtOnce)
{
    Harness h;
    FractalPtr koch = Koch(13);
    h.surface.Request(h.Make(koch));
    ASSERT_TRUE(WaitFor([&] { return h.starts == 1 && h.surface.IsDrawing(); }));
    h.surface.Request(h.Make(koch));
    h.surface.Request(h.Make(koch));
    ASSERT_TRUE(WaitFor([&] { return h.starts == 2; }));
    EXPECT_EQ(h.Results(), std::vector<int>{-1});

    EXPECT_TRUE(h.surface.Stop());
    ASSERT_TRUE(WaitFor([&] { return h.completions == 2; }, 5s));
    EXPECT_EQ(h.Results(), (std::vector<int>{-1, -1}));
    EXPECT_FALSE(h.surface.IsDrawing());
    // Nothing else was waiting, and a stop when idle has nothing to stop.
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(h.starts, 2);
    EXPECT_FALSE(h.surface.Stop());
}

TEST(WindowSurface, AReplacedFractalLivesUntilItsDrawingEnds)
{
    Harness h;
    FractalPtr first = Koch(13);
    h.surface.Request(h.Make(first));
    ASSERT_TRUE(WaitFor([&] { return h.surface.IsDrawing(); }));
    // The document lets its fractal go and takes another: the drawing in
    // progress still holds the first.
    first = FractalPtr();
    h.surface.Request(h.Make(Koch(2)));
    ASSERT_TRUE(WaitFor([&] { return h.completions == 2; }, 10s));
    EXPECT_EQ(h.Results(), (std::vector<int>{-1, 0}));
    EXPECT_GT(CountPixels(h.surface.Image(), Rgb(kFractal)), 0);
}

TEST(WindowSurface, WaitsForAnotherDrawingOfTheSameFractalYetStillStops)
{
    Harness h;
    FractalPtr koch = Koch(3);
    std::unique_lock held(koch->DrawingLock());
    h.surface.Request(h.Make(koch));
    ASSERT_TRUE(WaitFor([&] { return h.starts == 1; }));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(h.completions, 0);
    h.surface.Stop();
    ASSERT_TRUE(WaitFor([&] { return h.completions == 1; }, 5s));
    EXPECT_EQ(h.Results(), std::vector<int>{-1});
    EXPECT_TRUE(h.surface.Image().isNull());

    h.surface.Request(h.Make(koch));
    std::this_thread::sleep_for(30ms);
    held.unlock();
    ASSERT_TRUE(WaitFor([&] { return h.completions == 2; }));
    EXPECT_EQ(h.Results(), (std::vector<int>{-1, 0}));
    EXPECT_FALSE(h.surface.Image().isNull());
}

TEST(WindowSurface, NothingToDrawLeavesThePictureAsItWas)
{
    Harness h;
    h.surface.Request(h.Make(Koch(2)));
    ASSERT_TRUE(WaitFor([&] { return h.completions == 1; }));
    const QImage drawn = h.surface.Image();
    const std::size_t publications = h.Published().size();

    // No fractal, an unusable one, an empty window, a figure with no height.
    FractalPtr bad = Koch(2);
    bad->m_bad = true;
    FractalPtr flat = FractalFromText("[type] std\n[name] line\n[ndays] 3\n"
                                      "[initiators] 1\n0,0\n1,0\n[generator] 2\n"
                                      "0,0,0.5\n0,0,0.5\n");
    ASSERT_TRUE(flat);
    const std::vector<DrawRequest> nothing = {h.Make(FractalPtr()), h.Make(bad),
                                              h.Make(Koch(2), QSize(0, 0)), h.Make(flat)};
    int expected = 1;
    for (const DrawRequest& request : nothing) {
        h.surface.Request(request);
        ++expected;
        ASSERT_TRUE(WaitFor([&] { return h.completions == expected; }));
    }
    EXPECT_EQ(h.Results(), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(h.Published().size(), publications);
    EXPECT_TRUE(h.surface.Image() == drawn);

    h.surface.ClearImage();
    EXPECT_TRUE(h.surface.Image().isNull());
}

} // namespace
