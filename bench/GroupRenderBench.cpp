// Rendering a group of 20 textures into the skewed floor of a room the size
// of the demo's (1600 x 1067, the floor's warp 1600 x 1000 stretched onto a
// trapezoid, a wall above it) as BMP at full size, on one job and on two,
// against exporting the same template once.
#include "document/WarpCache.h"
#include "render/AreaWarpUpdates.h"
#include "BenchTemplate.h"
#include "codecs/EncoderRegistry.h"
#include "document/ImageCodec.h"
#include "export/ExportRun.h"
#include "export/GroupRender.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kTextures = 20;

CArea RoomArea(const QString& name, const CPolygon& outline, const QImage& texture)
{
    CArea area;
    area.SetName(name);
    area.SetOutline(&outline);
    area.SetTexture(&texture);
    return area;
}

struct GroupFixture
{
    QTemporaryDir dir;
    QImage picture = PhotoLike(1600, 1067, 1);
    std::vector<CArea> areas;
    // As an open template's: the floor's warp already built.
    CWarpCache warps;
    CGroupRenderRequest request;

    GroupFixture()
    {
        CArea floor = RoomArea("Floor", CPolygon{{{{420, 720}, {1180, 720}, {1600, 1067}, {0, 1067}}}},
                               PhotoLike(256, 256, 2));
        floor.GetSkewCorners() = {QPoint(420, 720), QPoint(1180, 720), QPoint(0, 1067), QPoint(1600, 1067)};
        floor.SetInitialRect({0, 67, 1600, 1067});
        floor.SetRotation(90);
        floor.SetScale(2);
        floor.SetSkewApplied(true);
        KeepExactWarp(warps, floor);
        areas.push_back(std::move(floor));
        areas.push_back(RoomArea("Back wall",
                                 CPolygon{{{{420, 213}, {1180, 213}, {1180, 698}, {420, 698}},
                                           {{630, 290}, {970, 290}, {970, 590}, {630, 590}}}},
                                 PhotoLike(256, 256, 3)));

        for (int i = 0; i < kTextures; ++i) {
            const QString path = QDir(dir.path()).filePath(QStringLiteral("texture%1.jpg").arg(i));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(EncodeJpeg(PhotoLike(256, 256, 10 + i), 95)) < 0)
                qFatal("cannot write the benchmark textures");
            request.textures << path;
        }
        QDir(dir.path()).mkdir("out");
        request.outputFolder = QDir(dir.path()).filePath("out");
        request.extension = "bmp";
        request.width = picture.width();
        request.height = picture.height();
        request.overwrite = true;
        request.warps = &warps;
        GetEncoderClsid(QStringLiteral("image/bmp"), &request.encoder);
    }
};

GroupFixture& GetGroupFixture()
{
    static GroupFixture fixture;
    return fixture;
}

void BM_RenderGroupBmp(benchmark::State& state)
{
    GroupFixture& f = GetGroupFixture();
    CGroupRenderRequest request = f.request;
    request.jobs = static_cast<int>(state.range(0));
    for (auto _ : state)
        for (const CGroupRenderResult& result : RenderTextureGroup(f.picture, f.areas, request))
            if (result.status != CGroupRenderResult::Status::Written)
                state.SkipWithError(qPrintable(result.message));
    state.SetItemsProcessed(state.iterations() * kTextures);
}

void BM_ExportRoomBmp(benchmark::State& state)
{
    GroupFixture& f = GetGroupFixture();
    CExportRequest request;
    request.width = f.request.width;
    request.height = f.request.height;
    request.fileName = QDir(f.dir.path()).filePath("export.bmp");
    request.encoder = f.request.encoder;
    request.warps = &f.warps;
    for (auto _ : state) {
        QString error;
        if (!ExportRun(f.picture, f.areas, request, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_ExportRoomBmp)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderGroupBmp)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace
