#include "BmpEncoder.h"

QString CBmpEncoder::MimeType() const
{
    return QStringLiteral("image/bmp");
}

QUuid CBmpEncoder::Clsid() const
{
    static const QUuid kId{"{E31F3F68-0445-4C4B-B6B6-13295819E85C}"};
    return kId;
}

std::optional<QByteArray> CBmpEncoder::Encode(const QImage& image, const CEncoderParameters&,
                                              QString* error) const
{
    if (!CheckImage(image, error))
        return std::nullopt;
    // The BMP writer keeps only the colour channels, so a transparent pixel
    // would come out in whatever colour it happens to carry.
    return WriteWithQt(FlattenOnWhite(image), "bmp", -1, error);
}
