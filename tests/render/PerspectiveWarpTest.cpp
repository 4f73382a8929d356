#include "render/PerspectiveWarp.h"
#include "render/WarpToQuad.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

// The suite's name puts it under the thread sanitizer's filter (WarpToQuad*).
namespace
{

// Deterministic noise, no channel below 40: a pixel left unpainted or
// painted black stands out.
QImage Noise(int w, int h, std::uint32_t seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::uint32_t s = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1664525u + 1013904223u;
            image.setPixel(x, y, qRgb(40 + int(s >> 24) % 216, 40 + int(s >> 16 & 0xFF) % 216, 40 + int(s >> 8 & 0xFF) % 216));
        }
    return image;
}

QImage Checkerboard(int size, int check)
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.setPixel(x, y, (x / check + y / check) % 2 ? qRgb(240, 240, 240) : qRgb(40, 40, 40));
    return image;
}

// The plain definition, independent of the warp's mip chain and fixed
// point: each pixel the mean of sx * sy point samples spread evenly over it,
// each mapped in double precision and read from the wrapped texture.
std::vector<double> Reference(const QImage& texture, const CHomography& h, const QRect& rect, int sx, int sy)
{
    std::vector<double> out(std::size_t(rect.width()) * std::size_t(rect.height()) * 3);
    const auto& m = h.Matrix();
    const int tw = texture.width(), th = texture.height();
    for (int y = 0; y < rect.height(); ++y)
        for (int x = 0; x < rect.width(); ++x) {
            double sum[3] = {0, 0, 0};
            for (int j = 0; j < sy; ++j)
                for (int i = 0; i < sx; ++i) {
                    const double px = rect.x() + x + (i + 0.5) / sx, py = rect.y() + y + (j + 0.5) / sy;
                    const double w = m[6] * px + m[7] * py + m[8];
                    const double u = (m[0] * px + m[1] * py + m[2]) / w, v = (m[3] * px + m[4] * py + m[5]) / w;
                    const long ti = long(std::floor(u)) % tw, tj = long(std::floor(v)) % th;
                    const QRgb c = texture.pixel(int(ti < 0 ? ti + tw : ti), int(tj < 0 ? tj + th : tj));
                    sum[0] += qRed(c);
                    sum[1] += qGreen(c);
                    sum[2] += qBlue(c);
                }
            for (int c = 0; c < 3; ++c)
                out[(std::size_t(y) * std::size_t(rect.width()) + std::size_t(x)) * 3 + std::size_t(c)] = sum[c] / (sx * sy);
        }
    return out;
}

double Channel(const QImage& image, int x, int y, int c)
{
    const QRgb p = image.pixel(x, y);
    return c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p);
}

double MaxError(const QImage& image, const std::vector<double>& ref)
{
    double worst = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::fabs(Channel(image, x, y, c)
                                                  - ref[(std::size_t(y) * std::size_t(image.width()) + std::size_t(x)) * 3 + std::size_t(c)]));
    return worst;
}

struct RowStats
{
    double meanError = 0; // mean absolute difference from the reference
    double spread = 0;    // standard deviation of the warp's green channel
    double refSpread = 0; // the same of the reference
};

// Rows [first, last) of a warp beside its reference.
RowStats Compare(const QImage& image, const std::vector<double>& ref, int first, int last)
{
    double error = 0, s = 0, s2 = 0, r = 0, r2 = 0;
    int n = 0;
    for (int y = first; y < last; ++y)
        for (int x = 0; x < image.width(); ++x, ++n) {
            const std::size_t at = (std::size_t(y) * std::size_t(image.width()) + std::size_t(x)) * 3;
            for (int c = 0; c < 3; ++c)
                error += std::fabs(Channel(image, x, y, c) - ref[at + std::size_t(c)]) / 3;
            const double g = Channel(image, x, y, 1), rg = ref[at + 1];
            s += g, s2 += g * g, r += rg, r2 += rg * rg;
        }
    const auto deviation = [n](double a, double a2) { return std::sqrt(std::max(0.0, a2 / n - (a / n) * (a / n))); };
    return {error / n, deviation(s, s2), deviation(r, r2)};
}

