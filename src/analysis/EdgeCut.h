#pragma once

#include "RegionMask.h"

#include <opencv2/core.hpp>

#include <atomic>
#include <optional>

// The graph cut behind Refine Edges and the surface finder's last step, on
// a picture in OpenCV's BGR layout. The band is cut window by window, each
// window with colour models of its own neighbourhood, so a floor in
// sunlight at one end and in shade at the other is judged against what
// lies next to it. Nothing when cancel turned true on the way.
class CEdgeCut
{
public:
    static std::optional<CRegionMask> Refine(const cv::Mat& bgr, const CRegionMask& mask, int band,
                                             const std::atomic<bool>* cancel);
};
