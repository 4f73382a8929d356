#include "JpegEncoder.h"

#include "EncoderGuids.h"

#include <QTransform>

QString CJpegEncoder::MimeType() const
{
    return QStringLiteral("image/jpeg");
}

QUuid CJpegEncoder::Clsid() const
{
    static const QUuid kId{"{B219BCE3-65AB-4BF4-A8FD-19EF6E34B7D6}"};
    return kId;
}

std::vector<CEncoderParameterInfo> CJpegEncoder::Parameters() const
{
    // "No transformation" comes last: the options page preselects the last
    // entry, and that default must never turn the export.
    CEncoderParameterInfo transformation{EncoderGuid::kTransformation, kValueTypeLong, 6,
                                         {kTransformRotate90, kTransformRotate180, kTransformRotate270,
                                          kTransformFlipHorizontal, kTransformFlipVertical,
                                          kTransformNone}};
    CEncoderParameterInfo quality{EncoderGuid::kQuality, kValueTypeLongRange, 1, {0, 100}};
    return {transformation, quality};
}

std::optional<QByteArray> CJpegEncoder::Encode(const QImage& image, const CEncoderParameters& params,
                                               QString* error) const
{
    if (!CheckImage(image, error))
        return std::nullopt;
    const std::int32_t quality = ParameterValue(params, EncoderGuid::kQuality, kDefaultQuality);
    if (quality < 0 || quality > 100) {
        return Fail(error,
                    tr("The JPEG quality must be between 0 and 100, not %1.").arg(quality));
    }

    // JPEG has no alpha channel; white is what a viewer shows behind a page.
    QImage pixels = FlattenOnWhite(image);
    const std::int32_t transformation =
        ParameterValue(params, EncoderGuid::kTransformation, kTransformNone);
    switch (transformation) {
    case kTransformNone:
        break;
    case kTransformRotate90:
    case kTransformRotate180:
    case kTransformRotate270: {
        // In Qt's downward y axis a positive angle turns clockwise.
        const int degrees = 90 * (transformation - kTransformRotate90 + 1);
        pixels = pixels.transformed(QTransform().rotate(degrees));
        break;
    }
    case kTransformFlipHorizontal:
        pixels = pixels.mirrored(true, false);
        break;
    case kTransformFlipVertical:
        pixels = pixels.mirrored(false, true);
        break;
    default:
        return Fail(error, tr("The JPEG transformation %1 is not supported.")
                               .arg(transformation));
    }
    return WriteWithQt(pixels, "jpeg", quality, error);
}
