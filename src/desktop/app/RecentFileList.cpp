#include "app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "res/ProgramSettings.h"

namespace {
const QString kGroup = QStringLiteral("Recent File List");
}  // namespace

void CRecentFileList::Load() {
    QSettings settings = ProgramSettings();
    settings.beginGroup(kGroup);
    m_files.clear();
    for (int i = 1; i <= kSize; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty()) m_files << file;
    }
}

void CRecentFileList::Save() const {
    QSettings settings = ProgramSettings();
    settings.beginGroup(kGroup);
    for (int i = 1; i <= kSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_files.size())
            settings.setValue(key, m_files[i - 1]);
        else
            settings.remove(key);
    }
}

void CRecentFileList::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > kSize) m_files.removeLast();
    Save();
}

void CRecentFileList::Remove(int index) {
    if (index < 0 || index >= m_files.size()) return;
    m_files.removeAt(index);
    Save();
}

namespace {
// The last `count` parts of `path` ("b/radio.sin" for count 2).
QString Tail(const QStringList& parts, int count) {
    return parts.mid(std::max(0, int(parts.size()) - count)).join(QLatin1Char('/'));
}
}  // namespace

QStringList CRecentFileList::DistinctNames(const QStringList& files) {
    QList<QStringList> parts;
    for (const QString& file : files)
        parts << QDir::fromNativeSeparators(file).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QStringList names;
    for (int i = 0; i < files.size(); ++i) {
        int count = 1;
        auto clashes = [&] {
            for (int j = 0; j < files.size(); ++j)
                if (j != i && Tail(parts[j], count) == Tail(parts[i], count)) return true;
            return false;
        };
        while (count < parts[i].size() && clashes()) ++count;
        names << QDir::toNativeSeparators(Tail(parts[i], count));
    }
    return names;
}
