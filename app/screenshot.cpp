#include "app/screenshot.h"

#include "app/fractal_app.h"
#include "documents/fractal_doc.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "views/fractal_view.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace {

std::size_t Key(std::thread::id thread)
{
    return std::hash<std::thread::id>{}(thread);
}

} // namespace

ScreenshotJob::ScreenshotJob(CFractalApp* app, QWidget* window, const QString& path)
    : QObject(app), m_app(app), m_window(window), m_path(path)
{
    connect(app, &CFractalApp::DrawingDone, this, [this](std::thread::id thread) {
        m_done.insert(Key(thread));
        m_quietPolls = 0;
    });
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &ScreenshotJob::Poll);
}

void ScreenshotJob::Start()
{
    m_elapsed.start();
    m_timer.start();
}

bool ScreenshotJob::AllDrawn() const
{
    DocTemplate* fractals = m_app->FractalTemplate();
    if (!fractals) {
        return true;
    }
    for (Document* document : fractals->Documents()) {
        for (View* view : document->Views()) {
            const auto* fractalView = qobject_cast<CFractalView*>(view);
            if (!fractalView) {
                continue;
            }
            // A fractal that cannot be drawn shows its reason at once.
            const auto* fractalDoc = qobject_cast<const CFractalDoc*>(document);
            if (fractalDoc != nullptr && !fractalDoc->HasGoodFractal()) {
                continue;
            }
            if (fractalView->IsDrawing() || !m_done.contains(Key(fractalView->DrawingThreadId()))) {
                return false;
            }
        }
    }
    return true;
}

void ScreenshotJob::Poll()
{
    if (AllDrawn()) {
        ++m_quietPolls;
    } else {
        m_quietPolls = 0;
    }
    if (m_quietPolls >= kQuietPolls) {
        Finish(0);
    } else if (m_elapsed.elapsed() > kTimeoutMs) {
        std::fputs("kaleidra: the drawings did not finish in time; writing the screenshot anyway\n",
                   stderr);
        Finish(3);
    }
}

void ScreenshotJob::Finish(int exitCode)
{
    m_timer.stop();
    int code = exitCode;
    const QImage image = m_window ? m_window->grab().toImage() : QImage();
    const QString dir = QFileInfo(m_path).absolutePath();
    if (image.isNull() || !QDir().mkpath(dir) || !image.save(m_path, "PNG")) {
        std::fprintf(stderr, "kaleidra: cannot write the screenshot %s\n",
                     qPrintable(QDir::toNativeSeparators(m_path)));
        code = 1;
    }
    QCoreApplication::exit(code);
}
