#include "render/PerspectiveSampler.h"

#include <algorithm>
#include <cmath>

namespace
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
inline void Wrap(double s, int n, double invN, int& i, std::uint32_t& f)
{
    double r = s - Floor(s * invN) * double(n);
    if (r < 0)
        r += n;
    if (r >= n)
        r -= n;
    std::int64_t p = std::int64_t(r * 256.0);
    p = std::clamp<std::int64_t>(p, 0, std::int64_t(n) * 256 - 1);
    i = int(p >> 8);
    f = std::uint32_t(p & 0xFF);
}

// Bilinear sample at level point (u, v), texel (i, j) centred on
// (i + 0.5, j + 0.5), the level repeating both ways.
inline Lanes Bilinear(const CMipTexture::Level& level, double u, double v)
{
    int i = 0, j = 0;
    std::uint32_t fx = 0, fy = 0;
    Wrap(u - 0.5, level.width, 1.0 / level.width, i, fx);
    Wrap(v - 0.5, level.height, 1.0 / level.height, j, fy);
    const int i1 = i + 1 == level.width ? 0 : i + 1;
    const int j1 = j + 1 == level.height ? 0 : j + 1;
    const std::uint32_t* row0 = level.texels.data() + std::size_t(j) * std::size_t(level.width);
    const std::uint32_t* row1 = level.texels.data() + std::size_t(j1) * std::size_t(level.width);
    const Lanes top = Lerp(Spread(row0[i]), Spread(row0[i1]), fx);
    const Lanes bottom = Lerp(Spread(row1[i]), Spread(row1[i1]), fx);
    return Lerp(top, bottom, fy);
}

} // namespace

CPerspectiveSampler::CPerspectiveSampler(const CMipTexture& texture, const std::array<double, 9>& pictureToTexel)
    : m_texture(texture), m_m(pictureToTexel), m_mean(texture.Mean())
{
}

void CPerspectiveSampler::PaintRow(int x0, int y, int count, std::uint32_t* out) const
{
    const std::array<double, 9>& m = m_m;
    const double Y = double(y) + 0.5;
    const double cu = m[1] * Y + m[2], cv = m[4] * Y + m[5], cw = m[7] * Y + m[8];
    const CMipTexture::Level& base = m_texture.GetLevel(0);
    for (int k = 0; k < count; ++k) {
        const double X = double(x0) + double(k) + 0.5;
        const double w = m[6] * X + cw;
        if (!(w > 0)) {
            out[k] = m_mean;
            continue;
        }
        const double iw = 1.0 / w;
        const double u = (m[0] * X + cu) * iw, v = (m[3] * X + cv) * iw;
        const double ux = (m[0] - u * m[6]) * iw, vx = (m[3] - v * m[6]) * iw;
        const double uy = (m[1] - u * m[7]) * iw, vy = (m[4] - v * m[7]) * iw;
        // ux² + vx² + uy² + vy² = smax² + smin², so this is sure to be magnified.
        if (ux * ux + vx * vx + uy * uy + vy * vy <= 1.0)
            out[k] = Gather(Bilinear(base, u, v));
        else
            out[k] = Filtered(u, v, ux, vx, uy, vy);
    }
}

std::uint32_t CPerspectiveSampler::Filtered(double u, double v, double ux, double vx, double uy, double vy) const
{
    // Singular values of the Jacobian: smax² + smin² = t, smax * smin = |d|.
    const double a = ux * ux + uy * uy, b = ux * vx + uy * vy, c = vx * vx + vy * vy;
    const double t = a + c, d = std::fabs(ux * vy - uy * vx);
    const double smax2 = 0.5 * (t + std::sqrt(std::max(0.0, (t - 2 * d) * (t + 2 * d))));
    const CMipTexture::Level& base = m_texture.GetLevel(0);
    const double whole = double(std::max(base.width, base.height));
    if (!(smax2 < 1e30) || !std::isfinite(u) || !std::isfinite(v))
        return m_mean;
    if (smax2 <= 1.0)
        return Gather(Bilinear(base, u, v));
    const double smax = std::sqrt(smax2), smin = d / smax;
    const int n = smin * kMaxAnisotropy >= smax ? std::max(1, int(std::ceil(smax / smin))) : kMaxAnisotropy;
    const double width = std::max(smin, smax / n);
    // Texels this wide exceed the texture: the pixel shows all of it.
    if (width >= whole)
        return m_mean;
    const double lod = std::max(0.0, std::log2(width));
    if (n == 1)
        return Gather(Trilinear(u, v, lod));
    // The major axis: the eigenvector of J Jᵀ = [[a, b], [b, c]] for smax²,
    // from whichever of its two expressions is better conditioned.
    double ex = b, ey = smax2 - a;
    if (std::fabs(smax2 - c) + std::fabs(b) > std::fabs(ex) + std::fabs(ey)) {
        ex = smax2 - c;
        ey = b;
    }
    const double norm = std::hypot(ex, ey);
    if (!(norm > 0)) {
        ex = 1;
        ey = 0;
    } else {
        ex /= norm;
        ey /= norm;
    }
    const double step = smax / n;
    Lanes sum = 0;
    for (int k = 0; k < n; ++k) {
        const double o = (double(k) + 0.5 - 0.5 * n) * step;
        sum += Trilinear(u + o * ex, v + o * ey, lod);
    }
    const auto lane = [&](int shift) { return ((sum >> shift & 0xFFFFu) + Lanes(n) / 2) / Lanes(n); };
    return 0xFF000000u | std::uint32_t(lane(32) << 16 | lane(16) << 8 | lane(0));
}

std::uint64_t CPerspectiveSampler::Trilinear(double u, double v, double lod) const
{
    const int top = m_texture.LevelCount() - 1;
    const int l0 = int(lod);
    if (l0 >= top)
        return Spread(m_mean);
    const CMipTexture::Level& fine = m_texture.GetLevel(l0);
    const Lanes a = Bilinear(fine, u * fine.scaleX, v * fine.scaleY);
    const auto f = std::uint32_t((lod - l0) * 256.0);
    if (f == 0)
        return a;
    const CMipTexture::Level& coarse = m_texture.GetLevel(l0 + 1);
    return Lerp(a, Bilinear(coarse, u * coarse.scaleX, v * coarse.scaleY), f);
}
