#include "BenchEnd.h"

#include <QApplication>
#include <benchmark/benchmark.h>

// The image plugins and the view benchmarks want an application object with
// widgets; the offscreen platform keeps the benchmarks free of any display.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    RunBenchEnd();
    return 0;
}