QRgb Mean(const QImage& texture)
{
    std::uint64_t sum[3] = {0, 0, 0};
    for (int y = 0; y < texture.height(); ++y)
        for (int x = 0; x < texture.width(); ++x) {
            const QRgb c = texture.pixel(x, y);
            sum[0] += qRed(c), sum[1] += qGreen(c), sum[2] += qBlue(c);
        }
    const std::uint64_t n = std::uint64_t(texture.width()) * texture.height();
    return qRgb(int((sum[0] + n / 2) / n), int((sum[1] + n / 2) / n), int((sum[2] + n / 2) / n));
}

// A floor seen from above its near edge: picture block 160 x 120 showing
// texels 480 wide along its top (far) row and 80 along its bottom, 480 deep.
CHomography Floor()
{
    return *CHomography::FromQuads({QPointF(0, 0), QPointF(160, 0), QPointF(0, 120), QPointF(160, 120)},
                                   {QPointF(-200, 0), QPointF(280, 0), QPointF(0, 480), QPointF(80, 480)});
}

} // namespace

// Maps that hit texel centres copy texels, wrapped, wherever the block lies;
// an exact halving shows each 2 x 2 block's mean.
TEST(WarpToQuadPerspective, AffineMapsMatchTheReference)
{
    const QImage texture = Noise(32, 24, 7);
    // Identity, and a quarter turn with a shift, far from the origin.
    const QRect rect(-1037, 5000, 90, 70);
    for (const CHomography& h : {CHomography(), CHomography::Affine(0, 1, -1, 0, 13, -7)}) {
        const QImage warp = WarpPerspective(texture, h, rect);
        ASSERT_EQ(warp.size(), rect.size());
        EXPECT_EQ(MaxError(warp, Reference(texture, h, rect, 4, 4)), 0.0);
    }
    const CHomography half = CHomography::Affine(2, 0, 0, 2, 64, 0);
    const QImage warp = WarpPerspective(texture, half, rect);
    EXPECT_LE(MaxError(warp, Reference(texture, half, rect, 16, 16)), 1.0);
}

// The far rows of a floor squeeze a fine pattern many texels into a pixel:
// they must show its mean (the reference's small spread), not a moiré of
// its texels, while the near rows keep its detail.
TEST(WarpToQuadPerspective, FloorMatchesSupersampledReference)
{
    const CHomography h = Floor();
    const QRect rect(0, 0, 160, 120);
    for (const QImage& texture : {Checkerboard(64, 2), Noise(64, 64, 3)}) {
        const QImage warp = WarpPerspective(texture, h, rect);
        ASSERT_FALSE(warp.isNull());
        const std::vector<double> ref = Reference(texture, h, rect, 16, 48);
        const RowStats all = Compare(warp, ref, 0, 120);
        const RowStats far = Compare(warp, ref, 0, 20);
        const RowStats near = Compare(warp, ref, 100, 120);
        SCOPED_TRACE(testing::Message() << "error " << all.meanError << " far " << far.meanError << " spread "
                                        << far.spread << " vs " << far.refSpread << ", near " << near.spread
                                        << " vs " << near.refSpread);
        EXPECT_LT(all.meanError, 9.0);
        EXPECT_LT(far.meanError, 6.0);
        EXPECT_LT(far.spread, far.refSpread + 6.0);
        EXPECT_GT(near.spread, 0.6 * near.refSpread);
    }
}

