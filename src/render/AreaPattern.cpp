#include "AreaPattern.h"

#include "PatternLayout.h"
#include "PatternPainter.h"
#include "document/Area.h"
#include "geometry/PolygonClip.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// How a picture point reaches the surface the pattern lies on: through the
// inverse of the corners' plane for a skewed area, as it is for a flat one.
struct CSurface
{
    std::optional<CHomography> pictureToSurface; // none: the picture itself
    QRectF canvas;                                // a skewed area's canvas; empty for a flat one

    std::optional<QPointF> Map(QPointF p) const
    {
        if (!pictureToSurface)
            return p;
        return pictureToSurface->Map(p);
    }
};

std::optional<CSurface> SurfaceOf(const CArea& area)
{
    CSurface s;
    if (!area.IsSkewApplied())
        return s;
    const QSize canvas = area.WarpCanvasSize();
    const auto toPicture = area.CanvasToPicture();
    const auto toCanvas = toPicture ? toPicture->Inverted() : std::nullopt;
    if (!toCanvas || canvas.isEmpty())
        return std::nullopt;
    s.pictureToSurface = toCanvas;
    s.canvas = QRectF(0, 0, canvas.width(), canvas.height());
    return s;
}

// The outline on the surface; nothing for a point past the plane's horizon.
std::optional<CPolygon> OutlineOnSurface(const CArea& area, const CSurface& s, double scale)
{
    CPolygon out;
    for (const CContour& contour : area.GetOutline().contours) {
        CContour mapped;
        mapped.reserve(contour.size());
        for (const QPointF& p : contour) {
            if (s.pictureToSurface && !(s.pictureToSurface->Weight(p) * s.pictureToSurface->Weight(s.canvas.center()) >= 0.0))
                return std::nullopt;
            const auto q = s.Map(p);
            if (!q)
                return std::nullopt;
            mapped.push_back(*q * scale);
        }
        out.contours.push_back(std::move(mapped));
    }
    return out;
}

QRectF Bounds(const CPolygon& polygon)
{
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const CContour& c : polygon.contours)
        for (const QPointF& p : c) {
            x0 = std::min(x0, p.x());
            x1 = std::max(x1, p.x());
            y0 = std::min(y0, p.y());
            y1 = std::max(y1, p.y());
        }
    return x1 >= x0 ? QRectF(QPointF(x0, y0), QPointF(x1, y1)) : QRectF();
}

// The extent of points along d.
double Extent(const std::vector<QPointF>& points, QPointF d)
{
    double lo = 1e300, hi = -1e300;
    for (const QPointF& p : points) {
        const double t = p.x() * d.x() + p.y() * d.y();
        lo = std::min(lo, t);
        hi = std::max(hi, t);
    }
    return hi - lo;
}

// How much of a piece is left once cut to part, as the lesser of its two
// widths: along its first edge and along its second.
double WidthLeft(const std::vector<QPointF>& shape, const std::vector<QPointF>& part)
{
    double least = 1.0;
    for (int e = 0; e < 2; ++e) {
        const QPointF d = shape[static_cast<std::size_t>(e + 1)] - shape[static_cast<std::size_t>(e)];
        // Measured across the other edge: the normal of the one after.
        const QPointF n(-d.y(), d.x());
        const double whole = Extent(shape, n);
        if (whole > 0)
            least = std::min(least, Extent(part, n) / whole);
    }
    return least;
}

double Area(const std::vector<QPointF>& poly)
{
    double a = 0;
    for (std::size_t i = 0, n = poly.size(); i < n; ++i) {
        const QPointF& p = poly[i];
        const QPointF& q = poly[(i + 1) % n];
        a += p.x() * q.y() - q.x() * p.y();
    }
    return std::abs(a) / 2;
}

// Sutherland-Hodgman against an upright rectangle.
std::vector<QPointF> ClipToRect(std::vector<QPointF> poly, const QRectF& r)
{
    const auto clipEdge = [&](auto inside, auto cross) {
        std::vector<QPointF> out;
        for (std::size_t i = 0, n = poly.size(); i < n; ++i) {
            const QPointF& a = poly[i];
            const QPointF& b = poly[(i + 1) % n];
            const bool ia = inside(a), ib = inside(b);
            if (ia)
                out.push_back(a);
            if (ia != ib)
                out.push_back(cross(a, b));
        }
        poly = std::move(out);
    };
    const auto atX = [](double x) {
        return [x](QPointF a, QPointF b) { return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x())); };
    };
    const auto atY = [](double y) {
        return [y](QPointF a, QPointF b) { return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y); };
    };
    clipEdge([&](QPointF p) { return p.x() >= r.left(); }, atX(r.left()));
    clipEdge([&](QPointF p) { return p.x() <= r.right(); }, atX(r.right()));
    clipEdge([&](QPointF p) { return p.y() >= r.top(); }, atY(r.top()));
    clipEdge([&](QPointF p) { return p.y() <= r.bottom(); }, atY(r.bottom()));
    return poly;
}

constexpr double kSliver = 1e-4;

struct CCuts
{
    int laid = 0, cut = 0;
    double smallest = 1.0;

