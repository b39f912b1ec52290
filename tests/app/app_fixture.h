#pragma once

// Shared by the tests of the application shell: a main() that starts the
// real application object unattended, in English, with settings and caches
// in temporary folders, and helpers to wait for windows and drawings.

#include "app/fractal_app.h"
#include "app/main_frame.h"
#include "documents/fractal_doc.h"
#include "framework/child_frame.h"
#include "framework/doc_template.h"
#include "framework/prompts.h"
#include "views/fractal_view.h"

#include <QApplication>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>

namespace appfixture {

inline CFractalApp& App()
{
    return *CFractalApp::Instance();
}

inline CMainFrame& Frame()
{
    return *CMainFrame::Instance();
}

// Runs the deletions that closed frames and documents left for the loop.
inline void Flush()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

inline void CloseAll()
{
    App().CloseAllDocuments();
    Flush();
}

inline CFractalView* FirstView(Document* document)
{
    return document && !document->Views().isEmpty()
               ? qobject_cast<CFractalView*>(document->Views().first())
               : nullptr;
}

// The fractal documents open now, in creation order.
inline QVector<CFractalDoc*> FractalDocuments()
{
    QVector<CFractalDoc*> documents;
    for (Document* document : App().FractalTemplate()->Documents())
        documents.append(qobject_cast<CFractalDoc*>(document));
    return documents;
}

} // namespace appfixture

// main() of an application test: the program's start-up without a display,
// a dialog or a second instance in the way.
#define KALEIDRA_APP_TEST_MAIN(TestObject)                                                         \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        QTemporaryDir home;                                                                        \
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());                              \
        qputenv("XDG_CACHE_HOME", home.filePath("cache").toUtf8());                                \
        qputenv("KALEIDRA_BUNDLE_DIR", KALEIDRA_BUNDLE_DIR);                                       \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        std::srand(1);                                                                             \
        CFractalApp app(argc, argv);                                                               \
        if (app.InitInstance({QStringLiteral("--english"), QStringLiteral("--unattended")}))       \
            return 2;                                                                              \
        appfixture::Frame().resize(1000, 700);                                                     \
        if (!QTest::qWaitForWindowExposed(&appfixture::Frame()))                                   \
            return 3;                                                                              \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

namespace appfixture {

// Answers the next modal dialog of class DialogClass with `answer` once it
// shows (from inside its own event loop).
template <class DialogClass, class Answer> void AnswerNextDialog(Answer answer)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        auto* dialog = qobject_cast<DialogClass*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        answer(dialog);
    });
    poll->start();
}

} // namespace appfixture
