#pragma once

#include "RegionMask.h"

#include <QImage>

#include <atomic>
#include <optional>

// Refine Edges: snaps a region's boundary to the picture's true edges within
// a band of pixels around it; inside and outside farther from the boundary
// than the band stay as they were drawn.
class CEdgeRefiner
{
public:
    static constexpr int kDefaultBand = 12;
    static constexpr int kMaxBand = 200;

    // Nothing when cancel turned true on the way; the mask as given when it
    // does not match the picture's size or the band is not positive.
    static std::optional<CRegionMask> Refine(const QImage& picture, const CRegionMask& mask, int band,
                                             const std::atomic<bool>* cancel = nullptr);
};
