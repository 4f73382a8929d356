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

qsizetype CompleteJpegLength(const QByteArray& bytes)
{
    static const QByteArray kStartOfScan("\xff\xda", 2);
    static const QByteArray kEndOfImage("\xff\xd9", 2);
    const qsizetype scan = bytes.lastIndexOf(kStartOfScan);
    if (scan < 0)
        return -1;
    const qsizetype end = bytes.indexOf(kEndOfImage, scan + 2);
    return end < 0 ? -1 : end + 2;
}

std::unique_ptr<QImage> DecodeImage(const QByteArray& bytes, bool applyOrientation, CDecodeReport* report)
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
    // Asked before reading: the reader forgets the format once it has read.
    const bool jpeg = reader.format() == "jpeg";
    const bool turned = applyOrientation && reader.transformation() != QImageIOHandler::TransformationNone;
    auto image = std::make_unique<QImage>();
    if (!reader.read(image.get()) || image->isNull())
        return nullptr;
    if (report && jpeg) {
        // Qt's decoder fills what a cut-short JPEG lacks with grey and calls
        // the read a success; only the missing end marker tells.
        const qsizetype complete = CompleteJpegLength(bytes);
        report->damaged = complete < 0;
        if (complete > 0 && !turned)
            report->jpeg = bytes.left(complete);
    }
    return image;
}

bool WriteImage(CArchiveWriter& ar, const QImage* image, int quality, const QByteArray& kept)
{
    if (!image || image->isNull()) {
        ar.WriteU32(0);
        return true;
    }
    const QByteArray jpeg = !kept.isEmpty() ? kept : EncodeJpeg(*image, quality);
    if (jpeg.isEmpty())
        return false;
    ar.WriteU32(static_cast<std::uint32_t>(jpeg.size()));
    ar.WriteBytes(jpeg.constData(), jpeg.size());
    return true;
}

bool ReadImage(CArchiveReader& ar, std::unique_ptr<QImage>& slot, QByteArray* kept, bool* damaged)
{
    const std::uint32_t count = ar.ReadU32();
    if (count == 0)
        return true;
    const QByteArray bytes = ar.ReadBytes(count);
    CDecodeReport report;
    slot = DecodeImage(bytes, false, &report);
    if (kept)
        *kept = slot ? report.jpeg : QByteArray();
    if (damaged && slot && report.damaged)
        *damaged = true;
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

std::optional<CStoredImage> LoadStoredImage(const QString& path, QString* error, bool* damaged)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, error);
    if (!bytes)
        return std::nullopt;
    CDecodeReport report;
    auto image = DecodeImage(*bytes, true, &report);
    if (!image) {
        if (error)
            *error = Messages::kNotAPicture.arg(path);
        return std::nullopt;
    }
    if (damaged)
        *damaged = report.damaged;
    if (!report.jpeg.isEmpty())
        return CStoredImage(std::move(*image), report.jpeg);
    // Encoded once here rather than at every save: the stored pixels then
    // never change again, however often the template is saved. The file's
    // own pixels are shown until it is reopened.
    return CStoredImage(std::move(*image), EncodeJpeg(*image, kTemplateImageQuality));
}
