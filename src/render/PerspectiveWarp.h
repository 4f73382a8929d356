#pragma once

#include "geometry/Homography.h"

#include <QImage>
#include <QRect>

// Lays a texture, repeated without end across a plane, into a block of
// picture pixels seen through a plane homography: the warp of an area in
// perspective.
//
// Picture pixel (x, y) shows the texture around texel point
// pictureToTexel(x + 0.5, y + 0.5), texel (i, j) covering [i, i+1) x [j, j+1)
// and the texture repeating in both directions. Where one picture pixel
// covers many texels (the far rows of a floor) it shows their mean, not one
// of them, so nothing shimmers or moirés. Every pixel of the block is
// painted: those beyond the plane's horizon show the texture's mean colour.
// Transparent texels settle on white.
//
// The result is Format_RGB32, outRect's size, its pixel (0, 0) being picture
// pixel outRect.topLeft(). A null image when the texture is null or empty,
// the block is empty or exceeds kWarpMaxPixels, or memory runs out.
struct PerspectiveWarpOptions
{
    int threads = 0; // 0: chosen from the hardware and the job size
};

QImage WarpPerspective(const QImage& texture, const CHomography& pictureToTexel, const QRect& outRect,
                       const PerspectiveWarpOptions& options = {});
