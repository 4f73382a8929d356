#include "DemoNoise.h"

#include <algorithm>
#include <cmath>

namespace {

double Fade(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

std::int64_t Wrap(std::int64_t i, int n)
{
    const std::int64_t m = i % n;
    return m < 0 ? m + n : m;
}

// Bilinear blend of four lattice values with smoothed weights; at(i, j)
// gives the value of a lattice point.
template <typename At>
double Blend(double u, double v, At at)
{
    const double fu = std::floor(u), fv = std::floor(v);
    const auto i = static_cast<std::int64_t>(fu), j = static_cast<std::int64_t>(fv);
    const double tu = Fade(u - fu), tv = Fade(v - fv);
    const double top = at(i, j) + (at(i + 1, j) - at(i, j)) * tu;
    const double bottom = at(i, j + 1) + (at(i + 1, j + 1) - at(i, j + 1)) * tu;
    return top + (bottom - top) * tv;
}

int Channel(double v)
{
    return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0)));
}

} // namespace

double CDemoNoise::Lattice(std::int64_t i, std::int64_t j, std::uint32_t seed)
{
    std::uint64_t h = static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull ^
                      static_cast<std::uint64_t>(j) * 0xC2B2AE3D27D4EB4Full ^
                      (static_cast<std::uint64_t>(seed) + 0x165667B19E3779F9ull);
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return static_cast<double>(h >> 11) * 0x1.0p-53;
}

double CDemoNoise::Smooth(double u, double v, std::uint32_t seed)
{
    return Blend(u, v, [seed](std::int64_t i, std::int64_t j) { return Lattice(i, j, seed); });
}

double CDemoNoise::Wrapped(double x, double y, int cellsX, int cellsY, std::uint32_t seed)
{
    const double u = x * cellsX / kDemoTextureSize, v = y * cellsY / kDemoTextureSize;
    return Blend(u, v, [=](std::int64_t i, std::int64_t j) {
        return Lattice(Wrap(i, cellsX), Wrap(j, cellsY), seed);
    });
}

double CDemoNoise::Fractal(double x, double y, int cells, int octaves, std::uint32_t seed)
{
    double sum = 0.0, weight = 1.0, total = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * Wrapped(x, y, cells, cells, seed + static_cast<std::uint32_t>(o) * 7919u);
        total += weight;
        weight *= 0.5;
        cells *= 2;
    }
    return sum / total;
}

QRgb MixRgb(QRgb a, QRgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const auto mix = [t](int p, int q) { return Channel(p + (q - p) * t); };
    return qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)));
}

QRgb ScaleRgb(QRgb c, double factor)
{
    factor = std::max(factor, 0.0);
    return qRgb(Channel(qRed(c) * factor), Channel(qGreen(c) * factor), Channel(qBlue(c) * factor));
}
