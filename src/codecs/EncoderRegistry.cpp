#include "EncoderRegistry.h"

#include "BmpEncoder.h"
#include "GifEncoder.h"
#include "JpegEncoder.h"
#include "PngEncoder.h"
#include "TiffEncoder.h"

const std::vector<const CImageEncoder*>& InstalledEncoders()
{
    static const CBmpEncoder bmp;
    static const CJpegEncoder jpeg;
    static const CGifEncoder gif;
    static const CTiffEncoder tiff;
    static const CPngEncoder png;
    static const std::vector<const CImageEncoder*> encoders{&bmp, &jpeg, &gif, &tiff, &png};
    return encoders;
}

int GetEncoderClsid(const QString& mimeType, QUuid* clsid)
{
    const auto& encoders = InstalledEncoders();
    for (std::size_t i = 0; i < encoders.size(); ++i) {
        if (encoders[i]->MimeType() == mimeType) {
            if (clsid)
                *clsid = encoders[i]->Clsid();
            return static_cast<int>(i);
        }
    }
    return -1;
}

const CImageEncoder* FindEncoder(const QUuid& clsid)
{
    for (const CImageEncoder* encoder : InstalledEncoders()) {
        if (encoder->Clsid() == clsid)
            return encoder;
    }
    return nullptr;
}
