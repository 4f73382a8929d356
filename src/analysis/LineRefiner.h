#pragma once

#include "analysis/LineSegment.h"

#include <opencv2/core.hpp>

#include <optional>

// Moves a segment found on a reduced copy onto the edge it follows in the
// full-resolution picture: the edge's position is read across the segment
// at points along it, to a fraction of a full-resolution pixel, and the
// line through them taken. A large photo then gains accuracy from its
// pixels rather than losing it to the reduction.
class CLineRefiner
{
public:
    // grey: the picture at full resolution; segment in its pixels; reach:
    // how far across the edge may lie from the segment, in its pixels.
    // Nothing when too few points along the segment show a clear edge.
    static std::optional<CLineSegment> Refine(const cv::Mat& grey, const CLineSegment& segment, double reach);
};
