#include "render/drawing_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Draws until stopped (or for `elements` steps), counting runs and stops.
// While `gate` is closed a run ignores the stop flag, as a drawing busy
// between two elements would.
class BusyThread : public DrawingThread
{
public:
    ~BusyThread() override { QuitAndWait(); }

    std::atomic<int> runs{0};
    std::atomic<int> stopped{0};
    std::atomic<bool> running{false};
    std::atomic<long> elements{1L << 40};
    std::atomic<bool> gate{true};

protected:
    RunResult Run() override
    {
        ++runs;
        running = true;
        while (!gate) {
            std::this_thread::sleep_for(100us);
        }
        for (long i = 0; i < elements; ++i) {
            if (StopAddress()->load(std::memory_order_relaxed)) {
                ++stopped;
                running = false;
                return RunResult::Stopped;
            }
            std::this_thread::sleep_for(50us);
        }
        running = false;
        return RunResult::Done;
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
    EXPECT_TRUE(t.Stop());
    ASSERT_TRUE(WaitFor([&] { return !t.running && t.stopped == 2 && done == 2; }));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(t.runs, 2);
    EXPECT_EQ(done, 2);
    // A stop when idle has nothing to stop.
    EXPECT_FALSE(t.Stop());
    EXPECT_FALSE(t.IsDrawing());

    // Closing: stop and wait returns only once the worker has ended.
    t.RequestDraw();
    ASSERT_TRUE(WaitFor([&] { return t.running.load(); }));
    t.Stop();
    t.QuitAndWait();
    EXPECT_FALSE(t.IsRunning());
    EXPECT_FALSE(t.running);

    // Quitting without a stop lets the drawing in progress finish first.
    BusyThread u;
    u.elements = 200;
    ASSERT_TRUE(u.Start());
    u.RequestDraw();
    ASSERT_TRUE(WaitFor([&] { return u.running.load(); }));
    u.QuitAndWait();
    EXPECT_EQ(u.stopped, 0);
    EXPECT_EQ(u.runs, 1);
}

TEST(DrawingThread, AStopAlsoCancelsARequestWaitingBehindABusyDrawing)
{
    // Otherwise the user's stop would let the waiting drawing begin.
    BusyThread t;
    t.gate = false;
    ASSERT_TRUE(t.Start());
    t.RequestDraw();
    ASSERT_TRUE(WaitFor([&] { return t.running.load(); }));
    t.RequestDraw();
    EXPECT_TRUE(t.Stop());
    t.gate = true;
    ASSERT_TRUE(WaitFor([&] { return !t.running.load(); }));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(t.runs, 1);
    EXPECT_FALSE(t.IsDrawing());
}

} // namespace
