#include "GeometryTestUtil.h"

#include "geometry/Selection.h"

#include <QPainterPath>
#include <gtest/gtest.h>

#include <limits>
#include <type_traits>

using namespace geomtest;

namespace
{

// The path a selection must hold, made afresh the documented way.
QPainterPath FreshPath(const CPolygon& set)
{
    QPainterPath path;
    PolygonToPath(set, path);
    return path;
}

} // namespace

// Nothing reaches the polygon to change it: a different selection is a new value.
static_assert(std::is_same_v<decltype(std::declval<CSelection&>().GetPolygon()), const CPolygon&>);
static_assert(std::is_same_v<decltype(std::declval<CSelection&>().GetPath()), const QPainterPath&>);
static_assert(!std::is_convertible_v<CPolygon, CSelection>);

TEST(Selection, HoldsADeepCopyWithItsPathAndBoundsWorkedOutOnce)
{
    const CSelection none;
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_TRUE(none.GetPath().isEmpty());
    EXPECT_TRUE(none.GetBounds().isNull());

    CPolygon set = Set({Rect(1.7, 2.2, 30, 40), Rect(10.5, 10.5, 5.9, 5.9), {{50, 50}, {60.9, 70.2}}});
    const CSelection sel(set);
    const CPolygon kept = set;
    set.contours.clear();
    EXPECT_FALSE(sel.IsEmpty());
    EXPECT_EQ(sel.GetPolygon(), kept);

    // The same figures, vertex for vertex, as PolygonToPath makes.
    const QPainterPath fresh = FreshPath(kept);
    ASSERT_EQ(sel.GetPath().elementCount(), fresh.elementCount());
    for (int i = 0; i < fresh.elementCount(); ++i) {
        EXPECT_EQ(sel.GetPath().elementAt(i).type, fresh.elementAt(i).type) << i;
        EXPECT_EQ(QPointF(sel.GetPath().elementAt(i)), QPointF(fresh.elementAt(i))) << i;
    }
    EXPECT_EQ(sel.GetPath().fillRule(), Qt::OddEvenFill);
    // Whole-pixel vertices: (1,2) to (31,42) and the line to (60,70).
    EXPECT_EQ(sel.GetBounds(), fresh.controlPointRect());
    EXPECT_EQ(sel.GetBounds(), QRectF(QPointF(1, 2), QPointF(60, 70)));
}

TEST(Selection, CopiesShareOneValueAndCompareByValue)
{
    const CPolygon set = Set({Rect(0, 0, 10, 10), Rect(2, 2, 3, 3)});
    const CSelection a(set);
    const CSelection copy = a;
    CSelection assigned;
    assigned = copy;
    EXPECT_TRUE(copy.SharesDataWith(a));
    EXPECT_TRUE(assigned.SharesDataWith(a));
    // The very path object, not an equal one built again.
    EXPECT_EQ(&copy.GetPath(), &a.GetPath());
    EXPECT_EQ(&assigned.GetPolygon(), &a.GetPolygon());

    const CSelection twin(set);
    EXPECT_FALSE(twin.SharesDataWith(a));
    EXPECT_EQ(twin, a);
    EXPECT_NE(CSelection(Set({Rect(0, 0, 10, 11)})), a);
    EXPECT_EQ(CSelection(), CSelection(CPolygon()));
    EXPECT_NE(CSelection(), a);
}

TEST(Selection, PathWithinKeepsTheContoursMeetingTheRectangleAsTheyAre)
{
    // Three squares in a row, a hole in the middle one, a contour with no
    // finite vertex and a line (no area, still drawn).
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const CPolygon set = Set({Rect(0, 0, 10, 10), Rect(100, 0, 10, 10), Rect(103, 3, 4, 4), {{nan, 1}, {2, nan}},
                              Rect(200, 0, 10, 10), {{300, 5}, {320, 5}}});
    const CSelection sel(set);

    // Touching an edge counts; the hole goes with its outline.
    EXPECT_EQ(sel.ContoursMeeting(QRectF(QPointF(90, -5), QPointF(100, 20))), (std::vector<std::size_t>{1}));
    EXPECT_EQ(sel.ContoursMeeting(QRectF(QPointF(102, 2), QPointF(108, 8))), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(sel.ContoursMeeting(QRectF(QPointF(310, 0), QPointF(311, 4))), (std::vector<std::size_t>{}));
    EXPECT_EQ(sel.ContoursMeeting(QRectF(QPointF(310, 0), QPointF(311, 5))), (std::vector<std::size_t>{5}));

    const QPainterPath middle = sel.PathWithin(QRectF(QPointF(95, -5), QPointF(115, 20)));
    const QPainterPath expected = FreshPath(Set({Rect(100, 0, 10, 10), Rect(103, 3, 4, 4)}));
    EXPECT_EQ(middle, expected);

    // Everything meets: the whole path, shared rather than rebuilt.
    const QPainterPath all = sel.PathWithin(QRectF(QPointF(-1, -1), QPointF(400, 400)));
    EXPECT_EQ(all, sel.GetPath());
    EXPECT_TRUE(sel.PathWithin(QRectF(QPointF(500, 500), QPointF(600, 600))).isEmpty());
}

TEST(Selection, HostileCoordinatesGiveFiniteBounds)
{
    const CSelection sel(Set({{{1e300, 0}, {-1e300, 5}, {3, 1e300}}, Rect(5, 5, 10, 10)}));
    const QRectF b = sel.GetBounds();
    EXPECT_FALSE(b.isNull());
    EXPECT_TRUE(std::isfinite(b.left()) && std::isfinite(b.right()) && std::isfinite(b.bottom()));
    // The far contour reaches everywhere, so it is never left out.
    EXPECT_EQ(sel.ContoursMeeting(QRectF(0, 0, 1, 1)), (std::vector<std::size_t>{0}));
}
