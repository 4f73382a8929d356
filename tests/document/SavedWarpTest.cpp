// The warped-texture blob an area record is saved with, byte for byte: the
// blob as read while nothing the warp is built from has changed, otherwise
// the exact warp of the area's values (padded to the corners' bounds for a
// perspective), and nothing for an area that shows no exact warp.
#include "TestImages.h"
#include "document/ArchiveReader.h"
#include "document/ArchiveWriter.h"
#include "document/ImageCodec.h"
#include "document/TemplateFile.h"
#include "render/AreaWarp.h"
#include "render/AreaWarpUpdates.h"
#include "render/WarpCache.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The second image blob of the area's record, as the file holds it.
QByteArray SavedWarp(const CArea& area, const IAreaWarpSource* warps = nullptr)
{
    CArchiveWriter out;
    EXPECT_TRUE(area.Serialize(out, warps));
    CArchiveReader in(out.Data());
    in.ReadString();
    in.ReadBytes(in.ReadU32());
    return in.ReadBytes(in.ReadU32());
}

QByteArray Jpeg(const QImage& image)
{
    EXPECT_FALSE(image.isNull());
    return EncodeJpeg(image, kTemplateImageQuality);
}

CArea SkewedArea()
{
    CArea area;
    area.SetName("Floor");
    const CPolygon outline = RectPolygon(10, 10, 70, 50);
    area.SetOutline(&outline);
    area.SetRotation(20);
    area.SetScale(1.5);
    area.GetSkewCorners() = {QPoint(12, 8), QPoint(66, 14), QPoint(6, 52), QPoint(72, 47)};
    area.SetInitialRect({10, 10, 70, 50});
    area.SetSkewApplied(true);
    return area;
}

// The area written with the given cache and read back: it holds the blob as
// read, bytes that no warp of its values would encode to.
CArea ReadBack(CArea area, const QImage* cached)
{
    area.SetSkewedTexture(cached ? std::make_unique<QImage>(*cached) : nullptr);
    std::vector<CArea> areas;
    areas.push_back(std::move(area));
    CTemplateData data = ReadTemplate(*WriteTemplate(nullptr, areas));
    return std::move(data.areas.front());
}

TEST(SavedWarp, BlobAsReadIsWrittenUntilTheWarpsInputsChange)
{
    const QImage texture = QuadrantImage(16, 8);
    const QImage stale = QuadrantImage(7, 5);
    CArea textured = SkewedArea();
    textured.SetTexture(&texture);
    CArea area = ReadBack(textured, &stale);
    const QByteArray asRead = Jpeg(stale);
    EXPECT_EQ(SavedWarp(area), asRead);

    // Whether the cache is rebuilt or dropped, the warp is still the one read.
    area.RenderSkewedTexture(true);
    EXPECT_EQ(SavedWarp(area), asRead);
    area.SetSkewedTexture(nullptr);
    EXPECT_EQ(SavedWarp(area), asRead);
    // Values that shape no warp leave it as read.
    area.SetName("Other");
    area.SetRealSize({QLineF(1, 2, 30, 4), 100.0, 25.0});
    EXPECT_EQ(SavedWarp(area), asRead);

    // A new placement makes the exact warp of the values the file's.
    area.SetRotation(-35);
    area.RefreshSkewedTexture();
    EXPECT_EQ(SavedWarp(area), Jpeg(BuildAreaWarp(area)));
    // Back to the values read: the blob as read again.
    area.SetRotation(20);
    EXPECT_EQ(SavedWarp(area), asRead);
    // No longer skewed: nothing.
    area.SetSkewApplied(false);
    area.RefreshSkewedTexture();
    EXPECT_TRUE(SavedWarp(area).isEmpty());

    // A skewed area read without a warp writes none while it stays so.
    CArea bare = ReadBack(textured, nullptr);
    EXPECT_TRUE(SavedWarp(bare).isEmpty());
}

TEST(SavedWarp, EditedAreasWriteTheExactWarpOfTheirValues)
{
    const QImage texture = QuadrantImage(16, 8);
    CArea area = SkewedArea();
    area.SetTexture(&texture);
    EXPECT_EQ(SavedWarp(area), Jpeg(BuildAreaWarp(area)));
    area.SetShift(5, -3);
    area.GetSkewCorners()[CArea::TopRight] = QPoint(70, 2);
    area.RefreshSkewedTexture();
    EXPECT_EQ(SavedWarp(area), Jpeg(BuildAreaWarp(area)));

    // Leaving corner editing builds the exact warp even with the skew not
    // applied, and the file keeps it.
    area.SetSkewApplied(false);
    area.RefreshSkewedTexture();
    EXPECT_TRUE(SavedWarp(area).isEmpty());
    area.SetSkewEdit(true);
    area.SetSkewEdit(false);
    EXPECT_EQ(SavedWarp(area), Jpeg(BuildAreaWarp(area)));

    // A quick preview is no warp to keep.
    area.SetSkewApplied(true);
    area.RenderSkewedPreview(100);
    ASSERT_TRUE(area.IsSkewedTexturePreview());
    EXPECT_TRUE(SavedWarp(area).isEmpty());
}

