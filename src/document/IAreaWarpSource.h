#pragma once

#include <QImage>

#include <memory>

class CArea;

// Where a save finds the warped texture an area shows, once the blob its
// record was read with no longer holds: the document cannot build warps,
// the renderer that builds and keeps them can.
class IAreaWarpSource
{
public:
    virtual ~IAreaWarpSource() = default;

    // The exact warp of the area as it is now, or null when none is shown
    // (a quick preview is none).
    virtual std::shared_ptr<const QImage> ExactWarp(const CArea& area) const = 0;
};
