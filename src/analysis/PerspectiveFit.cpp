#include "PerspectiveFit.h"

#include "analysis/LensDistortion.h"
#include "analysis/LineRefiner.h"
#include "analysis/LineSegmentFinder.h"
#include "analysis/PlaneFromVanishing.h"
#include "analysis/RoomFrame.h"
#include "analysis/VanishingPointFinder.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxCanvas = 20000;
constexpr double kExplainedShare = 0.3;

QString Tr(const char* text) { return QCoreApplication::translate("PerspectiveFit", text); }

// A phone's main camera is 24-28 mm equivalent; the equivalent is measured
// against the 43.3 mm diagonal of a 36 x 24 frame, so 26 mm is 0.60 of the
// picture's diagonal (0.75 of the longer side of a 4:3 photo).
double TypicalFocal(QSize size) { return 26.0 / 43.27 * std::hypot(size.width(), size.height()); }

bool Usable(const CPolygon& outline)
{
    int vertices = 0;
    for (const CContour& contour : outline.contours)
        for (const QPointF& p : contour) {
            if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || std::fabs(p.x()) > 1e7 || std::fabs(p.y()) > 1e7)
                return false;
            ++vertices;
        }
    return vertices >= 3;
}

std::vector<QPointF> Vertices(const CPolygon& outline)
{
    std::vector<QPointF> all;
    for (const CContour& contour : outline.contours)
        all.insert(all.end(), contour.begin(), contour.end());
    return all;
}

// Picture pixels per plane unit around the plane point q: the square root of
// the map's area scale.
double LocalScale(const CHomography& map, QPointF q, double step)
{
    const auto p = map.Map(q), ps = map.Map(q + QPointF(step, 0)), pt = map.Map(q + QPointF(0, step));
    if (!p || !ps || !pt)
        return 0.0;
    const QPointF a = (*ps - *p) / step, b = (*pt - *p) / step;
    return std::sqrt(std::fabs(a.x() * b.y() - a.y() * b.x()));
}

// Sets the axes' senses (both, so the canvas is never mirrored) for the
// canvas to stand upright in the picture as far as the plane allows: its y
// axis running down the picture, its x axis to the right.
void Orient(CPlaneFromVanishing& plane, QPointF at)
{
    const auto q = plane.ToPlane(at);
    if (!q)
        return;
    const CHomography map = plane.PlaneToPicture();
    const double step = 1e-3 * std::max(1.0, std::hypot(q->x(), q->y()));
    const auto p = map.Map(*q), ps = map.Map(*q + QPointF(step, 0)), pt = map.Map(*q + QPointF(0, step));
    if (!p || !ps || !pt)
        return;
    const QPointF a = *ps - *p, b = *pt - *p;
    const double score = a.x() / std::max(1e-300, std::hypot(a.x(), a.y())) +
                         b.y() / std::max(1e-300, std::hypot(b.x(), b.y()));
    if (score < 0)
        plane.Flip(true, true);
}

std::optional<CPerspectiveFit> Canvas(CPlaneFromVanishing plane, const std::vector<QPointF>& vertices,
                                      QString* reason)
{
    QPointF centroid;
    for (const QPointF& p : vertices)
        centroid += p / static_cast<double>(vertices.size());
    plane.FaceTowards(centroid);
    // Every vertex must see the plane in front of the camera, clear of the
    // horizon, or the rectangle around them is unbounded.
    for (const QPointF& p : vertices)
        if (!(plane.Facing(p) > 1e-3)) {
            if (reason)
                *reason = Tr("The area reaches above the horizon of the plane its lines imply.");
            return std::nullopt;
        }
    Orient(plane, centroid);
    double s0 = 1e300, t0 = 1e300, s1 = -1e300, t1 = -1e300;
    std::vector<QPointF> onPlane;
    for (const QPointF& p : vertices) {
        const auto q = plane.ToPlane(p);
        if (!q)
            return std::nullopt;
        onPlane.push_back(*q);
        s0 = std::min(s0, q->x());
        s1 = std::max(s1, q->x());
        t0 = std::min(t0, q->y());
        t1 = std::max(t1, q->y());
    }
    const CHomography map = plane.PlaneToPicture();
    const std::array<QPointF, 4> rect{QPointF(s0, t0), QPointF(s1, t0), QPointF(s0, t1), QPointF(s1, t1)};
    CPerspectiveFit fit;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto p = map.Map(rect[i]);
        if (!(map.Weight(rect[i]) > 1e-6) || !p) {
            if (reason)
                *reason = Tr("The area reaches too close to the horizon to cover it with one rectangle.");
            return std::nullopt;
        }
        fit.corners[i] = *p;
    }
    // A texture at scale 1 shows about natural size near the camera: one
    // canvas pixel per picture pixel where the area comes closest.
    const double extent = std::max(s1 - s0, t1 - t0);
    double scale = 0;
    for (const QPointF& q : onPlane)
        scale = std::max(scale, LocalScale(map, q, 1e-3 * extent));
    double width = (s1 - s0) * scale, height = (t1 - t0) * scale;
    if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height)) {
        if (reason)
            *reason = Tr("The area has no extent on the plane.");
        return std::nullopt;
    }
    const double shrink = std::min(1.0, kMaxCanvas / std::max(width, height));
    fit.canvas = QSize(std::clamp(static_cast<int>(std::lround(width * shrink)), 1, kMaxCanvas),
                       std::clamp(static_cast<int>(std::lround(height * shrink)), 1, kMaxCanvas));
    fit.focal = plane.Focal();
    return fit;
}

} // namespace

