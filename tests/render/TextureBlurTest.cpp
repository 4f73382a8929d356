#include "render/TextureBlur.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <cstdint>

namespace {

QImage Noise(int w, int h, std::uint32_t seed, bool alpha)
{
    QImage image(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    std::uint32_t s = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1664525u + 1013904223u;
            image.setPixel(x, y, qRgba(int(s >> 24), int(s >> 16 & 0xFF), int(s >> 8 & 0xFF),
                                       alpha ? int(s & 0xFF) : 255));
        }
    return image;
}

// The definition: the premultiplied mean over the side x side texels
// centred on each texel (one more before than after for an even side), read
// round the edges, each way capped at the texture's size.
QRgb Mean(const QImage& premultiplied, int x, int y, int side)
{
    const int w = premultiplied.width(), h = premultiplied.height();
    const int sx = std::min(side, w), sy = std::min(side, h);
    double sum[4] = {0, 0, 0, 0};
    for (int j = 0; j < sy; ++j)
        for (int i = 0; i < sx; ++i) {
            const QRgb p = premultiplied.pixel(((x - sx / 2 + i) % w + w) % w, ((y - sy / 2 + j) % h + h) % h);
            sum[0] += qRed(p), sum[1] += qGreen(p), sum[2] += qBlue(p), sum[3] += qAlpha(p);
        }
    const double n = double(sx) * sy;
    return qRgba(int(std::lround(sum[0] / n)), int(std::lround(sum[1] / n)), int(std::lround(sum[2] / n)),
                 int(std::lround(sum[3] / n)));
}

} // namespace

TEST(TextureBlur, EveryTexelIsTheMeanOfItsWrappedNeighbourhood)
{
    for (const bool alpha : {false, true})
        for (const int side : {2, 3, 4, 7, 40}) {
            const QImage texture = Noise(13, 9, 5u + unsigned(side), alpha);
            const QImage blurred = BlurRepeatingTexture(texture, side);
            ASSERT_EQ(blurred.size(), texture.size());
            EXPECT_EQ(blurred.hasAlphaChannel(), alpha);
            const QImage premultiplied = texture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            const QImage got = blurred.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            int worst = 0;
            for (int y = 0; y < texture.height(); ++y)
                for (int x = 0; x < texture.width(); ++x) {
                    const QRgb a = got.pixel(x, y), b = Mean(premultiplied, x, y, side);
                    // Two passes, each rounding once.
                    for (const int d : {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b),
                                        qAlpha(a) - qAlpha(b)})
                        worst = std::max(worst, std::abs(d));
                }
            EXPECT_LE(worst, 1) << "side " << side << (alpha ? " with alpha" : "");
        }
}

TEST(TextureBlur, TheBlurStillTilesAndASideOfOneChangesNothing)
{
    // Two periods side by side blur into two periods of the blurred texture:
    // no seam where the texture repeats.
    const QImage texture = Noise(11, 7, 3, false);
    QImage twice(22, 14, QImage::Format_RGB32);
    {
        QPainter painter(&twice);
        for (const QPoint at : {QPoint(0, 0), QPoint(11, 0), QPoint(0, 7), QPoint(11, 7)})
            painter.drawImage(at, texture);
    }
    const QImage blurred = BlurRepeatingTexture(texture, 5);
    const QImage blurredTwice = BlurRepeatingTexture(twice, 5);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 22; ++x)
            ASSERT_EQ(blurredTwice.pixel(x, y), blurred.pixel(x % 11, y % 7)) << x << "," << y;
    EXPECT_EQ(BlurRepeatingTexture(texture, 1), texture);
    EXPECT_TRUE(BlurRepeatingTexture(QImage(), 4).isNull());
}
