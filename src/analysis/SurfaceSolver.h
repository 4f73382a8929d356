#pragma once

#include "RegionMask.h"
#include "SurfaceMark.h"

#include <QImage>
#include <QPointF>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class CSurfacePicture;

// The surface from every mark of a round at once: pieces reached from the
// "part of" marks at a lower cost than from the "not" marks (and cheaply
// enough at all) are the surface, so a "not" mark on a leaked wall takes
// the wall out and moves the boundary to where floor and wall part. The
// boundary is then cut again on the finer copy.
class CSurfaceSolver
{
public:
    // What every solve on this picture starts from (see CSurfacePicture);
    // nothing when cancel turned true on the way.
    static std::shared_ptr<const CSurfacePicture> Prepare(const QImage& picture,
                                                          const std::atomic<bool>* cancel = nullptr);

    // The surface as a mask of the picture's size: empty without a "part
    // of" mark inside the picture, nothing at all when cancel turned true.
    // loop, when it has three points or more, is a limit the surface keeps to.
    static std::optional<CRegionMask> Solve(const CSurfacePicture& picture, const std::vector<SSurfaceMark>& marks,
                                            const std::vector<QPointF>& loop = {},
                                            const std::atomic<bool>* cancel = nullptr);
};
