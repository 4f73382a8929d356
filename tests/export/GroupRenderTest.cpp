#include "catalogue/ProductSidecar.h"
#include "catalogue/TextureCatalogue.h"
#include "codecs/EncoderRegistry.h"
#include "export/ExportRun.h"
#include "export/GroupRender.h"
#include "render/AreaPattern.h"
#include "render/GroupScene.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

namespace {

using Status = CGroupRenderResult::Status;

class GroupRenderTest : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QString Save(const QString& name, const QImage& image) const { return image.save(Path(name)) ? Path(name) : QString(); }
    QString Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? Path(name) : QString();
    }
    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    CGroupRenderRequest Request(const char* mime, const QString& extension, const QString& out,
                                const QStringList& textures, int jobs = 2) const
    {
        QDir(dir.path()).mkpath(out);
        CGroupRenderRequest r{1, textures, Path(out), extension, 120, 90, {}, {}, jobs, false, false};
        GetEncoderClsid(mime, &r.encoder);
        return r;
    }
    std::vector<Status> Statuses(const CGroupRenderRequest& r) const
    {
        std::vector<Status> statuses;
        for (const CGroupRenderResult& result : RenderTextureGroup(scene.picture, scene.areas, r))
            statuses.push_back(result.status);
        return statuses;
    }

    QTemporaryDir dir;
    CGroupScene scene;
};

// Each image is, byte for byte, what exporting the template with that
// texture picked writes, with shading or without, on one job or two.
TEST_F(GroupRenderTest, ImagesAreTheExportsOfTheTemplateWithEachTexture)
{
    const QStringList textures{Save("oak.png", Noise(17, 13, 1)), Save("slate.jpg", Noise(20, 20, 2)),
                               Save("teak.bmp", Noise(9, 31, 3))};
    for (const auto& [mime, extension, keepShading] :
         {std::tuple{"image/png", "png", false}, {"image/jpeg", "jpg", false}, {"image/png", "png", true}}) {
        const QString run = QStringLiteral("%1%2-").arg(extension).arg(keepShading);
        for (const int jobs : {1, 2}) {
            CGroupRenderRequest request = Request(mime, extension, run + QString::number(jobs), textures, jobs);
            request.keepShading = keepShading;
            EXPECT_EQ(Statuses(request), std::vector<Status>(3, Status::Written));
        }
        for (const QString& texture : textures) {
            std::vector<CArea> areas = scene.Clones();
            const QImage decoded(texture);
            areas[1].SetTexture(&decoded);
            CExportRequest single{120, 90, "single", dir.path(), {}, {}, keepShading};
            GetEncoderClsid(mime, &single.encoder);
            QString error;
            ASSERT_TRUE(ExportRun(scene.picture, areas, single, &error)) << error.toStdString();
            const QString name = "/" + QFileInfo(texture).completeBaseName() + "." + extension;
            EXPECT_EQ(Read(run + "1" + name), Read("single")) << (run + name).toStdString();
            EXPECT_EQ(Read(run + "2" + name), Read("single")) << (run + name).toStdString();
        }
    }
}

// Files that are no pictures are skipped, damaged ones fail, an image there
// already is kept unless overwrite says otherwise, and a texture whose
// image an earlier one takes fails; the others go on, each reported once.
TEST_F(GroupRenderTest, TexturesThatCannotBeRenderedAreReportedAndTheOthersGoOn)
{
    const QStringList textures{Save("good.png", Noise(8, 8, 4)), Write("notes.txt", "no picture\n"),
                               Write("broken.jpg", "\xFF\xD8\xFF\xE0 cut short"), Save("good.bmp", Noise(8, 8, 5)),
                               Save("kept.png", Noise(8, 8, 6))};
    CGroupRenderRequest request = Request("image/png", "png", "out", textures);
    Write("out/kept.png", "mine");
    std::vector<std::pair<int, int>> calls;
    RenderTextureGroup(scene.picture, scene.areas, request,
                       [&](int done, int count, const CGroupRenderResult&) { calls.emplace_back(done, count); });
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    // good.png was written by now: good.bmp, taking its name, finds it there.
    EXPECT_EQ(Statuses(request), (std::vector{Status::Skipped, Status::Skipped, Status::Failed, Status::Skipped,
                                              Status::Skipped}));
    EXPECT_EQ(Read("out/kept.png"), "mine");
    request.overwrite = true;
    EXPECT_EQ(Statuses(request), (std::vector{Status::Written, Status::Skipped, Status::Failed, Status::Failed,
                                              Status::Written}));
    EXPECT_EQ(QImage(Path("out/kept.png")).size(), QSize(120, 90));
}

