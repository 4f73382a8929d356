#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "document/ArchiveReader.h"
#include "document/ImageCodec.h"
#include "document/Messages.h"
#include "document/TemplateFile.h"
#include "document/TilemontDoc.h"
#include "document/WarpCache.h"
#include "render/AreaWarpUpdates.h"

#include <QBuffer>
#include <cstdint>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Answer = IDocumentPrompts::Answer;

// A JPEG file with some detail, as a camera or a texture site gives it: not
// at the quality a template writes, so a re-encoding would show.
QByteArray CameraJpeg(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) % 256, (y * 5 + x * seed) % 256, (x * y + seed * 31) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPEG", 80));
    return bytes;
}

class StoredImageTest : public ::testing::Test
{
protected:
    StoredImageTest() : doc(prompts, &panel)
    {
        doc.AddView(&view);
        // As the editor's documents do: a save stores the warps areas show.
        InstallWarpBuilder(doc.Warps());
    }

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    CArea TexturedArea(const QString& name, const QString& textureFile, double x0, double y0)
    {
        CArea area;
        area.SetName(name);
        const CPolygon outline = RectPolygon(x0, y0, x0 + 40, y0 + 30);
        area.SetOutline(&outline);
        QString error;
        const auto texture = LoadStoredImage(textureFile, &error);
        EXPECT_TRUE(texture) << error.toStdString();
        area.SetTexture(*texture);
        return area;
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    CountingPanel panel;
    CountingView view;
    CTilemontDoc doc;
};

TEST_F(StoredImageTest, SavingAgainAndAgainWritesTheSameBytes)
{
    const QByteArray camera = CameraJpeg(96, 64, 3);
    const QString wood = Write("wood.jpg", CameraJpeg(24, 20, 9));
    const QString tilesPng = dir.filePath("tiles.png");
    ASSERT_TRUE(QuadrantImage(20, 16).save(tilesPng));

    // Chosen as the user does: the picture through Select picture.
    prompts.openFiles.push_back(Write("room.jpg", camera));
    doc.OnSelectPicture();
    ASSERT_TRUE(doc.GetPicture());

    // Flat, skewed flat-warped and perspective areas: every kind of blob.
    CArea flat = TexturedArea("flat", tilesPng, 2, 2);
    CArea skewed = TexturedArea("skewed", wood, 50, 2);
    skewed.GetSkewCorners() = {QPoint(50, 2), QPoint(92, 6), QPoint(48, 34), QPoint(95, 30)};
    skewed.SetSkewApplied(true);
    CArea perspective = TexturedArea("perspective", wood, 20, 30);
    perspective.GetSkewCorners() = {QPoint(10, 28), QPoint(70, 28), QPoint(0, 63), QPoint(90, 63)};
    perspective.SetPerspective(true);
    perspective.SetSkewApplied(true);
    for (CArea* area : {&flat, &skewed, &perspective})
        doc.AddArea(std::move(*area), QStringLiteral("Add"));

    const QString path = dir.filePath("room.tlm");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const QByteArray first = Read(path);
    // The picture's blob is the chosen file itself.
    CArchiveReader ar(first);
    ASSERT_EQ(ar.ReadU32(), std::uint32_t(camera.size()));
    EXPECT_EQ(ar.ReadBytes(camera.size()), camera);

    const CTemplateData firstRead = ReadTemplate(first);
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(doc.OnOpenDocument(path));
        // Drawing rebuilds the perspective warp the file's blob stands for.
        for (const CArea& area : doc.GetAreas())
            (void)area.GetDrawBounds();
        ASSERT_TRUE(doc.OnSaveDocument(path));
        const QByteArray again = Read(path);
        ASSERT_EQ(again, first) << "round " << round;
    }
    const CTemplateData last = ReadTemplate(Read(path));
    ASSERT_EQ(last.areas.size(), 3u);
    EXPECT_EQ(*last.picture, *firstRead.picture);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(*last.areas[i].GetTexture(), *firstRead.areas[i].GetTexture()) << i;
}

TEST_F(StoredImageTest, AChangedTextureOrWarpIsEncodedAnew)
{
    const QString wood = Write("wood.jpg", CameraJpeg(24, 20, 9));
    const QString stone = Write("stone.jpg", CameraJpeg(30, 18, 4));
    CArea area = TexturedArea("skewed", wood, 2, 2);
    area.GetSkewCorners() = {QPoint(2, 2), QPoint(44, 6), QPoint(0, 34), QPoint(47, 30)};
    area.SetSkewApplied(true);
    const QString path = dir.filePath("in.tlm");
    std::vector<CArea> areas;
    areas.push_back(std::move(area));
    CWarpCache warps;
    InstallWarpBuilder(warps);
    QString error;
    ASSERT_TRUE(SaveTemplateFile(path, nullptr, areas, &error, &warps));
    ASSERT_TRUE(doc.OnOpenDocument(path));
    const AreaId id = doc.GetAreas()[0].GetId();
    const QByteArray before = Read(path);
    const auto warpRead = ReadTemplate(before).areas[0].GetStoredWarp();
    ASSERT_TRUE(warpRead);

    // A new placement rebuilds the warp: the one read no longer stands.
    ASSERT_TRUE(doc.EditArea(id, QStringLiteral("Rotate"), [](CArea& a) {
        a.SetRotation(30);
    }));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const CTemplateData rotated = ReadTemplate(Read(path));
    ASSERT_TRUE(rotated.areas[0].GetStoredWarp());
    EXPECT_NE(*rotated.areas[0].GetStoredWarp(), *warpRead);
    EXPECT_EQ(*rotated.areas[0].GetStoredWarp(),
              *DecodeImage(EncodeJpeg(*KeepExactWarp(doc.Warps(), doc.GetAreas()[0]), 100), false));

    // A new texture is saved as its own file's bytes; undone, the old one's.
    QString why;
    ASSERT_TRUE(doc.LayTexture(id, *LoadStoredImage(stone, &why)));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_TRUE(Read(path).contains(Read(stone)));
    doc.OnEditUndo();
    doc.OnEditUndo();
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(Read(path), before);
}

