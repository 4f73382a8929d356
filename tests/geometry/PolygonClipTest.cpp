#include "GeometryTestUtil.h"

#include "geometry/PolygonClip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace geomtest;

TEST(PolygonClip, BasicOperations)
{
    const CPolygon a = Set({Rect(0, 0, 10, 10)});
    const CPolygon b = Set({Rect(5, 5, 10, 10)});

    const CPolygon u = PolygonClip(ClipOp::Union, a, b);
    EXPECT_EQ(u.contours.size(), 1u);
    EXPECT_DOUBLE_EQ(Area(u), 175);

    const CPolygon i = PolygonClip(ClipOp::Intersection, a, b);
    EXPECT_DOUBLE_EQ(Area(i), 25);
    EXPECT_EQ(Bounds(i), QRectF(5, 5, 5, 5));

    // Difference is subject minus clip, not the other way round.
    const CPolygon d = PolygonClip(ClipOp::Difference, a, b);
    EXPECT_DOUBLE_EQ(Area(d), 75);
    EXPECT_TRUE(Inside(d, {2, 2}));
    EXPECT_FALSE(Inside(d, {12, 12}));

    EXPECT_TRUE(PolygonClip(ClipOp::Intersection, a, Set({Rect(20, 20, 1, 1)})).IsEmpty());
    EXPECT_TRUE(PolygonClip(ClipOp::Union, CPolygon(), CPolygon()).IsEmpty());
    EXPECT_EQ(Area(PolygonClip(ClipOp::Union, CPolygon(), a)), 100);
    EXPECT_EQ(Area(PolygonClip(ClipOp::Difference, a, CPolygon())), 100);
}

TEST(PolygonClip, HoleFromTheMiddleReadsEvenOdd)
{
    const CPolygon d =
        PolygonClip(ClipOp::Difference, Set({Rect(0, 0, 30, 30)}), Set({Rect(10, 10, 10, 10)}));
    ASSERT_EQ(d.contours.size(), 2u);
    // No hole flags: the hole is told apart only by nesting and orientation.
    EXPECT_LT(SignedArea(d.contours[0]) * SignedArea(d.contours[1]), 0);
    EXPECT_DOUBLE_EQ(Area(d), 800);
    EXPECT_TRUE(Inside(d, {5, 5}));
    EXPECT_FALSE(Inside(d, {15, 15}));
}

TEST(PolygonClip, OperandsReadEvenOddWhateverTheOrientation)
{
    // Same orientation for outer ring and hole: non-zero filling would see
    // no hole at all.
    const CPolygon ring = Set({Rect(0, 0, 10, 10), Rect(2, 2, 6, 6)});
    const CPolygon u = PolygonClip(ClipOp::Union, ring, CPolygon());
    EXPECT_DOUBLE_EQ(Area(u), 64);
    EXPECT_FALSE(Inside(u, {5, 5}));

    // A contour listed twice cancels itself out.
    const CPolygon twice = Set({Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)});
    EXPECT_TRUE(PolygonClip(ClipOp::Union, twice, CPolygon()).IsEmpty());
    const CPolygon clipTwice =
        PolygonClip(ClipOp::Intersection, Set({Rect(0, 0, 10, 10)}), twice);
    EXPECT_TRUE(clipTwice.IsEmpty());
}

TEST(PolygonClip, DegenerateContoursContributeNothing)
{
    const CPolygon junk = Set({
        {},
        {{1, 1}},
        {{1, 1}, {5, 5}},
        {{0, 0}, {5, 5}, {10, 10}},          // collinear, no area
        {{3, 3}, {3, 3}, {3, 3}, {3, 3}},    // one repeated point
        {{0, 0}, {4, 0}, {4, 0}, {0, 0}},    // two distinct points
    });
    EXPECT_TRUE(PolygonClip(ClipOp::Union, junk, junk).IsEmpty());
    const CPolygon u = PolygonClip(ClipOp::Union, junk, Set({Rect(20, 20, 4, 4)}));
    ASSERT_EQ(u.contours.size(), 1u);
    EXPECT_EQ(Bounds(u), QRectF(20, 20, 4, 4));
}

