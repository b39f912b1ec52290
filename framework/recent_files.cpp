#include "framework/recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const char* const kSection = "Recent File List";

} // namespace

RecentFileList::RecentFileList(const QString& organization, const QString& application,
                               int maxEntries)
    : m_organization(organization), m_application(application), m_maxEntries(maxEntries)
{
    Load();
}

void RecentFileList::Add(const QString& path)
{
    if (path.isEmpty()) {
        return;
    }
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > m_maxEntries) {
        m_files.removeLast();
    }
    Save();
}

void RecentFileList::Remove(int index)
{
    if (index < 0 || index >= m_files.size()) {
        return;
    }
    m_files.removeAt(index);
    Save();
}

QString RecentFileList::MenuText(int index) const
{
    if (index < 0 || index >= m_files.size()) {
        return QString();
    }
    QString number;
    if (index < 9) {
        number = QStringLiteral("&%1").arg(index + 1);
    } else if (index == 9) {
        number = QStringLiteral("1&0");
    } else {
        number = QString::number(index + 1);
    }
    // '&' in a file name would turn into a mnemonic.
    QString name = QDir::toNativeSeparators(m_files[index]);
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && name.startsWith(home + QDir::separator())) {
        name = QLatin1Char('~') + name.mid(home.size());
    }
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return number + QLatin1Char(' ') + name;
}

void RecentFileList::Load()
{
    m_files.clear();
    QSettings settings(m_organization, m_application);
    settings.beginGroup(QLatin1String(kSection));
    for (int i = 1; i <= m_maxEntries; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty() && !m_files.contains(file)) {
            m_files.append(file);
        }
    }
}

void RecentFileList::Save() const
{
    QSettings settings(m_organization, m_application);
    settings.remove(QLatin1String(kSection));
    settings.beginGroup(QLatin1String(kSection));
    for (int i = 0; i < m_files.size(); ++i) {
        settings.setValue(QStringLiteral("File%1").arg(i + 1), m_files[i]);
    }
}
