#pragma once

#include "geometry/Polygon.h"

// The three boolean operations that combine selections and area outlines.
// Both operands are read by the even-odd rule.
enum class ClipOp
{
    Union,
    Difference, // subject minus clip
    Intersection,
};

// Returns op(subject, clip). Holes come back as contours of the opposite
// orientation, so the result again reads correctly by the even-odd rule.
// Degenerate contours (fewer than three distinct vertices, no area) take no
// part. Vertices that are NaN or infinite are dropped; finite ones are
// clamped to +/-kClipCoordLimit. The operation never throws: if the clipper
// fails anyway, the result is the empty set.
CPolygon PolygonClip(ClipOp op, const CPolygon& subject, const CPolygon& clip);

// Largest coordinate magnitude, in picture pixels, that reaches the clipper.
inline constexpr double kClipCoordLimit = 1e15;
