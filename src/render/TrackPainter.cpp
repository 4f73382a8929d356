#include "render/TrackPainter.h"
#include "render/TexelBlend.h"

#include <algorithm>
#include <cmath>

using namespace texel;

namespace
{

// A wrapped texel position in 16.16 fixed point, stepped along a run.
struct Stepper
{
    std::int64_t p = 0, step = 0, period = 0;

    Stepper(double s, double ds, int n, double invN)
    {
        period = std::int64_t(n) * 65536;
        p = std::clamp<std::int64_t>(std::int64_t(Repeat(s, n, invN) * 65536.0), 0, period - 1);
        // Rounded by hand, llround being a library call; a step of a whole
        // period or more is refused by Fits().
        step = std::fabs(ds) < double(n) ? std::int64_t(std::floor(ds * 65536.0 + 0.5)) : period;
        // A step back is a step forward by the period less it: every step
        // then wraps by one subtraction.
        if (step < 0)
            step += period;
    }
    int Index() const { return int(p >> 16); }
    std::uint32_t Fraction() const { return std::uint32_t(p >> 8) & 0xFF; }
    bool Fits() const { return step >= 0 && step < period; }
    void Next()
    {
        p += step;
        if (p >= period)
            p -= period;
    }
};

// A level and what stepping across it needs, divided out once a run.
struct LevelSteps
{
    const CMipTexture::Level& level;
    double invWidth, invHeight, perStep;

    LevelSteps(const CMipTexture::Level& l, int length)
        : level(l), invWidth(1.0 / l.width), invHeight(1.0 / l.height), perStep(1.0 / double(length - 1))
    {
    }
};

// Bilinear samples of one level along one track.
bool Step(const LevelSteps& steps, const CTrackPainter::Track& track, int length, std::uint32_t* to)
{
    const CMipTexture::Level& level = steps.level;
    Stepper s((track.u0 * level.scaleX) - 0.5, (track.u1 - track.u0) * level.scaleX * steps.perStep, level.width,
              steps.invWidth);
    Stepper t((track.v0 * level.scaleY) - 0.5, (track.v1 - track.v0) * level.scaleY * steps.perStep, level.height,
              steps.invHeight);
    if (!s.Fits() || !t.Fits())
        return false;
    const std::uint32_t* texels = level.texels.data();
    const auto width = std::size_t(level.width);
    const auto tap = [&] {
        const int i = s.Index(), j = t.Index();
        const int j1 = j + 1 == level.height ? 0 : j + 1;
        const Tap at{texels + std::size_t(j) * width, texels + std::size_t(j1) * width, i,
                     i + 1 == level.width ? 0 : i + 1, s.Fraction(), t.Fraction()};
        s.Next();
        t.Next();
        return at;
    };
    int k = 0;
    for (; k + 1 < length; k += 2) {
        const Tap first = tap();
        Blend2(first, tap(), to + k);
    }
    if (k < length) {
        const Tap last = tap();
        to[k] = Blend(last.row0, last.row1, last.i, last.i1, last.fx, last.fy);
    }
    return true;
}

} // namespace

CTrackPainter::CTrackPainter(const CMipTexture& texture) : m_texture(texture)
{
}

bool CTrackPainter::Paint(const Track* tracks, int n, double lodA, double lodB, int length,
                          std::uint32_t* out) const
{
    const int l0 = int(lodA);
    // Each pixel's weight of the coarser level, truncated as a lone
    // trilinear sample truncates it.
    std::uint32_t f[kMaxLength];
    std::uint32_t any = 0;
    // Whole levels at both ends (level 0 for all that is magnified across)
    // are one level throughout.
    if (lodA != double(l0) || lodB != double(l0)) {
        const double fa = (lodA - l0) * 256.0, df = (lodB - lodA) * 256.0 / double(length - 1);
        for (int i = 0; i < length; ++i)
            any |= f[i] = std::min<std::uint32_t>(255, std::uint32_t(std::max(0.0, fa + df * double(i))));
    }
    const LevelSteps fine(m_texture.GetLevel(l0), length);
    const LevelSteps coarse(m_texture.GetLevel(any == 0 ? l0 : l0 + 1), length);
    std::uint32_t a[kMaxLength], b[kMaxLength];
    if (n == 1) {
        if (!Step(fine, tracks[0], length, out))
            return false;
        if (any == 0)
            return true;
        if (!Step(coarse, tracks[0], length, b))
            return false;
        for (int i = 0; i < length; ++i)
            out[i] = Gather(Lerp(Spread(out[i]), Spread(b[i]), f[i]));
        return true;
    }
    // Lanes of at most kMaxTracks * 255: room to spare in 16 bits.
    Lanes sum[kMaxLength] = {};
    for (int k = 0; k < n; ++k) {
        if (!Step(fine, tracks[k], length, a))
            return false;
        if (any == 0) {
            for (int i = 0; i < length; ++i)
                sum[i] += Spread(a[i]);
            continue;
        }
        if (!Step(coarse, tracks[k], length, b))
            return false;
        for (int i = 0; i < length; ++i)
            sum[i] += Lerp(Spread(a[i]), Spread(b[i]), f[i]);
    }
    // (x + n / 2) / n by a multiply: exact for x below 2^12 when n <= 8,
    // the reciprocal's excess adding less than 2^-12 to a quotient whose
    // fraction is at most 7/8.
    const Lanes reciprocal = ((Lanes(1) << 24) + Lanes(n) - 1) / Lanes(n);
    const Lanes half = Lanes(n / 2);
    const auto lane = [&](Lanes s, int shift) {
        return std::uint32_t((((s >> shift) & 0xFFFFu) + half) * reciprocal >> 24);
    };
    for (int i = 0; i < length; ++i)
        out[i] = 0xFF000000u | lane(sum[i], 32) << 16 | lane(sum[i], 16) << 8 | lane(sum[i], 0);
    return true;
}
