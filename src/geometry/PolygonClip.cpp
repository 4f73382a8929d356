#include "geometry/PolygonClip.h"

#include "geometry/ClipperPaths.h"

#include <clipper.hpp>

#include <algorithm>
#include <cmath>
#include <exception>

namespace
{

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
        clipper.AddPaths(ToClipperPaths(subject), ClipperLib::ptSubject, true);
        clipper.AddPaths(ToClipperPaths(clip), ClipperLib::ptClip, true);
        ClipperLib::Paths solution;
        if (!clipper.Execute(ToClipType(op), solution, ClipperLib::pftEvenOdd,
                             ClipperLib::pftEvenOdd))
            return {};
        return FromClipperPaths(solution);
    } catch (const std::exception&) {
        // clipperException (range, internal state) or running out of memory:
        // a selection operation must not take the editor down with it.
        return {};
    }
}
