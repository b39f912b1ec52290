#include "engine/fractal_kind.h"
#include "engine/worker_pool.h"

#include <gtest/gtest.h>

#include <sched.h>

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

// While a job runs its caller stays on its processor and the workers keep
// off it (the scheduler would otherwise stack them on one core), and the
// caller may go anywhere again afterwards, also when a call failed. Round
// after round, so that the caller is seen on more than one processor.
TEST(WorkerPool, AJobsThreadsKeepToProcessorsOfTheirOwnWhileItRuns)
{
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    if (CPU_COUNT(&allowed) < 2) {
        GTEST_SKIP() << "this process may use one processor only";
    }
    drawing::WorkerPool pool;
    for (int round = 0; round < 40; ++round) {
        const int count = 2 + round % 3;
        std::vector<int> cpus(static_cast<std::size_t>(count), -1);
        std::vector<int> callersAllowed(static_cast<std::size_t>(count), 0);
        std::vector<std::thread::id> where(static_cast<std::size_t>(count));
        ASSERT_TRUE(pool.TryRun(count, [&](int k) {
            where[static_cast<std::size_t>(k)] = std::this_thread::get_id();
            // Long enough for the workers to be woken and moved.
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
            while (std::chrono::steady_clock::now() < until) {
            }
            cpus[static_cast<std::size_t>(k)] = sched_getcpu();
            cpu_set_t mine;
            if (sched_getaffinity(0, sizeof mine, &mine) == 0) {
                callersAllowed[static_cast<std::size_t>(k)] = CPU_COUNT(&mine);
            }
        }));
        EXPECT_EQ(callersAllowed[0], 1) << round;
        for (int k = 1; k < count; ++k) {
            // A call the caller took once done with its own runs beside it.
            const auto i = static_cast<std::size_t>(k);
            if (where[i] == where[0]) {
                EXPECT_EQ(cpus[i], cpus[0]) << round << " " << k;
            } else {
                EXPECT_NE(cpus[i], cpus[0]) << round << " " << k;
                EXPECT_EQ(callersAllowed[i], CPU_COUNT(&allowed) - 1);
            }
        }
        cpu_set_t after;
        ASSERT_EQ(sched_getaffinity(0, sizeof after, &after), 0);
        EXPECT_TRUE(CPU_EQUAL(&after, &allowed)) << round;
        // Elsewhere for the next round, when the scheduler agrees.
        if (round % 2 == 0) {
            std::this_thread::yield();
        }
    }
    EXPECT_THROW(drawing::RunOnThreads(2, [](int) { throw -1; }), int);
    cpu_set_t after;
    ASSERT_EQ(sched_getaffinity(0, sizeof after, &after), 0);
    EXPECT_TRUE(CPU_EQUAL(&after, &allowed));
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
