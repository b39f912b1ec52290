#pragma once

// The recently used files: most recent first, no duplicates, at most
// MaxEntries. Kept in the settings under "Recent File List" as File1,
// File2, ... and written back after every change, so a crash loses nothing.

#include <QString>
#include <QStringList>

class RecentFileList
{
public:
    static constexpr int kDefaultSize = 16;

    // Reads the list from the settings of `organization` / `application`.
    RecentFileList(const QString& organization, const QString& application,
                   int maxEntries = kDefaultSize);

    const QStringList& Files() const { return m_files; }
    int Size() const { return static_cast<int>(m_files.size()); }
    int MaxEntries() const { return m_maxEntries; }

    // Puts `path` (made absolute) first, dropping an older entry of it and
    // whatever falls off the end.
    void Add(const QString& path);
    void Remove(int index);
    // The menu caption of entry `index`: "&1 name" for the first nine,
    // "1&0 name" for the tenth, then the bare number.
    QString MenuText(int index) const;

    void Load();
    void Save() const;

private:
    QString m_organization;
    QString m_application;
    int m_maxEntries;
    QStringList m_files;
};
