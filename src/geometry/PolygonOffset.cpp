#include "geometry/PolygonOffset.h"

#include "geometry/PolygonClip.h"

#include <clipper.hpp>

#include <cmath>
#include <exception>

namespace
{

// The same fixed point as the boolean operations: whole and binary
// fractional pixels stay exact.
constexpr double kScale = 1024.0;
// Round corners are flattened to within a tenth of a pixel.
constexpr double kArcTolerance = 0.1 * kScale;

} // namespace

CPolygon OffsetPolygon(const CPolygon& polygon, double delta)
{
    if (!std::isfinite(delta) || polygon.IsEmpty())
        return CPolygon();
    // A union first: the offset needs outer contours and holes oriented
    // oppositely, which the even-odd contours need not be.
    const CPolygon normal = PolygonClip(ClipOp::Union, polygon, CPolygon());
    try {
        ClipperLib::Paths paths;
        for (const CContour& contour : normal.contours) {
            ClipperLib::Path path;
            for (const QPointF& v : contour)
                path.emplace_back(ClipperLib::cInt(std::llround(v.x() * kScale)),
                                  ClipperLib::cInt(std::llround(v.y() * kScale)));
            paths.push_back(std::move(path));
        }
        ClipperLib::ClipperOffset offset(2.0, kArcTolerance);
        offset.AddPaths(paths, delta > 0 ? ClipperLib::jtRound : ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
        ClipperLib::Paths solution;
        offset.Execute(solution, delta * kScale);
        CPolygon out;
        for (const ClipperLib::Path& path : solution) {
            if (path.size() < 3)
                continue;
            CContour contour;
            contour.reserve(path.size());
            for (const ClipperLib::IntPoint& p : path)
                contour.emplace_back(double(p.X) / kScale, double(p.Y) / kScale);
            out.contours.push_back(std::move(contour));
        }
        return out;
    } catch (const std::exception&) {
        return CPolygon();
    }
}
