#include "RoomFrame.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>

namespace {

using Vec3 = CPlaneFromVanishing::Vec3;

double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

struct SStats
{
    double area = 0.0;   // members' length on the area
    double room = 0.0;   // and off it
    double inside = 0.0; // well inside the area, not along its border
    double steep = 0.0;  // length-weighted |sin| of the members' angle from upright
    int lines = 0;
};

SStats Stats(const CRoomFrame::SInput& in, const CVanishingFamily& family)
{
    SStats s;
    double total = 0;
    for (int i : family.members) {
        const CLineSegment& seg = (*in.segments)[static_cast<std::size_t>(i)];
        const double len = seg.Length();
        ((*in.onArea)[static_cast<std::size_t>(i)] ? s.area : s.room) += len;
        if ((*in.onArea)[static_cast<std::size_t>(i)] == 2)
            s.inside += len;
        if (len > 0)
            s.steep += std::fabs(seg.b.x() - seg.a.x());
        total += len;
    }
    s.steep = total > 0 ? s.steep / total : 1.0;
    s.lines = static_cast<int>(family.members.size());
    return s;
}

// The finite point's offset from the centre, or nothing when it lies so
// far out that its position is at the mercy of a pixel's error.
std::optional<QPointF> Finite(const Vec3& v, QPointF centre, double longer)
{
    constexpr double kFar = 12.0;
    if (std::fabs(v[2]) * kFar * longer <= std::hypot(v[0], v[1]))
        return std::nullopt;
    return QPointF(v[0] / v[2] - centre.x(), v[1] / v[2] - centre.y());
}

// The weighted median of values.
double WeightedMedian(std::vector<std::pair<double, double>> values)
{
    std::sort(values.begin(), values.end());
    double total = 0;
    for (const auto& v : values)
        total += v.second;
    double run = 0;
    for (const auto& v : values) {
        run += v.second;
        if (run >= 0.5 * total)
            return v.first;
    }
    return values.back().first;
}

// The rotation closest to the weighted directions as its columns (the
// orthogonal Procrustes problem): an error in one point is shared with
// the others in proportion to how little it is trusted.
std::optional<std::array<Vec3, 3>> Frame(const std::array<Vec3, 3>& d, const std::array<double, 3>& w)
{
    cv::Matx33d m = cv::Matx33d::zeros();
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            m(r, c) = w[static_cast<std::size_t>(c)] * d[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
    cv::Mat u, s, vt;
    cv::SVD::compute(cv::Mat(m), s, u, vt);
    cv::Mat r = u * vt;
    if (cv::determinant(r) < 0)
        return std::nullopt;
    std::array<Vec3, 3> out;
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 3; ++k)
            out[static_cast<std::size_t>(c)][static_cast<std::size_t>(k)] = r.at<double>(k, c);
    return out;
}

} // namespace

std::optional<std::size_t> CRoomFrame::Uprights(const SInput& in)
{
    const QPointF centre(in.picture.width() / 2.0, in.picture.height() / 2.0);
    const double longer = std::max(in.picture.width(), in.picture.height());
    // Uprights stand within 25 degrees of the picture's vertical even at
    // a wide lens's edge, and there are several of them. Looked for only
    // among steep edges, a few table legs and door frames are already
    // more than chance, where among all the picture's edges they are not.
    const double cone = 25.0 * M_PI / 180.0;
    std::vector<int> steep;
    for (std::size_t i = 0; i < in.segments->size(); ++i) {
        const CLineSegment& s = (*in.segments)[i];
        if (std::fabs(s.b.x() - s.a.x()) <= std::sin(cone) * s.Length())
            steep.push_back(static_cast<int>(i));
    }
    std::optional<std::size_t> best;
    double bestSupport = 0;
    for (std::size_t f = 0; f < in.families->size(); ++f) {
        const CVanishingFamily& family = (*in.families)[f];
        const SStats s = Stats(in, family);
        if (s.steep > std::sin(cone) || s.lines < 3)
            continue;
        if (family.significance <= 0 &&
            CVanishingPointFinder::SignificanceAmong(*in.segments, family.members, steep, 2 * cone) <= 0)
            continue;
        const Vec3& v = family.point;
        const double planar = std::hypot(v[0], v[1]);
        bool upright = false;
        if (std::fabs(v[2]) * 8.0 * longer <= planar) {
            // Parallel in the picture: a camera held level; the roll is small.
            upright = std::fabs(v[0]) <= std::sin(20.0 * M_PI / 180.0) * planar;
        } else {
            const double dx = v[0] / v[2] - centre.x(), dy = v[1] / v[2] - centre.y();
            // A camera that sees a floor looks down, so the uprights meet
            // below; above the picture meet the floor's own lines running
            // away from the camera, which are no uprights.
            upright = dy > 0.3 * in.picture.height() && std::fabs(dx) <= 0.45 * dy;
        }
        if (upright && s.area + s.room > bestSupport) {
            bestSupport = s.area + s.room;
            best = f;
        }
    }
    return best;
}

