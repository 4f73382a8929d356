#include "TestImages.h"
#include "document/Area.h"

#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace {

TEST(AreaRecord, DefaultsAreNeutral)
{
    const CArea area;
    EXPECT_EQ(area.GetScale(), 1.0);
    EXPECT_EQ(area.GetRotation(), 0.0);
    EXPECT_EQ(area.GetShiftX(), 0);
    EXPECT_EQ(area.GetShiftY(), 0);
    EXPECT_EQ(area.GetTexture(), nullptr);
    EXPECT_EQ(area.GetSkewedTexture(), nullptr);
    EXPECT_TRUE(area.GetOutline().IsEmpty());
    EXPECT_FALSE(area.HasSkewCorners());
    EXPECT_TRUE(area.GetInitialRect().IsEmpty());
    EXPECT_FALSE(area.IsSkewApplied());
}

CArea TexturedArea()
{
    CArea area;
    area.SetName("Wall");
    const CPolygon outline = RectPolygon(10, 10, 50, 40);
    area.SetOutline(&outline);
    const QImage texture = QuadrantImage(8, 8);
    area.SetTexture(&texture);
    area.SetScale(2.5);
    area.SetShift(3, -4);
    area.SetRotation(45);
    area.ResetSkew();
    area.SetSkewApplied(true);
    return area;
}

