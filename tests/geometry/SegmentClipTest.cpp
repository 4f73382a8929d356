#include "geometry/SegmentClip.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Against a reference that knows nothing of the method: the segment walked
// in fine steps, the first and last step inside the rectangle.
TEST(SegmentClip, AgreesWithAWalkAlongTheSegment)
{
    const QRectF rect(QPointF(-3.5, 2.0), QPointF(41.0, 30.25));
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(-60.0, 90.0);
    constexpr int kSteps = 20000;
    int hits = 0, misses = 0;
    for (int n = 0; n < 2000; ++n) {
        const QPointF a(coordinate(random), coordinate(random)), b(coordinate(random), coordinate(random));
        double first = -1, last = -1;
        for (int i = 0; i <= kSteps; ++i) {
            const double t = double(i) / kSteps;
            const QPointF p = a + t * (b - a);
            if (p.x() >= rect.left() && p.x() <= rect.right() && p.y() >= rect.top() && p.y() <= rect.bottom()) {
                if (first < 0)
                    first = t;
                last = t;
            }
        }
        const auto clipped = ClipSegmentToRect(a, b, rect);
        if (first < 0) {
            // A miss by the walk may still graze a corner between two steps.
            if (clipped) {
                EXPECT_LT(clipped->second - clipped->first, 2.0 / kSteps);
            }
            ++misses;
            continue;
        }
        ASSERT_TRUE(clipped) << n;
        EXPECT_NEAR(clipped->first, first, 1.0 / kSteps) << n;
        EXPECT_NEAR(clipped->second, last, 1.0 / kSteps) << n;
        ++hits;
    }
    EXPECT_GT(hits, 300);
    EXPECT_GT(misses, 300);
}

TEST(SegmentClip, EdgesParallelToTheRectangleAndCornersAreExact)
{
    const QRectF rect(0, 0, 10, 10);
    // Along the top edge, and just above it.
    EXPECT_EQ(ClipSegmentToRect({-5, 0}, {15, 0}, rect), (std::pair{0.25, 0.75}));
    EXPECT_FALSE(ClipSegmentToRect({-5, -0.001}, {15, -0.001}, rect));
    // Through a corner only: one point.
    const auto corner = ClipSegmentToRect({5, 15}, {15, 5}, rect);
    ASSERT_TRUE(corner);
    EXPECT_DOUBLE_EQ(corner->first, 0.5);
    EXPECT_DOUBLE_EQ(corner->second, 0.5);
    // Wholly inside, and a point.
    EXPECT_EQ(ClipSegmentToRect({1, 1}, {9, 3}, rect), (std::pair{0.0, 1.0}));
    EXPECT_EQ(ClipSegmentToRect({4, 4}, {4, 4}, rect), (std::pair{0.0, 1.0}));
    EXPECT_FALSE(ClipSegmentToRect({11, 4}, {11, 4}, rect));
}

} // namespace
