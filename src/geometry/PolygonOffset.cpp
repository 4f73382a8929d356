#include "geometry/PolygonOffset.h"

#include "geometry/ClipperPaths.h"
#include "geometry/PolygonClip.h"

#include <clipper.hpp>

#include <cmath>
#include <exception>

namespace
{

// Round corners are flattened to within a tenth of a pixel.
constexpr double kArcTolerance = 0.1 * kClipperScale;

} // namespace

CPolygon OffsetPolygon(const CPolygon& polygon, double delta)
{
    if (!std::isfinite(delta) || polygon.IsEmpty())
        return CPolygon();
    // A union first: the offset needs outer contours and holes oriented
    // oppositely, which the even-odd contours need not be.
    const CPolygon normal = PolygonClip(ClipOp::Union, polygon, CPolygon());
    try {
        const ClipperLib::Paths paths = ToClipperPaths(normal);
        ClipperLib::ClipperOffset offset(2.0, kArcTolerance);
        offset.AddPaths(paths, delta > 0 ? ClipperLib::jtRound : ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
        ClipperLib::Paths solution;
        offset.Execute(solution, delta * kClipperScale);
        return FromClipperPaths(solution);
    } catch (const std::exception&) {
        return CPolygon();
    }
}