TEST(CompleteJpegLength, AgreesWithTheSearchForTheBytePairsOnDataDenseWithMarkers)
{
    // The definition, plainly: the first end marker after the last scan's
    // start marker.
    const auto reference = [](const QByteArray& b) -> qsizetype {
        qsizetype scan = -1;
        for (qsizetype i = 0; i + 1 < b.size(); ++i)
            if (uchar(b[i]) == 0xFF && uchar(b[i + 1]) == 0xDA)
                scan = i;
        if (scan >= 0)
            for (qsizetype i = scan + 2; i + 1 < b.size(); ++i)
                if (uchar(b[i]) == 0xFF && uchar(b[i + 1]) == 0xD9)
                    return i + 2;
        return -1;
    };
    const char alphabet[] = {'\xff', '\xda', '\xd9', '\x00', '\x41'};
    std::uint32_t s = 11;
    for (int round = 0; round < 20000; ++round) {
        s = s * 1664525u + 1013904223u;
        QByteArray bytes(int(s >> 27), '\0');
        for (char& c : bytes) {
            s = s * 1664525u + 1013904223u;
            c = alphabet[(s >> 24) % 5];
        }
        ASSERT_EQ(CompleteJpegLength(bytes), reference(bytes)) << bytes.toHex().toStdString();
    }
}

TEST_F(StoredImageTest, JpegEndIsFoundPastTrailingBytesAndMissedWhenCut)
{
    const QByteArray jpeg = CameraJpeg(40, 30, 1);
    EXPECT_EQ(CompleteJpegLength(jpeg), jpeg.size());
    EXPECT_EQ(CompleteJpegLength(jpeg + QByteArray(9, '\0') + "junk"), jpeg.size());
    EXPECT_EQ(CompleteJpegLength(jpeg.left(jpeg.size() * 2 / 3)), -1);
    EXPECT_EQ(CompleteJpegLength(QByteArray()), -1);
    CDecodeReport report;
    ASSERT_TRUE(DecodeImage(jpeg.left(jpeg.size() * 2 / 3), false, &report));
    EXPECT_TRUE(report.damaged);
    EXPECT_TRUE(report.jpeg.isEmpty());
}

TEST_F(StoredImageTest, ADamagedPictureIsAskedAboutAndNoKeepsTheOld)
{
    const QByteArray whole = CameraJpeg(80, 60, 2);
    const QString good = Write("good.jpg", CameraJpeg(32, 16, 5));
    const QString cut = Write("cut.jpg", whole.left(whole.size() / 2));
    const QString question = Messages::kUseDamagedPicture.arg(QDir::toNativeSeparators(cut));

    prompts.openFiles.push_back(good);
    doc.OnSelectPicture();
    ASSERT_TRUE(doc.GetPicture());
    const QImage kept = *doc.GetPicture();

    prompts.openFiles.push_back(cut);
    prompts.answers.push_back(Answer::No);
    doc.OnSelectPicture();
    EXPECT_EQ(prompts.asked.back(), "yn:" + question);
    EXPECT_EQ(*doc.GetPicture(), kept);

    // Dropped on an area: No keeps its texture too.
    CArea area = TexturedArea("floor", good, 0, 0);
    doc.AddArea(std::move(area), QStringLiteral("Add"));
    const QImage texture = *doc.GetAreas()[0].GetTexture();
    prompts.answers.push_back(Answer::No);
    EXPECT_FALSE(doc.DropImage(cut, QPointF(5, 5)));
    EXPECT_EQ(prompts.asked.back(), "yn:" + question);
    EXPECT_EQ(*doc.GetAreas()[0].GetTexture(), texture);

    prompts.answers.push_back(Answer::Yes);
    EXPECT_TRUE(doc.DropImage(cut, QPointF(5, 5)));
    EXPECT_EQ(doc.GetAreas()[0].GetTexture()->size(), QSize(80, 60));

    prompts.openFiles.push_back(cut);
    prompts.answers.push_back(Answer::Yes);
    doc.OnSelectPicture();
    ASSERT_EQ(doc.GetPicture()->size(), QSize(80, 60));
    // What is kept is whole: the template holds a complete JPEG, not the
    // cut file.
    const QString path = dir.filePath("t.tlm");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CArchiveReader ar(Read(path));
    const QByteArray blob = ar.ReadBytes(ar.ReadU32());
    EXPECT_EQ(CompleteJpegLength(blob), blob.size());
    EXPECT_TRUE(prompts.errors.isEmpty());
}

} // namespace
