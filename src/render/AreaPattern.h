#pragma once

#include "document/LayingPattern.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <optional>

class CArea;

// What laying a pattern into an area gave.
struct CLayResult
{
    int laid = 0;             // pieces that show in the area, whole or cut
    int cut = 0;              // of those, the ones its outline cuts
    double smallestCut = 1.0; // the narrowest cut piece, as a fraction of a whole one
    bool realScale = false;   // false: no reference line, pieces at their images' scale
    double pxPerCm = 0.0;     // texture pixels per cm
    QPointF originCm;         // where the first whole piece starts (surface cm)
};

// Lays a pattern into an area: works out the area's surface (the warp
// canvas for a skewed area, the picture for a flat one) and its scale in cm
// from the reference line, paints the pieces over the part of the surface
// the outline covers, and makes that the area's texture, placed without
// turn or repeat. From there the area draws, warps, shades and exports the
// pattern as it does any texture.
class CAreaPattern
{
public:
    // The most texture pixels a pattern paints; beyond it the texture is
    // laid coarser than its pieces' images.
    static constexpr double kMaxTexturePixels = 24e6;

    // Lays pattern into area and keeps it there; nothing when the pattern
    // is unusable or the area has no surface to lay on (no outline, corners
    // making no plane).
    static std::optional<CLayResult> Apply(CArea& area, const CLayingPattern& pattern);

    // The same without changing the area: the texture and where it goes.
    struct CLaid
    {
        QImage texture;
        double scale = 1.0;
        QPoint shift;
        double textureWidthCm = 0.0;
        CLayResult result;
    };
    static std::optional<CLaid> Lay(const CArea& area, const CLayingPattern& pattern, double maxPixels = kMaxTexturePixels);
    // Makes what Lay gave the area's texture, placed, with the pattern kept.
    static void Keep(CArea& area, const CLayingPattern& pattern, const CLaid& laid);
};
