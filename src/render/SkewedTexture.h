#pragma once

#include "geometry/Homography.h"
#include "render/WarpToQuad.h"

#include <QBrush>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QTransform>

#include <array>

// Placement of an area's texture: texel (u, v) lands at
// R(rotation) * (scale * u + shiftX, scale * v + shiftY), rotation in degrees
// about the drawing origin (clockwise on screen, y pointing down). The shift
// therefore runs along the rotated axes. All three values pass through
// 32-bit floats first, as the placement always has.
QTransform TextureTransform(double rotationDeg, int shiftX, int shiftY, double scale);

// The same placement as a plane map, for the perspective warp and its tools.
CHomography TexturePlacement(double rotationDeg, int shiftX, int shiftY, double scale);

// The brush that lays texture in by placement. A placement that squeezes the
// texture to nothing (a scale of 0) tiles it infinitely fine: the brush is
// then the texture's average colour.
QBrush TextureBrush(const QImage& texture, const QTransform& placement);

// Builds an area's skewed texture: the texture, tiled and placed by
// TextureTransform relative to the canvas origin, is rendered flat onto a
// canvasSize canvas of 16-bit 5-6-5 colour and stretched onto the
// quadrilateral skewCorners (top-left, top-right, bottom-left, bottom-right,
// in picture pixels). Pixel (0, 0) of the result is picture point
// (minX, minY) of the corners' bounding box; box pixels outside the
// quadrilateral are black.
//
// Returns a null image when the texture is null, when the canvas would
// exceed kWarpMaxPixels or the warp refuses the corners. An empty canvas
// gives the all-black box. warpOptions change how the warp is worked out,
// never its result: a caller that runs many warps side by side gives each
// a single thread.
QImage RenderSkewedTexture(const QImage& texture, double rotation, int shiftX, int shiftY,
                           double scale, QSize canvasSize,
                           const std::array<QPoint, 4>& skewCorners, const WarpOptions& warpOptions = {});
