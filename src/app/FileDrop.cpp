#include "app/FileDrop.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

QStringList CFileDrop::LocalFiles(const QMimeData* data)
{
    QStringList files;
    if (!data)
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

CFileDrop::Kind CFileDrop::Classify(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("tlm"))
        return Kind::Template;
    if (suffix.isEmpty())
        return Kind::Other;
    // Whatever the installed decoders can read; the content is checked only
    // when the file is dropped.
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    return formats.contains(suffix.toLatin1()) ? Kind::Image : Kind::Other;
}

QStringList CFileDrop::Templates(const QStringList& paths)
{
    QStringList templates;
    for (const QString& path : paths)
        if (Classify(path) == Kind::Template)
            templates << path;
    return templates;
}

std::optional<QString> CFileDrop::SingleImage(const QStringList& paths)
{
    if (paths.size() != 1 || Classify(paths.front()) != Kind::Image)
        return std::nullopt;
    return paths.front();
}
