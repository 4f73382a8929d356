#pragma once

#include "document/Area.h"

#include <QImage>
#include <functional>
#include <optional>
#include <vector>

class CWarpCache;

// The composed template for export: a canvas of the picture's own size in
// 16-bit 5-6-5 colour, the picture at (0, 0), then every area in list order
// as an unselected area; no selection and no overlays. Areas may build
// missing warped textures on the way. onArea, when given, is told after each
// area (index, count) and may return false to stop early; the result is then
// null. Null too when the canvas cannot be allocated.
struct CComposeOptions
{
    // The picture's light and shadow under each textured area laid over its
    // texture. Off, the composition is what it always was.
    bool keepShading = false;
    // Where warped textures are kept and found, shared with whoever else
    // draws the same areas; without it each warp is built for the drawing.
    CWarpCache* warps = nullptr;
    // The shading's strength in percent for every area, in place of each
    // area's own.
    std::optional<int> shadingStrength = std::nullopt;

    // The strength the shading of area is laid at, as a factor (1: as
    // measured).
    double StrengthOf(const CArea& area) const
    {
        return shadingStrength.value_or(area.GetShadingStrength()) / 100.0;
    }
};

QImage ComposeTemplate(const QImage& picture, const std::vector<CArea>& areas,
                       const std::function<bool(int done, int count)>& onArea = {},
                       const CComposeOptions& options = {});
