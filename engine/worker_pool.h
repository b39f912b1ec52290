#pragma once

// Threads kept for the drawings' pieces, so that a drawing does not start
// a thread for each of them. A worker that has just finished waits busily
// for a little while before it sleeps: a drawing's bounds, its picture and
// the picture's finish follow one another within milliseconds, and a
// sleeping core (a virtual machine's above all) can take as long to wake as
// a small piece takes to draw.
//
// While a job runs, its caller keeps to the processor it is on and the
// workers keep off that one. Left to itself the scheduler would wake a
// thread on the processor of the thread that woke it: fresh runs showed the
// caller and a worker sharing one core for a whole drawing (each at half
// speed) while the other core stood idle.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace drawing {

class WorkerPool
{
public:
    WorkerPool() = default;
    // Wakes the workers and waits for them to end.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The one pool of the process.
    static WorkerPool& Shared();

    // Calls work(k) for k = 0 .. count - 1, work(0) on this thread and the
    // others on whichever of this thread and count - 1 workers is free, and
    // returns when every call has returned. `work` must not throw. False,
    // with nothing called, when the pool is running another job (another
    // thread's, or this very job's caller's) or has no threads to give:
    // the caller then draws with threads of its own.
    [[nodiscard]] bool TryRun(int count, const std::function<void(int)>& work);

private:
    void Work();
    // Runs the job's calls not yet taken, one at a time; `lock` holds
    // m_mutex. True when the job's last call returned here.
    bool TakeCalls(std::unique_lock<std::mutex>& lock);
    bool Grow(int workers);
    // Keeps this job's threads on processors of their own; the returned
    // value puts the caller back as it was.
    class Placement;
    Placement Place();

    // Set by the one caller the pool serves at a time.
    std::atomic<bool> m_busy{false};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    const std::function<void(int)>* m_work = nullptr; // the job, under m_mutex
    int m_count = 0;
    int m_next = 0;
    // Calls not yet returned; changed under m_mutex, read by a caller that
    // waits busily for its job to end.
    std::atomic<int> m_unfinished{0};
    bool m_quitting = false;
    // Counts the jobs (and the call to quit); changed under m_mutex, read
    // without it by the workers waiting busily for the next.
    std::atomic<std::uint64_t> m_generation{0};
    std::vector<std::thread> m_workers;
    // The processor the workers were last kept off (the caller's), and how
    // many workers were told so.
    int m_callerCpu = -1;
    std::size_t m_placedWorkers = 0;
};

// Calls work(k) for k = 0 .. count - 1, work(0) on this thread and the
// others on the shared pool's workers (or on threads of their own when the
// pool is busy), waits for every call and rethrows the first failure, the
// stop exception (the int a stopped drawing throws) before any other.
void RunOnThreads(int count, const std::function<void(int)>& work);

} // namespace drawing
