#include "TestImages.h"
#include "document/Area.h"
#include "document/WarpCache.h"
#include "render/AreaWarpUpdates.h"

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
    EXPECT_EQ(area.GetStoredWarp(), nullptr);
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

TEST(AreaCopy, TextureIsIndependentAndTheWarpFollowsTheValues)
{
    CArea source = TexturedArea();
    source.SetId(7);
    CWarpCache warps;
    const auto warp = KeepExactWarp(warps, source);
    ASSERT_NE(warp, nullptr);

    CArea copy(source);
    EXPECT_EQ(copy.GetName(), "Wall");
    EXPECT_EQ(copy.GetScale(), 2.5);
    EXPECT_EQ(copy.GetShiftX(), 3);
    EXPECT_EQ(copy.GetShiftY(), -4);
    EXPECT_EQ(copy.GetRotation(), 45.0);
    EXPECT_TRUE(copy.IsSkewApplied());
    EXPECT_EQ(copy.GetSkewCorners(), source.GetSkewCorners());
    EXPECT_EQ(copy.GetOutline(), source.GetOutline());
    // The copy is the same area with the same values: it shows that warp.
    EXPECT_EQ(copy.GetId(), 7u);
    EXPECT_EQ(warps.FindExact(copy.GetId(), copy.WarpInputs()), warp);

    // Painting into one texture leaves the other as it was.
    ASSERT_TRUE(copy.GetTexture());
    QImage changed = *copy.GetTexture();
    changed.fill(Qt::black);
    copy.SetTexture(&changed);
    EXPECT_EQ(source.GetTexture()->pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(copy.GetTexture()->pixel(0, 0), 0xFF000000u);
    // New pixels are new inputs: no warp is kept for them yet.
    EXPECT_EQ(warps.FindExact(copy.GetId(), copy.WarpInputs()), nullptr);
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

TEST(AreaCopy, AssignedAreaDrawsNoWarpOfItsOldValues)
{
    const CArea source = TexturedArea();
    CArea target;
    target.SetId(3);
    CWarpCache warps;
    warps.Put(target.GetId(), target.WarpInputs(), std::make_shared<const QImage>(QuadrantImage(4, 4)));
    target = source;
    EXPECT_EQ(warps.Find(target.GetId(), target.WarpInputs()).image, nullptr);
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
    CWarpCache warps;
    warps.Put(area.GetId(), area.WarpInputs(), std::make_shared<const QImage>(QuadrantImage(4, 4)));
    area.ResetSkew();
    EXPECT_EQ(area.GetOutlineBounds(), QRect(10, 20, 100, 50));
    const CArea::Corners expected{QPoint(10, 20), QPoint(110, 20), QPoint(10, 70), QPoint(110, 70)};
    EXPECT_EQ(area.GetSkewCorners(), expected);
    EXPECT_FALSE(area.IsSkewApplied());
    EXPECT_EQ(warps.Find(area.GetId(), area.WarpInputs()).image, nullptr);
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

TEST(AreaSkew, WarpCoversTheCornersAndSettersBuildNothing)
{
    CArea area = TexturedArea();
    CWarpCache warps;
    // Setting values builds no warp: the renderer does, when asked.
    area.SetSkewApplied(false);
    area.SetSkewApplied(true);
    EXPECT_EQ(warps.Count(), 0u);
    const auto warp = KeepExactWarp(warps, area);
    ASSERT_NE(warp, nullptr);
    // Corners (10,10)-(50,40): the warped texture covers their bounds.
    EXPECT_EQ(warp->size(), QSize(41, 31));

    // A new texture is a new warp; a null one changes nothing.
    const QImage texture = QuadrantImage(4, 4);
    area.SetTexture(&texture);
    EXPECT_EQ(warps.FindExact(area.GetId(), area.WarpInputs()), nullptr);
    area.SetTexture(nullptr);
    EXPECT_NE(area.GetTexture(), nullptr);
}

TEST(AreaSkew, InitialRectSetsTheFlatCanvasSize)
{
    // Without a texture nothing is rendered and nothing changes.
    CArea bare;
    CWarpCache warps;
    EXPECT_EQ(KeepExactWarp(warps, bare), nullptr);
    EXPECT_EQ(warps.Count(), 0u);

    CArea area = TexturedArea();
    area.GetSkewCorners() = {QPoint(0, 0), QPoint(200, 0), QPoint(0, 200), QPoint(200, 200)};
    area.SetInitialRect({7, 9, 107, 59});
    const auto warp = KeepExactWarp(warps, area);
    ASSERT_NE(warp, nullptr);
    EXPECT_EQ(warp->size(), QSize(201, 201));
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
