#include "SyntheticRoom.h"

#include "analysis/PerspectiveFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

CPolygon Box(double x0, double y0, double x1, double y1)
{
    return CPolygon{{CContour{QPointF(x0, y0), QPointF(x1, y0), QPointF(x1, y1), QPointF(x0, y1)}}};
}

TEST(PerspectiveFit, APlainPictureGivesNothingAndSaysWhy)
{
    QImage plain(800, 600, QImage::Format_RGB32);
    plain.fill(QColor(140, 130, 120));
    QString reason;
    EXPECT_FALSE(FitPerspective(plain, Box(50, 200, 750, 590), {}, &reason));
    EXPECT_EQ(reason, "too few straight edges");
}

TEST(PerspectiveFit, NonsenseInputGivesAReason)
{
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QString reason;
    EXPECT_FALSE(FitPerspective(QImage(), Box(0, 0, 10, 10), {}, &reason));
    EXPECT_FALSE(reason.isEmpty());
    reason.clear();
    EXPECT_FALSE(FitPerspective(picture, CPolygon{}, {}, &reason));
    EXPECT_FALSE(reason.isEmpty());
    reason.clear();
    EXPECT_FALSE(FitPerspective(picture, Box(0, 0, nan, 1e300), {}, &reason));
    EXPECT_FALSE(reason.isEmpty());
    reason.clear();
    CPerspectiveFitOptions negative;
    negative.focal = -5.0;
    EXPECT_FALSE(FitPerspective(picture, Box(0, 0, 100, 100), negative, &reason));
    EXPECT_FALSE(reason.isEmpty());
}

// Tiles seen square on: the cross joints are level in the picture, their
// vanishing point at infinity, so the photo cannot tell the focal length.
class CSquareOnTiles : public ::testing::Test
{
protected:
    CSyntheticRoom m_room{CSyntheticRoom::SCamera{1200, 900, 33, 1.5, 30, 0}, CSyntheticRoom::EFloor::Tiles, false};
    QImage m_picture = m_room.Render();
    CPolygon m_outline = m_room.FloorOutline();
};

TEST_F(CSquareOnTiles, TakesTheGivenFocalWhenThePhotoCannotTell)
{
    const auto assumed = FitPerspective(m_picture, m_outline, {});
    CPerspectiveFitOptions known;
    known.focal = m_room.FocalPixels();
    const auto given = FitPerspective(m_picture, m_outline, known);
    ASSERT_TRUE(assumed && given);
    EXPECT_TRUE(assumed->focalAssumed);
    EXPECT_NEAR(assumed->focal, 26.0 / 43.27 * 1500, 1.0);
    EXPECT_FALSE(given->focalAssumed);
    EXPECT_DOUBLE_EQ(given->focal, m_room.FocalPixels());
    // One of the two points is a direction: w = 0.
    ASSERT_EQ(given->vanishingPoints.size(), 2u);
    EXPECT_NEAR(std::min(std::fabs(given->vanishingPoints[0][2]), std::fabs(given->vanishingPoints[1][2])), 0.0,
                1e-4);
    // The right focal gives the tiles' true square: the canvas laid on the
    // floor keeps its proportions. Measured on the floor: the canvas's
    // middle column and row, mapped there, have the canvas's ratio.
    const QRectF canvas(0, 0, given->canvas.width(), given->canvas.height());
    const auto toPicture = CHomography::FromRect(canvas, given->corners);
    const auto toFloor = m_room.FloorToPicture().Inverted();
    ASSERT_TRUE(toPicture && toFloor);
    const auto floorOf = [&](QPointF c) { return *toFloor->Map(*toPicture->Map(c)); };
    const QPointF mid = canvas.center();
    const double across = std::hypot(floorOf(mid + QPointF(50, 0)).x() - floorOf(mid - QPointF(50, 0)).x(),
                                     floorOf(mid + QPointF(50, 0)).y() - floorOf(mid - QPointF(50, 0)).y());
    const double along = std::hypot(floorOf(mid + QPointF(0, 50)).x() - floorOf(mid - QPointF(0, 50)).x(),
                                    floorOf(mid + QPointF(0, 50)).y() - floorOf(mid - QPointF(0, 50)).y());
    EXPECT_NEAR(across / along, 1.0, 0.02);
}

} // namespace
