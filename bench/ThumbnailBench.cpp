// A thumbnail of a 24-megapixel template with five textured areas (one
// skewed, its warped texture stored), as a file manager asks for one: read
// with the picture decoded shrunk, composed small, encoded as PNG. Beside it
// the same thumbnail made the long way, the whole template composed at full
// size and scaled down as an export is, and the floor of any thumbnail:
// decoding the picture's JPEG shrunk.
#include "BenchTemplate.h"
#include "codecs/EncoderRegistry.h"
#include "document/ImageCodec.h"
#include "document/TemplateFile.h"
#include "document/WarpCache.h"
#include "export/ExportOutput.h"
#include "export/TemplateThumbnail.h"
#include "render/AreaWarpUpdates.h"
#include "render/TemplateCompositor.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct ThumbnailFixture
{
    QTemporaryDir dir;
    QString path;
    QByteArray pictureJpeg;

    ThumbnailFixture()
    {
        BenchTemplate t;
        CWarpCache warps;
        InstallWarpBuilder(warps);
        path = QDir(dir.path()).filePath("bench.tlm");
        QString error;
        if (!SaveTemplateFile(path, &t.picture, t.areas, &error, &warps))
            qFatal("cannot write the benchmark template: %s", qPrintable(error));
        pictureJpeg = EncodeJpeg(t.picture, kTemplateImageQuality);
    }
};

ThumbnailFixture& GetThumbnailFixture()
{
    static ThumbnailFixture fixture;
    return fixture;
}

QByteArray EncodePng(const QImage& image)
{
    QUuid png;
    GetEncoderClsid(QStringLiteral("image/png"), &png);
    return FindEncoder(png)->Encode(image, {}, nullptr).value_or(QByteArray());
}

// Arg: the side asked for, as file managers ask 128, 256 or 512.
void BM_ThumbnailFromFile(benchmark::State& state)
{
    ThumbnailFixture& f = GetThumbnailFixture();
    const int side = int(state.range(0));
    for (auto _ : state) {
        QString error;
        const auto data = LoadTemplateFile(f.path, &error, ThumbnailReadOptions(side));
        const QImage thumbnail = data ? ComposeThumbnail(*data, side) : QImage();
        if (thumbnail.isNull() || EncodePng(thumbnail).isEmpty())
            state.SkipWithError("no thumbnail");
    }
}

void BM_ThumbnailByWholeComposition(benchmark::State& state)
{
    ThumbnailFixture& f = GetThumbnailFixture();
    for (auto _ : state) {
        QString error;
        const auto data = LoadTemplateFile(f.path, &error);
        if (!data || !data->picture) {
            state.SkipWithError("open failed");
            break;
        }
        const QSize size = FitWithin(data->picture->size(), 256);
        const QImage thumbnail = ScaleForExport(ComposeTemplate(*data->picture, data->areas), size.width(),
                                                size.height());
        benchmark::DoNotOptimize(EncodePng(thumbnail));
    }
}

void BM_DecodePictureShrunkFloor(benchmark::State& state)
{
    ThumbnailFixture& f = GetThumbnailFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeImage(f.pictureJpeg, false, nullptr, 512));
}

BENCHMARK(BM_ThumbnailFromFile)->Arg(128)->Arg(256)->Arg(512)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_ThumbnailByWholeComposition)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DecodePictureShrunkFloor)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace
