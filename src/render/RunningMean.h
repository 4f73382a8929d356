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
// texel >= value and -1 when texel < value, whatever n is.
//
// Below that the numerator x = value * n + texel is at most 255 * d with
// d = n + 1 <= 255, and floor(x / d) is a multiply by m = ceil(2^24 / d) and
// a shift: with m * d = 2^24 + e, 0 <= e < d,
// x * m / 2^24 = x / d + x * e / (d * 2^24), and x * e <= 255 * 255 * 254
// < 2^24 keeps the excess below 1/d, so the floor is unchanged. The product
// x * m <= 255 * (2^24 + e) fits in 32 bits. n = 0 needs no special case:
// m = 2^24 stores the texel as it is.
namespace RunningMean
{

inline constexpr std::array<std::uint32_t, 255> MakeReciprocals()
{
    std::array<std::uint32_t, 255> table{};
    for (std::uint32_t n = 0; n < 255; ++n) {
        const std::uint32_t d = n + 1;
        table[n] = ((1u << 24) + d - 1) / d;
    }
    return table;
}

// kReciprocal[n] = ceil(2^24 / (n + 1)) for 0 <= n <= 254.
inline constexpr std::array<std::uint32_t, 255> kReciprocal = MakeReciprocals();

// AddSample for a cell whose count has saturated.
inline std::uint32_t AddSampleSaturated(std::uint32_t cell, std::uint32_t texel)
{
    std::uint32_t result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t old = (cell >> shift) & 0xFFu;
        const std::uint32_t add = (texel >> shift) & 0xFFu;
        result |= (old - (add < old ? 1u : 0u)) << shift;
    }
    return result;
}

// Folds one texel (0x??RRGGBB, top byte ignored) into a cell.
inline std::uint32_t AddSample(std::uint32_t cell, std::uint32_t texel)
{
    const std::uint32_t n = cell >> 24;
    if (n < 255) [[likely]] {
        const std::uint32_t m = kReciprocal[n];
        const std::uint32_t b = (cell & 0xFFu) * n + (texel & 0xFFu);
        const std::uint32_t g = ((cell >> 8) & 0xFFu) * n + ((texel >> 8) & 0xFFu);
        const std::uint32_t r = ((cell >> 16) & 0xFFu) * n + ((texel >> 16) & 0xFFu);
        return ((n + 1) << 24) | (((r * m) >> 24) << 16) | (((g * m) >> 24) << 8) | ((b * m) >> 24);
    }
    return AddSampleSaturated(cell, texel);
}


} // namespace RunningMean
