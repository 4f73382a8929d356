#pragma once

#include "document/Area.h"

#include <QImage>
#include <vector>

// Smooth gradients with some detail, so the JPEG coder does the work a
// photograph would give it rather than compressing flat colour.
inline QImage PhotoLike(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int n = (x * 7 + y * 13 + seed) * 2654435761u >> 28;
            line[x] = qRgb((x * 255 / w + n) & 0xFF, (y * 255 / h + n) & 0xFF, ((x + y + seed) / 16 + n) & 0xFF);
        }
    }
    return image;
}

// A 24-megapixel picture with five textured areas; the first is skewed and
// has its warped texture built, as a saved template of a real room would.
struct BenchTemplate
{
    QImage picture = PhotoLike(6000, 4000, 1);
    std::vector<CArea> areas;

    BenchTemplate()
    {
        for (int i = 0; i < 5; ++i) {
            CArea area;
            area.SetName(QStringLiteral("Area %1").arg(i + 1));
            const double x = 200 + i * 1100, y = 300 + i * 600;
            const CPolygon outline{{{{x, y}, {x + 1000, y}, {x + 1000, y + 900}, {x, y + 900}}}};
            area.SetOutline(&outline);
            area.SetScale(0.5 + 0.25 * i);
            area.SetRotation(15.0 * i);
            if (i == 0) {
                area.GetSkewCorners() = {QPoint(int(x) + 100, int(y)), QPoint(int(x) + 900, int(y)),
                                         QPoint(int(x), int(y) + 900), QPoint(int(x) + 1000, int(y) + 900)};
                area.SetInitialRect({0, 0, 500, 450});
                area.SetSkewApplied(true);
            }
            const QImage texture = PhotoLike(512, 512, i + 2);
            area.SetTexture(&texture);
            areas.push_back(std::move(area));
        }
    }
};
