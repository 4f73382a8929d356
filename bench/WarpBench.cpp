#include "render/WarpToQuad.h"

#include "../tests/render/WarpReference.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{

// A 1000 x 750 canvas with a busy, deterministic pattern.
const QImage& Canvas()
{
    static const QImage canvas = [] {
        QImage image(1000, 750, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = 0xFF000000u | (std::uint32_t(x * 7 + y) & 0xFF) << 16
                    | (std::uint32_t(x ^ y) & 0xFF) << 8 | (std::uint32_t(x * y) & 0xFF);
        }
        return image;
    }();
    return canvas;
}

// Top-left (0,0), top-right (2000,80), bottom-left (60,1500),
// bottom-right (1950,1420), in the warp's order BR, TR, TL, BL.
const std::array<QPoint, 4> kCorners = {QPoint(1950, 1420), QPoint(2000, 80), QPoint(0, 0),
                                        QPoint(60, 1500)};

std::int64_t SampleCount()
{
    const auto length = [](QPoint a, QPoint b) {
        const float dx = float(b.x() - a.x()), dy = float(b.y() - a.y());
        return std::sqrt(dx * dx + dy * dy);
    };
    const float V = 4.0f * std::max(length(kCorners[1], kCorners[2]), length(kCorners[0], kCorners[3]));
    const float U = 4.0f * std::max(length(kCorners[0], kCorners[1]), length(kCorners[3], kCorners[2]));
    std::int64_t nU = 0, nV = 0;
    while (float(nU) < U)
        ++nU;
    while (float(nV) < V)
        ++nV;
    return nU * nV;
}

void Report(benchmark::State& state)
{
    state.counters["samples/s"] = benchmark::Counter(
        double(SampleCount()), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_WarpToQuad(benchmark::State& state)
{
    const QImage& canvas = Canvas();
    for (auto _ : state)
        benchmark::DoNotOptimize(WarpToQuad(canvas, kCorners));
    Report(state);
}

void BM_WarpToQuadOneThread(benchmark::State& state)
{
    const QImage& canvas = Canvas();
    for (auto _ : state)
        benchmark::DoNotOptimize(WarpToQuad(canvas, kCorners, WarpOptions{1, false}));
    Report(state);
}

void BM_WarpToQuadPortableOneThread(benchmark::State& state)
{
    const QImage& canvas = Canvas();
    for (auto _ : state)
        benchmark::DoNotOptimize(WarpToQuad(canvas, kCorners, WarpOptions{1, true}));
    Report(state);
}

void BM_WarpToQuadReference(benchmark::State& state)
{
    const QImage& canvas = Canvas();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReferenceWarpToQuad(canvas, kCorners));
    Report(state);
}

} // namespace

BENCHMARK(BM_WarpToQuad)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WarpToQuadOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WarpToQuadPortableOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_WarpToQuadReference)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);