TEST(SavedWarp, PerspectiveWarpsArePaddedToTheCornersBounds)
{
    const QImage texture = QuadrantImage(16, 8);
    CArea area = SkewedArea();
    // The left corners lie left of the picture, where no warp is built.
    area.GetSkewCorners() = {QPoint(-40, 8), QPoint(66, 14), QPoint(-60, 52), QPoint(72, 47)};
    area.SetPerspective(true);
    area.SetTexture(&texture);

    const QImage warp = BuildAreaWarp(area);
    const QRect rect = area.GetSkewedTextureRect();
    ASSERT_EQ(warp.size(), rect.size());
    // Black from the corners' top-left, the warp where it was built.
    const QPoint origin(-60, 8);
    ASSERT_EQ(rect.topLeft(), QPoint(0, 8));
    QImage padded(rect.right() - origin.x() + 1, rect.bottom() - origin.y() + 1, QImage::Format_RGB32);
    padded.fill(Qt::black);
    QPainter painter(&padded);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(rect.topLeft() - origin, warp.convertToFormat(QImage::Format_RGB32));
    painter.end();
    EXPECT_EQ(SavedWarp(area), Jpeg(padded));

    // The same padding for a warp a source of warps supplies.
    area.SetId(5);
    area.SetSkewedTexture(nullptr);
    CWarpCache warps;
    ASSERT_NE(warps.GetOrBuild(area), nullptr);
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(padded));
}

TEST(SavedWarp, ASourceOfWarpsSuppliesThemOnceTheBlobAsReadNoLongerHolds)
{
    const QImage texture = QuadrantImage(16, 8);
    const QImage stale = QuadrantImage(7, 5);
    CArea textured = SkewedArea();
    textured.SetTexture(&texture);
    CArea area = ReadBack(textured, &stale);
    area.SetId(3);
    CWarpCache warps;
    ASSERT_NE(warps.GetOrBuild(area), nullptr);
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(stale));

    // After an edit the source's warp for the new values is written, not
    // what the area itself caches, and nothing while the source has none.
    area.SetRotation(-35);
    area.SetSkewedTexture(std::make_unique<QImage>(stale));
    EXPECT_TRUE(SavedWarp(area, &warps).isEmpty());
    ASSERT_NE(warps.GetOrBuild(area), nullptr);
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(BuildAreaWarp(area)));
    // A quick preview kept for the values is none to write.
    warps.Put(area.GetId(), area.WarpInputs(), std::make_shared<const QImage>(stale), 4);
    EXPECT_TRUE(SavedWarp(area, &warps).isEmpty());
}

// Each edit mirrored on a warp cache: the file written with the cache's
// warps is the file written with the area's own, step by step.
TEST(SavedWarp, ACacheKeptThroughTheEditsWritesWhatTheAreasOwnWarpDid)
{
    const QImage texture = QuadrantImage(16, 8);
    const QImage stale = QuadrantImage(7, 5);
    CArea textured = SkewedArea();
    textured.SetTexture(&texture);
    CArea area = ReadBack(textured, &stale);
    area.SetId(8);
    CWarpCache warps;
    const auto saved = [&area, &warps](const char* step) {
        const QByteArray own = SavedWarp(area);
        EXPECT_EQ(SavedWarp(area, &warps), own) << step;
        return own;
    };
    EXPECT_EQ(saved("as read"), Jpeg(stale));

    area.SetRotation(-35);
    area.RefreshSkewedTexture();
    RefreshAreaWarp(warps, area, true);
    EXPECT_FALSE(saved("turned").isEmpty());
    area.SetSkewApplied(false);
    area.RefreshSkewedTexture();
    RefreshAreaWarp(warps, area, false);
    EXPECT_TRUE(saved("flat").isEmpty());
    // Leaving corner editing builds the warp, applied or not.
    area.SetSkewEdit(true);
    area.SetSkewEdit(false);
    RefreshAreaWarp(warps, area, true);
    EXPECT_FALSE(saved("edited").isEmpty());

    // A corner dragged with the warp previewed, then let go.
    area.SetSkewApplied(true);
    area.SetSkewEdit(true);
    area.SetSkewPreview(true);
    RefreshAreaWarp(warps, area, true);
    CArea beforeDrag = area.CloneWithCache();
    area.GetSkewCorners()[CArea::TopRight] = QPoint(70, 2);
    area.RenderSkewedPreview(100);
    PreviewAreaWarp(warps, area, 100);
    EXPECT_TRUE(saved("dragging").isEmpty());
    area.RenderSkewedTexture(true);
    RefreshAreaWarp(warps, area, true);
    EXPECT_EQ(saved("dropped"), Jpeg(BuildAreaWarp(area)));
    // Undone: the warp shown before the drag, which the cache still keeps.
    area = std::move(beforeDrag);
    EXPECT_EQ(saved("undone"), Jpeg(BuildAreaWarp(area)));
}

} // namespace
