#pragma once

#include "analysis/LineSegment.h"

#include <QPointF>

#include <array>
#include <vector>

// Segments that meet in one vanishing point.
struct CVanishingFamily
{
    // Homogeneous, picture pixels, unit length; w = 0 for a direction.
    std::array<double, 3> point{0, 0, 0};
    std::vector<int> members;  // indices into the segments searched
    double support = 0.0;      // the members' total length, pixels
    // How far the family is from what chance gives: minus the decimal
    // logarithm of the number of families as strong as this one that
    // segments of random directions would be expected to form. Above 0 a
    // family is more than the meeting of edges that happen to agree
    // (irregular joints of flagstones, say).
    double significance = 0.0;
};

// Groups segments by the point they converge to, one family at a time, by
// random sampling of segment pairs: the hypothesis most of the segments'
// length agrees with wins, so a stray edge cannot tilt a family, and the
// winners' point is then fitted to all of them by least squares. Points
// at infinity (edges parallel in the picture) are ordinary homogeneous
// points here.
class CVanishingPointFinder
{
public:
    // centre and scale normalise coordinates for the arithmetic (the
    // picture's centre and longer side). Families have at least two
    // distinct (not collinear) lines; strongest first, at most maxFamilies.
    static std::vector<CVanishingFamily> Find(const std::vector<CLineSegment>& segments, QPointF centre,
                                              double scale, int maxFamilies = 3);

    // The point that best explains the members, refined from point
    // (homogeneous, picture pixels); false when they say nothing.
    static bool Refit(const std::vector<CLineSegment>& segments, const std::vector<int>& members,
                      std::array<double, 3>& point, QPointF centre, double scale);

    // The significance (as CVanishingFamily's) of members meeting in one
    // point when only candidates could have been members, each of a random
    // direction within spread radians: the test for a family one expects
    // in a known place (a room's uprights, steep and below), which needs
    // fewer lines to stand out than one that might be anywhere.
    static double SignificanceAmong(const std::vector<CLineSegment>& segments, const std::vector<int>& members,
                                    const std::vector<int>& candidates, double spread);

    // Sine of the angle between the segment and the direction from its
    // middle to point: 0 when the segment points exactly at it.
    static double Deviation(const CLineSegment& segment, const std::array<double, 3>& point);
};
