#include "WandBench.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace
{

QImage MakeRoom()
{
    constexpr int w = 6000, h = 4000, wallBottom = 1600, skirting = 60;
    QImage room(w, h, QImage::Format_RGB32);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> noise(-5, 5);
    const auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(room.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double light = 0.85 + 0.15 * x / w;
            if (y < wallBottom)
                row[x] = qRgb(clamp(int(200 * light) + noise(random) / 2), clamp(int(185 * light)),
                              clamp(int(160 * light)));
            else if (y < wallBottom + skirting)
                row[x] = qRgb(245, 245, 240);
            else {
                const double depth = 0.9 + 0.1 * (y - wallBottom) / (h - wallBottom);
                row[x] = qRgb(clamp(int(150 * light * depth) + noise(random)),
                              clamp(int(110 * light * depth) + noise(random)),
                              clamp(int(80 * light * depth) + noise(random)));
            }
        }
    }
    // Knots: bluish-grey specks, quarter discs 3 to 7 pixels across.
    std::uniform_int_distribution<int> kx(0, w - 8), ky(wallBottom + skirting, h - 8), size(3, 7);
    for (int i = 0; i < 6000; ++i) {
        const int x0 = kx(random), y0 = ky(random), s = size(random);
        for (int y = y0; y < y0 + s; ++y)
            for (int x = x0; x < x0 + s; ++x)
                if ((x - x0) * (x - x0) + (y - y0) * (y - y0) <= s * s)
                    room.setPixel(x, y, qRgb(90, 90, 110));
    }
    // A table and a round plant pot.
    for (int y = 2200; y < 3000; ++y)
        for (int x = 1000; x < 2200; ++x)
            room.setPixel(x, y, qRgb(40, 40, 45));
    for (int y = 2400; y < 3200; ++y)
        for (int x = 4000; x < 4800; ++x)
            if ((x - 4400) * (x - 4400) + (y - 2800) * (y - 2800) < 400 * 400)
                room.setPixel(x, y, qRgb(60, 120, 50));
    return room;
}

} // namespace

const QImage& WandRoom()
{
    static const QImage room = MakeRoom();
    return room;
}

QPoint WandRoomFloorPoint()
{
    return QPoint(3000, 3600);
}
