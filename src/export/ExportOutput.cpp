#include "ExportOutput.h"

#include "document/DiskSpace.h"
#include "document/Messages.h"

#include <QSaveFile>

QImage ScaleForExport(const QImage& composed, int width, int height)
{
    if (composed.size() == QSize(width, height))
        return composed;
    // Scaling blends neighbours; back to 5-6-5 afterwards, so that every
    // export carries the composition's own colour precision.
    return composed.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB16);
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* why)
{
    const auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    // A full disk is said by its name: the system's own words for it are
    // often lost on the way ("Unknown error" from the last flush).
    const auto reason = [&](const QSaveFile& file) {
        if (DiskFullFor(path, bytes.size()))
            return QString(Messages::kDiskFull);
        const QString said = file.errorString();
        return said.isEmpty() || said == QLatin1String("Unknown error") ? QString(Messages::kWriteError.arg(path))
                                                                        : said;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = reason(file);
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(reason(file));
    return true;
}
