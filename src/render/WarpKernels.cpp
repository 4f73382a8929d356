#include "render/WarpKernels.h"

#include "render/RunningMean.h"

#if defined(__GNUC__) && defined(__x86_64__)
#define TILEMONT_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace
{

// Shared body of the key kernels; inlined into each so that every copy is
// vectorised for its own instruction set. The clamp to +-2^30 leaves every
// value that can land in the output untouched and keeps the integer
// conversion defined; written as min/max so that the loop vectorises.
__attribute__((always_inline)) inline void
ComputeKeysBody(const float* __restrict a, const float* __restrict b, const float* __restrict t,
                int count, float s, float kx, float ky, float c, float d, int bandX0,
                int bandWidth, int H, std::int32_t* __restrict keys)
{
    constexpr float kLimit = 1073741824.0f;
    for (int k = 0; k < count; ++k) {
        float x = s * a[k] + kx + b[k];
        float y = ky + t[k] * c + d;
        x = x < kLimit ? x : kLimit;
        x = x > -kLimit ? x : -kLimit;
        y = y < kLimit ? y : kLimit;
        y = y > -kLimit ? y : -kLimit;
        const int dx = static_cast<int>(x);
        const int dy = static_cast<int>(y);
        const bool inside = static_cast<unsigned>(dx - bandX0) < static_cast<unsigned>(bandWidth)
            && static_cast<unsigned>(dy) < static_cast<unsigned>(H);
        const unsigned key =
            static_cast<unsigned>(dx) * static_cast<unsigned>(H) + static_cast<unsigned>(dy);
        keys[k] = inside ? static_cast<std::int32_t>(key) : -1;
    }
}

void ComputeKeysPortable(const float* a, const float* b, const float* t, int count, float s,
                         float kx, float ky, float c, float d, int bandX0, int bandWidth, int H,
                         std::int32_t* keys)
{
    ComputeKeysBody(a, b, t, count, s, kx, ky, c, d, bandX0, bandWidth, H, keys);
}

#ifdef TILEMONT_X86_KERNELS
__attribute__((target("avx2"))) void ComputeKeysAvx2(const float* a, const float* b, const float* t,
                                                     int count, float s, float kx, float ky,
                                                     float c, float d, int bandX0, int bandWidth,
                                                     int H, std::int32_t* keys)
{
    ComputeKeysBody(a, b, t, count, s, kx, ky, c, d, bandX0, bandWidth, H, keys);
}
#endif

// Consecutive samples mostly share a pixel, so the cell stays in registers
// until the key changes.
void FoldPortable(const std::int32_t* keys, const std::int32_t* row, int count,
                  const std::uint32_t* srcColumn, std::uint32_t* cells)
{
    std::int32_t current = -1;
    std::uint32_t cell = 0;
    for (int k = 0; k < count; ++k) {
        const std::int32_t key = keys[k];
        if (key != current) {
            if (current >= 0)
                cells[current] = cell;
            current = key;
            if (key < 0)
                continue;
            cell = cells[key];
        } else if (key < 0) {
            continue;
        }
        cell = RunningMean::AddSample(cell, srcColumn[row[k]]);
    }
    if (current >= 0)
        cells[current] = cell;
}

#ifdef TILEMONT_X86_KERNELS
// RunningMean's update with blue, green and red side by side in 32-bit
// lanes (lane 3 carries junk that is never stored): with m = ceil(2^24 / d)
// the new value is (value * n * m + texel * m) >> 24, and as that sum stays
// below 2^32 neither products nor sum wrap. Within a run of samples for one
// pixel the value stays in the vector register and the count in a plain
// one, so the chain from one sample to the next is multiply, add, shift.
struct alignas(16) LaneFactors
{
    std::uint32_t nm[4];
    std::uint32_t m[4];
};

const LaneFactors* FactorTable()
{
    static const auto* table = [] {
        static LaneFactors t[255];
        for (std::uint32_t n = 0; n < 255; ++n)
            for (int lane = 0; lane < 4; ++lane) {
                t[n].nm[lane] = n * RunningMean::kReciprocal[n];
                t[n].m[lane] = RunningMean::kReciprocal[n];
            }
        return t;
    }();
    return table;
}

__attribute__((target("sse4.1"))) inline __m128i Widen(std::uint32_t pixel)
{
    return _mm_cvtepu8_epi32(_mm_cvtsi32_si128(static_cast<int>(pixel)));
}

__attribute__((target("sse4.1"))) inline std::uint32_t Narrow(__m128i value, std::uint32_t n)
{
    const __m128i pick = _mm_setr_epi8(0, 4, 8, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi8(value, pick))) | (n << 24);
}

__attribute__((target("sse4.1"))) void FoldSse41(const std::int32_t* keys, const std::int32_t* row,
                                                 int count, const std::uint32_t* srcColumn,
                                                 std::uint32_t* cells)
{
    const LaneFactors* table = FactorTable();
    std::int32_t current = -1;
    std::uint32_t n = 0;
    __m128i value = _mm_setzero_si128();
    for (int k = 0; k < count; ++k) {
        const std::int32_t key = keys[k];
        if (key != current) {
            if (current >= 0)
                cells[current] = Narrow(value, n);
            current = key;
            if (key < 0)
                continue;
            const std::uint32_t cell = cells[key];
            n = cell >> 24;
            value = Widen(cell);
        } else if (key < 0) {
            continue;
        }
        const __m128i add = Widen(srcColumn[row[k]]);
        if (n < 255) [[likely]] {
            const LaneFactors& f = table[n];
            const __m128i nm = _mm_load_si128(reinterpret_cast<const __m128i*>(f.nm));
            const __m128i m = _mm_load_si128(reinterpret_cast<const __m128i*>(f.m));
            value = _mm_srli_epi32(
                _mm_add_epi32(_mm_mullo_epi32(value, nm), _mm_mullo_epi32(add, m)), 24);
            ++n;
        } else {
            // Saturated count: one step down where the texel is darker.
            value = _mm_add_epi32(value, _mm_cmpgt_epi32(value, add));
        }
    }
    if (current >= 0)
        cells[current] = Narrow(value, n);
}
#endif

} // namespace

WarpKernels SelectWarpKernels(bool portable)
{
    WarpKernels kernels{ComputeKeysPortable, FoldPortable};
#ifdef TILEMONT_X86_KERNELS
    if (!portable) {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2"))
            kernels.computeKeys = ComputeKeysAvx2;
        if (__builtin_cpu_supports("sse4.1"))
            kernels.fold = FoldSse41;
    }
#else
    (void)portable;
#endif
    return kernels;
}
