#pragma once

#include "ImageEncoder.h"

// Writes image/jpeg through Qt's JPEG writer. Takes a transformation (a
// rotation or flip applied to the pixels before encoding) and a quality from
// 0 to 100.
class CJpegEncoder : public CImageEncoder
{
    Q_DECLARE_TR_FUNCTIONS(CJpegEncoder)

public:
    static constexpr int kDefaultQuality = 75;

    QString MimeType() const override;
    QUuid Clsid() const override;
    std::vector<CEncoderParameterInfo> Parameters() const override;
    std::optional<QByteArray> Encode(const QImage& image, const CEncoderParameters& params,
                                     QString* error) const override;
};
