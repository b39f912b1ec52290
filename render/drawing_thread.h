#pragma once

// A worker thread that draws on request. Requests collapse: any number of
// RequestDraw calls made while a drawing runs stop it at its next element and
// lead to exactly one further drawing.
//
// After every run the worker calls the completion callback with the run's
// result and its own id; the owner uses it to post the completion event to
// the application (the event belongs to the layer that knows the
// application).
//
// Threads: RequestDraw, Stop, Quit, QuitAndWait and IsDrawing belong to the
// interface thread; Run is called on the worker. A derived class must call
// QuitAndWait in its own destructor, before the members Run uses are gone.

#include "engine/fractal.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// What one run of the worker came to; posted with the completion event as
// its integer value.
enum class RunResult : int
{
    Done = 0,     // drawn completely, or nothing to draw
    Stopped = -1, // stopped before the end
    Failed = 1,   // could not be drawn (out of memory, say)
};

class DrawingThread
{
public:
    DrawingThread() = default;
    virtual ~DrawingThread();
    DrawingThread(const DrawingThread&) = delete;
    DrawingThread& operator=(const DrawingThread&) = delete;

    // Starts the worker; false when it could not be created.
    bool Start();
    // Stops a drawing in progress at its next element and asks for a new one.
    void RequestDraw();
    // Stops a drawing in progress at its next element and drops a request
    // the worker has not taken up yet, so a stop is never lost to a drawing
    // about to begin. True when there was something to stop.
    bool Stop();
    // Asks the worker to end once it is idle.
    void Quit();
    // Quit, then wait for the worker to end. A drawing in progress finishes
    // first unless it was stopped.
    void QuitAndWait();
    // A drawing is in progress and has not been asked to stop.
    bool IsDrawing() const { return !m_stop.load(std::memory_order_relaxed); }
    std::thread::id ThreadId() const { return m_threadId; }
    // Called on the worker after every run; set before Start.
    void SetCompletion(std::function<void(int result, std::thread::id thread)> done)
    {
        m_done = std::move(done);
    }
    bool IsRunning() const { return m_thread.joinable(); }

protected:
    // One drawing, on the worker thread. Its result is posted.
    virtual RunResult Run() = 0;
    const StopFlag* StopAddress() const { return &m_stop; }
    bool StopRequested() const { return m_stop.load(std::memory_order_relaxed); }

private:
    void ThreadProc();

    // Idle or stopping: true; drawing undisturbed: false.
    StopFlag m_stop{true};
    std::thread m_thread;
    std::thread::id m_threadId;
    std::function<void(int, std::thread::id)> m_done;
    // The two auto-reset events share one lock so the worker can wait for
    // either; the worker clears the stop flag under it as it takes a request.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_startSignalled = false;
    bool m_quitSignalled = false;
};
