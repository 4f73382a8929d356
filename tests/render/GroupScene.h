#pragma once

#include "document/Area.h"
#include "document/IAreaWarpSource.h"
#include "document/TemplateFile.h"
#include "document/TestImages.h"

#include <QImage>
#include <vector>

// A busy image, so that a pixel taken from the wrong place shows.
inline QImage Noise(int w, int h, unsigned seed, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    return image;
}

// The area as a file holds it with warp as its stored warped texture: one
// no rebuild would make, which every composition must draw as it is.
inline CArea WithStoredWarp(const CArea& area, const QImage& warp)
{
    struct CFixed : IAreaWarpSource
    {
        std::shared_ptr<const QImage> image;
        std::shared_ptr<const QImage> ExactWarp(const CArea&) const override { return image; }
    } fixed;
    fixed.image = std::make_shared<const QImage>(warp);
    return ReadTemplate(*WriteTemplate(nullptr, QByteArray(), {area}, &fixed)).areas.front();
}

// Four overlapping areas on a 160 x 120 picture with every kind of
// placement: a wall whose warp came with the file (not the one its texture
// would make), a skewed floor, a rug turned a quarter, and a mat at an odd
// angle and scale over both.
struct CGroupScene
{
    QImage picture = Noise(160, 120, 3);
    std::vector<CArea> areas{4};

    CGroupScene()
    {
        const auto lay = [this](int i, const char* name, const CPolygon& outline, const QImage& texture,
                                double rotation, double scale) {
            areas[i].SetName(name);
            areas[i].SetOutline(&outline);
            areas[i].SetRotation(rotation);
            areas[i].SetScale(scale);
            areas[i].SetTexture(&texture);
        };
        lay(0, "Wall", RectPolygon(0, 0, 160, 50), Noise(9, 7, 11), 0, 1);
        areas[0].GetSkewCorners() = {QPoint(0, 0), QPoint(159, 0), QPoint(0, 49), QPoint(159, 49)};
        areas[0].SetSkewApplied(true);
        areas[0] = WithStoredWarp(areas[0], QuadrantImage(160, 50));
        areas[1].GetSkewCorners() = {QPoint(25, 42), QPoint(135, 42), QPoint(2, 118), QPoint(158, 118)};
        areas[1].SetInitialRect({0, 0, 120, 90});
        areas[1].SetSkewApplied(true);
        lay(1, "Floor", CPolygon{{{{30, 45}, {130, 45}, {155, 115}, {5, 115}}}}, Noise(16, 12, 7), 12, 1.3);
        lay(2, "Rug", RectPolygon(40, 60, 110, 100), QuadrantImage(10, 6), 90, 1);
        areas[2].SetShift(3, -2);
        lay(3, "Mat", CPolygon{{{{20.5, 70.2}, {100.9, 55.0}, {90.0, 112.7}}}}, Noise(13, 11, 5), 17.5, 0.7);
    }

    // The areas as a composition takes them, their warps kept.
    std::vector<CArea> Clones() const
    {
        return areas;
    }
};
