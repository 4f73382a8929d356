#pragma once

#include <array>
#include <cstdint>

// The warp keeps, per output pixel, the mean of all texels that landed there,
// truncated after every sample: value := floor((value * n + texel) / (n + 1))
// per channel, n being the number of earlier hits. The divisions dominate
// the warp's cost, so this does the same arithmetic without them.
//
// A cell is one 32-bit word: blue, green, red in bytes 0..2 (as in an RGB32
// pixel) and min(n, 255) in byte 3. Saturating the count loses nothing:
// writing the update as value + floor((texel - value) / (n + 1)) with
// |texel - value| <= 255 shows that for n + 1 >= 256 the quotient is 0 when
// texel >= value and -1 when texel < value, whatever n is. Below that the
// numerator x = value * n + texel stays under 2^16 and the division by
// d = n + 1 <= 255 is a multiply by m = ceil(2^32 / d) and a shift: with
// m * d = 2^32 + e, 0 <= e < d, x * m / 2^32 = x / d + x * e / (d * 2^32),
// and x * e < 2^24 keeps the excess below 1/d, so the floor is unchanged.
namespace RunningMean
{

inline constexpr std::array<std::uint32_t, 255> MakeReciprocals()
{
    std::array<std::uint32_t, 255> table{};
    for (std::uint64_t n = 1; n < 255; ++n) {
        const std::uint64_t d = n + 1;
        table[n] = static_cast<std::uint32_t>(((std::uint64_t(1) << 32) + d - 1) / d);
    }
    return table;
}

// kReciprocal[n] = ceil(2^32 / (n + 1)) for 1 <= n <= 254.
inline constexpr std::array<std::uint32_t, 255> kReciprocal = MakeReciprocals();

// Folds one texel (0x??RRGGBB, top byte ignored) into a cell.
inline std::uint32_t AddSample(std::uint32_t cell, std::uint32_t texel)
{
    const std::uint32_t n = cell >> 24;
    if (n == 0)
        return (texel & 0x00FFFFFFu) | (1u << 24);
    if (n < 255) {
        const std::uint64_t m = kReciprocal[n];
        std::uint32_t result = (n + 1) << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            const std::uint32_t old = (cell >> shift) & 0xFFu;
            const std::uint32_t add = (texel >> shift) & 0xFFu;
            const std::uint64_t x = old * n + add;
            result |= static_cast<std::uint32_t>((x * m) >> 32) << shift;
        }
        return result;
    }
    std::uint32_t result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t old = (cell >> shift) & 0xFFu;
        const std::uint32_t add = (texel >> shift) & 0xFFu;
        result |= (old - (add < old ? 1u : 0u)) << shift;
    }
    return result;
}

} // namespace RunningMean
