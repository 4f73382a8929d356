#include "geometry/Homography.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

void ExpectNear(QPointF a, QPointF b, double tolerance)
{
    EXPECT_NEAR(a.x(), b.x(), tolerance);
    EXPECT_NEAR(a.y(), b.y(), tolerance);
}

// A floor seen in perspective, far edge short and high, near edge wide.
const std::array<QPointF, 4> kFloor{QPointF(300, 100), QPointF(700, 100), QPointF(-200, 700), QPointF(1200, 700)};

} // namespace

TEST(Homography, RectCornersLandExactlyAndLinesStayStraight)
{
    const QRectF canvas(0, 0, 400, 300);
    const auto h = CHomography::FromRect(canvas, kFloor);
    ASSERT_TRUE(h);
    const std::array<QPointF, 4> source{canvas.topLeft(), canvas.topRight(), canvas.bottomLeft(), canvas.bottomRight()};
    for (std::size_t i = 0; i < 4; ++i)
        ExpectNear(*h->Map(source[i]), kFloor[i], 1e-9);

    // The canvas's centre goes where the quad's diagonals cross: a property
    // of every plane projective map, and what a bilinear patch gets wrong.
    const QPointF a = kFloor[0], b = kFloor[3], c = kFloor[1], d = kFloor[2];
    const double t = ((c.x() - a.x()) * (d.y() - c.y()) - (c.y() - a.y()) * (d.x() - c.x())) /
                     ((b.x() - a.x()) * (d.y() - c.y()) - (b.y() - a.y()) * (d.x() - c.x()));
    ExpectNear(*h->Map(canvas.center()), a + t * (b - a), 1e-9);

    // Equal steps across the canvas shrink toward the far edge.
    const double nearRow = h->Map({200, 300})->y() - h->Map({200, 200})->y();
    const double farRow = h->Map({200, 100})->y() - h->Map({200, 0})->y();
    EXPECT_GT(nearRow, 2.0 * farRow);
}

TEST(Homography, InverseAndCompositionAgreeWithMapping)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-50, 450);
    const auto h = CHomography::FromRect(QRectF(0, 0, 400, 300), kFloor);
    ASSERT_TRUE(h);
    const auto inverse = h->Inverted();
    ASSERT_TRUE(inverse);
    const CHomography shift = CHomography::Affine(2, 0, 0, 2, 10, -5);
    const CHomography composed = *h * shift;
    for (int i = 0; i < 100; ++i) {
        const QPointF p(coordinate(random), coordinate(random) * 0.6);
        ExpectNear(*inverse->Map(*h->Map(p)), p, 1e-7);
        ExpectNear(*composed.Map(p), *h->Map(QPointF(2 * p.x() + 10, 2 * p.y() - 5)), 1e-7);
    }
    const auto quads = CHomography::FromQuads(kFloor, {QPointF(0, 0), QPointF(1, 0), QPointF(0, 1), QPointF(1, 1)});
    ASSERT_TRUE(quads);
    ExpectNear(*quads->Map(kFloor[3]), QPointF(1, 1), 1e-9);
}

TEST(Homography, DegenerateQuadsMakeNoMap)
{
    const QRectF canvas(0, 0, 10, 10);
    // Three corners in a line, all four on one point, a fold (a bow tie),
    // numbers that are not finite, and an empty canvas.
    EXPECT_FALSE(CHomography::FromRect(canvas, {QPointF(0, 0), QPointF(5, 0), QPointF(10, 0), QPointF(3, 9)}));
    EXPECT_FALSE(CHomography::FromRect(canvas, {QPointF(4, 4), QPointF(4, 4), QPointF(4, 4), QPointF(4, 4)}));
    EXPECT_FALSE(CHomography::FromRect(canvas, {QPointF(0, 0), QPointF(10, 0), QPointF(10, 10), QPointF(0, 10)}));
    EXPECT_FALSE(CHomography::FromRect(canvas, {QPointF(NAN, 0), QPointF(10, 0), QPointF(0, 10), QPointF(10, 10)}));
    EXPECT_FALSE(CHomography::FromRect(QRectF(0, 0, 0, 10), kFloor));
    EXPECT_FALSE(CHomography::Affine(0, 0, 0, 0, 1, 1).Inverted());
}
