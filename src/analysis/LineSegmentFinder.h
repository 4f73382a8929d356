#pragma once

#include "analysis/LineSegment.h"
#include "geometry/Polygon.h"

#include <QImage>

#include <vector>

// Finds the straight edges of a picture that lie on a surface: on a reduced
// grey copy (the plane's directions need the edges' directions, not their
// last pixel, and a 24-megapixel photo must not take seconds), inside the
// outline or close to its border, where the edge between floor and wall
// runs.
class CLineSegmentFinder
{
public:
    // The reduced copy's longer side, in pixels; smaller pictures are used
    // as they are.
    static constexpr int kWorkingSize = 1280;

    // Segments in picture pixels, longest first. Empty for an empty picture
    // or outline.
    static std::vector<CLineSegment> Find(const QImage& picture, const CPolygon& outline);

    // True when most of the segment lies inside the outline (even-odd) or
    // within margin pixels of its border.
    static bool LiesOnArea(const CLineSegment& segment, const CPolygon& outline, double margin);
};