    void Count(const std::vector<QPointF>& shape, const std::vector<QPointF>& part, double partArea)
    {
        const double whole = Area(shape);
        if (!(whole > 0) || partArea <= kSliver * whole)
            return;
        ++laid;
        if (partArea < (1 - kSliver) * whole) {
            ++cut;
            smallest = std::min(smallest, WidthLeft(shape, part));
        }
    }
};

CCuts CutsByRect(const std::vector<CLaidPiece>& pieces, const QRectF& r)
{
    CCuts cuts;
    for (const CLaidPiece& p : pieces) {
        const std::vector<QPointF> part = ClipToRect(p.shape, r);
        if (part.size() >= 3)
            cuts.Count(p.shape, part, Area(part));
    }
    return cuts;
}

// Even-odd: whether p lies inside the contours.
bool Inside(const CPolygon& polygon, QPointF p)
{
    bool in = false;
    for (const CContour& c : polygon.contours)
        for (std::size_t i = 0, n = c.size(), j = n - 1; i < n; j = i++)
            if ((c[i].y() > p.y()) != (c[j].y() > p.y()) &&
                p.x() < c[j].x() + (p.y() - c[j].y()) * (c[i].x() - c[j].x()) / (c[i].y() - c[j].y()))
                in = !in;
    return in;
}

CCuts CutsByOutline(const std::vector<CLaidPiece>& pieces, const CPolygon& outline)
{
    CCuts cuts;
    for (const CLaidPiece& p : pieces) {
        // Most pieces lie wholly inside: all corners in and no outline
        // corner within them.
        QPolygonF shape;
        for (const QPointF& v : p.shape)
            shape << v;
        const QRectF box = shape.boundingRect();
        bool inside = std::all_of(p.shape.begin(), p.shape.end(), [&](QPointF v) { return Inside(outline, v); });
        for (const CContour& c : outline.contours)
            for (const QPointF& v : c)
                if (inside && box.contains(v) && shape.containsPoint(v, Qt::OddEvenFill))
                    inside = false;
        if (inside) {
            cuts.Count(p.shape, p.shape, Area(p.shape));
            continue;
        }
        const CPolygon clipped = PolygonClip(ClipOp::Intersection, CPolygon{{p.shape}}, outline);
        std::vector<QPointF> part;
        for (const CContour& c : clipped.contours)
            part.insert(part.end(), c.begin(), c.end());
        // Holes run the other way round, so the signed sum is what is left.
        double signedSum = 0;
        for (const CContour& c : clipped.contours) {
            double a = 0;
            for (std::size_t i = 0, n = c.size(); i < n; ++i)
                a += c[i].x() * c[(i + 1) % n].y() - c[(i + 1) % n].x() * c[i].y();
            signedSum += a / 2;
        }
        if (!part.empty())
            cuts.Count(p.shape, part, std::abs(signedSum));
    }
    return cuts;
}

// The cut pieces along the bounds' four edges: only pieces across an edge
// can be cut, so only those are laid.
CCuts EdgeCuts(const CLayingPattern& pattern, const QRectF& r, QPointF origin)
{
    constexpr double kThin = 1e-6;
    CCuts all;
    for (const QRectF& edge : {QRectF(r.left(), r.top(), kThin, r.height()), QRectF(r.right(), r.top(), kThin, r.height()),
                               QRectF(r.left(), r.top(), r.width(), kThin), QRectF(r.left(), r.bottom(), r.width(), kThin)}) {
        const CCuts cuts = CutsByRect(CPatternLayout::Lay(pattern, edge, origin), r);
        all.cut += cuts.cut;
        all.smallest = std::min(all.smallest, cuts.smallest);
    }
    return all;
}

// The origin whose cut pieces along the bounds come out widest: the
// repeat is tried on a grid of shifts about the middle.
QPointF BalancedOrigin(const CLayingPattern& pattern, const QRectF& boundsCm)
{
    const auto period = CPatternLayout::Period(pattern);
    constexpr int kSteps = 10;
    QPointF best = boundsCm.center();
    double bestScore = -1;
    for (int i = 0; i < kSteps; ++i) {
        for (int k = 0; k < kSteps; ++k) {
            const QPointF origin = boundsCm.center() + period[0] * (double(i) / kSteps) + period[1] * (double(k) / kSteps);
            const CCuts cuts = EdgeCuts(pattern, boundsCm, origin);
            // Widest narrowest cut first; fewer cuts break ties.
            const double score = cuts.smallest - 1e-6 * cuts.cut;
            if (score > bestScore + 1e-9) {
                bestScore = score;
                best = origin;
            }
        }
    }
    return best;
}

} // namespace

