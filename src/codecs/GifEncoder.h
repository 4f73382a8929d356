#pragma once

#include "ImageEncoder.h"

// Writes image/gif with giflib (Qt can only read GIF). The image is reduced
// to at most 256 colours with error diffusion; an image with no more colours
// than that keeps them exactly. Takes no parameters.
class CGifEncoder : public CImageEncoder
{
    Q_DECLARE_TR_FUNCTIONS(CGifEncoder)

public:
    QString MimeType() const override;
    QUuid Clsid() const override;
    std::optional<QByteArray> Encode(const QImage& image, const CEncoderParameters& params,
                                     QString* error) const override;
};
