#include "render/PerspectiveSampler.h"
#include "render/TexelBlend.h"

#include <algorithm>
#include <cmath>

using namespace texel;

namespace
{

// Where the map is so nearly affine along a run of pixels that a straight
// line between its end pixels misses none of its pixel centres by more than
// this many texels of the level read, the run is stepped in fixed point
// instead of being divided out pixel by pixel.
constexpr double kSpanTolerance = 1.0 / 128;
constexpr int kSpan = 16;

// A wrapped texel position in 16.16 fixed point, stepped along a run.
struct Stepper
{
    std::int64_t p = 0, step = 0, period = 0;

    Stepper(double s, double ds, int n)
    {
        p = std::clamp<std::int64_t>(std::int64_t(Repeat(s, n, 1.0 / n) * 65536.0), 0, std::int64_t(n) * 65536 - 1);
        step = std::llround(ds * 65536.0);
        period = std::int64_t(n) * 65536;
    }
    int Index() const { return int(p >> 16); }
    std::uint32_t Fraction() const { return std::uint32_t(p >> 8) & 0xFF; }
    // One step wraps at most once.
    bool Fits() const { return step < period && -step < period; }
    void Next()
    {
        p += step;
        if (p >= period)
            p -= period;
        else if (p < 0)
            p += period;
    }
};

} // namespace

CPerspectiveSampler::CPerspectiveSampler(const CMipTexture& texture, const std::array<double, 9>& pictureToTexel)
    : m_texture(texture), m_m(pictureToTexel), m_mean(texture.Mean())
{
}

CPerspectiveSampler::Point CPerspectiveSampler::MapCentre(double X, double Y) const
{
    const std::array<double, 9>& m = m_m;
    Point p;
    p.w = m[6] * X + m[7] * Y + m[8];
    if (!(p.w > 0))
        return p;
    const double iw = 1.0 / p.w;
    p.u = (m[0] * X + m[1] * Y + m[2]) * iw;
    p.v = (m[3] * X + m[4] * Y + m[5]) * iw;
    p.ux = (m[0] - p.u * m[6]) * iw;
    p.vx = (m[3] - p.v * m[6]) * iw;
    p.uy = (m[1] - p.u * m[7]) * iw;
    p.vy = (m[4] - p.v * m[7]) * iw;
    return p;
}

std::uint32_t CPerspectiveSampler::Pixel(const Point& p) const
{
    if (!(p.w > 0))
        return m_mean;
    // ux² + vx² + uy² + vy² = smax² + smin², so this is sure to be magnified.
    if (p.Spread() <= 1.0)
        return Bilinear(m_texture.GetLevel(0), p.u, p.v);
    return Filtered(p);
}

void CPerspectiveSampler::PaintRow(int x0, int y, int count, std::uint32_t* out) const
{
    const double Y = double(y) + 0.5;
    for (int k0 = 0; k0 < count; k0 += kSpan) {
        const int length = std::min(kSpan, count - k0);
        const double Xa = double(x0) + double(k0) + 0.5, Xb = Xa + double(length - 1);
        if (length >= 4 && PaintSpan(MapCentre(Xa, Y), MapCentre(0.5 * (Xa + Xb), Y), MapCentre(Xb, Y), length,
                                     out + k0))
            continue;
        for (int k = k0; k < k0 + length; ++k)
            out[k] = Pixel(MapCentre(double(x0) + double(k) + 0.5, Y));
    }
}

bool CPerspectiveSampler::PaintSpan(const Point& a, const Point& mid, const Point& b, int length,
                                    std::uint32_t* out) const
{
    // w is linear along the run: positive at both ends, positive all along.
    if (!(a.w > 0 && b.w > 0))
        return false;
    const Footprint fa = Measure(a), fm = Measure(mid), fb = Measure(b);
    if (fa.kind == Footprint::Whole || fa.kind == Footprint::Beyond || fa.n > 1 || fm.n > 1 || fb.n > 1 || fa.kind != fm.kind || fa.kind != fb.kind)
        return false;
    // One level pair for the whole run: its ends may not differ much in level.
    const double lod = fm.lod;
    if (!(std::fabs(fa.lod - lod) <= 0.125 && std::fabs(fb.lod - lod) <= 0.125))
        return false;
    const int l0 = int(lod);
    if (l0 >= m_texture.LevelCount() - 1)
        return false;
    const double tolerance = kSpanTolerance * double(std::int64_t(1) << l0);
    if (!(std::fabs(mid.u - 0.5 * (a.u + b.u)) <= tolerance && std::fabs(mid.v - 0.5 * (a.v + b.v)) <= tolerance))
        return false;
    const auto f = std::uint32_t((lod - l0) * 256.0);
    const double steps = double(length - 1);
    const auto paint = [&](const CMipTexture::Level& level, std::uint32_t* to) {
        Stepper s((a.u * level.scaleX) - 0.5, (b.u - a.u) * level.scaleX / steps, level.width);
        Stepper t((a.v * level.scaleY) - 0.5, (b.v - a.v) * level.scaleY / steps, level.height);
        if (!s.Fits() || !t.Fits())
            return false;
        const std::uint32_t* texels = level.texels.data();
        for (int k = 0; k < length; ++k) {
            const int i = s.Index(), j = t.Index();
            const int i1 = i + 1 == level.width ? 0 : i + 1;
            const int j1 = j + 1 == level.height ? 0 : j + 1;
            to[k] = Blend(texels + std::size_t(j) * std::size_t(level.width),
                          texels + std::size_t(j1) * std::size_t(level.width), i, i1, s.Fraction(), t.Fraction());
            s.Next();
            t.Next();
        }
        return true;
    };
    if (!paint(m_texture.GetLevel(l0), out))
        return false;
    if (f == 0)
        return true;
    std::uint32_t coarse[kSpan];
    if (!paint(m_texture.GetLevel(l0 + 1), coarse))
        return false;
    for (int k = 0; k < length; ++k)
        out[k] = Gather(Lerp(Spread(out[k]), Spread(coarse[k]), f));
    return true;
}

