// kaleidra-render: the program's scriptable face. Draws fractal files and
// presets exactly as a fractal window shows them, into PNG, SVG, PDF or a
// plain list of elements, and measures how long that takes.
#include "render_job.h"
#include "render_options.h"

#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// Set by Ctrl-C; the drawing reads it at every element and stops. A
// lock-free atomic store is safe in a signal handler.
StopFlag g_stop{false};
static_assert(StopFlag::is_always_lock_free);

extern "C" void OnInterrupt(int)
{
    g_stop.store(true, std::memory_order_relaxed);
}

// Qt's own chatter about a desktop session this program never uses stays
// out of the messages a script reads; everything else passes.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: "))) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = ParseOptions(args);
    if (auto* error = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "kaleidra-render: %s\n\n%s", error->message.c_str(), UsageText());
        return kExitUsage;
    }
    const RenderOptions& options = std::get<RenderOptions>(parsed);
    if (options.mode == RenderOptions::Mode::Help) {
        std::fputs(UsageText(), stdout);
        return kExitOk;
    }
    if (options.mode == RenderOptions::Mode::ListPresets) {
        return RunListPresets();
    }

    struct sigaction action
    {
    };
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);

    // Fonts and the vector writers want a Gui application; it never needs
    // a display, and the plain pictures do without it (faster to start,
    // less memory for the benchmarks).
    std::unique_ptr<QGuiApplication> app;
    qInstallMessageHandler(FilterQtMessages);
    if (NeedsGuiApplication(options)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    if (options.mode == RenderOptions::Mode::Gallery) {
        return RunGallery(options, g_stop);
    }
    return RunRender(options, g_stop);
}
