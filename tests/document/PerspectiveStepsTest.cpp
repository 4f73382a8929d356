#include "ScriptedPrompts.h"
#include "TestImages.h"

#include "document/Messages.h"
#include "document/PerspectiveEdits.h"
#include "document/PerspectiveSteps.h"
#include "document/TilemontDoc.h"

#include <gtest/gtest.h>

namespace {

QImage Solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class PerspectiveStepsTest : public ::testing::Test
{
protected:
    ScriptedPrompts prompts;
    CTilemontDoc doc{prompts};

    AreaId AddTexturedArea(const QString& name, int textureWidth = 80)
    {
        CArea area;
        area.SetName(name);
        const CPolygon outline = RectPolygon(20, 20, 220, 180);
        area.SetOutline(&outline);
        const QImage texture = Solid(textureWidth, 40, 0xFF806040);
        area.SetTexture(&texture);
        area.GetSkewCorners() = {QPoint(60, 20), QPoint(180, 20), QPoint(20, 180), QPoint(220, 180)};
        area.SetInitialRect({20, 20, 220, 220});
        return doc.AddArea(std::move(area), QStringLiteral("add"));
    }
    const CArea& Area(AreaId id) { return *doc.FindArea(id); }
};

} // namespace

// The real-size step stores the values and the scale that shows the texture
// at its real width, worked out here by hand: a texture 80 px wide showing
// 30 cm, a flat reference line 120 px long measuring 60 cm -> 120 px on the
// picture are 60 cm, so 30 cm take 60 px: scale 60 / 80.
TEST_F(PerspectiveStepsTest, RealSizeIsOneStepWithTheScaleThatShowsTheRealWidth)
{
    const AreaId id = AddTexturedArea(QStringLiteral("Floor"));
    CRealSize real;
    real.reference = QLineF(QPointF(30, 50), QPointF(150, 50));
    real.referenceCm = 60.0;
    real.textureWidthCm = 30.0;
    ASSERT_TRUE(doc.SetAreaRealSize(id, real));
    EXPECT_EQ(doc.GetHistory().UndoText(), Messages::kStepRealSize);
    EXPECT_EQ(Area(id).GetRealSize(), real);
    EXPECT_DOUBLE_EQ(Area(id).GetScale(), 0.75);

    // In perspective the same line is measured on the plane instead.
    ASSERT_TRUE(doc.SetAreaPerspective(id, true));
    CRealSize again = real;
    again.referenceCm = 59.0;
    ASSERT_TRUE(doc.SetAreaRealSize(id, again));
    const auto expected = RealSizeScale(Area(id));
    ASSERT_TRUE(expected);
    EXPECT_DOUBLE_EQ(Area(id).GetScale(), *expected);
    EXPECT_NE(Area(id).GetScale(), 0.75);

    doc.OnEditUndo();
    doc.OnEditUndo();
    doc.OnEditUndo();
    EXPECT_TRUE(Area(id).GetRealSize().IsEmpty());
    EXPECT_EQ(Area(id).GetScale(), 1.0);
}

// Without a texture width the values are kept but the scale stays.
TEST_F(PerspectiveStepsTest, RealSizeWithoutTextureWidthKeepsTheScale)
{
    const AreaId id = AddTexturedArea(QStringLiteral("Floor"));
    CRealSize real;
    real.reference = QLineF(QPointF(30, 50), QPointF(150, 50));
    real.referenceCm = 60.0;
    ASSERT_TRUE(doc.SetAreaRealSize(id, real));
    EXPECT_EQ(Area(id).GetRealSize(), real);
    EXPECT_EQ(Area(id).GetScale(), 1.0);
}

// Swapping the texture of a measured surface keeps it at real size in the
// same "Texture" step; an unmeasured one only takes the texture.
TEST_F(PerspectiveStepsTest, LaidTextureKeepsRealScaleOnlyWhereThereIsAReference)
{
    const AreaId measured = AddTexturedArea(QStringLiteral("Measured"));
    const AreaId plain = AddTexturedArea(QStringLiteral("Plain"));
    CRealSize real;
    real.reference = QLineF(QPointF(30, 50), QPointF(150, 50));
    real.referenceCm = 60.0;
    real.textureWidthCm = 30.0;
    ASSERT_TRUE(doc.SetAreaRealSize(measured, real));

    // 100 px showing 40 cm: 40 cm are 80 px on the picture, scale 0.8.
    const QImage wider = Solid(100, 50, 0xFF204060);
    ASSERT_TRUE(doc.LayTexture(measured, wider, 40.0));
    EXPECT_EQ(doc.GetHistory().UndoText(), Messages::kStepTexture);
    EXPECT_DOUBLE_EQ(Area(measured).GetScale(), 0.8);
    EXPECT_EQ(Area(measured).GetRealSize().textureWidthCm, 40.0);
    doc.OnEditUndo();
    EXPECT_DOUBLE_EQ(Area(measured).GetScale(), 0.75);
    EXPECT_EQ(Area(measured).GetRealSize(), real);

    ASSERT_TRUE(doc.LayTexture(plain, wider, 40.0));
    EXPECT_EQ(Area(plain).GetScale(), 1.0);
    EXPECT_TRUE(Area(plain).GetRealSize().IsEmpty());
}
