#include "ExportOutput.h"

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
