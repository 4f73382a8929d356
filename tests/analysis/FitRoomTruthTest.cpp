#include "FitRoomCatalogue.h"
#include "FitScorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

// The perspective fit's quality test is only as right as the truth it is
// measured against. These check the rendered rooms' true maps against what
// the renderer drew, and the scorer against a fit made from the truth.
// Geometry does not depend on how finely a pixel is sampled: one sample a
// pixel, a quarter of the quality test's work, draws the same room.
namespace {

constexpr int kSamples = 1;

std::vector<CFitRoom> AllRooms()
{
    std::vector<CFitRoom> rooms = CFitRoomCatalogue::Tuning();
    for (CFitRoom& room : CFitRoomCatalogue::Judging())
        rooms.push_back(room);
    return rooms;
}

bool InMask(const QImage& mask, QPointF p)
{
    const int x = int(std::floor(p.x())), y = int(std::floor(p.y()));
    return x >= 0 && y >= 0 && x < mask.width() && y < mask.height() && mask.constScanLine(y)[x] != 0;
}

// The area's own edges on its plane: a stretch from a to b with the area on
// the side of inward.
struct SEdge
{
    QPointF a, b, inward;
};

// The floor's edges (wall < 0) or a wall's, on its plane.
std::vector<SEdge> PlaneEdges(const CRoomScene& s, int wall)
{
    if (wall < 0)
        return {{{s.left, s.back}, {s.right, s.back}, {0, -1}},
                {{s.left, s.front}, {s.left, s.back}, {1, 0}},
                {{s.right, s.front}, {s.right, s.back}, {-1, 0}}};
    const bool side = wall == CRoomScene::kLeft || wall == CRoomScene::kRight;
    const double lo = side ? s.front : s.left, hi = side ? s.back : s.right;
    const double top = s.ceiling ? s.ceilingHeight : 10.0;
    std::vector<SEdge> edges{{{lo, 0}, {hi, 0}, {0, 1}}, {{lo, 0}, {lo, top}, {1, 0}}, {{hi, 0}, {hi, top}, {-1, 0}}};
    if (s.ceiling)
        edges.push_back({{lo, s.ceilingHeight}, {hi, s.ceilingHeight}, {0, -1}});
    return edges;
}

struct SEdgeFit
{
    std::vector<double> offsets;  // sorted, pixels
    int crossings = 0;            // edge points in the picture
};

// Walks across each edge in the photograph where the truth map, bent by the
// lens, puts it; the mask's one change from outside to inside is measured
// against that. Edges hidden behind furniture show no single change and are
// passed over.
SEdgeFit MeasureEdges(const QImage& mask, const CHomography& truth, const CRoomCamera& camera,
                      const std::vector<SEdge>& edges)
{
    SEdgeFit out;
    for (const SEdge& edge : edges)
        for (int i = 0; i <= 400; ++i) {
            const QPointF q = edge.a + (edge.b - edge.a) * (i / 400.0);
            const QPointF inner = q + edge.inward * 0.02;
            if (!(truth.Weight(q) > 0.05) || !(truth.Weight(inner) > 0.05))
                continue;
            const QPointF p = camera.Distort(*truth.Map(q)), pi = camera.Distort(*truth.Map(inner));
            const QPointF along = (pi - p) / std::hypot(pi.x() - p.x(), pi.y() - p.y());
            constexpr double reach = 6, step = 0.25;
            if (p.x() < reach + 1 || p.y() < reach + 1 || p.x() > mask.width() - reach - 1 ||
                p.y() > mask.height() - reach - 1)
                continue;
            int changes = 0;
            double at = 0;
            bool previous = InMask(mask, p - along * reach);
            const bool startsInside = previous;
            for (double t = -reach + step; t <= reach; t += step) {
                const bool inside = InMask(mask, p + along * t);
                if (inside != previous) {
                    ++changes;
                    at = t - step / 2;
                }
                previous = inside;
            }
            ++out.crossings;
            if (changes == 1 && !startsInside)
                out.offsets.push_back(std::fabs(at));
        }
    std::sort(out.offsets.begin(), out.offsets.end());
    return out;
}

// The floor's and the shown wall's true maps put their edges where the
// rendered masks have them, through the lens's bend.
TEST(FitRoomTruth, TheTrueMapsFollowTheRenderedEdges)
{
    for (const CFitRoom& room : AllRooms()) {
        const CFitRoom::SRendered& r = room.Rendered(kSamples);
        const CRoomCamera& camera = room.scene.camera;
        for (const bool onWall : {false, true}) {
            const SEdgeFit fit = onWall ? MeasureEdges(r.wallMask, room.WallTruth(), camera,
                                                       PlaneEdges(room.scene, room.WallShown()))
                                        : MeasureEdges(r.floorMask, room.FloorTruth(), camera, PlaneEdges(room.scene, -1));
            const std::vector<double>& offsets = fit.offsets;
            const double median = CFitScorer::Median(offsets);
            const auto close = std::count_if(offsets.begin(), offsets.end(), [](double d) { return d <= 1.5; });
            std::printf("%-22s %-5s %4zu of %4d edge points seen, median offset %.2f px, %.0f%% within 1.5 px\n",
                        room.name.c_str(), onWall ? "wall" : "floor", offsets.size(), fit.crossings, median,
                        offsets.empty() ? 0.0 : 100.0 * double(close) / double(offsets.size()));
            // The area's plane is always well in view; a floor room's wall
            // in view at least along its foot.
            EXPECT_GE(offsets.size(), onWall == room.IsWall() ? 100u : 40u) << room.name;
            EXPECT_LE(median, 0.75) << room.name;
            EXPECT_GE(double(close), 0.9 * double(offsets.size())) << room.name;
        }
    }
}

// A fit whose corners are the truth's own images of a rectangle on the
// plane must score a right angle and the right proportions: the truth and
// the scorer agree. The rectangle is the plane's extent as the rendered mask
// shows it (through the lens's bend), so parts of it may lie beyond the
// picture's horizon and make the scorer shrink it. Both planes of every
// room: the floor and the wall shown.
TEST(FitRoomTruth, AFitFromTheTrueCameraScoresPerfectly)
{
    for (const CFitRoom& room : AllRooms()) {
        const CFitRoom::SRendered& r = room.Rendered(kSamples);
        for (const bool onWall : {false, true}) {
            const QImage& mask = onWall ? r.wallMask : r.floorMask;
            const CHomography truth = onWall ? room.WallTruth() : room.FloorTruth();
            const std::string what = room.name + (onWall ? " wall" : " floor");
            const auto toPlane = truth.Inverted();
            ASSERT_TRUE(toPlane) << what;
            double s0 = 1e300, t0 = 1e300, s1 = -1e300, t1 = -1e300;
            for (int y = 0; y < mask.height(); y += 3)
                for (int x = 0; x < mask.width(); x += 3)
                    if (mask.constScanLine(y)[x]) {
                        const auto q = toPlane->Map(room.scene.camera.Undistort(QPointF(x + 0.5, y + 0.5)));
                        ASSERT_TRUE(q) << what;
                        s0 = std::min(s0, q->x()), s1 = std::max(s1, q->x());
                        t0 = std::min(t0, q->y()), t1 = std::max(t1, q->y());
                    }
            ASSERT_LT(s0, s1) << what;
            ASSERT_LT(t0, t1) << what;
            // What the mask shows of a plane lies within the room.
            EXPECT_LT(s1 - s0, 8.1) << what;
            EXPECT_LT(t1 - t0, 8.1) << what;
            const CPolygon outline = room.Undistorted(onWall == room.IsWall() ? r.outline : CFitRoom::Outline(mask));
            const auto score = CFitScorer::Score(truth, CFitScorer::TrueFit(truth, s0, t0, s1, t1), outline);
            ASSERT_TRUE(score) << what;
            EXPECT_LT(score->angle, 0.05) << what;
            EXPECT_LT(score->aspect, 0.002) << what;
            // A canvas twice as wide as the plane's rectangle is caught.
            CPerspectiveFit stretched = CFitScorer::TrueFit(truth, s0, t0, s1, t1);
            stretched.canvas.setWidth(2 * stretched.canvas.width());
            const auto wrong = CFitScorer::Score(truth, stretched, outline);
            ASSERT_TRUE(wrong) << what;
            EXPECT_NEAR(wrong->aspect, 0.5, 0.01) << what;
        }
    }
}

// The fit reports the bend in the division model; the rooms' lenses follow
// the polynomial one. The k the rooms give for comparison must describe
// their lens closely: over the photograph the two models put a point within
// a small share of the picture apart.
TEST(FitRoomTruth, TheDivisionModelMatchesTheRoomsLens)
{
    for (const CFitRoom& room : AllRooms()) {
        const CRoomCamera& c = room.scene.camera;
        if (c.k1 == 0)
            continue;
        const double k = c.DivisionK(), half = std::hypot(c.width, c.height) / 2;
        EXPECT_LT(k, 0) << room.name << ": barrel";
        double worst = 0;
        for (int i = 1; i <= 50; ++i) {
            const QPointF d = c.Centre() + QPointF(c.width / 2.0, c.height / 2.0) * (i / 50.0);
            const QPointF offset = d - c.Centre();
            const double s2 = (offset.x() * offset.x() + offset.y() * offset.y()) / (half * half);
            const QPointF division = c.Centre() + offset / (1 + k * s2);
            const QPointF polynomial = c.Undistort(d);
            worst = std::max(worst, std::hypot(division.x() - polynomial.x(), division.y() - polynomial.y()));
            // And the bend is undone exactly.
            const QPointF back = c.Distort(polynomial);
            EXPECT_NEAR(back.x(), d.x(), 1e-6) << room.name;
            EXPECT_NEAR(back.y(), d.y(), 1e-6) << room.name;
        }
        std::printf("%-22s k1 %.3f, division k %.4f: the models differ by at most %.2f px\n", room.name.c_str(),
                    c.k1, k, worst);
        EXPECT_LT(worst, 0.002 * half) << room.name;
    }
}

} // namespace
