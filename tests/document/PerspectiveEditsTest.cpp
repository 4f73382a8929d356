#include "document/Area.h"
#include "document/PerspectiveEdits.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A floor 400 x 300 canvas units in perspective; the texture 100 px wide.
CArea FloorArea(bool perspective)
{
    CArea area;
    const CPolygon outline{{{{100, 200}, {900, 200}, {900, 690}, {100, 690}}}};
    area.SetOutline(&outline);
    QImage texture(100, 50, QImage::Format_RGB32);
    texture.fill(Qt::gray);
    area.SetTexture(&texture);
    area.GetSkewCorners() = {QPoint(300, 100), QPoint(700, 100), QPoint(-200, 700), QPoint(1200, 700)};
    area.SetInitialRect({0, 0, 400, 300});
    area.SetPerspective(perspective);
    return area;
}

} // namespace

TEST(RealSizeScale, MeasuresTheReferenceThroughThePlane)
{
    CArea area = FloorArea(true);
    const auto toPicture = area.CanvasToPicture();
    ASSERT_TRUE(toPicture);
    // A reference of 50 canvas units, drawn once near and once far: both
    // must give the same scale though the far one is far shorter on screen.
    for (const double y : {280.0, 40.0}) {
        CRealSize real;
        real.reference = QLineF(*toPicture->Map({100, y}), *toPicture->Map({150, y}));
        real.referenceCm = 90.0;      // 50 canvas units are 90 cm,
        real.textureWidthCm = 60.0;   // so a 60 cm texture spans 33.33 units,
        area.SetRealSize(real);       // and its 100 texels need scale 1/3.
        const auto scale = RealSizeScale(area);
        ASSERT_TRUE(scale);
        EXPECT_NEAR(*scale, 1.0 / 3.0, 1e-9) << "reference at canvas row " << y;
    }

    // Without a perspective the line lies flat in the picture.
    CArea flat = FloorArea(false);
    CRealSize real;
    real.reference = QLineF(0, 0, 30, 40); // 50 px
    real.referenceCm = 100.0;
    real.textureWidthCm = 20.0;
    flat.SetRealSize(real);
    EXPECT_NEAR(RealSizeScale(flat).value_or(0), 0.1, 1e-12);
}

TEST(RealSizeScale, NothingWithoutWhatItNeeds)
{
    CArea area = FloorArea(true);
    CRealSize real;
    real.reference = QLineF(400, 600, 500, 600);
    real.referenceCm = 100.0;
    area.SetRealSize(real);
    EXPECT_FALSE(RealSizeScale(area)) << "no texture width";
    real.textureWidthCm = 30.0;
    real.referenceCm = 0.0;
    area.SetRealSize(real);
    EXPECT_FALSE(RealSizeScale(area)) << "no reference length";
    // A reference beyond the plane's horizon (above the far edge's
    // vanishing line) measures nothing.
    real.referenceCm = 100.0;
    real.reference = QLineF(400, -900, 500, -900);
    area.SetRealSize(real);
    EXPECT_FALSE(RealSizeScale(area));
}

TEST(ApplyPerspectiveFit, LaysTheFitIntoTheAreaAndKeepsItsRealSize)
{
    CArea area = FloorArea(false);
    area.SetRotation(30);
    CRealSize real;
    real.reference = QLineF(400, 650, 500, 650);
    real.referenceCm = 100.0;
    real.textureWidthCm = 60.0;
    area.SetRealSize(real);

    CPerspectiveFit fit;
    fit.corners = {QPointF(250.4, -40.6), QPointF(750.5, -40.4), QPointF(-3000.2, 2100.7), QPointF(4000, 2100)};
    fit.canvas = QSize(800, 1200);
    ApplyPerspectiveFit(area, fit);

    const CArea::Corners expected{QPoint(250, -41), QPoint(751, -40), QPoint(-3000, 2101), QPoint(4000, 2100)};
    EXPECT_EQ(area.GetSkewCorners(), expected);
    EXPECT_EQ(area.WarpCanvasSize(), QSize(800, 1200));
    EXPECT_EQ(area.GetInitialRect().left, 100);
    EXPECT_TRUE(area.IsPerspective());
    EXPECT_TRUE(area.IsSkewApplied());
    EXPECT_EQ(area.GetRotation(), 30.0);
    EXPECT_DOUBLE_EQ(area.GetScale(), RealSizeScale(area).value_or(-1));
}