// Cancelled once the first image is reported, no texture starts any more:
// what is left is the whole images reported written, nothing else.
TEST_F(GroupRenderTest, CancelledRunLeavesOnlyTheImagesReportedWritten)
{
    QStringList textures;
    for (int i = 0; i < 8; ++i)
        textures << Save(QStringLiteral("t%1.png").arg(i), Noise(12, 12, unsigned(i)));
    std::atomic<bool> cancel{false};
    QStringList reported, written;
    const auto results = RenderTextureGroup(
        scene.picture, scene.areas, Request("image/bmp", "bmp", "out", textures),
        [&](int, int, const CGroupRenderResult& r) {
            reported << QFileInfo(r.output).fileName();
            cancel = true;
        },
        &cancel);
    for (const CGroupRenderResult& result : results)
        if (result.status == Status::Written)
            written << QFileInfo(result.output).fileName();
    reported.sort();
    EXPECT_LE(written.size(), 2); // one per job at most
    EXPECT_EQ(reported, written);
    EXPECT_EQ(QDir(Path("out")).entryList(QDir::Files | QDir::Hidden), written);
    for (const QString& name : written)
        EXPECT_EQ(QImage(Path("out/" + name)).size(), QSize(120, 90));
}

// A product's picture renders the product laid as its group's sidecar
// describes it, as exporting the template with the product laid writes it;
// the sidecar itself is no texture of the group.
TEST_F(GroupRenderTest, AProductsPictureRendersTheLaidProduct)
{
    const QString plank = Save("plank.png", Noise(30, 5, 4));
    const QString other = Save("plank-b.png", Noise(30, 5, 5));
    ASSERT_FALSE(Write("products.json", R"({"products": [{"name": "Plank", "size": [30, 5],
        "variants": ["plank.png", "plank-b.png"], "layouts": ["herringbone"], "jointMm": 3}]})").isEmpty());
    EXPECT_EQ(TextureCatalogue::ListGroupTextures(dir.path()), (QStringList{other, plank}));
    CGroupRenderRequest request = Request("image/png", "png", "out", {plank});
    EXPECT_EQ(Statuses(request), std::vector<Status>{Status::Written});

    std::vector<CArea> areas = scene.Clones();
    const auto product = ProductSidecar::PatternFor(plank);
    ASSERT_TRUE(product);
    ASSERT_TRUE(CAreaPattern::Apply(areas[1], *product));
    CExportRequest single{120, 90, "single", dir.path(), {}, {}, false};
    GetEncoderClsid("image/png", &single.encoder);
    QString error;
    ASSERT_TRUE(ExportRun(scene.picture, areas, single, &error)) << error.toStdString();
    EXPECT_EQ(Read("out/plank.png"), Read("single"));
    // And not the plank as a plain texture.
    std::vector<CArea> plain = scene.Clones();
    const QImage decoded(plank);
    plain[1].SetTexture(&decoded);
    CExportRequest flat{120, 90, "flat", dir.path(), {}, {}, false};
    GetEncoderClsid("image/png", &flat.encoder);
    ASSERT_TRUE(ExportRun(scene.picture, plain, flat, &error)) << error.toStdString();
    EXPECT_NE(Read("out/plank.png"), Read("flat"));
}

} // namespace
