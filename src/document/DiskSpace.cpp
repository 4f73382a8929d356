#include "document/DiskSpace.h"

#include <QFileInfo>
#include <QStorageInfo>

bool DiskFullFor(const QString& path, qint64 size)
{
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    return storage.isValid() && storage.isReady() && storage.bytesAvailable() < size;
}
