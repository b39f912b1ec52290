#pragma once

// The message a drawing thread sends when a drawing ends: an event of type
// 0x500 posted to the application object, carrying the drawing's result and
// the id of the thread that drew. Application::event hands it to
// Application::OnThreadDone on the interface thread.

#include <QEvent>

#include <thread>

class ThreadDoneEvent : public QEvent
{
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(0x500);

    ThreadDoneEvent(int result, std::thread::id thread)
        : QEvent(kType), m_result(result), m_thread(thread)
    {
    }

    int Result() const { return m_result; }
    std::thread::id ThreadId() const { return m_thread; }

private:
    int m_result;
    std::thread::id m_thread;
};

// Posts the event to the application object; any thread may call it. Does
// nothing when there is no application object.
void PostThreadDone(int result, std::thread::id thread = std::this_thread::get_id());
