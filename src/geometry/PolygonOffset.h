#pragma once

#include "geometry/Polygon.h"

// The polygon (read by the even-odd rule) grown outwards by delta picture
// pixels, or shrunk inwards for a negative delta. Growing rounds the
// corners it passes (every point within delta of the polygon is in);
// shrinking keeps corners sharp. Holes shrink as the outside grows. Never
// throws: a failing clipper gives the empty set.
CPolygon OffsetPolygon(const CPolygon& polygon, double delta);
