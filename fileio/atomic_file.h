#pragma once

// Whole-file reads and atomic writes, for the program's documents and the
// renderer. Needs Qt Core only. A document builds its
// file in memory (a std::ostringstream or QByteArray) and hands the bytes to
// WriteFileAtomically: the new content replaces the file only once it is
// completely on disk, so a save that fails half-way leaves the previous file
// as it was.

#include <QByteArray>
#include <QString>

#include <string_view>

struct FileResult
{
    bool ok = false;
    QString error; // the reason, for a message to the user; empty when ok

    explicit operator bool() const { return ok; }
};

// Replaces `path` with `data` (through QSaveFile: a temporary file in the
// same folder, renamed over the old one on success).
[[nodiscard]] FileResult WriteFileAtomically(const QString& path, std::string_view data);
[[nodiscard]] FileResult WriteFileAtomically(const QString& path, const QByteArray& data);

// Reads all of `path` into `data`, or its first `maxBytes` bytes when
// `maxBytes` is not negative (a reader that refuses files above a size asks
// for one byte more than it accepts and looks at the size).
[[nodiscard]] FileResult ReadWholeFile(const QString& path, QByteArray& data,
                                       qint64 maxBytes = -1);
