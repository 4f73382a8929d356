#pragma once

#include <QStringList>

class QSettings;

// The File menu's most recently used files, newest first, kept in the
// "Recent File List" section as File1, File2, ...
class CRecentFileList
{
public:
    explicit CRecentFileList(int size = 4) : m_nSize(size) {}

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    QString GetAt(int index) const { return index >= 0 && index < GetCount() ? m_files[index] : QString(); }
    const QStringList& Files() const { return m_files; }

    // Puts path first, removing an older entry for the same file.
    void Add(const QString& path);
    void Remove(int index);

    // Missing and empty entries are skipped, so a list with gaps reads compact.
    void ReadList(QSettings& settings);
    // Writes the entries and removes the keys of entries that are gone.
    void WriteList(QSettings& settings) const;

    // The menu text of entry index: "&1 path", with ampersands doubled.
    QString MenuText(int index) const;

private:
    int m_nSize;
    QStringList m_files;
};
