#pragma once

#include "analysis/RegionMask.h"
#include "geometry/Polygon.h"

// The outline of a region along its pixels' edges: every vertex lies on a
// pixel corner, outer boundaries run clockwise on screen and holes the other
// way, and no vertex sits in the middle of a straight stretch. Read by the
// even-odd rule the contours cover exactly the region's pixels. Pixels that
// touch only at a corner belong to one contour (the region is taken as
// 8-connected), which then passes through that corner twice.
// Linear in the pixel count plus the outline's length.
CPolygon MaskOutline(const CRegionMask& mask);
