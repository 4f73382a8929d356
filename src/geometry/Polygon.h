#pragma once

#include <QPointF>
#include <vector>

class QPainterPath;

// A set of closed contours in picture pixels, read by the even-odd rule: a
// hole is just a contour lying inside another. There are no hole flags, and
// copies are deep (plain value semantics).
using CContour = std::vector<QPointF>;

struct CPolygon
{
    std::vector<CContour> contours;

    bool IsEmpty() const { return contours.empty(); }
    bool operator==(const CPolygon&) const = default;
};

// dst := deep copy of src, or empty when src is null.
void CopyPolygon(CPolygon& dst, const CPolygon* src);

// A vertex as outlines are drawn: truncated toward zero to whole pixels,
// held within the int range. Only for finite vertices.
QPointF PixelVertex(const QPointF& v);

// Empties path, then adds every contour as one closed figure, each vertex
// truncated toward zero to whole pixels. Even-odd fill.
void PolygonToPath(const CPolygon& set, QPainterPath& path);

// Flattens path (curves to segments, tolerance 0.01 px) and appends all of
// its points, in order, to set as a single contour; figure boundaries are
// ignored. Coordinates pass through 32-bit floats as drawing paths keep them.
void PathToPolygon(const QPainterPath& path, CPolygon& set);

// Moves every vertex by (dx, dy) in place.
void TranslatePolygon(CPolygon& set, double dx, double dy);
