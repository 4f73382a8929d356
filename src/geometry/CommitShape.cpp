#include "geometry/CommitShape.h"

#include "geometry/PolygonClip.h"

#include <QPainterPath>

CPolygon CommitShape(const CPolygon& selection, const QPainterPath& shapePath, bool ctrl,
                     bool shift, std::optional<QSize> pictureSize)
{
    // Ctrl wins over Shift; replace is "clear, then add".
    const ClipOp op = ctrl ? ClipOp::Difference : ClipOp::Union;
    const bool replace = !ctrl && !shift;

    CPolygon shape;
    PathToPolygon(shapePath, shape);

    if (pictureSize) {
        // The picture rectangle goes through the same path conversion as the
        // shape, so both operands carry identical float-rounded coordinates.
        QPainterPath rectPath;
        rectPath.addRect(0, 0, pictureSize->width(), pictureSize->height());
        CPolygon picture;
        PathToPolygon(rectPath, picture);
        const CPolygon inside = PolygonClip(ClipOp::Intersection, picture, shape);
        shape = PolygonClip(ClipOp::Union, inside, CPolygon());
    }

    return PolygonClip(op, replace ? CPolygon() : selection, shape);
}