std::optional<CAreaPattern::CLaid> CAreaPattern::Lay(const CArea& area, const CLayingPattern& pattern, double maxPixels)
{
    if (!pattern.IsUsable() || pattern.variants.front().image.isNull() || area.GetOutline().IsEmpty())
        return std::nullopt;
    const auto surface = SurfaceOf(area);
    if (!surface)
        return std::nullopt;

    CLayResult result;
    const double imagePxPerCm = pattern.variants.front().image.width() / pattern.widthCm;
    // Surface pixels per cm: from the reference line, else the texture's
    // present scale: a pattern laid before keeps its pieces' size, a first
    // one takes its pieces' image pixels as texture pixels.
    const CRealSize& real = area.GetRealSize();
    double texturePxPerCm = imagePxPerCm;
    if (area.GetPattern() && area.GetTexture() && real.textureWidthCm > 0)
        texturePxPerCm = area.GetTexture()->width() / real.textureWidthCm;
    double surfacePxPerCm = area.GetScale() * texturePxPerCm;
    if (real.HasReference()) {
        const auto a = surface->Map(real.reference.p1()), b = surface->Map(real.reference.p2());
        if (a && b && std::hypot(b->x() - a->x(), b->y() - a->y()) > 0) {
            surfacePxPerCm = std::hypot(b->x() - a->x(), b->y() - a->y()) / real.referenceCm;
            result.realScale = true;
        }
    }
    if (!(surfacePxPerCm > 0) || !std::isfinite(surfacePxPerCm))
        return std::nullopt;

    // The part of the surface the outline covers, in surface pixels.
    const auto outlinePx = OutlineOnSurface(area, *surface, 1.0);
    QRectF region = outlinePx ? Bounds(*outlinePx) : surface->canvas;
    if (!surface->canvas.isEmpty())
        region = region.intersected(surface->canvas);
    if (region.isEmpty() || region.width() * region.height() < 1)
        return std::nullopt;

    const QRectF regionCm(region.topLeft() / surfacePxPerCm, region.size() / surfacePxPerCm);
    // A little under the budget: the texture takes a pixel more each way
    // than the region to cover its last fraction.
    double pxPerCm = std::min(imagePxPerCm, 0.995 * std::sqrt(maxPixels / (regionCm.width() * regionCm.height())));
    // Laid flat, the texture is drawn one to one at most: finer pixels would
    // only be averaged away. A warp's canvas says nothing of how near the
    // front of the floor comes, so there the pieces' images decide.
    if (!surface->pictureToSurface)
        pxPerCm = std::min(pxPerCm, surfacePxPerCm);
    pxPerCm = std::max(pxPerCm, 1e-3);
    const double scale = surfacePxPerCm / pxPerCm;
    const QPoint shift(static_cast<int>(std::floor(region.left())), static_cast<int>(std::floor(region.top())));
    const QSize size(std::max(1, static_cast<int>(std::ceil((region.right() - shift.x()) / scale)) + 1),
                     std::max(1, static_cast<int>(std::ceil((region.bottom() - shift.y()) / scale)) + 1));

    QPointF origin = regionCm.topLeft();
    switch (pattern.origin) {
    case EPatternOrigin::Corner: break;
    case EPatternOrigin::Centre: origin = regionCm.center(); break;
    case EPatternOrigin::Point:
        if (const auto p = surface->Map(pattern.originPoint))
            origin = *p / surfacePxPerCm;
        break;
    case EPatternOrigin::Balanced: origin = BalancedOrigin(pattern, regionCm); break;
    }
    result.originCm = origin;
    result.pxPerCm = pxPerCm;

    // Texture pixels from surface cm: t = (cm * surfacePxPerCm - shift) / scale.
    const QTransform toTexture = QTransform::fromScale(surfacePxPerCm, surfacePxPerCm) *
                                 QTransform::fromTranslate(-shift.x(), -shift.y()) *
                                 QTransform::fromScale(1 / scale, 1 / scale);
    const QRectF textureCm = toTexture.inverted().mapRect(QRectF(0, 0, size.width(), size.height()));
    const std::vector<CLaidPiece> pieces = CPatternLayout::Lay(pattern, textureCm, origin);

    CLaid laid;
    laid.texture = CPatternPainter::Paint(pattern, pieces, size, toTexture, pxPerCm);
    if (laid.texture.isNull())
        return std::nullopt;
    laid.scale = scale;
    laid.shift = shift;
    laid.textureWidthCm = size.width() / pxPerCm;

    CCuts cuts;
    if (const auto outlineCm = OutlineOnSurface(area, *surface, 1.0 / surfacePxPerCm))
        cuts = CutsByOutline(pieces, *outlineCm);
    else
        cuts = CutsByRect(pieces, regionCm);
    result.laid = cuts.laid;
    result.cut = cuts.cut;
    result.smallestCut = cuts.smallest;
    laid.result = result;
    return laid;
}

std::optional<CLayResult> CAreaPattern::Apply(CArea& area, const CLayingPattern& pattern)
{
    const auto laid = Lay(area, pattern);
    if (!laid)
        return std::nullopt;
    Keep(area, pattern, *laid);
    return laid->result;
}

void CAreaPattern::Keep(CArea& area, const CLayingPattern& pattern, const CLaid& laid)
{
    area.SetTexture(&laid.texture);
    area.SetRotation(0.0);
    area.SetShift(laid.shift.x(), laid.shift.y());
    area.SetScale(laid.scale);
    CRealSize real = area.GetRealSize();
    real.textureWidthCm = laid.textureWidthCm;
    area.SetRealSize(real);
    area.SetPattern(pattern);
}