std::vector<CRoomFrame::SPlane> CRoomFrame::Planes(const SInput& in)
{
    std::vector<SPlane> planes;
    if (!in.segments || !in.onArea || !in.families || in.picture.isEmpty())
        return planes;
    const auto up = Uprights(in);
    if (!up)
        return planes;
    const QPointF centre(in.picture.width() / 2.0, in.picture.height() / 2.0);
    const double longer = std::max(in.picture.width(), in.picture.height());
    const std::vector<CVanishingFamily>& families = *in.families;
    const Vec3& v = families[*up].point;
    std::vector<SStats> stats;
    for (const CVanishingFamily& family : families)
        stats.push_back(Stats(in, family));

    // The level directions: every other family that is more than chance.
    std::vector<std::size_t> level;
    for (std::size_t f = 0; f < families.size(); ++f)
        if (f != *up && families[f].significance > 0 && families[f].members.size() >= 2)
            level.push_back(f);
    if (level.empty())
        return planes;

    // The focal length: each level direction is square to the uprights,
    // (h - c).(v - c) = -f^2. Lines that only look level (a sloping roof,
    // a stair rail, a chance meeting of joints) give their own answers; the
    // weighted median keeps to the many that agree.
    double focal = in.focal.value_or(0.0);
    bool assumed = false;
    const auto vc = Finite(v, centre, longer);
    if (!in.focal) {
        std::vector<std::pair<double, double>> answers;
        if (vc)
            for (std::size_t f : level)
                if (const auto hc = Finite(families[f].point, centre, longer)) {
                    const double f2 = -(hc->x() * vc->x() + hc->y() * vc->y());
                    if (f2 > 0 && std::sqrt(f2) >= 0.3 * longer && std::sqrt(f2) <= 4.0 * longer)
                        answers.emplace_back(std::sqrt(f2), stats[f].area + stats[f].room);
                }
        if (!answers.empty()) {
            focal = WeightedMedian(answers);
        } else {
            // Uprights parallel in the picture, or level points too far to
            // tell: two level directions square to each other can, else
            // the focal is assumed.
            focal = in.typicalFocal;
            assumed = true;
            for (std::size_t i = 0; i < level.size() && assumed; ++i)
                for (std::size_t j = i + 1; j < level.size() && assumed; ++j)
                    if (const auto f = CPlaneFromVanishing::FocalFrom(families[level[i]].point,
                                                                      families[level[j]].point, centre, longer)) {
                        focal = *f;
                        assumed = false;
                    }
        }
    }
    const auto dv = CPlaneFromVanishing::Direction(v, focal, centre);
    if (!dv)
        return planes;
    // Level directions square to the uprights at that focal, within 3 degrees.
    std::vector<std::size_t> square;
    for (std::size_t f : level)
        if (const auto d = CPlaneFromVanishing::Direction(families[f].point, focal, centre))
            if (std::fabs(Dot(*d, *dv)) <= std::sin(3.0 * M_PI / 180.0))
                square.push_back(f);
    if (square.empty())
        return planes;

    // The rows and, square to them, the columns: the pair of level
    // directions the area's own lines follow most (its joints, its border
    // along the walls), else the room's strongest pair. A pair is the
    // room's own axes more often than a lone direction is (a table turned
    // across the room has its own pair, but the walls, frames and most
    // furniture share the room's).
    const auto strength = [&](std::size_t f) { return stats[f].area * 4 + stats[f].room; };
    std::vector<std::optional<Vec3>> dirs;
    for (std::size_t f = 0; f < families.size(); ++f)
        dirs.push_back(CPlaneFromVanishing::Direction(families[f].point, focal, centre));
    std::size_t rows = square.front();
    std::optional<std::size_t> across;
    double best = -1;
    for (std::size_t a : square)
        if (strength(a) > best) {
            best = strength(a);
            rows = a;
        }
    best = -1;
    for (std::size_t i = 0; i < square.size(); ++i)
        for (std::size_t j = i + 1; j < square.size(); ++j) {
            const std::size_t a = square[i], b = square[j];
            if (!dirs[a] || !dirs[b] || std::fabs(Dot(*dirs[a], *dirs[b])) > std::sin(3.0 * M_PI / 180.0))
                continue;
            if (strength(a) + strength(b) > best) {
                best = strength(a) + strength(b);
                rows = strength(a) >= strength(b) ? a : b;
                across = strength(a) >= strength(b) ? b : a;
            }
        }
    const auto d1 = dirs[rows];
    const auto weight = [&](std::size_t f) { return std::sqrt(double(families[f].members.size())); };

    std::optional<CPlaneFromVanishing> floor, wall;
    using Used = std::vector<std::optional<std::size_t>>;
    Used floorFamilies{rows, std::nullopt, *up}, wallFamilies{rows, *up};
    if (across) {
        // The three as one frame, the uprights' sense taken so that the
        // frame is right-handed (any sense of a direction is the same point).
        std::array<Vec3, 3> d{*d1, *CPlaneFromVanishing::Direction(families[*across].point, focal, centre), *dv};
        const Vec3 cross{d[0][1] * d[1][2] - d[0][2] * d[1][1], d[0][2] * d[1][0] - d[0][0] * d[1][2],
                         d[0][0] * d[1][1] - d[0][1] * d[1][0]};
        if (Dot(cross, d[2]) < 0)
            d[2] = {-d[2][0], -d[2][1], -d[2][2]};
        if (const auto frame = Frame(d, {weight(rows), weight(*across), weight(*up)})) {
            floor = CPlaneFromVanishing::FromDirections((*frame)[0], (*frame)[1], focal, centre);
            wall = CPlaneFromVanishing::FromDirections((*frame)[0], (*frame)[2], focal, centre);
            floorFamilies = {rows, *across, *up};
        }
    }
    if (!floor)
        floor = CPlaneFromVanishing::FromNormal(families[rows].point, v, focal, centre);
    if (!wall)
        wall = CPlaneFromVanishing::FromPair(families[rows].point, v, focal, centre);

    // A wall's area holds uprights of its own (frames, tile joints, corners)
    // at least as much as the floor's second direction; a floor's holds few
    // (a chair's legs) beside its joints and its foot along the walls.
    // Counted well inside the area: the edges of whatever stands on a floor
    // (legs, a sofa's corners, a cube) run along the floor's outline, not
    // across it.
    double levelOnArea = 0, acrossOnArea = 0;
    for (std::size_t f : square) {
        levelOnArea += stats[f].inside;
        if (f != rows)
            acrossOnArea += stats[f].inside;
    }
    const double upOnArea = stats[*up].inside;
    // A few stray uprights inside a plain carpet (a reflection, a toy) are
    // no wall: a wall's own uprights add up to the picture's size at least.
    const bool looksUpright = upOnArea > longer && upOnArea > 0.5 * acrossOnArea &&
                              upOnArea > 0.25 * (levelOnArea + upOnArea);
    const bool wallFirst =
        in.surface == ESurface::Wall || (in.surface == ESurface::Auto && looksUpright);
    const auto add = [&](const std::optional<CPlaneFromVanishing>& plane, const Used& used, bool isWall) {
        if (plane)
            planes.push_back({*plane, used, focal, assumed, isWall});
    };
    if (in.surface != ESurface::Floor && wallFirst)
        add(wall, wallFamilies, true);
    if (in.surface != ESurface::Wall)
        add(floor, floorFamilies, false);
    if (in.surface == ESurface::Auto && !wallFirst)
        add(wall, wallFamilies, true);
    return planes;
}
