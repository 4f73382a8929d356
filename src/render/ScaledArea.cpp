#include "render/ScaledArea.h"

#include "render/TextureBlur.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Whole pixels at the new scale, held within the int range as the file's
// values are.
std::int32_t ScaleWhole(double v, double factor)
{
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::round(v * factor), -kMax, kMax));
}

} // namespace

CArea ScaleArea(const CArea& area, double factor)
{
    CArea scaled = area;
    if (factor == 1.0)
        return scaled;
    // Drawing truncates every vertex to a whole pixel; the truncated vertex
    // scaled and rounded is the nearest whole pixel at the new size.
    for (CContour& contour : scaled.GetOutline().contours)
        for (QPointF& v : contour)
            if (std::isfinite(v.x()) && std::isfinite(v.y())) {
                const QPointF p = PixelVertex(v);
                v = QPointF(ScaleWhole(p.x(), factor), ScaleWhole(p.y(), factor));
            }
    for (QPoint& corner : scaled.GetSkewCorners())
        corner = QPoint(ScaleWhole(corner.x(), factor), ScaleWhole(corner.y(), factor));
    const CIntRect rect = area.GetInitialRect();
    scaled.SetInitialRect({ScaleWhole(rect.left, factor), ScaleWhole(rect.top, factor),
                           ScaleWhole(rect.right, factor), ScaleWhole(rect.bottom, factor)});
    // Texel (u, v) lands at R * (scale * (u, v) + shift): both lengths scale.
    scaled.SetScale(area.GetScale() * factor);
    scaled.SetShift(ScaleWhole(area.GetShiftX(), factor), ScaleWhole(area.GetShiftY(), factor));

    const QImage* texture = area.GetTexture();
    const bool warpedInPerspective = area.IsPerspective() && area.IsSkewApplied() && area.HasSkewCorners();
    // Up to two texels a pixel, the sampler's own smoothing is enough.
    const double texelsPerPixel = 1.0 / std::abs(scaled.GetScale());
    if (texture && !warpedInPerspective && std::isfinite(texelsPerPixel) && texelsPerPixel > 2) {
        const double side = std::min(texelsPerPixel, double(std::max(texture->width(), texture->height())));
        const QImage averaged = BlurRepeatingTexture(*texture, static_cast<int>(std::lround(side)));
        if (!averaged.isNull())
            scaled.SetTexture(&averaged);
    }
    return scaled;
}
