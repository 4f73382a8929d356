#pragma once

#include <QLineF>
#include <QRectF>
#include <QTransform>

#include <vector>

class CArea;
class QPainter;

// The tile grid of an area's texture canvas as its warp shows it: every
// tile edge of the placed texture, carried through the canvas-to-picture
// map (the plane for a perspective area, the bilinear patch otherwise),
// thinned where lines crowd. An editing aid drawn over the view only;
// nothing of it is saved or exported.
class CPerspectiveGrid
{
public:
    // Lines closer than this on screen are thinned out, every other one at
    // a time.
    static constexpr double kMinSpacing = 16.0;
    // Each line is drawn in this many pieces, so that lines a patch bends
    // look curved and the thinning follows the spacing along a line.
    static constexpr int kPieces = 48;
    // At most this many lines of each direction are walked, however fine
    // the tiles: more could never be told apart on screen.
    static constexpr int kMaxLines = 1024;

    // The grid's pieces in client pixels for pictureToClient, leaving out
    // those wholly outside clip. Empty without a texture, a canvas, skew
    // corners or a placement that shows the texture at some size.
    static std::vector<QLineF> Segments(const CArea& area, const QTransform& pictureToClient, const QRectF& clip);
    // A 1-pixel light line over a 1-pixel dark one beside it: readable on
    // light and dark photos alike.
    static void Paint(QPainter& painter, const std::vector<QLineF>& segments);
};
