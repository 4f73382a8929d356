#pragma once

#include "geometry/Polygon.h"

#include <QImage>
#include <QPoint>
#include <array>

// The demo room: an empty room seen from its open side, a window in the
// back wall, daylight falling in. Knows its own picture and the outlines of
// the surfaces that the demo template textures.
class CDemoRoom
{
public:
    static constexpr int kWidth = 1600;
    static constexpr int kHeight = 1067;

    // The back wall, by its edges (right and bottom exclusive).
    static constexpr int kBackLeft = 420;
    static constexpr int kBackTop = 213;
    static constexpr int kBackRight = 1180;
    static constexpr int kBackBottom = 720;
    // The skirting board's height along the back wall.
    static constexpr int kSkirting = 22;
    // The window opening with its frame.
    static constexpr int kWindowLeft = 630;
    static constexpr int kWindowTop = 290;
    static constexpr int kWindowRight = 970;
    static constexpr int kWindowBottom = 590;

    static QImage DrawPicture();

    // The floor's corners, top-left, top-right, bottom-left, bottom-right:
    // the back wall's base and the picture's bottom corners.
    static std::array<QPoint, 4> FloorCorners();
    // The floor as one four-sided contour.
    static CPolygon FloorOutline();
    // The back wall above the skirting board, the window cut out as a hole.
    static CPolygon WallOutline();
};