namespace {

// A vanishing point as the fit promises it: (x, y, 1) in picture pixels, or
// a unit direction with w = 0 for lines parallel in the picture (a point
// more than a thousand picture sizes away is parallel for every purpose).
std::array<double, 3> AsPictureHomogeneous(const std::array<double, 3>& v, double longerSide)
{
    const double planar = std::hypot(v[0], v[1]);
    if (std::fabs(v[2]) * 1000.0 * longerSide > planar)
        return {v[0] / v[2], v[1] / v[2], 1.0};
    if (planar == 0.0)
        return v;
    return {v[0] / planar, v[1] / planar, 0.0};
}

} // namespace

QString PerspectiveFitCancelledReason()
{
    return Tr("The fit was cancelled.");
}

namespace {

// The lines that carry the chosen directions, moved onto their edges in
// the full-resolution picture, and the families' points fitted to them
// again: the reduced copy's pixel is several of a large photo's.
void RefineFamilies(const CLineSegmentFinder::SLines& found, const CLensDistortion& lens,
                    std::vector<CLineSegment>& segments, std::vector<CVanishingFamily>& families, QPointF centre,
                    double longer)
{
    if (!(found.workingScale < 0.99) || found.grey.empty())
        return;
    // A few hundred lines are plenty for a direction, and bound the time.
    constexpr int kMaxRefined = 160;
    const double reach = 1.5 / found.workingScale + 1.0;
    for (CVanishingFamily& family : families) {
        std::vector<int> members = family.members;
        std::sort(members.begin(), members.end(), [&](int a, int b) {
            return segments[static_cast<std::size_t>(a)].Length() > segments[static_cast<std::size_t>(b)].Length();
        });
        if (members.size() > kMaxRefined)
            members.resize(kMaxRefined);
        for (int i : members)
            if (const auto refined =
                    CLineRefiner::Refine(found.grey, found.segments[static_cast<std::size_t>(i)], reach))
                segments[static_cast<std::size_t>(i)] = lens.Undistort(*refined);
        CVanishingPointFinder::Refit(segments, family.members, family.point, centre, longer);
    }
}

CPerspectiveFit::SPointSupport SupportOf(const CVanishingFamily& family, const std::vector<char>& onArea,
                                         const std::vector<CLineSegment>& segments)
{
    double area = 0, room = 0;
    for (int i : family.members)
        (onArea[static_cast<std::size_t>(i)] ? area : room) += segments[static_cast<std::size_t>(i)].Length();
    return {static_cast<int>(family.members.size()), area >= room};
}

CRoomFrame::ESurface SurfaceOf(EFitSurface s)
{
    switch (s) {
    case EFitSurface::Floor:
        return CRoomFrame::ESurface::Floor;
    case EFitSurface::Wall:
        return CRoomFrame::ESurface::Wall;
    case EFitSurface::Auto:
        break;
    }
    return CRoomFrame::ESurface::Auto;
}

} // namespace

