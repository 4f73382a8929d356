#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>
#include <optional>

class CArchiveReader;
class CArchiveWriter;

// Pictures larger than this are refused instead of allocated: a damaged or
// hostile header could otherwise claim gigabytes.
inline constexpr qint64 kMaxImagePixels = 200'000'000;

// Every image inside a template is stored at full JPEG quality.
inline constexpr int kTemplateImageQuality = 100;

// The image as a baseline JPEG file; transparent pixels become white. Empty
// when the encoder refused.
QByteArray EncodeJpeg(const QImage& image, int quality);

// Decodes any format the image plugins know, detected from the bytes.
// applyOrientation turns camera pictures upright by their orientation tag.
// Null when the bytes are no image or the image is too large.
std::unique_ptr<QImage> DecodeImage(const QByteArray& bytes, bool applyOrientation);

// Appends one image blob: a u32 byte count, then a JPEG file (count 0 and
// nothing else for no image). Returns false, having written nothing, when
// the image cannot be encoded, so the caller can abandon the file.
bool WriteImage(CArchiveWriter& ar, const QImage* image, int quality);

// Reads one image blob into slot. A count of 0 leaves slot as it is; bytes
// that do not decode leave it empty and return false. A count larger than
// the rest of the file raises the archive's end-of-file error.
bool ReadImage(CArchiveReader& ar, std::unique_ptr<QImage>& slot);

// Reads a file whole. On failure returns nothing and, when error is given,
// the message to show the user, naming the file.
std::optional<QByteArray> ReadWholeFile(const QString& path, QString* error);

// Reads a picture or texture file whole and decodes it, upright. On failure
// returns null and, when error is given, the message to show the user.
std::unique_ptr<QImage> LoadImageFile(const QString& path, QString* error);
