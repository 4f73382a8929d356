#pragma once

#include <QRgb>
#include <QSize>
#include <QTransform>

#include <algorithm>
#include <cmath>

// The largest pixel coordinate the view works with: zoomed pictures, scroll
// ranges and mapped points stay within it.
constexpr double kMaxPixelExtent = double(1 << 30);

// Truncation toward zero, as every conversion to whole pixels does here,
// held within kMaxPixelExtent so that absurd coordinates cannot overflow;
// not a number gives 0.
inline int TruncPixel(double v)
{
    return std::isfinite(v) ? int(std::clamp(v, -kMaxPixelExtent, kMaxPixelExtent)) : 0;
}

// Everything that decides where the picture lands in a view's client area:
// per axis, client = picture x zoom + offset - scroll.
struct CViewGeometry
{
    float zoomX = 1.0f;
    float zoomY = 1.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    int scrollX = 0;
    int scrollY = 0;
    QSize client;          // logical pixels
    qreal dpr = 1.0;       // device pixels per logical pixel
    QRgb background = 0xFFFFFFFF;

    // Picture coordinates to client coordinates.
    QTransform Transform() const
    {
        return QTransform(zoomX, 0.0, 0.0, zoomY, qreal(offsetX) - scrollX, qreal(offsetY) - scrollY);
    }

    bool SameExceptScroll(const CViewGeometry& o) const
    {
        return zoomX == o.zoomX && zoomY == o.zoomY && offsetX == o.offsetX && offsetY == o.offsetY &&
               client == o.client && dpr == o.dpr && background == o.background;
    }
    bool operator==(const CViewGeometry& o) const
    {
        return SameExceptScroll(o) && scrollX == o.scrollX && scrollY == o.scrollY;
    }
};
