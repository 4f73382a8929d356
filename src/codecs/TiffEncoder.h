#pragma once

#include "ImageEncoder.h"

// Writes image/tiff with libtiff. Compression: LZW, CCITT group 3 and 4
// (black and white only), PackBits for RLE, or none. Colour depth: 1 bit
// (error-diffused black and white, stored min-is-white), 4 and 8 bits
// (palettes of 16 and 256 colours), 24 bits RGB, 32 bits RGB with alpha.
// The defaults are the last values listed: no compression, 32 bits.
class CTiffEncoder : public CImageEncoder
{
    Q_DECLARE_TR_FUNCTIONS(CTiffEncoder)

public:
    static constexpr int kDefaultCompression = 6;
    static constexpr int kDefaultColorDepth = 32;

    QString MimeType() const override;
    QUuid Clsid() const override;
    std::vector<CEncoderParameterInfo> Parameters() const override;
    std::optional<QByteArray> Encode(const QImage& image, const CEncoderParameters& params,
                                     QString* error) const override;
};
