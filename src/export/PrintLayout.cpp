#include "PrintLayout.h"

#include <cmath>

namespace {

bool Usable(double v)
{
    return std::isfinite(v) && v > 0.0;
}

} // namespace

QPageLayout::Orientation CPrintLayout::OrientationFor(QSizeF picture)
{
    return Usable(picture.width()) && Usable(picture.height()) && picture.width() > picture.height()
               ? QPageLayout::Landscape
               : QPageLayout::Portrait;
}

QRectF CPrintLayout::Fit(QSizeF picture, const QRectF& printable)
{
    if (!Usable(picture.width()) || !Usable(picture.height()) || !Usable(printable.width()) ||
        !Usable(printable.height()) || !std::isfinite(printable.x()) || !std::isfinite(printable.y()))
        return {};
    const double scale = std::min(printable.width() / picture.width(), printable.height() / picture.height());
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    const QPointF corner(printable.x() + (printable.width() - size.width()) / 2.0,
                         printable.y() + (printable.height() - size.height()) / 2.0);
    return QRectF(corner, size);
}
