#include "ImageCodec.h"

#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "Messages.h"
#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <mutex>

namespace {

void RaiseReaderAllocationLimit()
{
    // Qt's default allocation limit (128 MB) refuses ordinary 40-megapixel
    // photographs; our own pixel bound takes its place.
    static std::once_flag once;
    std::call_once(once, [] {
        QImageReader::setAllocationLimit(static_cast<int>(kMaxImagePixels * 4 / (1024 * 1024)) + 64);
    });
}

} // namespace

QByteArray EncodeJpeg(const QImage& image, int quality)
{
    // Found like any other encoder, so templates and exports write JPEG the
    // same way.
    QUuid clsid;
    if (image.isNull() || GetEncoderClsid(QStringLiteral("image/jpeg"), &clsid) < 0)
        return {};
    const CImageEncoder* encoder = FindEncoder(clsid);
    const auto bytes = encoder->Encode(image, {{EncoderGuid::kQuality, quality}}, nullptr);
    return bytes.value_or(QByteArray());
}

std::unique_ptr<QImage> DecodeImage(const QByteArray& bytes, bool applyOrientation)
{
    RaiseReaderAllocationLimit();
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(applyOrientation);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxImagePixels)
        return nullptr;
    auto image = std::make_unique<QImage>();
    if (!reader.read(image.get()) || image->isNull())
        return nullptr;
    return image;
}

bool WriteImage(CArchiveWriter& ar, const QImage* image, int quality)
{
    if (!image || image->isNull()) {
        ar.WriteU32(0);
        return true;
    }
    const QByteArray jpeg = EncodeJpeg(*image, quality);
    if (jpeg.isEmpty())
        return false;
    ar.WriteU32(static_cast<std::uint32_t>(jpeg.size()));
    ar.WriteBytes(jpeg.constData(), jpeg.size());
    return true;
}

bool ReadImage(CArchiveReader& ar, std::unique_ptr<QImage>& slot)
{
    const std::uint32_t count = ar.ReadU32();
    if (count == 0)
        return true;
    const QByteArray bytes = ar.ReadBytes(count);
    slot = DecodeImage(bytes, false);
    return slot != nullptr;
}

std::optional<QByteArray> ReadWholeFile(const QString& path, QString* error)
{
    auto fail = [&](const QString& message) -> std::optional<QByteArray> {
        if (error)
            *error = message.arg(path);
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(path))
            return fail(Messages::kNotFound);
        return fail(file.error() == QFileDevice::PermissionsError ? Messages::kAccessDenied
                                                                  : Messages::kReadError);
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(Messages::kReadError);
    return bytes;
}

std::unique_ptr<QImage> LoadImageFile(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, error);
    if (!bytes)
        return nullptr;
    auto image = DecodeImage(*bytes, true);
    if (!image && error)
        *error = Messages::kNotAPicture.arg(path);
    return image;
}
