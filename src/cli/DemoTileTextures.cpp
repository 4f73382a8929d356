#include "DemoTileTextures.h"

#include "DemoNoise.h"
#include "DemoTileGrid.h"

#include <cmath>
#include <numbers>

namespace {

using Pixel = CDemoTileGrid::Pixel;

// A tile's own pick among a few values, fixed by its place in the grid.
double TileHash(const Pixel& p, std::uint32_t seed)
{
    return CDemoNoise::Lattice(p.col, p.row, seed);
}

// Marble: a base colour crossed by veins that wander with the noise.
QRgb Marble(const Pixel& p, QRgb base, QRgb vein, std::uint32_t seed)
{
    const double n = CDemoNoise::Fractal(p.x, p.y, 4, 5, seed);
    const double wave = std::sin(2.0 * std::numbers::pi * (p.x + p.y) * 2.0 / kDemoTextureSize + 9.0 * n);
    const double strength = std::pow(1.0 - std::abs(wave), 10.0);
    const double cloud = CDemoNoise::Fractal(p.x, p.y, 8, 3, seed + 1);
    return MixRgb(ScaleRgb(base, 0.94 + 0.1 * cloud), vein, 0.85 * strength);
}

} // namespace

QImage CDemoTileTextures::WhiteCeramic()
{
    return CDemoTileGrid::Paint(64, 64, 0, 3.0, qRgb(0xC8, 0xC4, 0xBC), [](const Pixel& p) {
        // A soft glaze highlight runs across each tile from its top-left.
        const double glaze = (p.lx + p.ly) / 128.0;
        const double tint = TileHash(p, 11) * 0.04;
        const double grain = CDemoNoise::Wrapped(p.x, p.y, 64, 64, 12) * 0.03;
        return ScaleRgb(qRgb(0xF5, 0xF4, 0xF0), 1.0 - 0.06 * glaze - tint - grain);
    });
}

QImage CDemoTileTextures::Terracotta()
{
    static const QRgb kClays[] = {qRgb(0xB8, 0x59, 0x2F), qRgb(0xC4, 0x68, 0x3A), qRgb(0xA9, 0x4F, 0x2A),
                                  qRgb(0xBF, 0x61, 0x36)};
    return CDemoTileGrid::Paint(128, 128, 0, 6.0, qRgb(0xB9, 0xAE, 0x9C), [](const Pixel& p) {
        const QRgb clay = kClays[static_cast<int>(TileHash(p, 21) * 4)];
        const double mottle = CDemoNoise::Fractal(p.x, p.y, 16, 4, 22);
        // The kiln darkens a tile towards its rim.
        const double rim = std::min({p.lx, 128 - p.lx, p.ly, 128 - p.ly});
        const double burn = 0.12 * std::exp(-rim / 14.0);
        return ScaleRgb(MixRgb(clay, qRgb(0x8A, 0x3C, 0x1E), 0.6 * mottle - 0.15), 1.0 - burn);
    });
}

QImage CDemoTileTextures::MarbleCheckerboard()
{
    return CDemoTileGrid::Paint(64, 64, 0, 1.0, qRgb(0x9A, 0x9A, 0x9A), [](const Pixel& p) {
        if ((p.col + p.row) % 2 == 0)
            return Marble(p, qRgb(0xEE, 0xED, 0xEA), qRgb(0x8C, 0x8D, 0x94), 31);
        return Marble(p, qRgb(0x24, 0x30, 0x2B), qRgb(0xB4, 0xC2, 0xBA), 32);
    });
}

QImage CDemoTileTextures::BlueMosaic()
{
    static const QRgb kGlass[] = {qRgb(0x1F, 0x4E, 0x8C), qRgb(0x2E, 0x6D, 0xB4), qRgb(0x4A, 0x8B, 0xD0),
                                  qRgb(0x7F, 0xB2, 0xE5), qRgb(0x16, 0x38, 0x6A), qRgb(0x3F, 0x7F, 0xBF)};
    return CDemoTileGrid::Paint(16, 16, 0, 2.0, qRgb(0xE2, 0xE0, 0xDA), [](const Pixel& p) {
        const QRgb glass = kGlass[static_cast<int>(TileHash(p, 41) * 6)];
        const double shine = 1.08 - 0.16 * (p.lx + p.ly) / 32.0;
        return ScaleRgb(glass, shine + 0.06 * (CDemoNoise::Wrapped(p.x, p.y, 128, 128, 42) - 0.5));
    });
}
