#pragma once

#include <array>
#include <cstdint>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

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

#if defined(__GNUC__) && defined(__x86_64__)
#define TILEMONT_RUNNING_MEAN_SSE41 1

// The same update with the three channels side by side in vector lanes:
// x * m = value * (n * m) + texel * m, and as x * m < 2^32 neither sum nor
// products wrap. Lane 3 carries junk that is never stored.
struct alignas(16) VectorFactors
{
    std::uint32_t nm[4];
    std::uint32_t m[4];
};

inline const std::array<VectorFactors, 255>& VectorTable()
{
    static const std::array<VectorFactors, 255> table = [] {
        std::array<VectorFactors, 255> t{};
        for (std::uint32_t n = 0; n < 255; ++n)
            for (int lane = 0; lane < 4; ++lane) {
                t[n].nm[lane] = n * kReciprocal[n];
                t[n].m[lane] = kReciprocal[n];
            }
        return t;
    }();
    return table;
}

__attribute__((target("sse4.1"))) inline std::uint32_t
AddSampleSse41(std::uint32_t cell, std::uint32_t texel, const VectorFactors* table)
{
    const std::uint32_t n = cell >> 24;
    if (n == 255) [[unlikely]]
        return AddSampleSaturated(cell, texel);
    const __m128i value = _mm_cvtepu8_epi32(_mm_cvtsi32_si128(static_cast<int>(cell)));
    const __m128i add = _mm_cvtepu8_epi32(_mm_cvtsi32_si128(static_cast<int>(texel)));
    const VectorFactors& f = table[n];
    const __m128i sum =
        _mm_add_epi32(_mm_mullo_epi32(value, _mm_load_si128(reinterpret_cast<const __m128i*>(f.nm))),
                      _mm_mullo_epi32(add, _mm_load_si128(reinterpret_cast<const __m128i*>(f.m))));
    // Byte 3 of each lane is the quotient; gather those of lanes 0..2.
    const __m128i pick = _mm_setr_epi8(3, 7, 11, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const std::uint32_t mean = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi8(sum, pick)));
    return mean | ((n + 1) << 24);
}
#endif

} // namespace RunningMean
