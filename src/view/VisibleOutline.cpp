#include "view/VisibleOutline.h"

#include "view/TileMask.h"

#include <cmath>
#include <limits>

namespace
{

// The selection's drawn outline runs through vertices truncated toward
// zero; map them as it does.
QPointF OutlineVertex(const QTransform& toClient, const QPointF& p)
{
    return toClient.map(QPointF(std::trunc(p.x()), std::trunc(p.y())));
}

} // namespace

QRectF CVisibleOutline::Reach(const CViewGeometry& geometry, qreal margin, const QRect& part)
{
    bool invertible = false;
    const QTransform toPicture = geometry.Transform().inverted(&invertible);
    const qreal m = margin + 2.0;
    const QRectF reach = toPicture.mapRect(QRectF(part).adjusted(-m, -m, m, m));
    if (!invertible || !std::isfinite(reach.left()) || !std::isfinite(reach.top()) || !std::isfinite(reach.right()) ||
        !std::isfinite(reach.bottom())) {
        // Nothing sensible to cut to: everything may show.
        const qreal far = std::numeric_limits<qreal>::max();
        return QRectF(QPointF(-far, -far), QPointF(far, far));
    }
    // A picture pixel more each way, as the outline's vertices are whole
    // pixels and the mapping rounds.
    return reach.adjusted(-1.0, -1.0, 1.0, 1.0);
}

const QPainterPath& CVisibleOutline::Path(const CSelection& selection, const CViewGeometry& geometry, qreal margin,
                                          const QRect& part)
{
    return Find(selection, geometry, margin, part).path;
}

double CVisibleOutline::Cost(const CSelection& selection, const CViewGeometry& geometry, qreal margin,
                             const QRect& part)
{
    return Find(selection, geometry, margin, part).cost;
}

const CVisibleOutline::Part& CVisibleOutline::Find(const CSelection& selection, const CViewGeometry& geometry,
                                                   qreal margin, const QRect& part)
{
    // Paints other than ticks bring parts of their own; enough are kept
    // for a tick's strip, and then the list starts afresh.
    constexpr std::size_t kMaxParts = 256;
    if (!m_pathKey.Matches(selection, geometry, margin) || m_paths.size() >= kMaxParts) {
        m_paths.clear();
        m_pathKey = Key{selection, geometry, margin, true};
    }
    for (const Part& entry : m_paths)
        if (entry.rect == part)
            return entry;
    const QRectF reach = Reach(geometry, margin, part);
    const QRectF window = Reach(geometry, margin, QRect(QPoint(0, 0), geometry.client));
    m_paths.push_back(Part{part, selection.PathWithin(reach), selection.ExtentMeeting(reach, window)});
    return m_paths.back();
}

const QRegion& CVisibleOutline::Strip(const CSelection& selection, const CViewGeometry& geometry, qreal margin)
{
    if (m_stripKey.Matches(selection, geometry, margin))
        return m_strip;
    // Only the strip under the outline: the dark and light dashes together
    // cover every outline pixel, so nothing else needs redrawing. Contours
    // out of reach would mark no tile.
    const QTransform toClient = geometry.Transform();
    CTileMask mask(geometry.client);
    const std::vector<CContour>& contours = selection.GetPolygon().contours;
    for (const std::size_t index : selection.ContoursMeeting(Reach(geometry, margin, QRect(QPoint(0, 0), geometry.client)))) {
        const CContour& contour = contours[index];
        const std::size_t n = contour.size();
        for (std::size_t i = 0; i < n; ++i)
            mask.AddSegment(OutlineVertex(toClient, contour[i]), OutlineVertex(toClient, contour[(i + 1) % n]),
                            margin);
    }
    m_strip = mask.IsEmpty() ? QRegion() : mask.Region();
    m_stripKey = Key{selection, geometry, margin, true};
    return m_strip;
}
