#pragma once

#include "geometry/Polygon.h"

#include <QColor>
#include <QImage>

// A picture with four differently coloured quadrants, so that orientation
// and position mistakes show.
inline QImage QuadrantImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            image.setPixel(x, y, right ? (bottom ? 0xFF0000FF : 0xFF00FF00) : (bottom ? 0xFFFFFF00 : 0xFFFF0000));
        }
    return image;
}

inline CPolygon RectPolygon(double x0, double y0, double x1, double y1)
{
    return CPolygon{{{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}}};
}
