#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

// Phone photos in the HEIF family (HEIC from most phones, AVIF), which Qt's
// own readers do not know, decoded through libheif.
class CHeifDecoder
{
public:
    // The format's name for messages ("HEIC", "AVIF", "HEIF") when the
    // bytes are a file of the family, else empty.
    static QString FormatOf(const QByteArray& bytes);

    // The primary image as 8-bit RGB (RGBA with alpha), turned and mirrored
    // as the file says when applyOrientation. Null, with why set to the
    // decoder's reason, when it cannot be read or holds more than maxPixels.
    static std::unique_ptr<QImage> Decode(const QByteArray& bytes, bool applyOrientation, qint64 maxPixels,
                                          QString* why);
};
