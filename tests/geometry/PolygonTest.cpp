#include "GeometryTestUtil.h"

#include "geometry/Polygon.h"

#include <QPainterPath>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace geomtest;

namespace
{

std::vector<QPointF> PathPoints(const QPainterPath& path)
{
    std::vector<QPointF> pts;
    for (int i = 0; i < path.elementCount(); ++i)
        pts.emplace_back(path.elementAt(i).x, path.elementAt(i).y);
    return pts;
}

// Algebraic distance to the ellipse, scaled by the gradient: accurate for
// points close to the curve, which is all we measure.
double EllipseDistance(QPointF p, QPointF c, double rx, double ry)
{
    const double x = p.x() - c.x(), y = p.y() - c.y();
    const double f = x * x / (rx * rx) + y * y / (ry * ry) - 1.0;
    const double gx = 2 * x / (rx * rx), gy = 2 * y / (ry * ry);
    return std::abs(f) / std::hypot(gx, gy);
}

} // namespace

TEST(PolygonToPath, TruncatesTowardZeroAndClosesEachContour)
{
    const CPolygon set = Set({{{2.9, -2.9}, {10.5, -2.1}, {10.7, 7.9}}, {}, {{-0.5, 0.5}, {-3.99, 1}, {-1, 4}}});
    QPainterPath path;
    path.addRect(100, 100, 5, 5); // must be discarded
    PolygonToPath(set, path);

    EXPECT_EQ(path.fillRule(), Qt::OddEvenFill);
    // Two figures of moveTo + 2 lineTo + closing lineTo; the empty contour adds nothing.
    const std::vector<QPointF> expected{{2, -2}, {10, -2}, {10, 7}, {2, -2},
                                        {0, 0},  {-3, 1},  {-1, 4}, {0, 0}};
    EXPECT_EQ(PathPoints(path), expected);
    EXPECT_TRUE(path.elementAt(0).isMoveTo());
    EXPECT_TRUE(path.elementAt(4).isMoveTo());
    EXPECT_FALSE(path.boundingRect().intersects(QRectF(100, 100, 5, 5)));
}

TEST(PolygonToPath, NestedContoursFillEvenOdd)
{
    QPainterPath path;
    PolygonToPath(Set({Rect(0, 0, 30, 30), Rect(10, 10, 10, 10)}), path);
    EXPECT_TRUE(path.contains(QPointF(5, 5)));
    EXPECT_FALSE(path.contains(QPointF(15, 15)));
}

TEST(PolygonToPath, SurvivesNonFiniteAndHugeVertices)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QPainterPath path;
    PolygonToPath(Set({{{nan, 0}, {1, 1}, {inf, 5}, {1e300, -1e300}, {4, 1}}}), path);
    for (const QPointF& p : PathPoints(path)) {
        EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()));
        EXPECT_LE(std::abs(p.x()), 2147483648.0);
    }
    EXPECT_EQ(path.elementAt(0).x, 1);
}

TEST(PathToPolygon, RectangleGivesExactlyFourVertices)
{
    QPainterPath path;
    path.addRect(0, 0, 640, 480);
    CPolygon set;
    PathToPolygon(path, set);
    ASSERT_EQ(set.contours.size(), 1u);
    const CContour expected{{0, 0}, {640, 0}, {640, 480}, {0, 480}};
    EXPECT_EQ(set.contours[0], expected);
}

TEST(PathToPolygon, AppendsOneContourAndIgnoresEmptyPaths)
{
    CPolygon set = Set({Rect(0, 0, 1, 1)});
    PathToPolygon(QPainterPath(), set);
    EXPECT_EQ(set.contours.size(), 1u);

    QPainterPath path;
    path.addRect(5, 5, 2, 2);
    PathToPolygon(path, set);
    ASSERT_EQ(set.contours.size(), 2u);
    EXPECT_EQ(set.contours[0], Rect(0, 0, 1, 1));
    EXPECT_EQ(set.contours[1], Rect(5, 5, 2, 2));
}

TEST(PathToPolygon, FiguresMergeIntoOneContourInOrder)
{
    QPainterPath path;
    path.addRect(0, 0, 10, 10);
    path.moveTo(20, 20);
    path.lineTo(30, 20);
    path.lineTo(25, 28); // left open: nothing to drop
    CPolygon set;
    PathToPolygon(path, set);
    ASSERT_EQ(set.contours.size(), 1u);
    const CContour expected{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {20, 20}, {30, 20}, {25, 28}};
    EXPECT_EQ(set.contours[0], expected);
}

