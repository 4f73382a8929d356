#pragma once

#include "geometry/Homography.h"

#include <QImage>

#include <optional>

class CArea;

// How an area's texture is warped onto its skew corners, worked out from
// the area's values alone: the same area gives the same warp wherever and
// whenever it is built, so any cache of it may be dropped and rebuilt.

// Picture point to texel point through the perspective and the placement:
// what a perspective warp samples. Nothing when the corners make no plane.
std::optional<CHomography> AreaPictureToTexel(const CArea& area);

// The exact warp of the area's texture as placed now (null when it cannot
// be made); threads as the warps take them, 0 choosing from the hardware. A
// caller that builds many side by side gives each one thread.
QImage BuildAreaWarp(const CArea& area, int threads = 0);

// The same warp reduction times smaller in every direction, for a quick
// look while the corners are dragged; pixel (0, 0) is still the top-left of
// the area's GetSkewedTextureRect, and the image is drawn enlarged by
// reduction. A reduction of 1 is the exact warp.
QImage BuildAreaWarpReduced(const CArea& area, int reduction);

// The reduction that brings the warp's box down to about maxPixels.
int AreaWarpReduction(const CArea& area, qint64 maxPixels);
