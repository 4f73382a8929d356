#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"
#include "export/ExportRun.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QImage Gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 255 - (x + y) % 256));
    return image;
}

class ExportRunTest : public ::testing::Test
{
protected:
    CExportRequest Request(const QString& mime, int w, int h, const QString& name)
    {
        CExportRequest r;
        r.width = w;
        r.height = h;
        r.fileName = name;
        r.exportFolder = dir.path();
        EXPECT_GE(GetEncoderClsid(mime, &r.encoder), 0) << mime.toStdString();
        return r;
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    QImage picture = Gradient(64, 48);
    std::vector<CArea> areas;
};

TEST_F(ExportRunTest, BareNameGoesIntoTheExportFolderAtTheChosenSize)
{
    QString error;
    ASSERT_TRUE(ExportRun(picture, areas, Request("image/png", 32, 24, "result.png"), &error))
        << error.toStdString();
    QImageReader reader(QDir(dir.path()).filePath("result.png"));
    EXPECT_EQ(reader.size(), QSize(32, 24));
    EXPECT_EQ(Files(), QStringList{"result.png"});

    // A name with a folder is taken as it is.
    QDir(dir.path()).mkdir("sub");
    const QString inSub = QDir(dir.path()).filePath("sub/other.bmp");
    ASSERT_TRUE(ExportRun(picture, areas, Request("image/bmp", 64, 48, inSub), &error));
    EXPECT_TRUE(QFile::exists(inSub));
}

TEST_F(ExportRunTest, OutputKeepsFiveSixFivePrecisionEvenWhenScaled)
{
    QString error;
    for (const QSize size : {QSize(64, 48), QSize(50, 31)}) {
        const QString name = QStringLiteral("p%1.png").arg(size.width());
        ASSERT_TRUE(ExportRun(picture, areas, Request("image/png", size.width(), size.height(), name), &error));
        const QImage out(QDir(dir.path()).filePath(name));
        ASSERT_EQ(out.size(), size);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const QRgb p = out.pixel(x, y);
                // Expanded 5- and 6-bit levels repeat their top bits below.
                EXPECT_EQ(qRed(p) & 7, qRed(p) >> 5) << x << "," << y;
                EXPECT_EQ(qGreen(p) & 3, qGreen(p) >> 6) << x << "," << y;
                EXPECT_EQ(qBlue(p) & 7, qBlue(p) >> 5) << x << "," << y;
            }
    }
}

TEST_F(ExportRunTest, FailuresNameTheFileAndLeaveNothing)
{
    QString error;
    EXPECT_FALSE(ExportRun(picture, areas, Request("image/png", 0, 10, "zero.png"), &error));
    EXPECT_TRUE(error.contains("zero.png"));

    EXPECT_FALSE(ExportRun(QImage(), areas, Request("image/png", 10, 10, "none.png"), &error));
    EXPECT_TRUE(error.contains("none.png"));

    CExportRequest bad = Request("image/png", 10, 10, "x.png");
    bad.encoder = QUuid();
    EXPECT_FALSE(ExportRun(picture, areas, bad, &error));

    const QString missing = QDir(dir.path()).filePath("no/such/folder/out.png");
    EXPECT_FALSE(ExportRun(picture, areas, Request("image/png", 10, 10, missing), &error));
    EXPECT_TRUE(error.contains("out.png"));

    // An option the format cannot honour is the encoder's refusal.
    CExportRequest ccitt = Request("image/tiff", 10, 10, "fax.tiff");
    ccitt.parameters = {{EncoderGuid::kCompression, kCompressionCcitt4}, {EncoderGuid::kColorDepth, 24}};
    EXPECT_FALSE(ExportRun(picture, areas, ccitt, &error));
    EXPECT_TRUE(error.contains("fax.tiff"));

    EXPECT_TRUE(Files().isEmpty()) << Files().join(",").toStdString();
}

TEST_F(ExportRunTest, ReportsProgressAndCanBeCancelled)
{
    areas.resize(4);
    QString error;
    std::vector<int> seen;
    ASSERT_TRUE(ExportRun(picture, areas, Request("image/jpeg", 64, 48, "a.jpg"), &error,
                          [&](int percent, const QString&) {
                              seen.push_back(percent);
                              return true;
                          }));
    ASSERT_GE(seen.size(), 6u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);

    for (int stopAt : {0, 25, 60, 95}) {
        const QString name = QStringLiteral("c%1.jpg").arg(stopAt);
        EXPECT_FALSE(ExportRun(picture, areas, Request("image/jpeg", 64, 48, name), &error,
                               [&](int percent, const QString&) { return percent < stopAt; }));
        EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(name))) << stopAt;
    }
}

} // namespace
