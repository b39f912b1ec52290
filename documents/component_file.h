#pragma once

// Reading and writing the small component files (L-system, automaton,
// directions): the whole file goes through a text archive in memory, and a
// save replaces the file only once it is completely written.

#include "fileio/atomic_file.h"

#include <QString>

#include <functional>
#include <string>

class CTextArchive;

// Reads `path` and hands an archive on its content to `read`; the error
// names the reason when the file cannot be read (and `read` is not called).
[[nodiscard]] FileResult ReadComponentFile(const QString& path,
                                           const std::function<void(CTextArchive&)>& read);
// Lets `write` fill an archive and writes it to `path` atomically.
[[nodiscard]] FileResult WriteComponentFile(const QString& path,
                                            const std::function<void(CTextArchive&)>& write);

// `text` without its blanks, tabs and line ends.
std::string WithoutBlanks(const std::string& text);
