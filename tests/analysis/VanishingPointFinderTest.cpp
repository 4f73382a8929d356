#include "analysis/VanishingPointFinder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using Point = std::array<double, 3>;

// The angle, in degrees, between two homogeneous points seen as
// directions from the picture's centre at focal f: how far apart the
// surface directions they stand for are.
double DirectionGap(const Point& a, const Point& b, QPointF c, double f)
{
    const double ax = a[0] - c.x() * a[2], ay = a[1] - c.y() * a[2], az = f * a[2];
    const double bx = b[0] - c.x() * b[2], by = b[1] - c.y() * b[2], bz = f * b[2];
    const double dot = std::fabs(ax * bx + ay * by + az * bz);
    return std::acos(std::min(1.0, dot / std::sqrt((ax * ax + ay * ay + az * az) * (bx * bx + by * by + bz * bz)))) *
           180 / M_PI;
}

// Joints of a tiled floor: one family running to a point above the
// picture, one level in the picture (its point at infinity), each segment
// nudged by a deterministic fraction of a pixel.
std::vector<CLineSegment> Joints()
{
    std::vector<CLineSegment> segments;
    const QPointF far(700, -1500);
    for (int i = 0; i < 9; ++i) {
        const QPointF bottom(80 + 140 * i, 880);
        const QPointF top = bottom + (far - bottom) * 0.35;
        const double wobble = 0.3 * std::sin(i * 1.7);
        segments.push_back({bottom + QPointF(wobble, 0), top});
    }
    for (int i = 0; i < 7; ++i) {
        const double y = 380 + 70 * i;
        segments.push_back({QPointF(150 + 10 * i, y), QPointF(1050 - 5 * i, y + 0.25 * std::cos(i))});
    }
    return segments;
}

TEST(VanishingPointFinder, GroupsJointsAndIgnoresAStrayEdge)
{
    const QPointF centre(600, 450);
    const Point converging{700, -1500, 1}, level{1, 0, 0};
    std::vector<CLineSegment> segments = Joints();
    const auto clean = CVanishingPointFinder::Find(segments, centre, 1200);
    // A long edge in neither direction (a rug's border, a shadow) that
    // a plain least-squares fit over all edges would follow.
    segments.push_back({QPointF(100, 500), QPointF(1100, 820)});
    const auto families = CVanishingPointFinder::Find(segments, centre, 1200);

    ASSERT_EQ(families.size(), 2u);
    // The converging joints have more length together: they come first.
    EXPECT_LT(DirectionGap(families[0].point, converging, centre, 900), 0.1);
    EXPECT_LT(DirectionGap(families[1].point, level, centre, 900), 0.1);
    EXPECT_EQ(families[0].members.size(), 9u);
    EXPECT_EQ(families[1].members.size(), 7u);
    for (const CVanishingFamily& family : families)
        for (int member : family.members)
            EXPECT_NE(member, static_cast<int>(segments.size()) - 1) << "the stray edge joined a family";
    // The stray edge moves neither point at all.
    ASSERT_EQ(clean.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_LT(DirectionGap(families[i].point, clean[i].point, centre, 900), 1e-9);
}

TEST(VanishingPointFinder, OneEdgeFoundTwiceIsNoFamily)
{
    // The two sides of one grout joint, and nothing else.
    const std::vector<CLineSegment> segments{{QPointF(100, 400), QPointF(900, 420)},
                                             {QPointF(100, 402), QPointF(900, 422)}};
    EXPECT_TRUE(CVanishingPointFinder::Find(segments, QPointF(500, 400), 1000).empty());
}

TEST(VanishingPointFinder, DeviationMeasuresTheAngleToThePoint)
{
    const CLineSegment segment{QPointF(0, 0), QPointF(100, 0)};
    EXPECT_NEAR(CVanishingPointFinder::Deviation(segment, {1, 0, 0}), 0.0, 1e-12);
    // A point 1000 px ahead and 1000 px up from the middle: 45 degrees.
    EXPECT_NEAR(CVanishingPointFinder::Deviation(segment, {1050, -1000, 1}), std::sin(M_PI / 4), 1e-12);
    EXPECT_NEAR(CVanishingPointFinder::Deviation(segment, {0, 1, 0}), 1.0, 1e-12);
}

} // namespace

// A table's and a chair's legs among a floor's hundreds of joints: nothing
// among all the picture's edges, but more than chance among its few steep
// ones; two steep edges meeting are chance even there.
TEST(VanishingPointFinder, ExpectedFamilyStandsOutAmongItsCandidates)
{
    std::vector<CLineSegment> segments;
    std::vector<int> legs, steep, all;
    std::uint32_t state = 12345;
    const auto random = [&]() {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / double(1 << 24);
    };
    // Short joints within 66 degrees of level: a few of them steep.
    for (int i = 0; i < 300; ++i) {
        const QPointF a(100 + 1400 * random(), 700 + 400 * random());
        const double t = (random() - 0.5) * 132 * M_PI / 180;
        segments.push_back({a, a + 25 * QPointF(std::cos(t), std::sin(t))});
    }
    // Ten leg edges meeting far below, 60 to 132 px long.
    const QPointF below(800, 4000);
    for (int i = 0; i < 10; ++i) {
        const QPointF top(500 + 80 * i, 400 + 20 * (i % 3));
        const QPointF d = (below - top) / std::hypot(below.x() - top.x(), below.y() - top.y());
        legs.push_back(static_cast<int>(segments.size()));
        segments.push_back({top, top + (60 + 8 * i) * d});
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const CLineSegment& s = segments[i];
        all.push_back(static_cast<int>(i));
        if (std::fabs(s.b.x() - s.a.x()) <= std::sin(25 * M_PI / 180) * s.Length())
            steep.push_back(static_cast<int>(i));
    }
    ASSERT_GT(steep.size(), legs.size());  // some joints compete
    const double cone = 50 * M_PI / 180;
    EXPECT_LE(CVanishingPointFinder::SignificanceAmong(segments, legs, all, M_PI), 0.0);
    EXPECT_GT(CVanishingPointFinder::SignificanceAmong(segments, legs, steep, cone), 0.0);
    EXPECT_LE(CVanishingPointFinder::SignificanceAmong(segments, {legs[0], legs[5]}, steep, cone), 0.0);
}
