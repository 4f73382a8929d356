#include "geometry/Homography.h"
#include "render/MipTexture.h"
#include "render/PerspectiveSampler.h"
#include "render/TexelBlend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

// The suite's name puts it under the thread sanitizer's filter (WarpToQuad*).
namespace
{

int Worst(std::uint32_t p, std::uint32_t q)
{
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(int(p >> shift & 0xFF) - int(q >> shift & 0xFF)));
    return worst;
}

} // namespace

// Runs of a far floor are painted with several samples stepped along
// straight tracks; a row cut into single pixels is mapped pixel by pixel in
// double precision. The two may differ only by the fixed-point steps. The
// floor's horizon is tilted, so its rows are not affine and the runs' tracks
// bend a little; its far rows are squeezed up to the most samples and to
// levels between two of the chain.
TEST(WarpToQuadPerspectiveSpans, AnisotropicRunsMatchPixelByPixel)
{
    QImage texture(64, 64, QImage::Format_RGB32);
    std::mt19937 random(9);
    for (int y = 0; y < texture.height(); ++y)
        for (int x = 0; x < texture.width(); ++x)
            texture.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    const CMipTexture mip(texture);
    const auto h = CHomography::FromQuads({QPointF(0, 0), QPointF(320, 12), QPointF(0, 96), QPointF(320, 90)},
                                          {QPointF(-900, 0), QPointF(1300, -150), QPointF(0, 600), QPointF(90, 640)});
    ASSERT_TRUE(h);
    const CPerspectiveSampler sampler(mip, h->Matrix());
    const int width = 320, height = 96;
    // The floor is what it should be: most pixels squeezed one way at
    // least twice as much as the other, some of them more than
    // kMaxAnisotropy times.
    int anisotropic = 0, beyondMax = 0;
    const auto map = [&](double x, double y) {
        const QPointF p = h->Map(QPointF(x, y)).value_or(QPointF());
        return std::array<double, 2>{p.x(), p.y()};
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto c = map(x + 0.5, y + 0.5), dx = map(x + 1.5, y + 0.5), dy = map(x + 0.5, y + 1.5);
            const double ux = dx[0] - c[0], vx = dx[1] - c[1], uy = dy[0] - c[0], vy = dy[1] - c[1];
            const double t = ux * ux + vx * vx + uy * uy + vy * vy, d = std::fabs(ux * vy - uy * vx);
            const double smax = std::sqrt(0.5 * (t + std::sqrt(std::max(0.0, t * t - 4 * d * d))));
            const double ratio = smax * smax / d;
            anisotropic += smax > 1.5 && ratio >= 2;
            beyondMax += smax > 1.5 && ratio > CPerspectiveSampler::kMaxAnisotropy;
        }
    EXPECT_GT(anisotropic, width * height / 2);
    EXPECT_GT(beyondMax, width * 4);

    std::vector<std::uint32_t> runs(static_cast<std::size_t>(width)), single(static_cast<std::size_t>(width));
    int worst = 0, differing = 0, over = 0;
    for (int y = 0; y < height; ++y) {
        sampler.PaintRow(0, y, width, runs.data());
        for (int x = 0; x < width; ++x)
            sampler.PaintRow(x, y, 1, &single[std::size_t(x)]);
        for (int x = 0; x < width; ++x) {
            const int d = Worst(runs[std::size_t(x)], single[std::size_t(x)]);
            worst = std::max(worst, d);
            differing += d > 0;
            over += d > 1;
        }
    }
    // A track straightened by up to 1/128 texel moves a sample of noise
    // this contrasty by up to two levels; the mean of the samples rounds
    // one more way.
    EXPECT_LE(worst, 3);
    EXPECT_LT(over, width * height / 100);
    // The runs were stepped, not left to single pixels: fixed-point steps
    // round differently from division at many pixels of a noise texture.
    EXPECT_GT(differing, width * height / 20);
}

// The two-at-once blend gives what the definition gives: down by fy, then
// across by fx, each rounded, the texels of either side wrapping or not.
TEST(WarpToQuadPerspectiveSpans, PairedBlendMatchesTheDefinition)
{
    std::mt19937 random(4);
    std::vector<std::uint32_t> row0(8), row1(8);
    const auto lerp = [](int p, int q, int f) { return (p * (256 - f) + q * f + 128) >> 8; };
    for (int trial = 0; trial < 20000; ++trial) {
        for (std::size_t k = 0; k < 8; ++k) {
            row0[k] = 0xFF000000u | (random() & 0xFFFFFFu);
            row1[k] = 0xFF000000u | (random() & 0xFFFFFFu);
        }
        texel::Tap taps[2];
        for (texel::Tap& tap : taps) {
            const int i = int(random() % 8);
            tap = {row0.data(), row1.data(), i, i == 7 ? 0 : i + 1, std::uint32_t(random() % 256),
                   std::uint32_t(random() % 256)};
        }
        std::uint32_t out[2] = {0, 0};
        texel::Blend2(taps[0], taps[1], out);
        for (int k = 0; k < 2; ++k) {
            const texel::Tap& a = taps[k];
            std::uint32_t expected = 0xFF000000u;
            for (int shift : {0, 8, 16}) {
                const auto c = [shift](std::uint32_t p) { return int(p >> shift & 0xFF); };
                const int left = lerp(c(a.row0[a.i]), c(a.row1[a.i]), int(a.fy));
                const int right = lerp(c(a.row0[a.i1]), c(a.row1[a.i1]), int(a.fy));
                expected |= std::uint32_t(lerp(left, right, int(a.fx))) << shift;
            }
            ASSERT_EQ(out[k], expected) << trial << ", " << k;
        }
    }
}
