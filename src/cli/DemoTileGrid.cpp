#include "DemoTileGrid.h"

#include "DemoNoise.h"

#include <algorithm>
#include <cmath>

QImage CDemoTileGrid::Paint(int cellW, int cellH, int stagger, double grout, QRgb groutColour,
                            const TileColour& tile)
{
    const int n = kDemoTextureSize;
    QImage image(n, n, QImage::Format_RGB32);
    for (int y = 0; y < n; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double py = y + 0.5;
        const int row = static_cast<int>(py) / cellH;
        for (int x = 0; x < n; ++x) {
            double sx = x + 0.5 + (row % 2 ? stagger : 0);
            if (sx >= n)
                sx -= n;
            const int col = static_cast<int>(sx) / cellW;
            const Pixel p{col, row, sx - col * cellW, py - row * cellH, x + 0.5, py};
            const double edge = std::min({p.lx, cellW - p.lx, p.ly, cellH - p.ly}) - grout / 2;
            // A glazed edge rounds off into the joint: darken the last pixels.
            const double bevel = 1.0 - 0.1 * std::clamp(1.0 - edge / 3.0, 0.0, 1.0);
            const QRgb face = ScaleRgb(tile(p), bevel);
            line[x] = MixRgb(groutColour, face, edge + 0.5);
        }
    }
    return image;
}
