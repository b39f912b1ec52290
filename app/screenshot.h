#pragma once

// "--screenshot PATH": once every fractal window has finished drawing, the
// main window is grabbed into a PNG and the program ends (exit code 0, 1
// when the file cannot be written, 3 when the drawings did not settle in
// time, in which case the picture is written all the same).

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>

#include <thread>

class CFractalApp;
class QWidget;

class ScreenshotJob : public QObject
{
    Q_OBJECT
public:
    static constexpr int kPollMs = 250;
    // Polls in a row in which nothing drew before the picture counts as done.
    static constexpr int kQuietPolls = 4;
    static constexpr int kTimeoutMs = 120000;

    ScreenshotJob(CFractalApp* app, QWidget* window, const QString& path);

    void Start();
    // Every fractal view has drawn at least once and none is drawing.
    bool AllDrawn() const;

private:
    void Poll();
    void Finish(int exitCode);

    CFractalApp* m_app;
    QPointer<QWidget> m_window;
    QString m_path;
    QTimer m_timer;
    QElapsedTimer m_elapsed;
    QSet<std::size_t> m_done;
    int m_quietPolls = 0;
};
