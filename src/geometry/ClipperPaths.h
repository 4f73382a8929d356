#pragma once

#include "geometry/Polygon.h"

#include <clipper.hpp>

// The clipper works on 64-bit integers, so vertices are stored in fixed point
// with 1/1024 px resolution. A power of two keeps whole and binary-fractional
// coordinates exact in both directions, and 1/1024 px is far below anything
// visible. Pictures up to ~1e6 px (2^30 / 1024) stay inside the clipper's fast
// range; beyond it the clipper switches to 128-bit products by itself, and
// kClipCoordLimit * 1024 ~ 1e18 stays well inside its hard limit of 2^62.
inline constexpr double kClipperScale = 1024.0;

// The contours in fixed point, coordinates clamped to +/-kClipCoordLimit;
// vertices that are not finite are left out, and contours left with fewer
// than three.
ClipperLib::Paths ToClipperPaths(const CPolygon& set);
// Back to picture pixels; paths of fewer than three points are left out.
CPolygon FromClipperPaths(const ClipperLib::Paths& paths);
