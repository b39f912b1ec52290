#include "framework/thread_done_event.h"

#include <QCoreApplication>

void PostThreadDone(int result, std::thread::id thread)
{
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QCoreApplication::postEvent(app, new ThreadDoneEvent(result, thread));
    }
}
