// Opening and saving a template of a 24-megapixel photograph with five
// textured areas, one of them skewed with its warped texture stored.
#include "BenchTemplate.h"
#include "document/TemplateFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct Fixture
{
    QTemporaryDir dir;
    QString path;
    BenchTemplate t;

    Fixture()
    {
        path = QDir(dir.path()).filePath("bench.tlm");
        QString error;
        if (!SaveTemplateFile(path, &t.picture, t.areas, &error))
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
        if (!SaveTemplateFile(out, &f.t.picture, f.t.areas, &error))
            state.SkipWithError("save failed");
    }
}

BENCHMARK(BM_OpenTemplate)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveTemplate)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
