#include "EncoderTestImages.h"
#include "codecs/ColourQuantiser.h"

#include <gtest/gtest.h>

using namespace EncoderTestImages;

namespace {

QImage Gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), 255 - x * 255 / (w - 1)));
    }
    return image;
}

TEST(ColourQuantiser, KeepsExactColoursUpToTheLimit)
{
    // Exactly 16 colours at a 16-colour limit: nothing may change.
    QImage image(16, 3, QImage::Format_RGB32);
    for (int x = 0; x < 16; ++x) {
        for (int y = 0; y < 3; ++y)
            image.setPixel(x, y, qRgb(x * 16, 255 - x * 3, (x * 37) % 256));
    }
    const QImage q = CColourQuantiser::Quantise(image, 16);
    ASSERT_EQ(q.format(), QImage::Format_Indexed8);
    EXPECT_EQ(q.colorCount(), 16);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(q.pixel(x, y), image.pixel(x, y));
    }
}

TEST(ColourQuantiser, ReducesGradientsWithinTheLimitAndKeepsLocalAverages)
{
    const QImage source = Gradient(128, 64);
    for (int limit : {16, 256}) {
        SCOPED_TRACE(limit);
        const QImage q = CColourQuantiser::Quantise(source, limit);
        ASSERT_EQ(q.size(), source.size());
        EXPECT_LE(q.colorCount(), limit);
        EXPECT_GT(q.colorCount(), limit / 2);  // the palette is actually used
        // Away from the edges diffusion reproduces each 16 x 16 block's
        // average; at the edges the palette (means of colour boxes) cannot
        // reach the most extreme colours, which matters only for tiny palettes.
        double worstInside = 0, worstEdge = 0;
        for (int by = 0; by < 64; by += 16) {
            for (int bx = 0; bx < 128; bx += 16) {
                double diff[3] = {};
                for (int y = by; y < by + 16; ++y) {
                    for (int x = bx; x < bx + 16; ++x) {
                        const QRgb s = source.pixel(x, y), g = q.pixel(x, y);
                        diff[0] += qRed(g) - qRed(s);
                        diff[1] += qGreen(g) - qGreen(s);
                        diff[2] += qBlue(g) - qBlue(s);
                    }
                }
                const bool inside = bx > 0 && bx < 112 && by > 0 && by < 48;
                double& worst = inside ? worstInside : worstEdge;
                for (double d : diff)
                    worst = std::max(worst, std::abs(d) / 256.0);
            }
        }
        EXPECT_LT(worstInside, 2.0);
        EXPECT_LT(worstEdge, limit == 16 ? 20.0 : 2.0);
    }
}

TEST(ColourQuantiser, BlackAndWhiteUsesIndexOneForBlack)
{
    const Quadrants colours{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 255, 255)};
    const QImage bw = CColourQuantiser::DitherToBlackAndWhite(QuadrantImage(8, 4, colours));
    ASSERT_EQ(bw.colorCount(), 2);
    EXPECT_EQ(bw.color(1), qRgb(0, 0, 0));
    EXPECT_EQ(bw.pixelIndex(0, 0), 1);
    EXPECT_EQ(bw.pixelIndex(7, 3), 0);
}

} // namespace
