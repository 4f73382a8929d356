// Opening and saving a template of a 24-megapixel photograph with five
// textured areas, one of them skewed with its warped texture stored.
#include "document/TemplateFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Smooth gradients with some detail, so the JPEG coder does the work a
// photograph would give it rather than compressing flat colour.
QImage PhotoLike(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int n = (x * 7 + y * 13 + seed) * 2654435761u >> 28;
            line[x] = qRgb((x * 255 / w + n) & 0xFF, (y * 255 / h + n) & 0xFF, ((x + y + seed) / 16 + n) & 0xFF);
        }
    }
    return image;
}

struct Fixture
{
    QTemporaryDir dir;
    QString path;
    QImage picture;
    std::vector<CArea> areas;

    Fixture()
    {
        picture = PhotoLike(6000, 4000, 1);
        for (int i = 0; i < 5; ++i) {
            CArea area;
            area.SetName(QStringLiteral("Area %1").arg(i + 1));
            const double x = 200 + i * 1100, y = 300 + i * 600;
            const CPolygon outline{{{{x, y}, {x + 1000, y}, {x + 1000, y + 900}, {x, y + 900}}}};
            area.SetOutline(&outline);
            area.SetScale(0.5 + 0.25 * i);
            area.SetRotation(15.0 * i);
            if (i == 0) {
                area.GetSkewCorners() = {QPoint(int(x) + 100, int(y)), QPoint(int(x) + 900, int(y)),
                                         QPoint(int(x), int(y) + 900), QPoint(int(x) + 1000, int(y) + 900)};
                area.SetInitialRect({0, 0, 500, 450});
                area.SetSkewApplied(true);
            }
            const QImage texture = PhotoLike(512, 512, i + 2);
            area.SetTexture(&texture);
            areas.push_back(std::move(area));
        }
        path = QDir(dir.path()).filePath("bench.tlm");
        QString error;
        if (!SaveTemplateFile(path, &picture, areas, &error))
            qFatal("cannot write the benchmark template: %s", qPrintable(error));
    }
};

Fixture& GetFixture()
{
    static Fixture fixture;
    return fixture;
}

void BM_OpenTemplate(benchmark::State& state)
{
    Fixture& f = GetFixture();
    for (auto _ : state) {
        QString error;
        auto data = LoadTemplateFile(f.path, &error);
        if (!data || !data->picture)
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(data);
    }
}

void BM_SaveTemplate(benchmark::State& state)
{
    Fixture& f = GetFixture();
    const QString out = QDir(f.dir.path()).filePath("saved.tlm");
    for (auto _ : state) {
        QString error;
        if (!SaveTemplateFile(out, &f.picture, f.areas, &error))
            state.SkipWithError("save failed");
    }
}

BENCHMARK(BM_OpenTemplate)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveTemplate)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
