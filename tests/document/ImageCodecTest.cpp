#include "TimeBudget.h"
#include "TestImages.h"
#include "document/ArchiveReader.h"
#include "document/ArchiveWriter.h"
#include "document/ImageCodec.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Blob(const QImage* image)
{
    CArchiveWriter ar;
    EXPECT_TRUE(WriteImage(ar, image, 100));
    return ar.Data();
}

TEST(ImageBlob, NoImageIsFourZeroBytesAndReadsAsNothing)
{
    EXPECT_EQ(Blob(nullptr), QByteArray(4, '\0'));
    const QImage empty;
    EXPECT_EQ(Blob(&empty), QByteArray(4, '\0'));
    CArchiveReader ar(QByteArray(4, '\0'));
    auto slot = std::make_unique<QImage>(QuadrantImage(2, 2));
    EXPECT_TRUE(ReadImage(ar, slot));
    EXPECT_NE(slot, nullptr); // a count of 0 leaves the slot as it was
}

TEST(ImageBlob, RoundTripKeepsSizeAndColoursWithinJpegLoss)
{
    const QImage original = QuadrantImage(64, 32);
    const QByteArray blob = Blob(&original);
    EXPECT_EQ(blob.mid(4, 2), QByteArray("\xFF\xD8", 2)); // a JPEG file
    CArchiveReader ar(blob);
    std::unique_ptr<QImage> slot;
    ASSERT_TRUE(ReadImage(ar, slot));
    ASSERT_TRUE(slot);
    EXPECT_EQ(slot->size(), QSize(64, 32));
    EXPECT_EQ(ar.Remaining(), 0);
    for (QPoint p : {QPoint(5, 5), QPoint(60, 5), QPoint(5, 28), QPoint(60, 28)}) {
        const QColor a = original.pixelColor(p), b = slot->pixelColor(p);
        EXPECT_NEAR(a.red(), b.red(), 6);
        EXPECT_NEAR(a.green(), b.green(), 6);
        EXPECT_NEAR(a.blue(), b.blue(), 6);
    }
}

TEST(ImageBlob, TransparentPixelsBecomeWhite)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QByteArray blob = Blob(&image);
    CArchiveReader ar(blob);
    std::unique_ptr<QImage> slot;
    ASSERT_TRUE(ReadImage(ar, slot));
    EXPECT_GE(QColor(slot->pixel(8, 8)).lightness(), 250);
}

TEST(ImageBlob, GarbageReadsAsNoImageAndSkipsTheBlob)
{
    CArchiveWriter w;
    w.WriteU32(5);
    w.WriteBytes("hello", 5);
    w.WriteU32(42);
    CArchiveReader ar(w.Data());
    auto slot = std::make_unique<QImage>(QuadrantImage(2, 2));
    EXPECT_FALSE(ReadImage(ar, slot));
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(ar.ReadU32(), 42u);
}

// A JPEG whose frame header claims 16000 x 16000 pixels: refused from the
// header alone, without allocating a gigabyte or decoding for long.
TEST(ImageDecode, AbsurdSizeReadsAsNoImage)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QuadrantImage(16, 16).save(&buffer, "JPEG"));
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    for (int i : {5, 7}) { // height, then width, big-endian
        jpeg[sof + i] = char(0x3E);
        jpeg[sof + i + 1] = char(0x80);
    }
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(DecodeImage(jpeg, false), nullptr);
    EXPECT_LT(timer.elapsed(), 2000 * kTimeBudgetFactor);
}

// A minimal EXIF block saying "rotate 90° clockwise to view".
QByteArray WithOrientation6(const QByteArray& jpeg)
{
    const char app1[] = "\xFF\xE1\x00\x22"
                        "Exif\x00\x00"
                        "II\x2A\x00\x08\x00\x00\x00"
                        "\x01\x00"
                        "\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00"
                        "\x00\x00\x00\x00";
    return jpeg.left(2) + QByteArray(app1, sizeof app1 - 1) + jpeg.mid(2);
}

TEST(ImageDecode, FilesComeOutUprightBlobsAsStored)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QuadrantImage(40, 20).save(&buffer, "JPEG", 95));
    const QByteArray tagged = WithOrientation6(jpeg);

    QTemporaryDir dir;
    const QString path = dir.filePath("phone.jpg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(tagged);
    f.close();

    QString error;
    const auto upright = LoadImageFile(path, &error);
    ASSERT_TRUE(upright) << error.toStdString();
    EXPECT_EQ(upright->size(), QSize(20, 40));
    // Turned clockwise: the red top-left quadrant is now at the top right.
    EXPECT_GT(QColor(upright->pixel(15, 5)).red(), 200);
    EXPECT_LT(QColor(upright->pixel(15, 5)).green(), 60);

    const auto stored = DecodeImage(tagged, false);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), QSize(40, 20));
}

} // namespace
