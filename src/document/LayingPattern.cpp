#include "LayingPattern.h"

#include <QBuffer>
#include <QFile>

#include <array>

namespace {

const std::array<const char*, kLayoutCount> kNames{"straight",    "offset-half", "offset-third", "random-offset",
                                                    "herringbone", "chevron",     "basket",       "diagonal"};

} // namespace

QString LayoutName(ELayout layout)
{
    const auto i = static_cast<std::uint32_t>(layout);
    return i < kLayoutCount ? QString::fromLatin1(kNames[i]) : QString();
}

std::optional<ELayout> LayoutFromName(const QString& name)
{
    for (std::uint32_t i = 0; i < kLayoutCount; ++i)
        if (name == QLatin1String(kNames[i]))
            return static_cast<ELayout>(i);
    return std::nullopt;
}

std::optional<CPieceImage> LoadPieceImage(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1 could not be opened.").arg(path);
        return std::nullopt;
    }
    CPieceImage piece;
    piece.bytes = file.readAll();
    piece.image = QImage::fromData(piece.bytes);
    if (piece.image.isNull() || piece.image.width() < 1 || piece.image.height() < 1) {
        if (error)
            *error = QStringLiteral("%1 is not a picture.").arg(path);
        return std::nullopt;
    }
    const bool jpeg = piece.bytes.startsWith("\xFF\xD8\xFF");
    const bool png = piece.bytes.startsWith("\x89PNG\r\n\x1A\n");
    if (!jpeg && !png)
        return PieceFromImage(piece.image);
    return piece;
}

CPieceImage PieceFromImage(const QImage& image)
{
    CPieceImage piece;
    piece.image = image;
    QBuffer buffer(&piece.bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return piece;
}
