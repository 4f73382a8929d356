#pragma once

#include "ImageEncoder.h"

// Writes image/bmp through Qt's own writer; it takes no parameters.
class CBmpEncoder : public CImageEncoder
{
public:
    QString MimeType() const override;
    QUuid Clsid() const override;
    std::optional<QByteArray> Encode(const QImage& image, const CEncoderParameters& params,
                                     QString* error) const override;
};
