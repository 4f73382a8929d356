#include "PerspectiveEdits.h"

#include "Area.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int RoundToInt(double v)
{
    constexpr double lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::lround(std::clamp(v, lo, hi)));
}

} // namespace

void ApplyPerspectiveFit(CArea& area, const CPerspectiveFit& fit)
{
    CArea::Corners& corners = area.GetSkewCorners();
    for (std::size_t i = 0; i < 4; ++i)
        corners[i] = QPoint(RoundToInt(fit.corners[i].x()), RoundToInt(fit.corners[i].y()));
    const QRect outline = area.GetOutlineBounds();
    area.SetInitialRect({outline.left(), outline.top(), outline.left() + fit.canvas.width(),
                         outline.top() + fit.canvas.height()});
    area.SetPerspective(true);
    area.SetSkewApplied(true);
    if (const auto scale = RealSizeScale(area))
        area.SetScale(*scale);
}

std::optional<double> RealSizeScale(const CArea& area)
{
    const CRealSize& real = area.GetRealSize();
    const QImage* texture = area.GetTexture();
    if (!texture || texture->width() <= 0 || !real.HasReference() || !(real.textureWidthCm > 0.0))
        return std::nullopt;
    double canvasLength = real.reference.length();
    if (area.IsPerspective()) {
        const auto toPicture = area.CanvasToPicture();
        const auto toCanvas = toPicture ? toPicture->Inverted() : std::nullopt;
        if (!toCanvas)
            return std::nullopt;
        // Both ends must lie on the visible side of the plane's horizon.
        const double w1 = toCanvas->Weight(real.reference.p1()), w2 = toCanvas->Weight(real.reference.p2());
        const double wCorner = toCanvas->Weight(QPointF(area.GetSkewCorners()[0]));
        if (!(w1 * wCorner > 0.0) || !(w2 * wCorner > 0.0))
            return std::nullopt;
        const auto a = toCanvas->Map(real.reference.p1());
        const auto b = toCanvas->Map(real.reference.p2());
        if (!a || !b)
            return std::nullopt;
        canvasLength = std::hypot(b->x() - a->x(), b->y() - a->y());
    }
    const double scale = real.textureWidthCm * canvasLength / (real.referenceCm * texture->width());
    if (!std::isfinite(scale) || !(scale > 0.0))
        return std::nullopt;
    return scale;
}
