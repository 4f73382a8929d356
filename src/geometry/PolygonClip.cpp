#include "geometry/PolygonClip.h"

#include <clipper.hpp>

#include <algorithm>
#include <cmath>
#include <exception>

namespace
{

// The clipper works on 64-bit integers, so vertices are stored in fixed point
// with 1/1024 px resolution. A power of two keeps whole and binary-fractional
// coordinates exact in both directions, and 1/1024 px is far below anything
// visible. Pictures up to ~1e6 px (2^30 / 1024) stay inside the clipper's fast
// range; beyond it the clipper switches to 128-bit products by itself, and
// kClipCoordLimit * 1024 ~ 1e18 stays well inside its hard limit of 2^62.
constexpr double kScale = 1024.0;

static_assert(kClipCoordLimit * kScale < double(ClipperLib::hiRange),
              "clamped coordinates must stay inside the clipper's range");

ClipperLib::cInt ToFixed(double v)
{
    const double c = std::clamp(v, -kClipCoordLimit, kClipCoordLimit);
    return ClipperLib::cInt(std::llround(c * kScale));
}

ClipperLib::Paths ToPaths(const CPolygon& set)
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

CPolygon FromPaths(const ClipperLib::Paths& paths)
{
    CPolygon set;
    set.contours.reserve(paths.size());
    for (const ClipperLib::Path& path : paths) {
        if (path.size() < 3)
            continue;
        CContour contour;
        contour.reserve(path.size());
        for (const ClipperLib::IntPoint& p : path)
            contour.emplace_back(double(p.X) / kScale, double(p.Y) / kScale);
        set.contours.push_back(std::move(contour));
    }
    return set;
}

ClipperLib::ClipType ToClipType(ClipOp op)
{
    switch (op) {
    case ClipOp::Union:
        return ClipperLib::ctUnion;
    case ClipOp::Difference:
        return ClipperLib::ctDifference;
    case ClipOp::Intersection:
        break;
    }
    return ClipperLib::ctIntersection;
}

} // namespace

CPolygon PolygonClip(ClipOp op, const CPolygon& subject, const CPolygon& clip)
{
    try {
        ClipperLib::Clipper clipper;
        // AddPaths skips degenerate paths by itself (returns false for them),
        // which is exactly the "contributes nothing" rule.
        clipper.AddPaths(ToPaths(subject), ClipperLib::ptSubject, true);
        clipper.AddPaths(ToPaths(clip), ClipperLib::ptClip, true);
        ClipperLib::Paths solution;
        if (!clipper.Execute(ToClipType(op), solution, ClipperLib::pftEvenOdd,
                             ClipperLib::pftEvenOdd))
            return {};
        return FromPaths(solution);
    } catch (const std::exception&) {
        // clipperException (range, internal state) or running out of memory:
        // a selection operation must not take the editor down with it.
        return {};
    }
}