std::optional<CPerspectiveFit> FitPerspective(const QImage& picture, const CPolygon& outline,
                                              const CPerspectiveFitOptions& options, QString* reason)
{
    const auto stopped = [&](int percent) {
        if (options.progress)
            options.progress(percent);
        return options.cancelled && options.cancelled();
    };
    const auto fail = [&](const QString& why) -> std::optional<CPerspectiveFit> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    if (picture.isNull() || picture.width() < 16 || picture.height() < 16)
        return fail(Tr("There is no picture to find lines in."));
    if (!Usable(outline))
        return fail(Tr("The area's outline is not a usable shape."));
    if (options.focal && (!std::isfinite(*options.focal) || *options.focal <= 0 || *options.focal > 1e6))
        return fail(Tr("The focal length must be a positive number of pixels."));
    const QString cancelled = PerspectiveFitCancelledReason();
    if (stopped(0))
        return fail(cancelled);

    const CLineSegmentFinder::SLines found = CLineSegmentFinder::Find(picture, outline);
    if (stopped(50))
        return fail(cancelled);
    const QPointF centre(picture.width() / 2.0, picture.height() / 2.0);
    const double longer = std::max(picture.width(), picture.height());
    // A wide lens bends the room's long lines; the plane is that of the
    // picture with the bend taken out, and so are the corners.
    const CLensDistortion lens = CLensDistortion::Estimate(found.segments, picture.size());
    std::vector<CLineSegment> segments;
    segments.reserve(found.segments.size());
    for (const CLineSegment& s : found.segments)
        segments.push_back(lens.Undistort(s));
    std::vector<QPointF> vertices = Vertices(outline);
    for (QPointF& p : vertices)
        p = lens.Undistort(p);
    const QString tooFew = Tr("too few straight edges");
    const double fallbackFocal = options.focal ? *options.focal : TypicalFocal(picture.size());
    QString why = tooFew;

    // The room first: its uprights and level lines.
    std::vector<CVanishingFamily> room = CVanishingPointFinder::Find(segments, centre, longer, 7);
    if (stopped(70))
        return fail(cancelled);
    RefineFamilies(found, lens, segments, room, centre, longer);
    if (stopped(85))
        return fail(cancelled);
    CRoomFrame::SInput input;
    input.segments = &segments;
    input.onArea = &found.onArea;
    input.families = &room;
    input.picture = picture.size();
    input.focal = options.focal;
    input.typicalFocal = fallbackFocal;
    input.surface = SurfaceOf(options.surface);
    for (const CRoomFrame::SPlane& candidate : CRoomFrame::Planes(input)) {
        auto fit = Canvas(candidate.plane, vertices, &why);
        if (!fit)
            continue;
        fit->focalAssumed = candidate.focalAssumed;
        fit->wall = candidate.wall;
        fit->distortion = lens.K();
        // The plane's own directions, as the canvas runs: its rows, its
        // columns, and for a floor the uprights (a wall's second axis is
        // the uprights already).
        const auto points = candidate.plane.Points();
        fit->vanishingPoints = {AsPictureHomogeneous(points[0], longer), AsPictureHomogeneous(points[1], longer)};
        if (!candidate.wall)
            fit->vanishingPoints.push_back(AsPictureHomogeneous(points[2], longer));
        for (const auto& f : candidate.families) {
            if (!f) {
                fit->pointSupport.push_back({});
                continue;
            }
            fit->pointSupport.push_back(SupportOf(room[*f], found.onArea, segments));
            fit->supportingLines += static_cast<int>(room[*f].members.size());
        }
        fit->pointSupport.resize(fit->vanishingPoints.size());
        return fit;
    }

    // No uprights to build on: the area's own lines alone, as two families
    // square to each other or one with a camera held level.
    std::vector<CLineSegment> onArea;
    for (std::size_t i = 0; i < segments.size(); ++i)
        if (found.onArea[i])
            onArea.push_back(segments[i]);
    const std::vector<CVanishingFamily> families = CVanishingPointFinder::Find(onArea, centre, longer);
    if (families.empty())
        return fail(why);
    const std::vector<char> allOnArea(onArea.size(), 1);
    const auto finish = [&](CPerspectiveFit& fit, const std::vector<const CVanishingFamily*>& used) {
        fit.distortion = lens.K();
        for (const CVanishingFamily* family : used) {
            fit.vanishingPoints.push_back(AsPictureHomogeneous(family->point, longer));
            fit.pointSupport.push_back(SupportOf(*family, allOnArea, onArea));
            fit.supportingLines += static_cast<int>(family->members.size());
        }
    };

    // Strongest pairs first; a pair whose horizon crosses the area is the
    // wrong pair (a wall's uprights with the floor's lines, say).
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t i = 0; i < families.size(); ++i)
        for (std::size_t j = i + 1; j < families.size(); ++j)
            pairs.emplace_back(i, j);
    std::stable_sort(pairs.begin(), pairs.end(), [&](const auto& a, const auto& b) {
        return families[a.first].support + families[a.second].support >
               families[b.first].support + families[b.second].support;
    });
    // The families used must explain a good share of the area's edges: on
    // flagstones and other irregular joints a few edges always happen to
    // meet somewhere, and such a chance point is no plane.
    double total = 0;
    for (const CLineSegment& segment : onArea)
        total += segment.Length();
    const auto explains = [&](double support) { return support >= kExplainedShare * total; };
    const bool roomSaid = why != tooFew;
    for (const auto& [i, j] : pairs) {
        if (!explains(families[i].support + families[j].support))
            continue;
        const auto& v1 = families[i].point;
        const auto& v2 = families[j].point;
        // A focal the user gives (a known camera) wins over one measured.
        const auto measured =
            options.focal ? std::nullopt : CPlaneFromVanishing::FocalFrom(v1, v2, centre, longer);
        const auto plane = CPlaneFromVanishing::FromPair(v1, v2, measured ? *measured : fallbackFocal, centre);
        if (!plane)
            continue;
        auto fit = Canvas(*plane, vertices, &why);
        if (!fit)
            continue;
        fit->focalAssumed = !measured && !options.focal;
        finish(*fit, {&families[i], &families[j]});
        return fit;
    }
    // One family only (planks without a visible cross joint, a wall's edge
    // over a plain carpet): a camera held level fixes the rest.
    if (families.size() == 1 || pairs.empty() || why == tooFew || roomSaid) {
        const CVanishingFamily& only = families.front();
        if (explains(only.support)) {
            if (const auto plane = CPlaneFromVanishing::FromLevelHorizon(only.point, fallbackFocal, centre)) {
                auto fit = Canvas(*plane, vertices, &why);
                if (fit) {
                    fit->focalAssumed = !options.focal;
                    finish(*fit, {&only});
                    return fit;
                }
            }
        }
    }
    return fail(why);
}
