#include "ImageCodec.h"

#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "HeifDecoder.h"
#include "Messages.h"
#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cstring>
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
    // Every marker starts with 0xFF: hopping from one 0xFF to the next with
    // the C library's block search is many times quicker over the megabytes
    // of a large photograph than a search for the byte pair.
    constexpr unsigned char kMarker = 0xFF, kStartOfScan = 0xDA, kEndOfImage = 0xD9;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype scan = -1;
    for (qsizetype before = size - 1; before > 0 && scan < 0;) {
        const auto* at = static_cast<const unsigned char*>(memrchr(data, kMarker, std::size_t(before)));
        if (!at)
            return -1;
        before = at - data;
        if (data[before + 1] == kStartOfScan)
            scan = before;
    }
    if (scan < 0)
        return -1;
    for (qsizetype from = scan + 2; from < size - 1;) {
        const auto* at =
            static_cast<const unsigned char*>(std::memchr(data + from, kMarker, std::size_t(size - 1 - from)));
        if (!at)
            return -1;
        from = at - data;
        if (data[from + 1] == kEndOfImage)
            return from + 2;
        ++from;
    }
    return -1;
}

QSize FitWithin(const QSize& size, int side)
{
    const int longer = std::max(size.width(), size.height());
    if (side <= 0 || longer <= side)
        return size;
    const double factor = double(side) / longer;
    return QSize(std::max(1, qRound(size.width() * factor)), std::max(1, qRound(size.height() * factor)));
}

std::unique_ptr<QImage> DecodeImage(const QByteArray& bytes, bool applyOrientation, CDecodeReport* report,
                                    int fitWithin)
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
    if (report)
        report->storedSize = size;
    // The JPEG reader picks the largest of its cheap reductions (1/2, 1/4,
    // 1/8) that still covers the size asked for, and smooths the rest.
    const QSize fitted = size.isValid() ? FitWithin(size, fitWithin) : size;
    if (fitted != size)
        reader.setScaledSize(fitted);
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
        if (complete > 0 && !turned && fitted == size)
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

QByteArray ReadImageBlob(CArchiveReader& ar)
{
    const std::uint32_t count = ar.ReadU32();
    return count == 0 ? QByteArray() : ar.ReadBytes(count);
}

bool ReadImage(CArchiveReader& ar, std::unique_ptr<QImage>& slot, QByteArray* kept, bool* damaged, int fitWithin,
               QSize* storedSize)
{
    const QByteArray bytes = ReadImageBlob(ar);
    if (bytes.isEmpty())
        return true;
    CDecodeReport report;
    slot = DecodeImage(bytes, false, &report, fitWithin);
    if (kept)
        *kept = slot ? report.jpeg : QByteArray();
    if (damaged && slot && report.damaged)
        *damaged = true;
    if (storedSize && slot)
        *storedSize = report.storedSize.isValid() ? report.storedSize : slot->size();
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

std::unique_ptr<QImage> DecodePickedImage(const QByteArray& bytes, const QString& path, QString* error,
                                          CDecodeReport* report)
{
    if (auto image = DecodeImage(bytes, true, report))
        return image;
    const QString format = CHeifDecoder::FormatOf(bytes);
    if (format.isEmpty()) {
        if (error)
            *error = Messages::kNotAPicture.arg(path);
        return nullptr;
    }
    QString why;
    auto image = CHeifDecoder::Decode(bytes, true, kMaxImagePixels, &why);
    if (!image && error)
        *error = Messages::kFormatUnreadable.arg(path, format, why);
    if (image && report)
        report->storedSize = image->size();
    return image;
}

std::unique_ptr<QImage> LoadImageFile(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, error);
    if (!bytes)
        return nullptr;
    return DecodePickedImage(*bytes, path, error);
}

std::optional<CStoredImage> LoadStoredImage(const QString& path, QString* error, bool* damaged)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, error);
    if (!bytes)
        return std::nullopt;
    CDecodeReport report;
    auto image = DecodePickedImage(*bytes, path, error, &report);
    if (!image)
        return std::nullopt;
    if (damaged)
        *damaged = report.damaged;
    if (!report.jpeg.isEmpty())
        return CStoredImage(std::move(*image), report.jpeg);
    // Encoded once here rather than at every save: the stored pixels then
    // never change again, however often the template is saved. The file's
    // own pixels are shown until it is reopened.
    return CStoredImage(std::move(*image), EncodeJpeg(*image, kTemplateImageQuality));
}