TEST(PathToPolygon, CoordinatesPassThroughSinglePrecision)
{
    QPainterPath path;
    path.moveTo(0.1, 1234567.89);
    path.lineTo(1e100, 2);
    path.lineTo(3, 3);
    CPolygon set;
    PathToPolygon(path, set);
    ASSERT_EQ(set.contours.size(), 1u);
    ASSERT_EQ(set.contours[0].size(), 3u);
    EXPECT_EQ(set.contours[0][0].x(), double(0.1f));
    EXPECT_NE(set.contours[0][0].x(), 0.1);
    EXPECT_EQ(set.contours[0][0].y(), double(1234567.89f));
    EXPECT_TRUE(std::isinf(set.contours[0][1].x())); // beyond float range
}

TEST(PathToPolygon, EllipseFlattenedToOneHundredthOfAPixel)
{
    const QPointF c(50.3, 40.7);
    const double rx = 30, ry = 20;
    QPainterPath path;
    path.addEllipse(c, rx, ry);
    CPolygon set;
    PathToPolygon(path, set);
    ASSERT_EQ(set.contours.size(), 1u);
    const CContour& v = set.contours[0];
    ASSERT_GT(v.size(), 40u);
    EXPECT_NE(v.front(), v.back()); // closing duplicate dropped

    // Four cubic arcs deviate from the true ellipse by ~2.7e-4 of the radius;
    // on top of that the chords may sag by at most the flatness, 0.01 px.
    const double arcError = 2.8e-4 * std::max(rx, ry);
    double worstChord = 0;
    bool fractional = false;
    for (size_t i = 0; i < v.size(); ++i) {
        const QPointF& a = v[i];
        const QPointF& b = v[(i + 1) % v.size()];
        EXPECT_LE(EllipseDistance(a, c, rx, ry), arcError + 1e-4);
        const double d = EllipseDistance((a + b) / 2, c, rx, ry);
        worstChord = std::max(worstChord, d);
        fractional |= a.x() != std::trunc(a.x()) || a.y() != std::trunc(a.y());
    }
    EXPECT_LE(worstChord, 0.01 + arcError);
    EXPECT_TRUE(fractional);

    // Drawing truncates the fractional vertices toward zero.
    QPainterPath drawn;
    PolygonToPath(set, drawn);
    for (int i = 0; i < drawn.elementCount(); ++i) {
        EXPECT_EQ(drawn.elementAt(i).x, std::trunc(drawn.elementAt(i).x));
        EXPECT_EQ(drawn.elementAt(i).y, std::trunc(drawn.elementAt(i).y));
    }
    EXPECT_EQ(drawn.elementAt(0).x, std::trunc(v[0].x()));
}

TEST(PathToPolygon, AbsurdCurvesStayBounded)
{
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(1e30, -1e30, -1e30, 1e30, 5, 5);
    path.cubicTo(1e100, 1e100, 1e100, 1e100, 6, 6);
    CPolygon set;
    PathToPolygon(path, set);
    ASSERT_EQ(set.contours.size(), 1u);
    EXPECT_LE(set.contours[0].size(), 2u * 65536u + 1u);
}

TEST(PolygonCopy, DeepCopyAndClear)
{
    CPolygon src = Set({Rect(0, 0, 1, 1)});
    CPolygon dst = Set({Rect(5, 5, 1, 1), Rect(7, 7, 1, 1)});
    CopyPolygon(dst, &src);
    src.contours[0][0] = QPointF(9, 9);
    EXPECT_EQ(dst, Set({Rect(0, 0, 1, 1)}));
    CopyPolygon(dst, &dst);
    EXPECT_EQ(dst, Set({Rect(0, 0, 1, 1)}));
    CopyPolygon(dst, nullptr);
    EXPECT_TRUE(dst.IsEmpty());
}

TEST(PolygonTranslate, MovesEveryVertex)
{
    CPolygon set = Set({Rect(0, 0, 2, 2), {{1.5, -1}}});
    TranslatePolygon(set, -1.5, 3);
    EXPECT_EQ(set, Set({Rect(-1.5, 3, 2, 2), {{0, 2}}}));
}
