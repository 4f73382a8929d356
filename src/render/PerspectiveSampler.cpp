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
constexpr int kSpan = CTrackPainter::kMaxLength;

} // namespace

CPerspectiveSampler::CPerspectiveSampler(const CMipTexture& texture, const std::array<double, 9>& pictureToTexel)
    : m_texture(texture), m_painter(texture), m_m(pictureToTexel), m_mean(texture.Mean())
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
    for (int k0 = 0; k0 < count; k0 += kSpan)
        PaintRun(double(x0) + double(k0) + 0.5, Y, std::min(kSpan, count - k0), out + k0);
}

void CPerspectiveSampler::PaintRun(double Xa, double Y, int length, std::uint32_t* out) const
{
    const double Xb = Xa + double(length - 1);
    if (length >= 4 && PaintSpan(MapCentre(Xa, Y), MapCentre(0.5 * (Xa + Xb), Y), MapCentre(Xb, Y), length, out))
        return;
    // A run that bends too much for one straight line bends a quarter as
    // much over each half.
    if (length >= 8) {
        const int half = length / 2;
        PaintRun(Xa, Y, half, out);
        PaintRun(Xa + double(half), Y, length - half, out + half);
        return;
    }
    for (int k = 0; k < length; ++k)
        out[k] = Pixel(MapCentre(Xa + double(k), Y));
}

bool CPerspectiveSampler::PaintSpan(const Point& a, const Point& mid, const Point& b, int length,
                                    std::uint32_t* out) const
{
    // w is linear along the run: positive at both ends, positive all along.
    if (!(a.w > 0 && b.w > 0))
        return false;
    const Footprint fa = Measure(a), fm = Measure(mid), fb = Measure(b);
    if ((fm.kind != Footprint::Minified && fm.kind != Footprint::Magnified) || fa.kind != fm.kind
        || fb.kind != fm.kind)
        return false;
    // One level pair for the whole run, the blend between them going
    // straight from one end's to the other's: its ends may not differ much
    // in level, nor lie on either side of a level.
    const int l0 = int(fm.lod);
    if (!(std::fabs(fa.lod - fm.lod) <= 0.125 && std::fabs(fb.lod - fm.lod) <= 0.125) || int(fa.lod) != l0
        || int(fb.lod) != l0)
        return false;
    if (l0 >= m_texture.LevelCount() - 1)
        return false;
    if (fa.n != fm.n || fb.n != fm.n)
        return false;
    const int n = fm.n;
    const double tolerance = kSpanTolerance * double(std::int64_t(1) << l0);
    CTrackPainter::Track tracks[kMaxAnisotropy];
    if (n == 1) {
        if (!(std::fabs(mid.u - 0.5 * (a.u + b.u)) <= tolerance && std::fabs(mid.v - 0.5 * (a.v + b.v)) <= tolerance))
            return false;
        tracks[0] = {a.u, a.v, b.u, b.v};
        return m_painter.Paint(tracks, 1, fa.lod, fb.lod, length, out);
    }
    // Each sample's track runs between its places at the ends; the axes,
    // whose sign is arbitrary, turned to agree first. The places at the
    // middle stray from those tracks most at the outermost samples, the
    // strays being affine in the sample's offset.
    const Axis ea = fa.MajorAxis(), em = fm.MajorAxis().Toward(ea), eb = fb.MajorAxis().Toward(ea);
    const auto place = [n](const Point& p, const Footprint& f, const Axis& e, int k) {
        const double o = (double(k) + 0.5 - 0.5 * n) * f.smax / n;
        return std::array<double, 2>{p.u + o * e.x, p.v + o * e.y};
    };
    for (const int k : {0, n - 1}) {
        const auto pa = place(a, fa, ea, k), pm = place(mid, fm, em, k), pb = place(b, fb, eb, k);
        if (!(std::fabs(pm[0] - 0.5 * (pa[0] + pb[0])) <= tolerance
              && std::fabs(pm[1] - 0.5 * (pa[1] + pb[1])) <= tolerance))
            return false;
    }
    for (int k = 0; k < n; ++k) {
        const auto pa = place(a, fa, ea, k), pb = place(b, fb, eb, k);
        tracks[k] = {pa[0], pa[1], pb[0], pb[1]};
    }
    return m_painter.Paint(tracks, n, fa.lod, fb.lod, length, out);
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
    // long is taken in one sample, a little blurred across. One less than a
    // texel across is read from level 0, whose bilinear samples each span a
    // texel: samples a texel apart along it cover it, and more would only
    // read the same texels again.
    const double across = std::max(1.0, smin);
    if (f.smax >= across * kMaxAnisotropy)
        f.n = kMaxAnisotropy;
    else if (f.smax < 1.5 * across)
        f.n = 1;
    else
        f.n = smin < 1 ? int(std::ceil(f.smax)) : int(f.smax / smin + 0.5);
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

CPerspectiveSampler::Axis CPerspectiveSampler::Footprint::MajorAxis() const
{
    // The eigenvector of J Jᵀ = [[a, b], [b, c]] for smax², from whichever
    // of its two expressions is better conditioned.
    Axis e{b, smax2 - a};
    if (std::fabs(smax2 - c) + std::fabs(b) > std::fabs(e.x) + std::fabs(e.y))
        e = {smax2 - c, b};
    const double norm = std::sqrt(e.x * e.x + e.y * e.y);
    if (!(norm > 0))
        return {1, 0};
    return {e.x / norm, e.y / norm};
}

std::uint32_t CPerspectiveSampler::Filtered(const Point& p) const
{
    const Footprint fp = Measure(p);
    if (fp.kind == Footprint::Whole || fp.kind == Footprint::Beyond)
        return m_mean;
    if (fp.kind == Footprint::Magnified)
        return Bilinear(m_texture.GetLevel(0), p.u, p.v);
    const double smax = fp.smax, lod = fp.lod;
    const int n = fp.n;
    if (n == 1)
        return Trilinear(p.u, p.v, lod);
    const Axis e = fp.MajorAxis();
    const double step = smax / n;
    Lanes sum = 0;
    for (int k = 0; k < n; ++k) {
        const double o = (double(k) + 0.5 - 0.5 * n) * step;
        sum += Spread(Trilinear(p.u + o * e.x, p.v + o * e.y, lod));
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
