#include "fileio/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace {

FileResult Failure(const QString& reason)
{
    return FileResult{false, reason};
}

} // namespace

FileResult WriteFileAtomically(const QString& path, std::string_view data)
{
    if (path.isEmpty()) {
        return Failure(qt_error_string(ENOENT));
    }
    if (QFileInfo(path).isDir()) {
        return Failure(qt_error_string(EISDIR));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Failure(file.errorString());
    }
    qint64 written = 0;
    while (written < static_cast<qint64>(data.size())) {
        const qint64 n =
            file.write(data.data() + written, static_cast<qint64>(data.size()) - written);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return Failure(reason);
        }
        written += n;
    }
    if (!file.commit()) {
        return Failure(file.errorString());
    }
    return FileResult{true, {}};
}

FileResult WriteFileAtomically(const QString& path, const QByteArray& data)
{
    return WriteFileAtomically(path, std::string_view(data.constData(), data.size()));
}

FileResult ReadWholeFile(const QString& path, QByteArray& data, qint64 maxBytes)
{
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        return Failure(qt_error_string(EISDIR));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return Failure(file.errorString());
    }
    // A bounded read also ends on a device that never does.
    data = maxBytes < 0 ? file.readAll() : file.read(maxBytes);
    if (file.error() != QFileDevice::NoError) {
        return Failure(file.errorString());
    }
    return FileResult{true, {}};
}
