#include "geometry/ClipperPaths.h"

#include "geometry/PolygonClip.h"

#include <algorithm>
#include <cmath>

namespace
{

static_assert(kClipCoordLimit * kClipperScale < double(ClipperLib::hiRange),
              "clamped coordinates must stay inside the clipper's range");

ClipperLib::cInt ToFixed(double v)
{
    const double c = std::clamp(v, -kClipCoordLimit, kClipCoordLimit);
    return ClipperLib::cInt(std::llround(c * kClipperScale));
}

} // namespace

ClipperLib::Paths ToClipperPaths(const CPolygon& set)
{
    ClipperLib::Paths paths;
    paths.reserve(set.contours.size());
    for (const CContour& contour : set.contours) {
        ClipperLib::Path path;
        path.reserve(contour.size());
        for (const QPointF& v : contour) {
            if (!std::isfinite(v.x()) || !std::isfinite(v.y()))
                continue;
            path.emplace_back(ToFixed(v.x()), ToFixed(v.y()));
        }
        if (path.size() >= 3)
            paths.push_back(std::move(path));
    }
    return paths;
}

CPolygon FromClipperPaths(const ClipperLib::Paths& paths)
{
    CPolygon set;
    set.contours.reserve(paths.size());
    for (const ClipperLib::Path& path : paths) {
        if (path.size() < 3)
            continue;
        CContour contour;
        contour.reserve(path.size());
        for (const ClipperLib::IntPoint& p : path)
            contour.emplace_back(double(p.X) / kClipperScale, double(p.Y) / kClipperScale);
        set.contours.push_back(std::move(contour));
    }
    return set;
}