TEST(PolygonClip, FractionalCoordinatesSurviveExactly)
{
    // Multiples of 1/1024 px round-trip through the fixed-point clipper unchanged.
    const CPolygon a = Set({Rect(0.5, 0.25, 10.125, 3.0009765625)});
    const CPolygon u = PolygonClip(ClipOp::Union, a, CPolygon());
    EXPECT_EQ(Bounds(u), QRectF(0.5, 0.25, 10.125, 3.0009765625));
    // Anything finer lands within half a unit.
    const CPolygon b = Set({Rect(0.1, 0.2, 5.3, 7.7)});
    const QRectF r = Bounds(PolygonClip(ClipOp::Union, b, CPolygon()));
    EXPECT_NEAR(r.left(), 0.1, 0.5 / 1024);
    EXPECT_NEAR(r.bottom(), 7.9, 0.5 / 1024);
}

TEST(PolygonClip, NonFiniteAndHugeCoordinatesNeverThrow)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // The NaN vertex is dropped; what remains is the square.
    const CPolygon withNan = Set({{{0, 0}, {10, 0}, {nan, 5}, {10, 10}, {0, 10}}});
    EXPECT_DOUBLE_EQ(Area(PolygonClip(ClipOp::Union, withNan, CPolygon())), 100);

    // Huge coordinates are clamped into the clipper's range.
    const CPolygon huge = Set({{{-1e300, -1e300}, {1e300, -1e300}, {1e300, 1e300}, {-1e300, 1e300}}});
    const CPolygon i = PolygonClip(ClipOp::Intersection, huge, Set({Rect(1, 2, 3, 4)}));
    EXPECT_EQ(Bounds(i), QRectF(1, 2, 3, 4));
    const CPolygon u = PolygonClip(ClipOp::Union, huge, Set({Rect(1, 2, 3, 4)}));
    ASSERT_FALSE(u.IsEmpty());
    EXPECT_EQ(Bounds(u).right(), kClipCoordLimit);
    // With the infinite corner dropped, the rest is a triangle on the far
    // side of the diagonal through the origin.
    const CPolygon infCorner = Set({{{-1e300, -1e300}, {1e300, -1e300}, {inf, inf}, {-1e300, 1e300}}});
    EXPECT_TRUE(PolygonClip(ClipOp::Intersection, infCorner, Set({Rect(1, 2, 3, 4)})).IsEmpty());
    EXPECT_FALSE(PolygonClip(ClipOp::Intersection, infCorner, Set({Rect(-5, -5, 3, 4)})).IsEmpty());

    // Random mixtures of tiny, huge and non-finite values: no throw, no crash,
    // results finite.
    std::mt19937 rng(1234);
    const double magnitudes[] = {1, 1e3, 1e6, 1e9, 1e12, 1e15, 1e18, 1e300};
    std::uniform_int_distribution<int> pickMag(0, 7), pickNum(3, 12), special(0, 30);
    std::uniform_real_distribution<double> unit(-1, 1);
    auto coord = [&] {
        const int s = special(rng);
        if (s == 0) return nan;
        if (s == 1) return inf;
        return unit(rng) * magnitudes[pickMag(rng)];
    };
    auto randomSet = [&] {
        CPolygon set;
        for (int c = pickNum(rng) / 3; c > 0; --c) {
            CContour contour;
            for (int n = pickNum(rng); n > 0; --n)
                contour.emplace_back(coord(), coord());
            set.contours.push_back(contour);
        }
        return set;
    };
    for (int round = 0; round < 300; ++round) {
        const CPolygon s = randomSet(), c = randomSet();
        for (ClipOp op : {ClipOp::Union, ClipOp::Difference, ClipOp::Intersection}) {
            const CPolygon r = PolygonClip(op, s, c);
            for (const CContour& contour : r.contours)
                for (const QPointF& p : contour)
                    ASSERT_TRUE(std::isfinite(p.x()) && std::abs(p.x()) <= kClipCoordLimit);
        }
    }
}
