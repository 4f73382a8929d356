#include "geometry/Polygon.h"

#include <QPainterPath>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace
{

// Outlines are drawn in whole pixels, like the integer point arrays of the
// original drawing calls. Casting a huge or NaN double straight to int is
// undefined, so saturate instead; callers skip non-finite vertices.
double TruncateToPixel(double v)
{
    const double t = std::trunc(v);
    return std::clamp(t, double(INT_MIN), double(INT_MAX));
}

// Drawing paths keep their points in single precision; every coordinate that
// reaches a polygon set has been through a float. Two traps: a double beyond
// float range makes the plain cast undefined, so it saturates to infinity
// (as the hardware conversion would); and GCC 12's SLP vectorizer drops
// paired double->float->double round trips entirely at -O2, so the float
// goes through a volatile it cannot see through.
double RoundToFloat(double v)
{
    if (std::isnan(v))
        return v;
    if (std::abs(v) > double(std::numeric_limits<float>::max()))
        return std::copysign(std::numeric_limits<double>::infinity(), v);
    const volatile float f = static_cast<float>(v);
    return f;
}

QPointF ThroughFloat(double x, double y)
{
    return QPointF(RoundToFloat(x), RoundToFloat(y));
}

// Curves are flattened to 0.01 px: tight enough that an outline drawn at
// high zoom shows no facets, and fixed so that the same path always yields
// the same vertices.
constexpr double kFlatness = 0.01;

// A cap keeps absurd curves (control points near the float limit) from
// producing millions of vertices; at that size 0.01 px is meaningless anyway.
constexpr int kMaxSegmentsPerCurve = 1 << 16;

// Wang's formula: a cubic subdivided uniformly into n segments stays within
// tol of the curve when n >= sqrt(3/4 * M / tol), M being the largest second
// difference of the control polygon.
int CubicSegments(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QPointF& p3)
{
    const QPointF a = p0 - 2.0 * p1 + p2;
    const QPointF b = p1 - 2.0 * p2 + p3;
    const double m = std::max(std::hypot(a.x(), a.y()), std::hypot(b.x(), b.y()));
    const double n = std::ceil(std::sqrt(0.75 * m / kFlatness));
    if (!std::isfinite(n))
        return 1;
    return int(std::clamp(n, 1.0, double(kMaxSegmentsPerCurve)));
}

QPointF CubicAt(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QPointF& p3,
                double t)
{
    const double u = 1.0 - t;
    const double b0 = u * u * u;
    const double b1 = 3.0 * u * u * t;
    const double b2 = 3.0 * u * t * t;
    const double b3 = t * t * t;
    return QPointF(b0 * p0.x() + b1 * p1.x() + b2 * p2.x() + b3 * p3.x(),
                   b0 * p0.y() + b1 * p1.y() + b2 * p2.y() + b3 * p3.y());
}

// Adds one flattened figure to out, without the closing point that repeats
// the figure's start (the path's closeSubpath line back home).
void AppendFigure(CContour& figure, CContour& out)
{
    if (figure.size() > 1 && figure.back() == figure.front())
        figure.pop_back();
    out.insert(out.end(), figure.begin(), figure.end());
    figure.clear();
}

} // namespace

void CopyPolygon(CPolygon& dst, const CPolygon* src)
{
    if (src == &dst)
        return;
    if (src)
        dst.contours = src->contours;
    else
        dst.contours.clear();
}

QPointF PixelVertex(const QPointF& v)
{
    return QPointF(TruncateToPixel(v.x()), TruncateToPixel(v.y()));
}

void PolygonToPath(const CPolygon& set, QPainterPath& path)
{
    path = QPainterPath();
    path.setFillRule(Qt::OddEvenFill);
    for (const CContour& contour : set.contours) {
        bool started = false;
        for (const QPointF& v : contour) {
            if (!std::isfinite(v.x()) || !std::isfinite(v.y()))
                continue;
            const QPointF p = PixelVertex(v);
            if (started) {
                path.lineTo(p);
            } else {
                path.moveTo(p);
                started = true;
            }
        }
        if (started)
            path.closeSubpath();
    }
}

void PathToPolygon(const QPainterPath& path, CPolygon& set)
{
    CContour contour;
    CContour figure;
    QPointF current;
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF p = ThroughFloat(e.x, e.y);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            AppendFigure(figure, contour);
            figure.push_back(p);
            current = p;
            break;
        case QPainterPath::LineToElement:
            figure.push_back(p);
            current = p;
            break;
        case QPainterPath::CurveToElement: {
            // A cubic is stored as CurveTo (first control point) followed by
            // two CurveToData elements (second control point, end point).
            if (i + 2 >= count)
                return; // malformed; QPainterPath never builds this
            const QPainterPath::Element e2 = path.elementAt(i + 1);
            const QPainterPath::Element e3 = path.elementAt(i + 2);
            const QPointF c2 = ThroughFloat(e2.x, e2.y);
            const QPointF end = ThroughFloat(e3.x, e3.y);
            const int n = CubicSegments(current, p, c2, end);
            for (int k = 1; k < n; ++k) {
                const QPointF q = CubicAt(current, p, c2, end, double(k) / n);
                figure.push_back(ThroughFloat(q.x(), q.y()));
            }
            figure.push_back(end);
            current = end;
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break; // consumed with its CurveTo
        }
    }
    AppendFigure(figure, contour);
    if (!contour.empty())
        set.contours.push_back(std::move(contour));
}

void TranslatePolygon(CPolygon& set, double dx, double dy)
{
    const QPointF d(dx, dy);
    for (CContour& contour : set.contours)
        for (QPointF& v : contour)
            v += d;
}
