#include "../document/TestImages.h"
#include "document/Area.h"
#include "render/AreaDraw.h"
#include "document/WarpCache.h"
#include "render/AreaWarp.h"
#include "render/AreaWarpUpdates.h"
#include "render/TemplateCompositor.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

CArea SkewedArea(AreaId id)
{
    CArea area;
    area.SetId(id);
    const CPolygon outline = RectPolygon(10, 10, 70, 50);
    area.SetOutline(&outline);
    const QImage texture = QuadrantImage(16, 8);
    area.SetTexture(&texture);
    area.SetRotation(15);
    area.GetSkewCorners() = {QPoint(12, 8), QPoint(66, 14), QPoint(6, 52), QPoint(72, 47)};
    area.SetInitialRect({10, 10, 70, 50});
    area.SetSkewApplied(true);
    return area;
}

QImage DrawOnGrey(const CArea& area, CWarpCache* warps, bool edit = false)
{
    QImage out(90, 70, QImage::Format_RGB32);
    out.fill(0xFF808080);
    QPainter painter(&out);
    DrawArea(painter, area, {.skewEdit = edit, .skewPreview = edit, .warps = warps});
    return out;
}

TEST(WarpCache, WarpsAreFoundAgainByTheValuesThatShapeThem)
{
    CWarpCache cache;
    CArea area = SkewedArea(7);
    EXPECT_EQ(cache.ExactWarp(area), nullptr);
    const auto first = KeepExactWarp(cache, area);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, BuildAreaWarp(area));
    EXPECT_EQ(KeepExactWarp(cache, area), first);
    EXPECT_EQ(cache.ExactWarp(area), first);

    // An edit builds its own warp; undoing it finds the first one again.
    CArea before = area;
    before.SetId(area.GetId());
    area.SetRotation(-40);
    EXPECT_EQ(cache.ExactWarp(area), nullptr);
    const auto second = KeepExactWarp(cache, area);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(*second, BuildAreaWarp(area));
    EXPECT_NE(*second, *first);
    EXPECT_EQ(cache.ExactWarp(before), first);

    // A preview for the inputs replaces their exact warp: it is what shows.
    const auto preview = std::make_shared<const QImage>(QuadrantImage(5, 4));
    cache.Put(area.GetId(), area.WarpInputs(), preview, 3);
    EXPECT_EQ(cache.ExactWarp(area), nullptr);
    EXPECT_EQ(cache.Find(area.GetId(), area.WarpInputs()).image, preview);
    EXPECT_EQ(cache.Find(area.GetId(), area.WarpInputs()).reduction, 3);
    const auto rebuilt = KeepExactWarp(cache, area);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(*rebuilt, *second);

    // Nothing without a texture.
    CArea bare;
    EXPECT_EQ(KeepExactWarp(cache, bare), nullptr);
    EXPECT_EQ(cache.Count(), 2u);
}

TEST(WarpCache, EachAreaKeepsOnlyItsNewestWarpsUntilItLeaves)
{
    CWarpCache cache;
    CArea area = SkewedArea(1);
    const CArea other = SkewedArea(2);
    std::vector<CAreaWarpInputs> inputs;
    for (std::size_t i = 0; i <= CWarpCache::kEntriesPerArea; ++i) {
        area.SetShift(int(i), 0);
        inputs.push_back(area.WarpInputs());
        ASSERT_NE(KeepExactWarp(cache, area), nullptr);
    }
    ASSERT_NE(KeepExactWarp(cache, other), nullptr);
    EXPECT_EQ(cache.FindExact(1, inputs.front()), nullptr);
    for (std::size_t i = 1; i < inputs.size(); ++i)
        EXPECT_NE(cache.FindExact(1, inputs[i]), nullptr) << i;
    EXPECT_EQ(cache.Count(), CWarpCache::kEntriesPerArea + 1);

    // Area 1 left the document: only area 2's warp stays.
    cache.KeepOnly({2, 3});
    EXPECT_EQ(cache.Count(), 1u);
    EXPECT_NE(cache.ExactWarp(other), nullptr);
    cache.Forget(2);
    EXPECT_EQ(cache.Count(), 0u);
}

TEST(WarpCache, ThreadsAskingForTheSameWarpShareOneBuild)
{
    CWarpCache cache;
    const CArea area = SkewedArea(4);
    std::vector<CWarpCache::Image> got(6);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < got.size(); ++i)
        threads.emplace_back([&cache, &area, &got, i] { got[i] = KeepExactWarp(cache, area); });
    for (std::thread& t : threads)
        t.join();
    ASSERT_NE(got.front(), nullptr);
    for (const auto& image : got)
        EXPECT_EQ(image, got.front());
    EXPECT_EQ(cache.Count(), 1u);
}

TEST(WarpCache, AreasDrawnWithTheCacheLookAsWithoutIt)
{
    CWarpCache cache;
    const CArea area = SkewedArea(9);
    const QImage alone = DrawOnGrey(area, nullptr);
    EXPECT_EQ(DrawOnGrey(area, &cache), alone);
    EXPECT_EQ(cache.Count(), 1u);
    EXPECT_EQ(DrawOnGrey(area, &cache), alone);
    EXPECT_EQ(cache.Count(), 1u);

    // A quick preview kept for the values is drawn enlarged, within the
    // warp's rect: coarser than the exact warp, nothing outside the rect.
    PreviewAreaWarp(cache, area, 200);
    ASSERT_GT(cache.Find(area.GetId(), area.WarpInputs()).reduction, 1);
    const QImage preview = DrawOnGrey(area, &cache, true);
    const QImage exact = DrawOnGrey(area, nullptr, true);
    EXPECT_NE(preview, exact);
    const QRect rect = area.GetSkewedTextureRect();
    for (int y = 0; y < preview.height(); ++y) {
        for (int x = 0; x < preview.width(); ++x) {
            if (!rect.contains(x, y)) {
                ASSERT_EQ(preview.pixel(x, y), 0xFF808080u) << x << "," << y;
            }
        }
    }
}

TEST(WarpCache, CompositionsSharingTheCacheComposeAsBefore)
{
    std::vector<CArea> areas{SkewedArea(1), SkewedArea(2)};
    areas[1].SetRotation(70);
    const QImage picture = QuadrantImage(90, 70);
    const QImage own = ComposeTemplate(picture, areas);
    CWarpCache cache;
    CComposeOptions options;
    options.warps = &cache;
    EXPECT_EQ(ComposeTemplate(picture, areas, {}, options), own);
    EXPECT_EQ(cache.Count(), 2u);
}

} // namespace
