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
    // sure, when given (8-bit, the picture's size), holds what the user
    // said: kIn where the result must hold, kOut where it must not; the cut
    // moves the rest of the band only.
    static constexpr uchar kIn = 1, kOut = 2;

    // iterations: of each window's colour models and cut; one suffices when
    // the band comes from a segmentation that already follows the edges.
    static std::optional<CRegionMask> Refine(const cv::Mat& bgr, const CRegionMask& mask, int band,
                                             const std::atomic<bool>* cancel, const cv::Mat* sure = nullptr,
                                             int iterations = 2);
};
