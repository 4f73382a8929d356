#include "view/TileMask.h"

#include <gtest/gtest.h>

TEST(TileMaskTest, SegmentMarksOnlyTheTilesItPassesNear)
{
    CTileMask mask(QSize(320, 320), 32);
    EXPECT_TRUE(mask.IsEmpty());
    mask.AddSegment(QPointF(0, 0), QPointF(319, 319), 2.0);
    const QRegion region = mask.Region();
    EXPECT_TRUE(region.contains(QPoint(160, 160)));
    EXPECT_TRUE(region.contains(QPoint(5, 5)));
    EXPECT_TRUE(region.contains(QPoint(315, 315)));
    // A diagonal covers a band of tiles, not its whole bounding box.
    EXPECT_FALSE(region.contains(QPoint(300, 10)));
    EXPECT_FALSE(region.contains(QPoint(10, 300)));
    EXPECT_TRUE(QRect(0, 0, 320, 320).contains(region.boundingRect()));
}

TEST(TileMaskTest, SegmentsOutsideTheClientAreaMarkNothing)
{
    CTileMask mask(QSize(100, 80), 32);
    mask.AddSegment(QPointF(-500, -10), QPointF(-20, 5000), 3.0);
    mask.AddSegment(QPointF(200, 90), QPointF(90000, 1e9), 3.0);
    mask.AddSegment(QPointF(qQNaN(), 0), QPointF(50, 50), 3.0);
    EXPECT_TRUE(mask.IsEmpty());
    EXPECT_TRUE(mask.Region().isEmpty());
}
