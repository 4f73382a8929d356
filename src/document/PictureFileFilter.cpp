#include "PictureFileFilter.h"

#include <QCoreApplication>
#include <QImageReader>

namespace {

// The picture formats templates are made from. A format only counts when an
// image plugin reads it: a pattern the reader cannot read would let the user
// pick a file that is then refused.
constexpr const char* kPictureSuffixes[] = {"bmp", "gif", "jpeg", "jpg", "png", "tiff"};
// Phone photos, which the editor decodes itself.
constexpr const char* kOwnSuffixes[] = {"heic", "heif", "avif"};

} // namespace

QStringList PictureFileFilter::Patterns()
{
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QStringList patterns;
    for (const char* suffix : kPictureSuffixes)
        if (readable.contains(QByteArray(suffix)))
            patterns << QStringLiteral("*.") + QLatin1String(suffix);
    for (const char* suffix : kOwnSuffixes)
        patterns << QStringLiteral("*.") + QLatin1String(suffix);
    return patterns;
}

QString PictureFileFilter::Filter()
{
    const QStringList patterns = Patterns();
    return QCoreApplication::translate("PictureFileFilter", "All available formats(%1)|%2|All files(*.*)|*.*|")
        .arg(patterns.join(QLatin1Char(' ')), patterns.join(QLatin1Char(';')));
}
