// PLACEHOLDER (nearest texel, no filtering): replaced by the real warp.
#include "render/PerspectiveWarp.h"
#include "render/WarpToQuad.h"
#include <QPainter>
#include <cmath>

QImage WarpPerspective(const QImage& texture, const CHomography& h, const QRect& outRect,
                       const PerspectiveWarpOptions&)
{
    if (texture.isNull() || outRect.isEmpty() || qint64(outRect.width()) * outRect.height() > kWarpMaxPixels)
        return QImage();
    QImage tex(texture.size(), QImage::Format_RGB32);
    tex.fill(Qt::white);
    { QPainter p(&tex); p.drawImage(0, 0, texture); }
    QImage out(outRect.size(), QImage::Format_RGB32);
    const int tw = tex.width(), th = tex.height();
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QPointF c(outRect.x() + x + 0.5, outRect.y() + y + 0.5);
            const auto t = h.Map(c);
            QRgb v = tex.pixel(0, 0);
            if (t && h.Weight(c) > 0) {
                long i = long(std::floor(t->x())) % tw, j = long(std::floor(t->y())) % th;
                v = tex.pixel(int(i < 0 ? i + tw : i), int(j < 0 ? j + th : j));
            }
            out.setPixel(x, y, v);
        }
    return out;
}
