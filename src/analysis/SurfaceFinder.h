#pragma once

#include "RegionMask.h"

#include <QImage>
#include <QPoint>
#include <QPointF>

#include <atomic>
#include <optional>
#include <vector>

// Finds the whole visible extent of a surface (a tiled, planked, stone or
// carpeted floor, a wall) from a click inside it or a rough loop around it:
// a round of one mark (see CSurfaceSolver), prepared and solved at once.
class CSurfaceFinder
{
public:
    struct SHint
    {
        std::optional<QPoint> click;  // picture pixel inside the surface
        std::vector<QPointF> loop;    // a rough rectangle or free-hand loop around it
        // With both, the surface grows from the click and ends at the loop.
    };

    // The surface as a mask of the picture's size: empty when the hint
    // gives nothing inside the picture, nothing at all when cancel turned
    // true on the way.
    static std::optional<CRegionMask> Find(const QImage& picture, const SHint& hint,
                                           const std::atomic<bool>* cancel = nullptr);
};
