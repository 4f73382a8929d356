#include "view/OutlineRegion.h"

#include "geometry/Polygon.h"
#include "view/ViewGeometry.h"

#include <QBitmap>
#include <QPainter>
#include <QPolygon>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

// Beyond this many contours a selection's repaint is its bounds.
constexpr std::size_t kMaxOutlineRegionContours = 64;

} // namespace

QRegion SelectionOutlineRegion(const CPolygon& selection, const QTransform& toClient, QSize windowSize, double zoom,
                               int extra)
{
    if (selection.IsEmpty())
        return QRegion();
    const QRect window(QPoint(0, 0), windowSize);
    if (window.isEmpty())
        return QRegion();
    const int d = std::max(1, TruncPixel(2.0 * zoom)) + extra;
    std::vector<QPolygon> polygons;
    QRect bounds;
    for (const CContour& contour : selection.contours) {
        QPolygon polygon;
        polygon.reserve(int(contour.size()));
        for (const QPointF& v : contour) {
            const QPointF c = toClient.map(QPointF(std::trunc(v.x()), std::trunc(v.y())));
            polygon << QPoint(TruncPixel(std::round(c.x())), TruncPixel(std::round(c.y())));
        }
        bounds |= polygon.boundingRect();
        polygons.push_back(std::move(polygon));
    }
    // A polygon's region takes work for every scanline it spans and goes
    // wrong with coordinates in the hundreds of thousands: a selection
    // reaching far past the window (zoomed far in) takes the window's part
    // of its bounds instead, which covers whatever of it shows.
    const QRect reach = window.adjusted(-window.width(), -window.height(), window.width(), window.height());
    if (!reach.contains(bounds))
        return QRegion(bounds.adjusted(-d, -d, d, d)) & window;
    // Each contour toggled into a region costs work for every rectangle the
    // region holds already: a wand's selection with thousands of holes would
    // take longer to work out than to repaint all it covers from the
    // composition.
    if (polygons.size() > kMaxOutlineRegionContours)
        return QRegion(bounds.adjusted(-d, -d, d, d)) & window;
    // The even-odd interior: each contour's region toggles what it covers.
    QRegion region;
    for (const QPolygon& polygon : polygons)
        region ^= QRegion(polygon, Qt::OddEvenFill);
    // Widened in four passes, as far as the outline's pens reach.
    for (const QPoint& offset : {QPoint(d, 0), QPoint(-d, 0), QPoint(0, d), QPoint(0, -d)})
        region |= region.translated(offset);
    // The outline as well, as far as its pens reach: a sliver thinner than
    // a pixel (the clipper leaves them) encloses nothing in whole pixels, yet
    // its ants are drawn, and their mitred joins reach past sharp corners.
    // Zoomed out, the ants stray up to two pixels from the whole-pixel
    // outline.
    QBitmap pens(window.size());
    pens.clear();
    {
        QPainter painter(&pens);
        // A bitmap's painter starts with a brush that would blank what
        // earlier outlines set.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::color1, 2 * std::max(d, 2) + 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        for (const QPolygon& polygon : polygons)
            painter.drawPolygon(polygon);
    }
    region |= QRegion(pens);
    return region & window;
}
