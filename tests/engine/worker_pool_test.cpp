#include "engine/fractal_kind.h"
#include "engine/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Every call of a job is made once, and what the calls wrote (without
// atomics of their own) is there when the job returns: ThreadSanitizer
// watches the hand-over. Jobs follow one another at once, while the
// workers are still waiting busily, and after they have gone to sleep.
TEST(WorkerPool, EveryCallIsMadeOnceAndItsWorkIsSeenWhenTheJobReturns)
{
    drawing::WorkerPool pool;
    for (int round = 0; round < 200; ++round) {
        const int count = 2 + round % 5;
        std::vector<int> calls(static_cast<std::size_t>(count), 0);
        std::vector<std::thread::id> where(static_cast<std::size_t>(count));
        const std::function<void(int)> work = [&](int k) {
            ++calls[static_cast<std::size_t>(k)];
            where[static_cast<std::size_t>(k)] = std::this_thread::get_id();
        };
        ASSERT_TRUE(pool.TryRun(count, work));
        EXPECT_EQ(calls, std::vector<int>(static_cast<std::size_t>(count), 1)) << round;
        EXPECT_EQ(where[0], std::this_thread::get_id());
        if (round == 100) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    // One call is no job for a pool.
    EXPECT_FALSE(pool.TryRun(1, [](int) {}));
}

// A job started while the pool is at another (here, from inside it) is
// refused at once rather than waiting for a worker that may be its own
// caller; RunOnThreads then draws on threads of its own.
TEST(WorkerPool, AJobInsideAJobRunsOnThreadsOfItsOwn)
{
    drawing::WorkerPool pool;
    std::atomic<int> inner{0};
    bool refused = false;
    ASSERT_TRUE(pool.TryRun(2, [&](int k) {
        if (k == 0) {
            refused = !pool.TryRun(2, [](int) {});
        }
    }));
    EXPECT_TRUE(refused);

    std::vector<int> sums(3, 0);
    drawing::RunOnThreads(3, [&](int k) {
        drawing::RunOnThreads(4, [&](int j) { inner.fetch_add(j + 1); });
        sums[static_cast<std::size_t>(k)] = k;
    });
    EXPECT_EQ(inner.load(), 3 * (1 + 2 + 3 + 4));
    EXPECT_EQ(sums, (std::vector<int>{0, 1, 2}));
}

// Drawings on several threads at once (two windows) each get all their
// calls, whether the pool or threads of their own run them; a failure is
// rethrown to its own caller, the stop exception before any other.
TEST(WorkerPool, DrawingsOnSeveralThreadsAtOnceAndTheirFailures)
{
    std::atomic<int> total{0};
    std::vector<std::thread> callers;
    for (int c = 0; c < 3; ++c) {
        callers.emplace_back([&total] {
            for (int round = 0; round < 50; ++round) {
                drawing::RunOnThreads(3, [&total](int k) { total.fetch_add(k + 1); });
            }
        });
    }
    for (std::thread& caller : callers) {
        caller.join();
    }
    EXPECT_EQ(total.load(), 3 * 50 * 6);

    const auto fails = [](int k) {
        if (k == 1) {
            throw std::runtime_error("piece");
        }
        if (k == 2) {
            throw -1;
        }
    };
    EXPECT_THROW(drawing::RunOnThreads(3, fails), int);
    EXPECT_THROW(drawing::RunOnThreads(2, fails), std::runtime_error);
}

} // namespace