CPerspectiveSampler::Footprint CPerspectiveSampler::Measure(const Point& p) const
{
    Footprint f;
    if (!(p.w > 0))
        return f;
    // Singular values of the Jacobian: smax² + smin² = t, smax * smin = |d|.
    f.a = p.ux * p.ux + p.uy * p.uy;
    f.b = p.ux * p.vx + p.uy * p.vy;
    f.c = p.vx * p.vx + p.vy * p.vy;
    const double t = f.a + f.c, d = std::fabs(p.ux * p.vy - p.uy * p.vx);
    f.smax2 = 0.5 * (t + std::sqrt(std::max(0.0, (t - 2 * d) * (t + 2 * d))));
    const CMipTexture::Level& base = m_texture.GetLevel(0);
    if (!(f.smax2 < 1e30) || !std::isfinite(p.u) || !std::isfinite(p.v))
        return f;
    f.kind = Footprint::Magnified;
    if (f.smax2 <= 1.0)
        return f;
    f.smax = std::sqrt(f.smax2);
    const double smin = d / f.smax;
    // Rounded, not raised: a footprint up to half as wide again as it is
    // long is taken in one sample, a little blurred across.
    f.n = smin * kMaxAnisotropy >= f.smax ? std::max(1, int(f.smax / smin + 0.5)) : kMaxAnisotropy;
    const double width = std::max(smin, f.smax / f.n);
    // Texels this wide exceed the texture: the pixel shows all of it.
    if (width >= double(std::max(base.width, base.height))) {
        f.kind = Footprint::Whole;
        return f;
    }
    // log2 near enough: exact at powers of two, straight between them.
    int exponent = 0;
    const double mantissa = std::frexp(std::max(1.0, width), &exponent);
    f.lod = double(exponent - 1) + (2.0 * mantissa - 1.0);
    f.kind = Footprint::Minified;
    return f;
}

std::uint32_t CPerspectiveSampler::Filtered(const Point& p) const
{
    const Footprint fp = Measure(p);
    if (fp.kind == Footprint::Whole || fp.kind == Footprint::Beyond)
        return m_mean;
    if (fp.kind == Footprint::Magnified)
        return Bilinear(m_texture.GetLevel(0), p.u, p.v);
    const double a = fp.a, b = fp.b, c = fp.c, smax2 = fp.smax2, smax = fp.smax, lod = fp.lod;
    const int n = fp.n;
    if (n == 1)
        return Trilinear(p.u, p.v, lod);
    // The major axis: the eigenvector of J Jᵀ = [[a, b], [b, c]] for smax²,
    // from whichever of its two expressions is better conditioned.
    double ex = b, ey = smax2 - a;
    if (std::fabs(smax2 - c) + std::fabs(b) > std::fabs(ex) + std::fabs(ey)) {
        ex = smax2 - c;
        ey = b;
    }
    const double norm = std::sqrt(ex * ex + ey * ey);
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
        sum += Spread(Trilinear(p.u + o * ex, p.v + o * ey, lod));
    }
    const auto lane = [&](int shift) { return ((sum >> shift & 0xFFFFu) + Lanes(n) / 2) / Lanes(n); };
    return 0xFF000000u | std::uint32_t(lane(32) << 16 | lane(16) << 8 | lane(0));
}

std::uint32_t CPerspectiveSampler::Trilinear(double u, double v, double lod) const
{
    const int top = m_texture.LevelCount() - 1;
    const int l0 = int(lod);
    if (l0 >= top)
        return m_mean;
    const CMipTexture::Level& fine = m_texture.GetLevel(l0);
    const std::uint32_t a = Bilinear(fine, u * fine.scaleX, v * fine.scaleY);
    const auto f = std::uint32_t((lod - l0) * 256.0);
    if (f == 0)
        return a;
    const CMipTexture::Level& coarse = m_texture.GetLevel(l0 + 1);
    return Gather(Lerp(Spread(a), Spread(Bilinear(coarse, u * coarse.scaleX, v * coarse.scaleY)), f));
}