TEST(AreaCopy, TextureIsIndependentAndCacheIsNotTaken)
{
    CArea source = TexturedArea();
    source.RenderSkewedTexture(true);
    ASSERT_NE(source.GetSkewedTexture(), nullptr);
    source.SetSkewEdit(true);

    CArea copy(source);
    EXPECT_EQ(copy.GetName(), "Wall");
    EXPECT_EQ(copy.GetScale(), 2.5);
    EXPECT_EQ(copy.GetShiftX(), 3);
    EXPECT_EQ(copy.GetShiftY(), -4);
    EXPECT_EQ(copy.GetRotation(), 45.0);
    EXPECT_TRUE(copy.IsSkewApplied());
    EXPECT_EQ(copy.GetSkewCorners(), source.GetSkewCorners());
    EXPECT_EQ(copy.GetOutline(), source.GetOutline());
    EXPECT_EQ(copy.GetSkewedTexture(), nullptr);
    EXPECT_FALSE(copy.IsSkewEdit());

    // Painting into one texture leaves the other as it was.
    ASSERT_TRUE(copy.GetTexture());
    QImage changed = *copy.GetTexture();
    changed.fill(Qt::black);
    copy.SetTexture(&changed);
    EXPECT_EQ(source.GetTexture()->pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(copy.GetTexture()->pixel(0, 0), 0xFF000000u);
}

TEST(AreaCopy, CopyAndAssignmentTakeTheWholeStoredValue)
{
    CArea source = TexturedArea();
    source.SetInitialRect({1, 2, 30, 40});
    source.GetSkewCorners()[CArea::BottomRight] = QPoint(77, 88);
    const CArea copy(source);
    EXPECT_EQ(copy, source);
    CArea assigned = TexturedArea();
    assigned.SetName("other");
    assigned = source;
    EXPECT_EQ(assigned, source);

    // The equality sees every stored field: any one change breaks it.
    const std::vector<std::function<void(CArea&)>> changes = {
        [](CArea& a) { a.SetName("Floor"); },
        [](CArea& a) { a.SetOutline(nullptr); },
        [](CArea& a) {
            QImage t = *a.GetTexture();
            t.setPixel(0, 0, 0xFF123456);
            a.SetTexture(&t);
        },
        [](CArea& a) { a.SetRotation(46); },
        [](CArea& a) { a.SetScale(2.0); },
        [](CArea& a) { a.SetShift(3, -5); },
        [](CArea& a) { a.SetSkewApplied(false); },
        [](CArea& a) { a.GetSkewCorners()[CArea::TopLeft] += QPoint(1, 0); },
        [](CArea& a) { a.SetInitialRect({1, 2, 30, 41}); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        CArea changed(source);
        changes[i](changed);
        EXPECT_FALSE(changed == source) << "change " << i;
    }
}

TEST(AreaCopy, AssignedAreaKeepsItsOwnFlags)
{
    const CArea source = TexturedArea();
    CArea target;
    target.SetSkewPreview(true);
    target.SetSkewedTexture(std::make_unique<QImage>(QuadrantImage(4, 4)));
    target = source;
    EXPECT_TRUE(target.IsSkewPreview());
    EXPECT_EQ(target.GetSkewedTexture(), nullptr);
    EXPECT_EQ(target.GetScale(), 2.5);
}

TEST(AreaCopy, GrowingListKeepsEveryPlacement)
{
    std::vector<CArea> areas;
    for (int i = 0; i < 40; ++i) {
        CArea area;
        area.SetScale(1.0 + i);
        area.SetShift(i, -i);
        areas.push_back(area);
    }
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(areas[i].GetScale(), 1.0 + i);
        EXPECT_EQ(areas[i].GetShiftX(), i);
        EXPECT_EQ(areas[i].GetShiftY(), -i);
    }
}

TEST(AreaSkew, ResetSkewTruncatesOutlineBounds)
{
    CArea area;
    const CPolygon outline{{{{10.7, 20.2}, {110.9, 20.2}, {110.9, 70.0}, {10.7, 70.0}}}};
    area.SetOutline(&outline);
    area.SetSkewApplied(true);
    area.SetSkewedTexture(std::make_unique<QImage>(QuadrantImage(4, 4)));
    area.ResetSkew();
    EXPECT_EQ(area.GetOutlineBounds(), QRect(10, 20, 100, 50));
    const CArea::Corners expected{QPoint(10, 20), QPoint(110, 20), QPoint(10, 70), QPoint(110, 70)};
    EXPECT_EQ(area.GetSkewCorners(), expected);
    EXPECT_FALSE(area.IsSkewApplied());
    EXPECT_EQ(area.GetSkewedTexture(), nullptr);
}

// A damaged file can hold vertices anywhere a double reaches; the bounds and
// everything measured from them must stay within int arithmetic (the
// sanitizer build traps any overflow here).
TEST(AreaSkew, OutlineFarBeyondTheIntRangeGivesClampedBounds)
{
    CArea area;
    const CPolygon outline{{{{-3e9, -3e9}, {3e9, -3e9}, {3e9, 3e9}, {-3e9, 3e9}}}};
    area.SetOutline(&outline);
    const QRect bounds = area.GetOutlineBounds();
    EXPECT_EQ(bounds, QRect(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29));
    area.SetPerspective(true);
    area.ResetSkew();
    EXPECT_EQ(area.GetSkewCorners()[0], bounds.topLeft());
    EXPECT_EQ(area.GetSkewedTextureRect(), QRect(QPoint(0, 0), QPoint(1 << 28, 1 << 28)));
    area.ResetInitialRect();
    EXPECT_EQ(area.GetInitialRect(), (CIntRect{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28}));
}

TEST(AreaSkew, ResetInitialRectFromCornersOrOutline)
{
    CArea area;
    area.GetSkewCorners() = {QPoint(5, 5), QPoint(50, 8), QPoint(3, 60), QPoint(55, 62)};
    area.ResetInitialRect();
    EXPECT_EQ(area.GetInitialRect(), (CIntRect{3, 5, 55, 62}));

    CArea plain;
    const CPolygon outline = RectPolygon(-5.5, 2.9, 20.2, 30.99);
    plain.SetOutline(&outline);
    plain.ResetInitialRect();
    EXPECT_EQ(plain.GetInitialRect(), (CIntRect{-5, 2, 20, 30}));
}

TEST(AreaSkew, RebuildTriggers)
{
    CArea area = TexturedArea();
    // Without preview an unforced rebuild does nothing, even with skew on.
    area.RenderSkewedTexture(false);
    EXPECT_EQ(area.GetSkewedTexture(), nullptr);
    // Leaving corner editing rebuilds, even when the skew is not applied.
    area.SetSkewApplied(false);
    area.SetSkewEdit(true);
    EXPECT_EQ(area.GetSkewedTexture(), nullptr);
    area.SetSkewEdit(false);
    ASSERT_NE(area.GetSkewedTexture(), nullptr);
    // Corners (10,10)-(50,40): the warped texture covers their bounds.
    EXPECT_EQ(area.GetSkewedTexture()->size(), QSize(41, 31));

    // A new texture on a skewed area is warped at once.
    CArea skewed = TexturedArea();
    const QImage texture = QuadrantImage(4, 4);
    skewed.SetTexture(&texture);
    EXPECT_NE(skewed.GetSkewedTexture(), nullptr);
    skewed.SetTexture(nullptr);
    EXPECT_NE(skewed.GetTexture(), nullptr);

    // Preview while editing rebuilds; preview alone does not.
    CArea previewed = TexturedArea();
    previewed.SetSkewPreview(true);
    EXPECT_EQ(previewed.GetSkewedTexture(), nullptr);
    previewed.SetSkewPreview(false);
    previewed.SetSkewEdit(true);
    previewed.SetSkewPreview(true);
    EXPECT_NE(previewed.GetSkewedTexture(), nullptr);
}

TEST(AreaSkew, InitialRectSetsTheFlatCanvasSize)
{
    // Without a texture nothing is rendered and nothing changes.
    CArea bare;
    bare.RenderSkewedTexture(true);
    EXPECT_EQ(bare.GetSkewedTexture(), nullptr);

    CArea area = TexturedArea();
    area.GetSkewCorners() = {QPoint(0, 0), QPoint(200, 0), QPoint(0, 200), QPoint(200, 200)};
    area.SetInitialRect({7, 9, 107, 59});
    area.RenderSkewedTexture(true);
    ASSERT_NE(area.GetSkewedTexture(), nullptr);
    EXPECT_EQ(area.GetSkewedTexture()->size(), QSize(201, 201));
}

TEST(AreaClear, DropsOutlineImagesAndSkewOnly)
{
    CArea area = TexturedArea();
    area.SetInitialRect({1, 2, 3, 4});
    area.Clear();
    EXPECT_TRUE(area.GetOutline().IsEmpty());
    EXPECT_EQ(area.GetTexture(), nullptr);
    EXPECT_FALSE(area.IsSkewApplied());
    EXPECT_EQ(area.GetName(), "Wall");
    EXPECT_EQ(area.GetScale(), 2.5);
    EXPECT_EQ(area.GetInitialRect(), (CIntRect{1, 2, 3, 4}));
    EXPECT_TRUE(area.HasSkewCorners());
}

} // namespace
