#pragma once

#include "document/LayingPattern.h"

#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <array>
#include <vector>

// One piece where a pattern lays it on the surface (centimetres).
struct CLaidPiece
{
    // The piece's visible shape: its rectangle, or for chevron the
    // parallelogram cut from it.
    std::vector<QPointF> shape;
    // From the piece's image frame (0..width, 0..height cm, the image
    // stretched over it) to the surface, random turns included.
    QTransform imageToSurface;
    int variant = 0;
};

// The geometry of the layouts: where each piece of a pattern lies around an
// origin. Joints are what the pieces leave uncovered: every layout is a
// tiling of pitch cells (the piece plus one joint width) with each piece
// taking its cell less a joint on one side of each direction, so joints come
// out exactly as wide as asked and nothing overlaps.
class CPatternLayout
{
public:
    // The pieces whose shapes may reach into bounds (surface cm), the first
    // whole piece starting at origin. The choices of variant and turn depend
    // on the seed and on the piece's place in the pattern only, never on
    // bounds, so any part of a floor is laid the same.
    static std::vector<CLaidPiece> Lay(const CLayingPattern& pattern, const QRectF& bounds, QPointF origin);

    // Two vectors (surface cm) spanning one repeat of the layout's geometry
    // as turned on the surface: shifting the origin by either gives the same
    // shapes.
    static std::array<QPointF, 2> Period(const CLayingPattern& pattern);

    // The number of pieces side by side in a basket square.
    static int BasketCount(const CLayingPattern& pattern);
    // The smallest distance between neighbouring rows' joints that
    // random-offset keeps, in cm.
    static double RandomOffsetGap(const CLayingPattern& pattern);
    // The shift of row `row` for random-offset, in [0, pitch).
    static double RandomRowShift(const CLayingPattern& pattern, int row);
};
