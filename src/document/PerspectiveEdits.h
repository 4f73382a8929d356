#pragma once

#include "analysis/PerspectiveFit.h"

#include <optional>

class CArea;

// Lays a fitted plane into the area: the corners (rounded to whole
// pixels, wherever they lie), the canvas as the initial rectangle at the
// outline's top-left, Perspective and Skew on. When the area knows its real
// size the scale follows the new plane. The warp is rebuilt when shown.
void ApplyPerspectiveFit(CArea& area, const CPerspectiveFit& fit);

// The scale at which the area's texture shows at its real width on the
// surface: the reference line measured through the area's perspective (or
// flat in the picture without one) against its real length. Nothing when
// the area has no texture, no reference or no real texture width, or the
// line does not lie on the plane.
std::optional<double> RealSizeScale(const CArea& area);
