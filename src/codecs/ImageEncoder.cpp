#include "ImageEncoder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

std::int32_t CImageEncoder::ParameterValue(const CEncoderParameters& params, const QUuid& guid,
                                           std::int32_t fallback)
{
    for (const CEncoderParameterValue& p : params) {
        if (p.guid == guid)
            return p.value == -1 ? fallback : p.value;
    }
    return fallback;
}

bool CImageEncoder::Accepts(const CEncoderParameters& params, QString* error) const
{
    QImage probe(2, 2, QImage::Format_RGB16);
    probe.fill(Qt::white);
    return Encode(probe, params, error).has_value();
}

QImage CImageEncoder::FlattenOnWhite(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.setDotsPerMeterX(image.dotsPerMeterX());
    flat.setDotsPerMeterY(image.dotsPerMeterY());
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

std::optional<QByteArray> CImageEncoder::Fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return std::nullopt;
}

bool CImageEncoder::CheckImage(const QImage& image, QString* error)
{
    if (!image.isNull() && image.width() > 0 && image.height() > 0)
        return true;
    Fail(error, tr("There is no image to write."));
    return false;
}

std::optional<QByteArray> CImageEncoder::WriteWithQt(const QImage& image, const char* format,
                                                     int quality, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image)) {
        return Fail(error, tr("The image could not be encoded as %1: %2.")
                               .arg(QString::fromLatin1(format).toUpper(), writer.errorString()));
    }
    return bytes;
}