// Corners thousands of pixels outside the block, and a block across the
// horizon: every pixel painted from the texture's colours, and the far side
// of the horizon the exact mean.
TEST(WarpToQuadPerspective, FarCornersAndHorizon)
{
    const QImage texture = Noise(50, 30, 11);
    const QRgb mean = Mean(texture);
    const auto canvasToPicture = CHomography::FromRect(
        QRectF(0, 0, 1000, 750), {QPointF(-3000, -2000), QPointF(5000, -2500), QPointF(-4000, 6000), QPointF(7000, 5200)});
    ASSERT_TRUE(canvasToPicture);
    // The horizon is the line w = 0: y = 50 in this block.
    const CHomography horizon(std::array<double, 9>{1, 0.3, 0, 0, 1, 0, 0.0001, -0.01, 0.5});
    for (const bool crossesHorizon : {false, true}) {
        const CHomography h = crossesHorizon ? horizon : *canvasToPicture->Inverted();
        const QRect rect(-20, 0, 200, 100);
        const QImage warp = WarpPerspective(texture, h, rect);
        ASSERT_EQ(warp.size(), rect.size());
        int beyond = 0;
        for (int y = 0; y < warp.height(); ++y)
            for (int x = 0; x < warp.width(); ++x) {
                const QRgb p = warp.pixel(x, y);
                ASSERT_TRUE(qRed(p) >= 40 && qGreen(p) >= 40 && qBlue(p) >= 40) << x << ", " << y;
                if (h.Weight(QPointF(rect.x() + x + 0.5, y + 0.5)) <= 0) {
                    ++beyond;
                    ASSERT_EQ(p, mean) << x << ", " << y;
                }
            }
        EXPECT_EQ(beyond > 0, crossesHorizon);
    }
}

// Bands of rows on several threads give the very image one thread gives.
TEST(WarpToQuadPerspective, ThreadCountDoesNotChangeTheResult)
{
    const QImage texture = Noise(64, 48, 5);
    const CHomography h = Floor() * CHomography::Affine(0.4, 0, 0, 0.4, 0, 0);
    const QRect rect(0, 0, 400, 300);
    const QImage one = WarpPerspective(texture, h, rect, {1});
    ASSERT_FALSE(one.isNull());
    for (int threads : {0, 2, 3, 7})
        EXPECT_EQ(WarpPerspective(texture, h, rect, {threads}), one) << threads;
}

TEST(WarpToQuadPerspective, RefusedAndDegenerateInput)
{
    const QImage texture = Noise(16, 16, 2);
    EXPECT_TRUE(WarpPerspective(QImage(), CHomography(), QRect(0, 0, 10, 10)).isNull());
    EXPECT_TRUE(WarpPerspective(texture, CHomography(), QRect(0, 0, 0, 10)).isNull());
    EXPECT_TRUE(WarpPerspective(texture, CHomography(), QRect(0, 0, 20000, 20000)).isNull());
    // A texture scaled to nothing, and a matrix that is no map at all.
    const QRgb mean = Mean(texture);
    const double nan = std::nan("");
    for (const CHomography& h : {CHomography::Affine(0, 0, 0, 0, 3, 4), CHomography({1, 0, 0, 0, nan, 0, 0, 0, 1}),
                                 CHomography({1e300, 1e300, 0, 1e300, 1e300, 0, 0, 0, 1e-300})}) {
        const QImage warp = WarpPerspective(texture, h, QRect(5, 5, 30, 20));
        ASSERT_EQ(warp.size(), QSize(30, 20));
        for (int y = 0; y < warp.height(); ++y)
            for (int x = 0; x < warp.width(); ++x)
                ASSERT_EQ(warp.pixel(x, y), mean);
    }
    // Transparent texels settle on white: half-covering red makes pink.
    QImage glass(8, 8, QImage::Format_ARGB32);
    glass.fill(qRgba(255, 0, 0, 128));
    const QImage pink = WarpPerspective(glass, CHomography::Affine(3, 1, -1, 3, 0, 0), QRect(0, 0, 16, 16));
    for (int y = 0; y < pink.height(); ++y)
        for (int x = 0; x < pink.width(); ++x) {
            const QRgb p = pink.pixel(x, y);
            ASSERT_TRUE(qRed(p) == 255 && std::abs(qGreen(p) - 127) <= 1 && qGreen(p) == qBlue(p)) << x << ", " << y;
        }
}
