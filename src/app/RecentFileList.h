// The most recently used definition files, most recent first, kept in the per-user settings.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

class CRecentFileList {
public:
    explicit CRecentFileList(int maxSize) : m_nMaxSize(maxSize) {}

    // Puts path at the top; an entry for the same file moves up; the oldest falls off.
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Files() const { return m_astrFiles; }
    int MaxSize() const { return m_nMaxSize; }

    // Group "Recent File List", keys "File1".."FileN".
    void ReadList(QSettings& settings);
    void WriteList(QSettings& settings) const;

    // The menu text of entry index: "&1 name", the path shortened to its file name when
    // no other entry has the same name.
    QString MenuText(int index) const;

private:
    int m_nMaxSize;
    QStringList m_astrFiles;
};
