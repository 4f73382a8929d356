#include "DemoWoodTextures.h"

#include "DemoNoise.h"

#include <QPainter>
#include <QTransform>
#include <cmath>

namespace {

struct Wood
{
    QRgb light;
    QRgb dark;
    double rings; // growth rings across the board's width
};

const Wood kOak{qRgb(0xCB, 0xA2, 0x6C), qRgb(0x96, 0x6B, 0x3E), 3.0};
const Wood kWalnut{qRgb(0x74, 0x51, 0x37), qRgb(0x35, 0x22, 0x16), 5.0};
const Wood kParquet{qRgb(0xC0, 0x92, 0x5C), qRgb(0x86, 0x5C, 0x33), 2.0};

// One board, grain along x. Boards are never cut at the texture's edge, so
// their grain need not wrap: the endless noise serves.
QImage Board(int w, int h, const Wood& wood, std::uint32_t seed)
{
    QImage board(w, h, QImage::Format_RGB32);
    const double tint = 0.9 + 0.2 * CDemoNoise::Lattice(seed, 0, 1);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(board.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double u = x + 0.5, v = y + 0.5;
            const double bend = CDemoNoise::Smooth(u / 90.0, v / 20.0, seed) * 1.6 +
                                CDemoNoise::Smooth(u / 23.0, v / 9.0, seed + 1) * 0.35;
            const double ring = v / h * wood.rings + bend;
            const double late = std::pow(ring - std::floor(ring), 3.0);
            const double streak = CDemoNoise::Smooth(u / 40.0, v / 1.3, seed + 2);
            line[x] = ScaleRgb(MixRgb(wood.light, wood.dark, 0.6 * late + 0.3 * streak), tint);
        }
    }
    return board;
}

// Draws a board at x and again one texture width to the left, so a board
// that runs over the right edge comes back in at the left.
void DrawBoardWrapped(QPainter& painter, int x, int y, const QImage& board)
{
    painter.drawImage(x, y, board);
    painter.drawImage(x - kDemoTextureSize, y, board);
}

// Rows of boards rowHeight high with joints at seeded places; every row holds
// boardsPerRow boards.
QImage Planks(int rowHeight, int boardsPerRow, const Wood& wood, std::uint32_t seed)
{
    const int n = kDemoTextureSize;
    QImage image(n, n, QImage::Format_RGB32);
    QPainter painter(&image);
    const QColor joint(0x2E, 0x1E, 0x12, 190);
    for (int row = 0; row * rowHeight < n; ++row) {
        const int y = row * rowHeight;
        const int start = static_cast<int>(CDemoNoise::Lattice(row, 0, seed) * n);
        int x = start;
        for (int b = 0; b < boardsPerRow; ++b) {
            const int end = b + 1 == boardsPerRow
                                ? start + n
                                : x + n / boardsPerRow +
                                      static_cast<int>((CDemoNoise::Lattice(row, b + 1, seed) - 0.5) * 48);
            const auto boardSeed = seed * 131u + static_cast<std::uint32_t>(row * 16 + b);
            DrawBoardWrapped(painter, x, y, Board(end - x, rowHeight, wood, boardSeed));
            painter.fillRect(QRect(x % n, y, 1, rowHeight), joint);
            x = end;
        }
        painter.fillRect(QRect(0, y, n, 1), joint);
    }
    return image;
}

} // namespace

QImage CDemoWoodTextures::OakPlanks()
{
    return Planks(32, 2, kOak, 81);
}

QImage CDemoWoodTextures::Walnut()
{
    return Planks(64, 1, kWalnut, 91);
}

QImage CDemoWoodTextures::Herringbone()
{
    // Blocks of 4 x 1 units: a horizontal block at o + [0,4) x [0,1) and a
    // vertical one at o + [0,1) x [1,5), for o on the lattice spanned by
    // (1, 1) and (4, -4). That lattice holds (8, 0) and (0, 8), so at 32
    // pixels a unit the pattern repeats every 256 pixels.
    constexpr int unit = 32, length = 4 * unit;
    const int n = kDemoTextureSize;
    QImage image(n, n, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(QColor(0x4A, 0x33, 0x1E, 200));
    for (int a = -16; a <= 24; ++a)
        for (int b = -4; b <= 4; ++b) {
            const int ox = (a + 4 * b) * unit, oy = (a - 4 * b) * unit;
            if (ox < -length || ox > n || oy < -length - unit || oy > n)
                continue;
            // Seeded by the place modulo the period, so repeated blocks match.
            const auto key = static_cast<std::uint32_t>(((ox % n + n) % n) * n + (oy % n + n) % n);
            const QImage board = Board(length, unit, kParquet, 101u + key * 2u);
            painter.drawImage(ox, oy, board);
            painter.drawRect(QRect(ox, oy, length - 1, unit - 1));
            const QImage upright = Board(length, unit, kParquet, 102u + key * 2u)
                                       .transformed(QTransform().rotate(90));
            painter.drawImage(ox, oy + unit, upright);
            painter.drawRect(QRect(ox, oy + unit, unit - 1, length - 1));
        }
    return image;
}
