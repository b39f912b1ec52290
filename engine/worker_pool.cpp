#include "engine/worker_pool.h"

#include <chrono>
#include <exception>
#include <system_error>

#include <pthread.h>
#include <sched.h>

namespace drawing {
namespace {

// How long a worker that ran out of calls waits busily for the next job.
constexpr auto kSpin = std::chrono::milliseconds(5);

// Workers beyond this are not started; the caller's own threads take over.
constexpr int kMaxWorkers = 63;

// Waits busily, for kSpin at most, until done() holds; false if it does not.
// It yields all the while: a waiting thread that shares its core with a
// working one (as the scheduler may put them) must not hold that one up.
template <typename Done> bool SpinUntil(Done done)
{
    const auto until = std::chrono::steady_clock::now() + kSpin;
    for (int i = 1; !done(); ++i) {
        std::this_thread::yield();
        if (i % 16 == 0 && std::chrono::steady_clock::now() >= until) {
            return false;
        }
    }
    return true;
}

} // namespace

// The caller's mask of processors, given back at the end of the job.
class WorkerPool::Placement
{
public:
    Placement() = default;
    explicit Placement(const cpu_set_t& callers) : m_callers(callers), m_pinned(true) {}
    // Returned by value only, which copies nothing.
    Placement(const Placement&) = delete;
    Placement& operator=(const Placement&) = delete;
    ~Placement()
    {
        if (m_pinned) {
            (void)sched_setaffinity(0, sizeof m_callers, &m_callers);
        }
    }

private:
    cpu_set_t m_callers{};
    bool m_pinned = false;
};

WorkerPool::Placement WorkerPool::Place()
{
    // Where the process may use one processor only there is nothing to
    // place; a failure to place leaves the threads to the scheduler.
    cpu_set_t allowed;
    const int cpu = sched_getcpu();
    if (cpu < 0 || cpu >= CPU_SETSIZE || sched_getaffinity(0, sizeof allowed, &allowed) != 0 ||
        CPU_COUNT(&allowed) < 2 || !CPU_ISSET(cpu, &allowed)) {
        return {};
    }
    cpu_set_t here;
    CPU_ZERO(&here);
    CPU_SET(cpu, &here);
    if (sched_setaffinity(0, sizeof here, &here) != 0) {
        return {};
    }
    if (cpu != m_callerCpu || m_placedWorkers != m_workers.size()) {
        cpu_set_t others = allowed;
        CPU_CLR(cpu, &others);
        for (std::thread& worker : m_workers) {
            (void)pthread_setaffinity_np(worker.native_handle(), sizeof others, &others);
        }
        m_callerCpu = cpu;
        m_placedWorkers = m_workers.size();
    }
    return Placement(allowed);
}

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard lock(m_mutex);
        m_quitting = true;
        m_generation.fetch_add(1, std::memory_order_release);
    }
    m_wake.notify_all();
    for (std::thread& worker : m_workers) {
        worker.join();
    }
}

WorkerPool& WorkerPool::Shared()
{
    static WorkerPool pool;
    return pool;
}

bool WorkerPool::Grow(int workers)
{
    if (workers > kMaxWorkers) {
        return false;
    }
    while (static_cast<int>(m_workers.size()) < workers) {
        try {
            m_workers.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            return false;
        }
    }
    return true;
}

bool WorkerPool::TryRun(int count, const std::function<void(int)>& work)
{
    if (count < 2 || m_busy.exchange(true, std::memory_order_acquire)) {
        return false;
    }
    struct Release
    {
        std::atomic<bool>& busy;
        ~Release() { busy.store(false, std::memory_order_release); }
    } release{m_busy};
    if (!Grow(count - 1)) {
        return false;
    }
    const Placement placement = Place();
    std::unique_lock lock(m_mutex);
    m_work = &work;
    m_count = count;
    m_next = 1;
    m_unfinished.store(count, std::memory_order_relaxed);
    m_generation.fetch_add(1, std::memory_order_release);
    lock.unlock();
    m_wake.notify_all();
    work(0);
    lock.lock();
    m_unfinished.fetch_sub(1, std::memory_order_relaxed);
    TakeCalls(lock);
    // The last calls are often moments from their end: waiting busily
    // spares the wake-up of a sleeping core.
    const auto finished = [this] { return m_unfinished.load(std::memory_order_acquire) == 0; };
    if (!finished()) {
        lock.unlock();
        (void)SpinUntil(finished);
        lock.lock();
        m_finished.wait(lock, finished);
    }
    m_work = nullptr;
    return true;
}

bool WorkerPool::TakeCalls(std::unique_lock<std::mutex>& lock)
{
    bool last = false;
    while (m_work != nullptr && m_next < m_count) {
        const std::function<void(int)>& work = *m_work;
        const int k = m_next++;
        lock.unlock();
        work(k);
        lock.lock();
        last = m_unfinished.fetch_sub(1, std::memory_order_release) == 1;
    }
    return last;
}

void WorkerPool::Work()
{
    std::uint64_t seen = 0;
    for (;;) {
        const auto published = [&] { return m_generation.load(std::memory_order_acquire) != seen; };
        (void)SpinUntil(published);
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, published);
        if (m_quitting) {
            return;
        }
        seen = m_generation.load(std::memory_order_relaxed);
        if (TakeCalls(lock)) {
            lock.unlock();
            m_finished.notify_all();
        }
    }
}

void RunOnThreads(int count, const std::function<void(int)>& work)
{
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(count));
    const std::function<void(int)> guarded = [&work, &errors](int k) {
        try {
            work(k);
        } catch (...) {
            errors[static_cast<std::size_t>(k)] = std::current_exception();
        }
    };
    if (!WorkerPool::Shared().TryRun(count, guarded)) {
        // The pool is busy with another drawing (or this one's caller):
        // threads of this call's own.
        std::vector<std::thread> threads;
        std::vector<int> here{0};
        for (int k = 1; k < count; ++k) {
            try {
                threads.emplace_back(guarded, k);
            } catch (const std::system_error&) {
                here.push_back(k); // no thread to be had: drawn here instead
            }
        }
        for (const int k : here) {
            guarded(k);
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
    }
    for (const std::exception_ptr& error : errors) {
        if (error) {
            try {
                std::rethrow_exception(error);
            } catch (int) {
                throw;
            } catch (...) {
            }
        }
    }
    for (const std::exception_ptr& error : errors) {
        if (error) {
            std::rethrow_exception(error);
        }
    }
}

} // namespace drawing
