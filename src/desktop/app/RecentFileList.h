#pragma once
// The four most recently used files, kept in the settings store between runs.
#include <QStringList>

class CRecentFileList {
public:
    static constexpr int kSize = 4;

    void Load();
    void Save() const;
    // Puts `path` at the top (moving it there if it is listed already).
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Files() const { return m_files; }

    // The names the menu shows for `files`: the file name, with as many of
    // its folders in front as it takes to tell equal file names apart.
    static QStringList DistinctNames(const QStringList& files);

private:
    QStringList m_files;
};
