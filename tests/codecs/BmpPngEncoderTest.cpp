#include "EncoderTestImages.h"
#include "codecs/BmpEncoder.h"
#include "codecs/PngEncoder.h"

#include <gtest/gtest.h>

using namespace EncoderTestImages;

namespace {

const Quadrants kColours{qRgb(255, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 255), qRgb(17, 34, 51)};

void ExpectExactQuadrants(const QImage& decoded, int w, int h)
{
    ASSERT_EQ(decoded.size(), QSize(w, h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            ASSERT_EQ(decoded.pixel(x, y) | 0xff000000u, QuadrantAt(x, y, w, h, kColours))
                << x << "," << y;
        }
    }
}

TEST(BmpEncoder, WritesExactColoursReadableByQt)
{
    const auto bytes = CBmpEncoder().Encode(QuadrantImage(33, 17, kColours), {}, nullptr);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->startsWith("BM"));
    ExpectExactQuadrants(QImage::fromData(*bytes, "BMP"), 33, 17);
}

TEST(BmpEncoder, TransparencyIsCompositedOnWhite)
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(1, 1, qRgba(0, 0, 255, 255));
    const auto bytes = CBmpEncoder().Encode(image, {}, nullptr);
    ASSERT_TRUE(bytes);
    const QImage decoded = QImage::fromData(*bytes, "BMP");
    EXPECT_EQ(decoded.pixel(0, 0) | 0xff000000u, qRgb(255, 255, 255));
    EXPECT_EQ(decoded.pixel(1, 1) | 0xff000000u, qRgb(0, 0, 255));
}

TEST(PngEncoder, WritesExactColoursAndKeepsAlpha)
{
    const auto bytes = CPngEncoder().Encode(QuadrantImage(33, 17, kColours), {}, nullptr);
    ASSERT_TRUE(bytes);
    ExpectExactQuadrants(QImage::fromData(*bytes, "PNG"), 33, 17);

    QImage translucent(2, 1, QImage::Format_ARGB32);
    translucent.fill(QColor(10, 20, 30, 0x80));
    const auto alphaBytes = CPngEncoder().Encode(translucent, {}, nullptr);
    ASSERT_TRUE(alphaBytes);
    const QImage decoded =
        QImage::fromData(*alphaBytes, "PNG").convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(decoded.pixel(0, 0), qRgba(10, 20, 30, 0x80));
}

} // namespace
