#include "render/RunningMean.h"
#include "render/WarpKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace
{

// Applies the samples one by one with the scalar update, the meaning both
// fold kernels must reproduce.
void FoldDirect(const std::vector<std::int32_t>& keys, const std::vector<std::int32_t>& rows,
                const std::vector<std::uint32_t>& texels, std::vector<std::uint32_t>& cells)
{
    for (std::size_t k = 0; k < keys.size(); ++k)
        if (keys[k] >= 0)
            cells[keys[k]] = RunningMean::AddSample(cells[keys[k]], texels[rows[k]]);
}

} // namespace

TEST(WarpKernels, FoldMatchesScalarUpdateForEveryValuePairAndCount)
{
    // One sample per cell; blue and green together walk every (old, new)
    // pair, for every count including the saturated one.
    std::vector<std::int32_t> keys(65536), rows(65536);
    std::vector<std::uint32_t> texels(65536);
    for (int i = 0; i < 65536; ++i) {
        keys[i] = i;
        rows[i] = 65535 - i;
        const std::uint32_t lo = i & 0xFF, hi = std::uint32_t(i) >> 8;
        texels[65535 - i] = 0x7F000000u | ((lo * 37u) & 0xFF) << 16 | lo << 8 | hi;
    }
    for (const bool portable : {false, true}) {
        const WarpKernels kernels = SelectWarpKernels(portable);
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::vector<std::uint32_t> cells(65536);
            for (int i = 0; i < 65536; ++i) {
                const std::uint32_t lo = i & 0xFF, hi = std::uint32_t(i) >> 8;
                cells[i] = n << 24 | ((hi * 11u) & 0xFF) << 16 | hi << 8 | lo;
            }
            std::vector<std::uint32_t> expected = cells;
            FoldDirect(keys, rows, texels, expected);
            kernels.fold(keys.data(), rows.data(), 65536, texels.data(), cells.data());
            ASSERT_EQ(cells, expected) << "count " << n << (portable ? ", portable" : "");
        }
    }
}

TEST(WarpKernels, FoldKeepsSampleOrderAcrossRunsAndSkips)
{
    std::mt19937 random(42);
    const int count = 20000;
    std::vector<std::int32_t> keys(count), rows(count);
    std::vector<std::uint32_t> texels(512);
    for (std::uint32_t& texel : texels)
        texel = random();
    // Runs of repeated keys, returns to earlier keys and skipped samples,
    // enough per cell to pass the saturated count.
    std::int32_t key = 0;
    for (int k = 0; k < count; ++k) {
        const unsigned roll = random() % 10;
        if (roll < 3)
            key = static_cast<std::int32_t>(random() % 40);
        keys[k] = roll == 9 ? -1 : key;
        rows[k] = static_cast<std::int32_t>(random() % texels.size());
    }
    std::vector<std::uint32_t> expected(40, 0);
    FoldDirect(keys, rows, texels, expected);
    for (const bool portable : {false, true}) {
        std::vector<std::uint32_t> cells(40, 0);
        const WarpKernels kernels = SelectWarpKernels(portable);
        // In uneven chunks, as the warp calls it.
        for (int k0 = 0; k0 < count; k0 += 777)
            kernels.fold(keys.data() + k0, rows.data() + k0, std::min(777, count - k0), texels.data(),
                         cells.data());
        EXPECT_EQ(cells, expected) << (portable ? "portable" : "vector");
        // The saturated path was taken.
        EXPECT_TRUE(std::any_of(cells.begin(), cells.end(), [](std::uint32_t c) { return c >> 24 == 255; }));
    }
}

TEST(WarpKernels, KeyKernelsAgree)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> spread(-3000.0f, 3000.0f);
    const int count = 1000;
    std::vector<float> a(count), b(count), t(count);
    for (int k = 0; k < count; ++k) {
        a[k] = spread(random);
        b[k] = spread(random) / 4;
        t[k] = float(k) / count;
    }
    const WarpKernels vector = SelectWarpKernels(false), portable = SelectWarpKernels(true);
    for (int trial = 0; trial < 50; ++trial) {
        const float s = float(trial) / 50, kx = spread(random), ky = spread(random);
        const float c = spread(random), d = spread(random);
        std::vector<std::int32_t> fast(count), plain(count);
        vector.computeKeys(a.data(), b.data(), t.data(), count, s, kx, ky, c, d, 100, 900, 1500,
                           fast.data());
        portable.computeKeys(a.data(), b.data(), t.data(), count, s, kx, ky, c, d, 100, 900, 1500,
                             plain.data());
        ASSERT_EQ(fast, plain) << "trial " << trial;
        // Spot-check the formula itself on one element.
        const float x = s * a[5] + kx + b[5], y = ky + t[5] * c + d;
        const int dx = int(x), dy = int(y);
        const bool inside = dx >= 100 && dx < 1000 && dy >= 0 && dy < 1500;
        EXPECT_EQ(plain[5], inside ? dx * 1500 + dy : -1);
    }
}
