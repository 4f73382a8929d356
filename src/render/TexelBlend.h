#pragma once

// Texel arithmetic of the perspective warp: wrapping a position onto a
// repeating texture, and blending texels in 8-bit fixed point.

#include "render/MipTexture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__) && !defined(TILEMONT_PORTABLE_BLEND)
#include <emmintrin.h>
#endif

namespace texel
{

// The three colour channels of an RGB32 texel spread into 16-bit lanes, so
// one 64-bit multiply weighs all of them: a lane holds at most 255 * 256.
using Lanes = std::uint64_t;
constexpr Lanes kLaneMask = 0x000000FF00FF00FFull;

inline Lanes Spread(std::uint32_t c)
{
    return (c & 0xFFu) | (Lanes(c & 0xFF00u) << 8) | (Lanes(c & 0xFF0000u) << 16);
}

inline std::uint32_t Gather(Lanes l)
{
    return 0xFF000000u | std::uint32_t(l & 0xFFu) | std::uint32_t((l >> 8) & 0xFF00u)
        | std::uint32_t((l >> 16) & 0xFF0000u);
}

// (a * (256 - f) + b * f) / 256, rounded, lane by lane; f in [0, 256].
inline Lanes Lerp(Lanes a, Lanes b, std::uint32_t f)
{
    return ((a * (256 - f) + b * f + 0x0000008000800080ull) >> 8) & kLaneMask;
}

inline double Floor(double x)
{
    if (!(std::fabs(x) < 4.0e15))
        return std::isfinite(x) ? x : 0.0;
    const double t = double(std::int64_t(x));
    return t > x ? t - 1.0 : t;
}

// Position s on a pattern repeating every n texels, as texel index i in
// [0, n) and the 8-bit fraction f toward texel i + 1 (wrapped). Integer s
// gives f = 0 exactly, so a map that hits texel centres copies texels.
inline double Repeat(double s, int n, double invN)
{
    double r = s - Floor(s * invN) * double(n);
    if (r < 0)
        r += n;
    if (r >= n)
        r -= n;
    return r;
}

inline void Wrap(double s, int n, double invN, int& i, std::uint32_t& f)
{
    std::int64_t p = std::int64_t(Repeat(s, n, invN) * 256.0);
    p = std::clamp<std::int64_t>(p, 0, std::int64_t(n) * 256 - 1);
    i = int(p >> 8);
    f = std::uint32_t(p & 0xFF);
}

// The bilinear blend of texels (i, j), (i1, j), (i, j1), (i1, j1): first down
// by fy, then across by fx, both 8-bit fractions rounded the same way in
// either version, so the vector one changes nothing but speed.
inline std::uint32_t Blend(const std::uint32_t* row0, const std::uint32_t* row1, int i, int i1, std::uint32_t fx,
                           std::uint32_t fy)
{
#if defined(__SSE2__) && !defined(TILEMONT_PORTABLE_BLEND)
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    const __m128i top = _mm_unpacklo_epi8(
        _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(row0[i])), _mm_cvtsi32_si128(int(row0[i1]))), zero);
    const __m128i bottom = _mm_unpacklo_epi8(
        _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(row1[i])), _mm_cvtsi32_si128(int(row1[i1]))), zero);
    const __m128i down = _mm_srli_epi16(
        _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(top, _mm_set1_epi16(short(256 - fy))),
                                    _mm_mullo_epi16(bottom, _mm_set1_epi16(short(fy)))),
                      half),
        8);
    const short a = short(256 - fx), b = short(fx);
    __m128i across = _mm_mullo_epi16(down, _mm_set_epi16(b, b, b, b, a, a, a, a));
    across = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(across, _mm_srli_si128(across, 8)), half), 8);
    return std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(across, across))) | 0xFF000000u;
