#include "DemoStoneTextures.h"

#include "DemoNoise.h"
#include "DemoRandom.h"
#include "DemoTileGrid.h"

#include <QPainter>
#include <cmath>
#include <numbers>

namespace {

using Pixel = CDemoTileGrid::Pixel;

// Draws an ellipse and, where it crosses an edge of the texture, its copies
// on the far side, so that scattered marks tile too.
void DrawWrapped(QPainter& painter, const QRectF& ellipse)
{
    const int n = kDemoTextureSize;
    for (int dy = -n; dy <= n; dy += n)
        for (int dx = -n; dx <= n; dx += n) {
            const QRectF r = ellipse.translated(dx, dy);
            if (r.intersects(QRectF(0, 0, n, n)))
                painter.drawEllipse(r);
        }
}

} // namespace

QImage CDemoStoneTextures::Slate()
{
    static const QRgb kSlabs[] = {qRgb(0x4A, 0x55, 0x60), qRgb(0x54, 0x5E, 0x66), qRgb(0x43, 0x4C, 0x55),
                                  qRgb(0x5B, 0x62, 0x68)};
    return CDemoTileGrid::Paint(128, 128, 0, 4.0, qRgb(0x33, 0x36, 0x39), [](const Pixel& p) {
        const QRgb slab = kSlabs[static_cast<int>(CDemoNoise::Lattice(p.col, p.row, 51) * 4)];
        // Cleavage layers run along the slab: long in x, thin in y.
        const double layers = CDemoNoise::Wrapped(p.x, p.y, 4, 48, 52);
        const double fine = CDemoNoise::Fractal(p.x, p.y, 32, 3, 53);
        return MixRgb(slab, qRgb(0x72, 0x7B, 0x84), 0.55 * layers * layers + 0.2 * fine - 0.1);
    });
}

QImage CDemoStoneTextures::GraniteSpeckle()
{
    const int n = kDemoTextureSize;
    QImage image(n, n, QImage::Format_RGB32);
    for (int y = 0; y < n; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < n; ++x)
            line[x] = MixRgb(qRgb(0xB7, 0xA9, 0xA3), qRgb(0x94, 0x88, 0x85),
                             CDemoNoise::Fractal(x + 0.5, y + 0.5, 8, 4, 61));
    }
    // Crystals: dark mica, white quartz, pink feldspar, grey.
    static const QColor kCrystals[] = {QColor(0x1E, 0x1C, 0x1D), QColor(0xF1, 0xEE, 0xEA),
                                       QColor(0xC9, 0x8E, 0x80), QColor(0x6F, 0x6B, 0x6C)};
    static const double kShare[] = {0.45, 0.25, 0.2, 0.1};
    CDemoRandom random(0x6A7A17E);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 2600; ++i) {
        double pick = random.Uniform();
        int kind = 0;
        while (kind < 3 && pick >= kShare[kind])
            pick -= kShare[kind++];
        const double cx = random.Uniform(0, n), cy = random.Uniform(0, n);
        const double rx = random.Uniform(0.7, 2.2), ry = rx * random.Uniform(0.6, 1.2);
        painter.setBrush(kCrystals[kind]);
        DrawWrapped(painter, QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry));
    }
    return image;
}

QImage CDemoStoneTextures::Travertine()
{
    QImage image =
        CDemoTileGrid::Paint(256, 128, 128, 2.0, qRgb(0xCB, 0xB9, 0x9A), [](const Pixel& p) {
            // Sediment bands, bent by the noise.
            const double bend = CDemoNoise::Fractal(p.x, p.y, 4, 3, 71);
            const double band = 0.5 + 0.5 * std::sin(2.0 * std::numbers::pi * p.y * 5.0 / kDemoTextureSize +
                                                      7.0 * bend);
            const double cloud = CDemoNoise::Fractal(p.x, p.y, 16, 3, 72);
            return MixRgb(qRgb(0xE0, 0xD0, 0xB3), qRgb(0xC4, 0xAD, 0x88), 0.55 * band + 0.3 * cloud - 0.1);
        });
    // The stone's typical pits: small flat holes along the bands.
    CDemoRandom random(0x7EA7E);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xA8, 0x90, 0x6C, 170));
    for (int i = 0; i < 170; ++i) {
        const double cx = random.Uniform(0, kDemoTextureSize), cy = random.Uniform(0, kDemoTextureSize);
        const double w = random.Uniform(2.5, 13.0), h = random.Uniform(1.2, 3.5);
        DrawWrapped(painter, QRectF(cx - w / 2, cy - h / 2, w, h));
    }
    return image;
}
