#pragma once

#include "analysis/LineSegment.h"
#include "geometry/Polygon.h"

#include <QImage>

#include <opencv2/core.hpp>

#include <vector>

// The straight edges of a whole picture, each marked whether it lies on the
// area outlined (inside, or close to its border, where the edge between a
// floor and its wall runs): the room's lines tell the directions a floor
// without joints cannot, and the area's own lines pick the surface among
// them. Found on a reduced grey copy (the plane's directions need the
// edges' directions, not their last pixel, and a 24-megapixel photo must
// not take seconds); the full-resolution grey is kept so that the lines
// that matter can be refined there.
class CLineSegmentFinder
{
public:
    // Pictures up to this longer side are searched as they are; larger ones
    // are reduced by a whole factor (an exact average of n x n pixels, and
    // several times faster than an arbitrary one) to at most kWorkingSize.
    static constexpr int kFullSizeUpTo = 1600;
    static constexpr int kWorkingSize = 1100;

    struct SLines
    {
        std::vector<CLineSegment> segments;  // picture pixels, longest first
        // Per segment: 2 well inside the area, 1 along its border, 0 off it.
        std::vector<char> onArea;
        cv::Mat grey;                        // the picture in full, 8-bit grey
        double workingScale = 1.0;           // working pixels per picture pixel
    };

    // Nothing found for an empty picture or outline.
    static SLines Find(const QImage& picture, const CPolygon& outline);

    // True when most of the segment lies inside the outline (even-odd) or
    // within margin pixels of its border.
    static bool LiesOnArea(const CLineSegment& segment, const CPolygon& outline, double margin);
};
