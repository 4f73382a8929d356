#pragma once

#include <QByteArray>
#include <QImage>

// An image as a template keeps it: the pixels and, for as long as they are
// the pixels that were read or chosen, the JPEG file they came as. Writing
// the kept bytes back instead of encoding again is what keeps a template
// from losing a little more of every image with every save. Without bytes
// the image is encoded when written.
class CStoredImage
{
public:
    CStoredImage() = default;
    // jpeg must be one complete JPEG file of image (at most the loss of one
    // encoding apart).
    // Pixels alone convert: they are encoded when written.
    CStoredImage(QImage image, QByteArray jpeg = {}) : m_image(std::move(image)), m_jpeg(std::move(jpeg))
    {
    }

    const QImage& Image() const { return m_image; }
    const QByteArray& Jpeg() const { return m_jpeg; }
    bool IsNull() const { return m_image.isNull(); }

private:
    QImage m_image;
    QByteArray m_jpeg;
};
