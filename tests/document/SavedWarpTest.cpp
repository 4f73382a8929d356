// The warped-texture blob an area record is saved with, byte for byte: the
// blob as read while nothing the warp is built from has changed, otherwise
// the exact warp the document's warps give for the area's values (padded to
// the corners' bounds for a perspective): the one kept, or for an area that
// shows its warp one built for the save; nothing for the others.
#include "TestImages.h"
#include "document/ArchiveReader.h"
#include "document/ArchiveWriter.h"
#include "document/ImageCodec.h"
#include "document/TemplateFile.h"
#include "document/WarpCache.h"
#include "render/AreaWarp.h"
#include "render/AreaWarpUpdates.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <optional>
#include <utility>

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

// Supplies one fixed image as every area's warp.
class CFixedWarp : public IAreaWarpSource
{
public:
    explicit CFixedWarp(const QImage& image) : m_image(std::make_shared<const QImage>(image)) {}
    std::shared_ptr<const QImage> ExactWarp(const CArea&) const override { return m_image; }

private:
    std::shared_ptr<const QImage> m_image;
};

// The area written with the given warp and read back: it holds the blob as
// read, bytes that no warp of its values would encode to.
CArea ReadBack(CArea area, const QImage* stored)
{
    std::vector<CArea> areas;
    areas.push_back(std::move(area));
    std::optional<CFixedWarp> source;
    if (stored)
        source.emplace(*stored);
    CTemplateData data = ReadTemplate(*WriteTemplate(nullptr, QByteArray(), areas, source ? &*source : nullptr));
    return std::move(data.areas.front());
}

// A document's warps as the editor and the command line set them up.
struct CDocumentWarps : CWarpCache
{
    CDocumentWarps() { InstallWarpBuilder(*this); }
};

TEST(SavedWarp, BlobAsReadIsWrittenUntilTheWarpsInputsChange)
{
    const QImage texture = QuadrantImage(16, 8);
    const QImage stale = QuadrantImage(7, 5);
    CArea textured = SkewedArea();
    textured.SetTexture(&texture);
    CArea area = ReadBack(textured, &stale);
    area.SetId(2);
    CDocumentWarps warps;
    const QByteArray asRead = Jpeg(stale);
    EXPECT_EQ(SavedWarp(area, &warps), asRead);
    EXPECT_EQ(SavedWarp(area), asRead);

    // Whether a warp of the values is kept or not, the warp is still the one read.
    ASSERT_NE(KeepExactWarp(warps, area), nullptr);
    EXPECT_EQ(SavedWarp(area, &warps), asRead);
    warps.Forget(area.GetId());
    EXPECT_EQ(SavedWarp(area, &warps), asRead);
    // Values that shape no warp leave it as read.
    area.SetName("Other");
    area.SetRealSize({QLineF(1, 2, 30, 4), 100.0, 25.0});
    EXPECT_EQ(SavedWarp(area, &warps), asRead);

    // A new placement makes the exact warp of the values the file's.
    area.SetRotation(-35);
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(BuildAreaWarp(area)));
    // Back to the values read: the blob as read again.
    area.SetRotation(20);
    EXPECT_EQ(SavedWarp(area, &warps), asRead);
    // No longer skewed: nothing.
    area.SetSkewApplied(false);
    EXPECT_TRUE(SavedWarp(area, &warps).isEmpty());

    // A skewed area read without a warp: the record alone has none to
    // write, the document's warps build the one it shows.
    CArea bare = ReadBack(textured, nullptr);
    EXPECT_TRUE(SavedWarp(bare).isEmpty());
    EXPECT_EQ(SavedWarp(bare, &warps), Jpeg(BuildAreaWarp(bare)));
}

TEST(SavedWarp, EditedAreasWriteTheExactWarpOfTheirValues)
{
    const QImage texture = QuadrantImage(16, 8);
    CArea area = SkewedArea();
    area.SetId(4);
    area.SetTexture(&texture);
    CDocumentWarps warps;
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(BuildAreaWarp(area)));
    area.SetShift(5, -3);
    area.GetSkewCorners()[CArea::TopRight] = QPoint(70, 2);
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(BuildAreaWarp(area)));

    // Not applied, the skew shows no warp: none unless one is kept, as
    // leaving corner editing keeps it.
    area.SetSkewApplied(false);
    EXPECT_TRUE(SavedWarp(area, &warps).isEmpty());
    ASSERT_NE(KeepExactWarp(warps, area), nullptr);
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(BuildAreaWarp(area)));

    // A quick preview is no warp to keep: the exact one is written instead.
    area.SetSkewApplied(true);
    PreviewAreaWarp(warps, area, 100);
    ASSERT_GT(warps.Find(area.GetId(), area.WarpInputs()).reduction, 1);
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(BuildAreaWarp(area)));
    // Without a way to build, a preview alone writes nothing.
    CWarpCache previewOnly;
    PreviewAreaWarp(previewOnly, area, 100);
    EXPECT_TRUE(SavedWarp(area, &previewOnly).isEmpty());
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
    CDocumentWarps warps;
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(padded));
    // Kept before the save, the same.
    area.SetId(5);
    ASSERT_NE(KeepExactWarp(warps, area), nullptr);
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(padded));
}

