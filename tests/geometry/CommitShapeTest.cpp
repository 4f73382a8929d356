#include "GeometryTestUtil.h"

#include "geometry/CommitShape.h"

#include <QPainterPath>
#include <gtest/gtest.h>

using namespace geomtest;

namespace
{

QPainterPath RectPath(double x, double y, double w, double h)
{
    QPainterPath p;
    p.addRect(x, y, w, h);
    return p;
}

const CPolygon kSelection = Set({Rect(0, 0, 40, 40)});
const QSize kPicture(100, 80);

} // namespace

TEST(CommitShape, ModifierKeysChooseTheMode)
{
    const QPainterPath shape = RectPath(20, 20, 40, 40);

    const CPolygon replaced = CommitShape(kSelection, shape, false, false, kPicture);
    EXPECT_DOUBLE_EQ(Area(replaced), 1600);
    EXPECT_EQ(Bounds(replaced), QRectF(20, 20, 40, 40));

    const CPolygon added = CommitShape(kSelection, shape, false, true, kPicture);
    EXPECT_DOUBLE_EQ(Area(added), 1600 + 1600 - 400);
    EXPECT_TRUE(Inside(added, {5, 5}));
    EXPECT_TRUE(Inside(added, {55, 55}));

    const CPolygon subtracted = CommitShape(kSelection, shape, true, false, kPicture);
    EXPECT_DOUBLE_EQ(Area(subtracted), 1600 - 400);
    EXPECT_FALSE(Inside(subtracted, {30, 30}));
    EXPECT_FALSE(Inside(subtracted, {55, 55}));

    // Ctrl wins over Shift.
    EXPECT_EQ(CommitShape(kSelection, shape, true, true, kPicture), subtracted);
}

TEST(CommitShape, ShapesAreClippedToThePicture)
{
    const CPolygon clipped =
        CommitShape(CPolygon(), RectPath(-10, -20, 200, 50), false, false, kPicture);
    EXPECT_EQ(Bounds(clipped), QRectF(0, 0, 100, 30));

    // Replacing with a shape wholly outside the picture empties the selection.
    EXPECT_TRUE(CommitShape(kSelection, RectPath(150, 10, 20, 20), false, false, kPicture)
                    .IsEmpty());
    // Adding it leaves the selection as it was.
    EXPECT_DOUBLE_EQ(
        Area(CommitShape(kSelection, RectPath(150, 10, 20, 20), false, true, kPicture)), 1600);

    // Without a picture nothing is clipped.
    const CPolygon free = CommitShape(CPolygon(), RectPath(-10, -20, 200, 50), false, false, {});
    EXPECT_EQ(Bounds(free), QRectF(-10, -20, 200, 50));

    // An empty path replaces the selection with nothing, and an empty
    // picture leaves no room for any shape.
    EXPECT_TRUE(CommitShape(kSelection, QPainterPath(), false, false, kPicture).IsEmpty());
    EXPECT_TRUE(CommitShape(CPolygon(), RectPath(0, 0, 5, 5), false, true, QSize(0, 0)).IsEmpty());
}

TEST(CommitShape, SubtractingTheMiddleLeavesAHole)
{
    const CPolygon ring = CommitShape(kSelection, RectPath(10, 10, 20, 20), true, false, kPicture);
    ASSERT_EQ(ring.contours.size(), 2u);

    CPolygon copy;
    CopyPolygon(copy, &ring);
    QPainterPath drawn;
    PolygonToPath(copy, drawn);
    EXPECT_TRUE(drawn.contains(QPointF(5, 5)));
    EXPECT_FALSE(drawn.contains(QPointF(20, 20)));
    EXPECT_FALSE(drawn.contains(QPointF(45, 45)));
}

TEST(CommitShape, EllipseKeepsFractionalVertices)
{
    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(50, 40), 30.5, 20.25);
    const CPolygon sel = CommitShape(CPolygon(), ellipse, false, false, kPicture);
    ASSERT_EQ(sel.contours.size(), 1u);
    bool fractional = false;
    for (const QPointF& p : sel.contours[0])
        fractional |= p.x() != std::trunc(p.x());
    EXPECT_TRUE(fractional);
    // Chords within 0.01 px of a ~160 px perimeter lose well under 1 px^2.
    EXPECT_NEAR(Area(sel), M_PI * 30.5 * 20.25, 1.0);
}

TEST(CommitShape, TwoFigurePathBecomesOneContour)
{
    // One contour runs (0,0)..(0,10) then (20,0)..(20,10) and back: the two
    // connecting edges cross at (10,5). Read even-odd, that selects the
    // right square plus the triangle reaching to the crossing, and only the
    // upper-left triangle of the left square; two separate figures would
    // have selected both squares and nothing between them.
    QPainterPath path;
    path.addRect(0, 0, 10, 10);
    path.addRect(20, 0, 10, 10);
    const CPolygon sel = CommitShape(CPolygon(), path, false, false, kPicture);
    EXPECT_TRUE(Inside(sel, {25, 5}));
    EXPECT_TRUE(Inside(sel, {15, 5}));
    EXPECT_TRUE(Inside(sel, {5, 1}));
    EXPECT_FALSE(Inside(sel, {5, 5}));
    EXPECT_FALSE(Inside(sel, {15, 1}));
}

TEST(CommitShape, UnusableCoordinatesDoNotCrash)
{
    QPainterPath path;
    path.moveTo(1e100, 1e100);
    path.lineTo(-1e100, 5);
    path.lineTo(50, 1e120);
    path.closeSubpath();
    const CPolygon clipped = CommitShape(kSelection, path, false, true, kPicture);
    const QRectF b = Bounds(clipped);
    EXPECT_TRUE(QRectF(0, 0, 100, 80).contains(b));
    EXPECT_NO_THROW(CommitShape(kSelection, path, true, false, std::nullopt));
}
