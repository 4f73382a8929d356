#include "render/RunningMean.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace
{

std::uint32_t Pack(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint64_t n)
{
    return (std::uint32_t(std::min<std::uint64_t>(n, 255)) << 24) | (r << 16) | (g << 8) | b;
}

std::uint32_t Mean(std::uint64_t old, std::uint64_t add, std::uint64_t n)
{
    return std::uint32_t((old * n + add) / (n + 1));
}

// For one true hit count n, every pair (old, new) per channel, the three
// channels carrying different values.
int CountMismatches(std::uint64_t n)
{
    int mismatches = 0;
    for (std::uint32_t old = 0; old < 256; ++old)
        for (std::uint32_t add = 0; add < 256; ++add) {
            const std::uint32_t cell = Pack(255 - old, old ^ 0x5A, old, n);
            const std::uint32_t texel = 0xAB000000u | Pack(255 - add, add ^ 0xA5, add, 0);
            const std::uint32_t expected =
                Pack(Mean(255 - old, 255 - add, n), Mean(old ^ 0x5A, add ^ 0xA5, n),
                     Mean(old, add, n), n + 1);
            if (RunningMean::AddSample(cell, texel) != expected)
                ++mismatches;
        }
    return mismatches;
}

} // namespace

TEST(RunningMean, FirstSampleIsStoredUnchanged)
{
    EXPECT_EQ(RunningMean::AddSample(0u, 0xFF123456u), 0x01123456u);
    EXPECT_EQ(RunningMean::AddSample(0u, 0x00000000u), 0x01000000u);
}

TEST(RunningMean, ExactForEveryCountBelowSaturation)
{
    for (std::uint64_t n = 1; n < 255; ++n)
        ASSERT_EQ(CountMismatches(n), 0) << "n = " << n;
}

TEST(RunningMean, SaturatedCountStandsForAnyLargerCount)
{
    for (std::uint64_t n = 255; n < 600; ++n)
        ASSERT_EQ(CountMismatches(n), 0) << "n = " << n;
    for (std::uint64_t n : {1000ull, 65535ull, 65536ull, 1ull << 24, (1ull << 31) - 1, 1ull << 31,
                            (1ull << 32) + 7})
        ASSERT_EQ(CountMismatches(n), 0) << "n = " << n;
}
