#pragma once

#include "StoredImage.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
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

// What decoding learned besides the pixels.
struct CDecodeReport
{
    // The data ends before the image does, or the decoder found it corrupt:
    // the pixels are only partly the picture's.
    bool damaged = false;
    // The bytes as one complete JPEG file (anything after its end marker
    // cut off) when they are one and decode to the pixels as returned;
    // empty otherwise.
    QByteArray jpeg;
    // The image's size as stored, before any shrinking.
    QSize storedSize;
};

// size shrunk, aspect kept, to fit within side x side pixels, each side
// rounded and at least 1; unchanged when it fits already or side is not
// positive.
QSize FitWithin(const QSize& size, int side);

// Decodes any format the image plugins know, detected from the bytes.
// applyOrientation turns camera pictures upright by their orientation tag.
// Null when the bytes are no image or the image is too large. fitWithin,
// when positive, shrinks the image as FitWithin does while decoding: a JPEG
// decoder then leaves out most of the work, so a quick look at a large
// picture costs a fraction of decoding it whole.
std::unique_ptr<QImage> DecodeImage(const QByteArray& bytes, bool applyOrientation,
                                    CDecodeReport* report = nullptr, int fitWithin = 0);

// The length of bytes up to and including the end marker that closes the
// last scan of a JPEG file, or -1 when there is none (the file was cut
// short). Entropy-coded data never holds a marker, so the last scan's start
// is the last start-of-scan marker in the data.
qsizetype CompleteJpegLength(const QByteArray& bytes);

// Appends one image blob: a u32 byte count, then a JPEG file (count 0 and
// nothing else for no image): kept as it is when given, else the image
// encoded. Returns false, having written nothing, when the image cannot be
// encoded, so the caller can abandon the file.
bool WriteImage(CArchiveWriter& ar, const QImage* image, int quality, const QByteArray& kept = {});

// Reads one image blob's bytes, undecoded: empty for a count of 0. A count
// larger than the rest of the file raises the archive's end-of-file error.
QByteArray ReadImageBlob(CArchiveReader& ar);

// Reads one image blob into slot. A count of 0 leaves slot as it is; bytes
// that do not decode leave it empty and return false. A count larger than
// the rest of the file raises the archive's end-of-file error. kept, when
// given, receives the blob's JPEG file to write back while the pixels stay
// as read (empty when the blob holds no complete JPEG). fitWithin shrinks
// the image while decoding, as DecodeImage does; storedSize, when given,
// receives the size the image is stored at, whatever it was decoded at.
bool ReadImage(CArchiveReader& ar, std::unique_ptr<QImage>& slot, QByteArray* kept = nullptr,
               bool* damaged = nullptr, int fitWithin = 0, QSize* storedSize = nullptr);

// Reads a file whole. On failure returns nothing and, when error is given,
// the message to show the user, naming the file.
std::optional<QByteArray> ReadWholeFile(const QString& path, QString* error);

// Reads a picture or texture file whole and decodes it, upright. On failure
// returns null and, when error is given, the message to show the user.
std::unique_ptr<QImage> LoadImageFile(const QString& path, QString* error);

// The bytes of a picture file the user picked (a photo, a texture), oriented
// as the file says: every format Qt reads and the HEIF family of phones
// (HEIC, AVIF). On failure error (when given) names path and, for a format
// known by name that cannot be decoded here, the format and why.
std::unique_ptr<QImage> DecodePickedImage(const QByteArray& bytes, const QString& path, QString* error,
                                          CDecodeReport* report = nullptr);

// A picture or texture chosen from a file, as the template will keep it: a
// complete upright JPEG file keeps its own bytes; anything else is encoded
// once at template quality, and every later save writes that encoding. damaged, when given,
// tells whether the file was only partly readable. Null on failure, as
// LoadImageFile.
std::optional<CStoredImage> LoadStoredImage(const QString& path, QString* error, bool* damaged = nullptr);
