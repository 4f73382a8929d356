#include "PngEncoder.h"

QString CPngEncoder::MimeType() const
{
    return QStringLiteral("image/png");
}

QUuid CPngEncoder::Clsid() const
{
    static const QUuid kId{"{20996A1C-5CD3-4622-B0E2-74B0B60E6EB8}"};
    return kId;
}

std::optional<QByteArray> CPngEncoder::Encode(const QImage& image, const CEncoderParameters&,
                                              QString* error) const
{
    if (!CheckImage(image, error))
        return std::nullopt;
    return WriteWithQt(image, "png", -1, error);
}
