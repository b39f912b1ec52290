#include "render/drawing_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Draws until stopped (or for `elements` steps), counting runs and stops.
class BusyThread : public DrawingThread
{
public:
    ~BusyThread() override { QuitAndWait(); }

    std::atomic<int> runs{0};
    std::atomic<int> stopped{0};
    std::atomic<bool> running{false};
    std::atomic<long> elements{1L << 40};

protected:
    int Run() override
    {
        ++runs;
        running = true;
        for (long i = 0; i < elements; ++i) {
            if (StopAddress()->load(std::memory_order_relaxed)) {
                ++stopped;
                running = false;
                return -1;
            }
            std::this_thread::sleep_for(50us);
        }
        running = false;
        return 0;
    }
};

template <typename Pred> bool WaitFor(Pred pred)
{
    for (int i = 0; i < 4000 && !pred(); ++i) {
        std::this_thread::sleep_for(1ms);
    }
    return pred();
}

TEST(DrawingThread, RequestsDuringALongDrawingCollapseIntoOne)
{
    BusyThread t;
    std::atomic<int> done{0};
    t.SetCompletion([&done](int, std::thread::id) { ++done; });
    ASSERT_TRUE(t.Start());
    EXPECT_FALSE(t.IsDrawing());
    t.RequestDraw();
    ASSERT_TRUE(WaitFor([&] { return t.running.load(); }));
    EXPECT_TRUE(t.IsDrawing());
    t.RequestDraw();
    t.RequestDraw();
    ASSERT_TRUE(WaitFor([&] { return t.runs == 2 && t.running; }));
    t.Stop();
    ASSERT_TRUE(WaitFor([&] { return !t.running && t.stopped == 2; }));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(t.runs, 2);
    EXPECT_FALSE(t.IsDrawing());
    EXPECT_EQ(done, 2);

    // A stop when idle changes nothing.
    t.Stop();
    EXPECT_FALSE(t.IsDrawing());

    // Closing: stop and wait returns only once the worker has ended.
    t.RequestDraw();
    ASSERT_TRUE(WaitFor([&] { return t.running.load(); }));
    t.Stop();
    t.QuitAndWait();
    EXPECT_FALSE(t.IsRunning());
    EXPECT_FALSE(t.running);
}

TEST(DrawingThread, QuitWithoutStopLetsTheDrawingFinish)
{
    BusyThread t;
    t.elements = 200;
    ASSERT_TRUE(t.Start());
    t.RequestDraw();
    ASSERT_TRUE(WaitFor([&] { return t.running.load(); }));
    t.QuitAndWait();
    EXPECT_EQ(t.stopped, 0);
    EXPECT_EQ(t.runs, 1);
}

// The first drawing ignores the stop flag and waits for a gate; later
// drawings behave like BusyThread's.
class GatedThread : public BusyThread
{
public:
    std::atomic<bool> gate{false};

protected:
    int Run() override
    {
        if (runs == 0) {
            ++runs;
            running = true;
            while (!gate) {
                std::this_thread::sleep_for(100us);
            }
            running = false;
            return 0;
        }
        return BusyThread::Run();
    }
};

TEST(DrawingThread, AStopIsNeverLostToADrawingAboutToBegin)
{
    GatedThread t;
    ASSERT_TRUE(t.Start());
    t.RequestDraw();
    ASSERT_TRUE(WaitFor([&] { return t.running.load(); }));
    // A request waits behind the busy drawing; the stop that follows must
    // also cancel it, or the user's stop would start a drawing.
    t.RequestDraw();
    EXPECT_TRUE(t.Stop());
    t.gate = true;
    ASSERT_TRUE(WaitFor([&] { return !t.running.load(); }));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(t.runs, 1);
    EXPECT_FALSE(t.IsDrawing());
    EXPECT_FALSE(t.Stop());
}

} // namespace