// A corner dragged with the warp previewed, let go and undone: the file
// holds the warp of the values shown at each step.
TEST(SavedWarp, ADragItsReleaseAndItsUndoWriteTheWarpShown)
{
    const QImage texture = QuadrantImage(16, 8);
    const QImage stale = QuadrantImage(7, 5);
    CArea textured = SkewedArea();
    textured.SetTexture(&texture);
    CArea area = ReadBack(textured, &stale);
    area.SetId(8);
    CDocumentWarps warps;
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(stale));

    area.SetRotation(-35);
    ASSERT_NE(KeepExactWarp(warps, area), nullptr);
    const CArea beforeDrag = area;
    const QByteArray turned = SavedWarp(area, &warps);
    EXPECT_EQ(turned, Jpeg(BuildAreaWarp(area)));
    area.GetSkewCorners()[CArea::TopRight] = QPoint(70, 2);
    PreviewAreaWarp(warps, area, 100);
    ASSERT_NE(KeepExactWarp(warps, area), nullptr);
    EXPECT_EQ(SavedWarp(area, &warps), Jpeg(BuildAreaWarp(area)));
    // Undone: the warp shown before the drag, which the cache still keeps.
    area = beforeDrag;
    EXPECT_EQ(SavedWarp(area, &warps), turned);
    EXPECT_EQ(warps.Count(), 2u);
}

} // namespace

TEST(SavedWarp, AQuickReadShrinksThePictureSkipsTheWarpAndStillWritesItBack)
{
    const QImage texture = QuadrantImage(16, 8);
    const QImage warp = QuadrantImage(61, 45);
    CArea textured = SkewedArea();
    textured.SetTexture(&texture);
    const QImage picture = QuadrantImage(400, 100);
    const CFixedWarp source(warp);
    const QByteArray file = *WriteTemplate(&picture, QByteArray(), {textured}, &source);

    // Warps undecoded, the picture whole: what is written back is the file.
    CTemplateData kept = ReadTemplate(file, {.decodeStoredWarps = false});
    ASSERT_NE(kept.picture, nullptr);
    EXPECT_EQ(kept.pictureSize, QSize(400, 100));
    EXPECT_EQ(kept.areas.front().GetStoredWarp(), nullptr);
    EXPECT_EQ(*WriteTemplate(kept.picture.get(), kept.pictureJpeg, kept.areas), file);

    // Shrunk to fit 50 x 50 pixels, the stored size still told; the
    // quadrants stay where they were.
    const CTemplateData small = ReadTemplate(file, {.pictureFitWithin = 50});
    ASSERT_NE(small.picture, nullptr);
    EXPECT_EQ(small.picture->size(), QSize(50, 13));
    EXPECT_EQ(small.pictureSize, QSize(400, 100));
    EXPECT_TRUE(small.pictureJpeg.isEmpty());
    ASSERT_NE(small.areas.front().GetStoredWarp(), nullptr);
    EXPECT_EQ(small.areas.front().GetStoredWarp()->size(), warp.size());
    const QImage shrunk = small.picture->convertToFormat(QImage::Format_RGB32);
    for (const auto& [at, colour] : {std::pair{QPoint(5, 2), QColor(Qt::red)}, {QPoint(44, 2), QColor(Qt::green)},
                                     {QPoint(5, 10), QColor(Qt::yellow)}, {QPoint(44, 10), QColor(Qt::blue)}}) {
        const QColor got = shrunk.pixelColor(at);
        EXPECT_NEAR(got.red(), colour.red(), 24) << at.x() << "," << at.y();
        EXPECT_NEAR(got.green(), colour.green(), 24) << at.x() << "," << at.y();
        EXPECT_NEAR(got.blue(), colour.blue(), 24) << at.x() << "," << at.y();
    }
}
