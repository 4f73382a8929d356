#include "RecentFileList.h"

#include "FolderCase.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString kSection = QStringLiteral("Recent File List");

QString Key(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

bool SameFile(const QString& a, const QString& b)
{
    const QString fa = QFileInfo(a).absoluteFilePath();
    const QString fb = QFileInfo(b).absoluteFilePath();
    const auto cs = FolderCase::FileSystemIgnoresCase(fa) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    return fa.compare(fb, cs) == 0;
}
} // namespace

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString full = QFileInfo(path).absoluteFilePath();
    for (int i = GetCount() - 1; i >= 0; --i)
        if (SameFile(m_files[i], full))
            m_files.removeAt(i);
    m_files.prepend(full);
    while (GetCount() > m_nSize)
        m_files.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < GetCount())
        m_files.removeAt(index);
}

void CRecentFileList::ReadList(QSettings& settings)
{
    m_files.clear();
    settings.beginGroup(kSection);
    for (int i = 0; i < m_nSize; ++i) {
        const QString path = settings.value(Key(i)).toString();
        if (!path.isEmpty())
            m_files << path;
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings& settings) const
{
    settings.beginGroup(kSection);
    for (int i = 0; i < m_nSize; ++i) {
        if (i < GetCount())
            settings.setValue(Key(i), m_files[i]);
        else
            settings.remove(Key(i));
    }
    settings.endGroup();
}

QString CRecentFileList::MenuText(int index) const
{
    QString path = QDir::toNativeSeparators(GetAt(index));
    path.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(path);
}
