#include "AreaWarp.h"

#include "document/Area.h"
#include "render/PerspectiveWarp.h"
#include "render/SkewedTexture.h"

#include <algorithm>
#include <cmath>

namespace {

// The perspective warp of the area's GetSkewedTextureRect, reduction times
// smaller.
QImage BuildPerspective(const CArea& area, int reduction, int threads)
{
    const QRect rect = area.GetSkewedTextureRect();
    if (rect.isEmpty())
        return QImage();
    auto toTexel = AreaPictureToTexel(area);
    if (!toTexel) {
        // Corners that make no plane (three in a line, a fold) or a
        // placement that squeezes the texture to nothing: the texture lies
        // flat, so the area is still painted.
        toTexel =
            TexturePlacement(area.GetRotation(), area.GetShiftX(), area.GetShiftY(), area.GetScale()).Inverted();
        if (!toTexel)
            toTexel = CHomography::Affine(0, 0, 0, 0, 0, 0);
    }
    // Output pixel (i, j) of a reduced warp stands for the reduction-sized
    // block of picture pixels at rect's top-left + reduction * (i, j).
    const CHomography fromOutput = CHomography::Affine(reduction, 0, 0, reduction, rect.x(), rect.y());
    const QRect out(0, 0, (rect.width() + reduction - 1) / reduction, (rect.height() + reduction - 1) / reduction);
    return WarpPerspective(*area.GetTexture(), *toTexel * fromOutput, out, PerspectiveWarpOptions{threads});
}

} // namespace

std::optional<CHomography> AreaPictureToTexel(const CArea& area)
{
    const CHomography placement =
        TexturePlacement(area.GetRotation(), area.GetShiftX(), area.GetShiftY(), area.GetScale());
    const auto canvasToPicture = area.CanvasToPicture();
    if (!canvasToPicture)
        return std::nullopt;
    const auto toCanvas = canvasToPicture->Inverted();
    const auto toTexel = placement.Inverted();
    if (!toCanvas || !toTexel)
        return std::nullopt;
    return *toTexel * *toCanvas;
}

QImage BuildAreaWarp(const CArea& area, int threads)
{
    if (!area.GetTexture())
        return QImage();
    if (area.IsPerspective())
        return BuildPerspective(area, 1, threads);
    return RenderSkewedTexture(*area.GetTexture(), area.GetRotation(), area.GetShiftX(), area.GetShiftY(),
                               area.GetScale(), area.WarpCanvasSize(), area.GetSkewCorners(),
                               WarpOptions{threads, false});
}

QImage BuildAreaWarpReduced(const CArea& area, int reduction)
{
    if (!area.GetTexture())
        return QImage();
    if (reduction <= 1)
        return BuildAreaWarp(area);
    if (area.IsPerspective())
        return BuildPerspective(area, reduction, 0);
    // The same warp at a smaller scale: canvas, placement and corners
    // shrunk alike, the corners about the box's origin so that the preview's
    // pixel (0, 0) is still the box's top-left.
    const QRect bounds = area.GetSkewedTextureRect();
    CArea::Corners small;
    for (std::size_t i = 0; i < 4; ++i) {
        const QPoint& corner = area.GetSkewCorners()[i];
        small[i] = QPoint((corner.x() - bounds.left()) / reduction, (corner.y() - bounds.top()) / reduction);
    }
    return RenderSkewedTexture(*area.GetTexture(), area.GetRotation(), area.GetShiftX() / reduction,
                               area.GetShiftY() / reduction, area.GetScale() / reduction,
                               area.WarpCanvasSize() / reduction, small);
}

int AreaWarpReduction(const CArea& area, qint64 maxPixels)
{
    const QRect bounds = area.GetSkewedTextureRect();
    const double box = double(bounds.width()) * double(bounds.height());
    return std::max(1, int(std::ceil(std::sqrt(box / double(std::max<qint64>(1, maxPixels))))));
}
