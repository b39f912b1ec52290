#pragma once

// Runs kaleidra-render as a child process for the command-line tests: its
// exit code, its stdout and its stderr, and a scratch directory per test.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

struct CliResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliRunner
{
public:
    CliRunner() { m_dir.setAutoRemove(true); }

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    std::string PathStr(const QString& name) const { return Path(name).toStdString(); }
    QDir Dir() const { return QDir(m_dir.path()); }

    // Starts the program in the scratch directory; with `interruptAfter`,
    // sends SIGINT once that time has passed.
    CliResult Run(const std::vector<std::string>& args,
                  std::chrono::milliseconds interruptAfter = std::chrono::milliseconds(0)) const
    {
        const std::string outPath = PathStr(".stdout");
        const std::string errPath = PathStr(".stderr");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addchdir_np(&actions, m_dir.path().toLocal8Bit().constData());
        std::vector<std::string> all{KALEIDRA_RENDER_BINARY};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        CliResult result;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            return result;
        }
        posix_spawn_file_actions_destroy(&actions);
        if (interruptAfter.count() > 0) {
            std::this_thread::sleep_for(interruptAfter);
            kill(pid, SIGINT);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.out = ReadAll(Path(".stdout"));
        result.err = ReadAll(Path(".stderr"));
        QFile::remove(Path(".stdout"));
        QFile::remove(Path(".stderr"));
        return result;
    }

    void Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    static std::string ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

private:
    QTemporaryDir m_dir;
};