#else
    // Two channels to a 32-bit word, each in 16 bits: at most 255 * 256.
    const auto lerp = [](std::uint32_t p, std::uint32_t q, std::uint32_t f) {
        return ((p * (256 - f) + q * f + 0x00800080u) >> 8) & 0x00FF00FFu;
    };
    const auto rb = [](std::uint32_t c) { return c & 0x00FF00FFu; };
    const auto g = [](std::uint32_t c) { return (c >> 8) & 0x00FF00FFu; };
    const std::uint32_t rbLeft = lerp(rb(row0[i]), rb(row1[i]), fy), rbRight = lerp(rb(row0[i1]), rb(row1[i1]), fy);
    const std::uint32_t gLeft = lerp(g(row0[i]), g(row1[i]), fy), gRight = lerp(g(row0[i1]), g(row1[i1]), fy);
    return lerp(rbLeft, rbRight, fx) | lerp(gLeft, gRight, fx) << 8 | 0xFF000000u;
#endif
}

// One bilinear blend's texels and fractions, as Blend takes them.
struct Tap
{
    const std::uint32_t* row0;
    const std::uint32_t* row1;
    int i, i1;
    std::uint32_t fx, fy;
};

#if defined(__SSE2__) && !defined(TILEMONT_PORTABLE_BLEND)
// Texels i and i1 of a row in the low 8 bytes; one load where they are
// neighbours, as all but the last of a row are.
inline __m128i TexelPair(const std::uint32_t* row, int i, int i1)
{
    if (i1 == i + 1)
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + i));
    return _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(row[i])), _mm_cvtsi32_si128(int(row[i1])));
}
#endif

// Blend(a) into out[0] and Blend(b) into out[1], to the bit, two at once:
// p * (256 - f) + q * f is computed as p * 256 + (q - p) * f, which 16-bit
// lanes wrapping on overflow give exactly, the true value being below 2^16.
inline void Blend2(const Tap& a, const Tap& b, std::uint32_t* out)
{
#if defined(__SSE2__) && !defined(TILEMONT_PORTABLE_BLEND)
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    const __m128i top = _mm_unpacklo_epi64(TexelPair(a.row0, a.i, a.i1), TexelPair(b.row0, b.i, b.i1));
    const __m128i bottom = _mm_unpacklo_epi64(TexelPair(a.row1, a.i, a.i1), TexelPair(b.row1, b.i, b.i1));
    const auto lerp = [&](__m128i p, __m128i q, __m128i f) {
        const __m128i weighed = _mm_add_epi16(_mm_slli_epi16(p, 8), _mm_mullo_epi16(_mm_sub_epi16(q, p), f));
        return _mm_srli_epi16(_mm_add_epi16(weighed, half), 8);
    };
    const __m128i topA = _mm_unpacklo_epi8(top, zero), topB = _mm_unpackhi_epi8(top, zero);
    const __m128i downA = lerp(topA, _mm_unpacklo_epi8(bottom, zero), _mm_set1_epi16(short(a.fy)));
    const __m128i downB = lerp(topB, _mm_unpackhi_epi8(bottom, zero), _mm_set1_epi16(short(b.fy)));
    const __m128i fx = _mm_unpacklo_epi64(_mm_set1_epi16(short(a.fx)), _mm_set1_epi16(short(b.fx)));
    const __m128i across = lerp(_mm_unpacklo_epi64(downA, downB), _mm_unpackhi_epi64(downA, downB), fx);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out),
                     _mm_or_si128(_mm_packus_epi16(across, across), _mm_set1_epi32(int(0xFF000000u))));
#else
    out[0] = Blend(a.row0, a.row1, a.i, a.i1, a.fx, a.fy);
    out[1] = Blend(b.row0, b.row1, b.i, b.i1, b.fx, b.fy);
#endif
}

// Bilinear sample at level point (u, v), texel (i, j) centred on
// (i + 0.5, j + 0.5), the level repeating both ways.
inline std::uint32_t Bilinear(const CMipTexture::Level& level, double u, double v)
{
    int i = 0, j = 0;
    std::uint32_t fx = 0, fy = 0;
    Wrap(u - 0.5, level.width, 1.0 / level.width, i, fx);
    Wrap(v - 0.5, level.height, 1.0 / level.height, j, fy);
    const int i1 = i + 1 == level.width ? 0 : i + 1;
    const int j1 = j + 1 == level.height ? 0 : j + 1;
    return Blend(level.texels.data() + std::size_t(j) * std::size_t(level.width),
                 level.texels.data() + std::size_t(j1) * std::size_t(level.width), i, i1, fx, fy);
}

} // namespace texel
