#pragma once

#include "geometry/Polygon.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <cmath>

namespace geomtest
{

inline CContour Rect(double x, double y, double w, double h)
{
    return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
}

inline CPolygon Set(std::initializer_list<CContour> contours)
{
    return CPolygon{std::vector<CContour>(contours)};
}

inline double SignedArea(const CContour& c)
{
    double a = 0;
    for (size_t i = 0; i < c.size(); ++i) {
        const QPointF& p = c[i];
        const QPointF& q = c[(i + 1) % c.size()];
        a += p.x() * q.y() - q.x() * p.y();
    }
    return a / 2;
}

// Area covered by a clipper result: holes come back with the opposite
// orientation, so signed areas add up to the covered area.
inline double Area(const CPolygon& set)
{
    double a = 0;
    for (const CContour& c : set.contours)
        a += SignedArea(c);
    return std::abs(a);
}

// Even-odd membership without the pixel truncation of PolygonToPath.
inline bool Inside(const CPolygon& set, QPointF p)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const CContour& c : set.contours)
        path.addPolygon(QPolygonF(QList<QPointF>(c.begin(), c.end())));
    return path.contains(p);
}

inline QRectF Bounds(const CPolygon& set)
{
    QPolygonF all;
    for (const CContour& c : set.contours)
        for (const QPointF& p : c)
            all << p;
    return all.boundingRect();
}

} // namespace geomtest
