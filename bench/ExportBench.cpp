// Exporting a 24-megapixel template with five textured areas (one skewed,
// its warped texture cached) to JPEG at full size, against a floor of
// decoding the picture and encoding it again alone.
#include "BenchTemplate.h"
#include "document/ImageCodec.h"
#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"
#include "export/ExportRun.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct ExportFixture
{
    QTemporaryDir dir;
    BenchTemplate t;
    QByteArray pictureJpeg = EncodeJpeg(t.picture, 100);
    CExportRequest request;

    ExportFixture()
    {
        request.width = t.picture.width();
        request.height = t.picture.height();
        request.fileName = QDir(dir.path()).filePath("export.jpg");
        GetEncoderClsid(QStringLiteral("image/jpeg"), &request.encoder);
        request.parameters = {{EncoderGuid::kQuality, 100}, {EncoderGuid::kTransformation, kTransformNone}};
    }
};

ExportFixture& GetExportFixture()
{
    static ExportFixture fixture;
    return fixture;
}

// Arg 1: with the picture's light and shadow kept on the textures.
void BM_ExportJpegFullSize(benchmark::State& state)
{
    ExportFixture& f = GetExportFixture();
    CExportRequest request = f.request;
    request.keepShading = state.range(0) != 0;
    for (auto _ : state) {
        QString error;
        if (!ExportRun(f.t.picture, f.t.areas, request, &error))
            state.SkipWithError(qPrintable(error));
    }
}

void BM_DecodeAndEncodePictureFloor(benchmark::State& state)
{
    ExportFixture& f = GetExportFixture();
    for (auto _ : state) {
        const auto picture = DecodeImage(f.pictureJpeg, false);
        if (!picture)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(EncodeJpeg(*picture, 100));
    }
}

BENCHMARK(BM_DecodeAndEncodePictureFloor)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportJpegFullSize)->Arg(0)->Arg(1)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace
