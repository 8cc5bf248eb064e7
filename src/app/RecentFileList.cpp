#include "app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr const char* kGroup = "Recent File List";

QString Canonical(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

void CRecentFileList::Add(const QString& path) {
    const QString full = Canonical(path);
    m_astrFiles.removeAll(full);
    m_astrFiles.prepend(full);
    while (m_astrFiles.size() > m_nMaxSize)
        m_astrFiles.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_astrFiles.size())
        m_astrFiles.removeAt(index);
}

void CRecentFileList::ReadList(QSettings& settings) {
    m_astrFiles.clear();
    settings.beginGroup(kGroup);
    for (int i = 1; i <= m_nMaxSize; ++i) {
        const QString path = settings.value(QString("File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_astrFiles.contains(path))
            m_astrFiles << path;
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings& settings) const {
    settings.beginGroup(kGroup);
    settings.remove("");
    for (int i = 0; i < m_astrFiles.size(); ++i) {
        settings.setValue(QString("File%1").arg(i + 1), m_astrFiles[i]);
    }
    settings.endGroup();
}

QString CRecentFileList::MenuText(int index) const {
    const QString& path = m_astrFiles.at(index);
    const QString name = QFileInfo(path).fileName();
    int sameName = 0;
    for (const QString& other : m_astrFiles)
        sameName += QFileInfo(other).fileName() == name;
    const QString shown = sameName > 1 ? QDir::toNativeSeparators(path) : name;
    // A '&' in a file name is shown, not taken as a mnemonic.
    return QString("&%1 %2").arg(index + 1).arg(QString(shown).replace('&', "&&"));
}
