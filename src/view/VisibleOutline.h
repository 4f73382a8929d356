#pragma once

#include "geometry/Selection.h"
#include "view/ViewGeometry.h"

#include <QPainterPath>
#include <QRegion>

#include <utility>
#include <vector>

// The selection's outline as one window shows it: the part of its path that
// can show there, and the strip of the window its strokes cover. Both take
// work in proportion to the whole outline, thousands of holes and all, so
// each is worked out once and kept while the selection, the window's
// geometry and the asked margin stay the same.
class CVisibleOutline
{
public:
    // The selection's path less the contours lying wholly more than margin
    // window pixels outside part, a rectangle of the window; in picture
    // coordinates. Kept for a few parts at a time: a tick paints the same
    // ones again.
    const QPainterPath& Path(const CSelection& selection, const CViewGeometry& geometry, qreal margin,
                             const QRect& part);
    // What stroking that path costs: the extent, within the window, of the
    // contours it holds, in picture pixels. A stroke walks every pixel of
    // its lines in the window whatever the clip.
    double Cost(const CSelection& selection, const CViewGeometry& geometry, qreal margin, const QRect& part);
    // The window's tiles within margin pixels of any outline segment.
    const QRegion& Strip(const CSelection& selection, const CViewGeometry& geometry, qreal margin);

private:
    struct Key
    {
        CSelection selection;
        CViewGeometry geometry;
        qreal margin = 0.0;
        bool valid = false;

        // The same selection value, not an equal one: comparing polygons
        // would cost as much as the work kept.
        bool Matches(const CSelection& s, const CViewGeometry& g, qreal m) const
        {
            return valid && selection.SharesDataWith(s) && geometry == g && margin == m;
        }
    };

    // In picture pixels: part of the window grown by margin, and a little
    // more so that rounding cannot leave out a contour that touches it.
    static QRectF Reach(const CViewGeometry& geometry, qreal margin, const QRect& part);

    Key m_pathKey;
    struct Part
    {
        QRect rect;
        QPainterPath path;
        double cost = 0.0;
    };
    const Part& Find(const CSelection& selection, const CViewGeometry& geometry, qreal margin, const QRect& part);

    std::vector<Part> m_paths;
    Key m_stripKey;
    QRegion m_strip;
};
