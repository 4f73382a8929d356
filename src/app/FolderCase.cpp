#include "FolderCase.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString SwapCase(const QString& name)
{
    QString swapped = name;
    for (QChar& c : swapped)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return swapped;
}

bool PlatformDefault()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    return false;
#endif
}

} // namespace

bool FolderCase::FileSystemIgnoresCase(const QString& path)
{
    QString existing = QFileInfo(path).absoluteFilePath();
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).absolutePath();
        if (parent == existing)
            return PlatformDefault();
        existing = parent;
    }
    // Look the nearest existing name with letters up by its other case: found,
    // and not as a separate entry of its folder, means case is ignored.
    for (QString current = existing;;) {
        const QFileInfo info(current);
        const QString name = info.fileName();
        const QString parent = info.absolutePath();
        const QString swapped = SwapCase(name);
        if (swapped != name) {
            const QString other = QDir(parent).filePath(swapped);
            if (!QFileInfo::exists(other))
                return false;
            const QStringList entries =
                QDir(parent).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            return !entries.contains(swapped, Qt::CaseSensitive);
        }
        if (parent == current || name.isEmpty())
            return PlatformDefault();
        current = parent;
    }
}

QString FolderCase::Normalise(const QString& path)
{
    return FileSystemIgnoresCase(path) ? path.toLower() : path;
}
