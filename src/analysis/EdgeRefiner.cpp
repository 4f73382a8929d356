#include "EdgeRefiner.h"

#include "EdgeCut.h"
#include "PictureMat.h"

#include <algorithm>

std::optional<CRegionMask> CEdgeRefiner::Refine(const QImage& picture, const CRegionMask& mask, int band,
                                                const std::atomic<bool>* cancel)
{
    if (picture.width() != mask.width || picture.height() != mask.height || band <= 0)
        return mask;
    return CEdgeCut::Refine(CPictureMat::Bgr(picture), mask, std::min(band, kMaxBand), cancel);
}
