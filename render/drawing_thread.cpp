#include "render/drawing_thread.h"

DrawingThread::~DrawingThread()
{
    // A derived class has normally waited already; this only guards against
    // a thread outliving the object.
    QuitAndWait();
}

bool DrawingThread::Start()
{
    if (m_thread.joinable()) {
        return true;
    }
    try {
        m_thread = std::thread(&DrawingThread::ThreadProc, this);
    } catch (const std::system_error&) {
        return false;
    }
    m_threadId = m_thread.get_id();
    return true;
}

void DrawingThread::RequestDraw()
{
    m_stop.store(true, std::memory_order_relaxed);
    {
        std::lock_guard lock(m_mutex);
        m_startSignalled = true;
    }
    m_wake.notify_one();
}

bool DrawingThread::Stop()
{
    std::lock_guard lock(m_mutex);
    const bool pending = m_startSignalled;
    m_startSignalled = false;
    return !m_stop.exchange(true, std::memory_order_relaxed) || pending;
}

void DrawingThread::Quit()
{
    {
        std::lock_guard lock(m_mutex);
        m_quitSignalled = true;
    }
    m_wake.notify_one();
}

void DrawingThread::QuitAndWait()
{
    if (!m_thread.joinable()) {
        return;
    }
    Quit();
    m_thread.join();
}

void DrawingThread::ThreadProc()
{
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_startSignalled || m_quitSignalled; });
            // A quit wins over a pending request: a window that closes must
            // not start one more (possibly long, unstoppable) drawing.
            if (m_quitSignalled) {
                m_quitSignalled = false;
                return;
            }
            m_startSignalled = false;
            m_stop.store(false, std::memory_order_relaxed);
        }
        const int result = static_cast<int>(Run());
        m_stop.store(true, std::memory_order_relaxed);
        if (m_done) {
            m_done(result, std::this_thread::get_id());
        }
    }
}
