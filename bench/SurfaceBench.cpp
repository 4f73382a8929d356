#include "WandBench.h"

#include "analysis/MaskOutline.h"
#include "analysis/SurfaceFinder.h"
#include "analysis/SurfaceSolver.h"

#include <benchmark/benchmark.h>

// The surface finder from one click, to the finished outline: on a test
// room photograph brought up to 2 megapixels, and on the wand's 24-megapixel
// room.
namespace
{

const QImage& TwoMegapixelRoom()
{
    static const QImage room = QImage(QStringLiteral(TILEMONT_ROOMS "/tiles-table.jpg"))
                                   .scaled(1632, 1224, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return room;
}

void BM_SurfaceClick(benchmark::State& state)
{
    const bool large = state.range(0) == 24;
    const QImage& room = large ? WandRoom() : TwoMegapixelRoom();
    const QPoint at = large ? WandRoomFloorPoint() : QPoint(816, 1020);
    std::size_t pixels = 0, contours = 0;
    for (auto _ : state) {
        const auto region = CSurfaceFinder::Find(room, {at, {}});
        const CPolygon outline = MaskOutline(*region);
        pixels = region->Count();
        contours = outline.contours.size();
    }
    state.counters["pixels"] = double(pixels);
    state.counters["contours"] = double(contours);
}

} // namespace

BENCHMARK(BM_SurfaceClick)->Arg(2)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);

namespace
{

// A further mark of a round: the picture was prepared at its first click,
// so a mark only solves again (three marks: the floor, the table top, and
// "not" the table's leg) and outlines the result.
void BM_SurfaceMark(benchmark::State& state)
{
    const bool large = state.range(0) == 24;
    const QImage& room = large ? WandRoom() : TwoMegapixelRoom();
    const auto prepared = CSurfaceSolver::Prepare(room);
    const double s = large ? double(room.width()) / 1632 : 1.0;
    const auto at = [s](int x, int y) { return QPoint(int(x * s), int(y * s)); };
    const QPoint floor = large ? WandRoomFloorPoint() : QPoint(816, 1020);
    const std::vector<SSurfaceMark> marks{{true, {floor}}, {true, {at(663, 344)}}, {false, {at(560, 560)}}};
    std::size_t pixels = 0;
    for (auto _ : state) {
        const auto region = CSurfaceSolver::Solve(*prepared, marks);
        const CPolygon outline = MaskOutline(*region);
        pixels = region->Count();
        benchmark::DoNotOptimize(outline);
    }
    state.counters["pixels"] = double(pixels);
}

} // namespace

BENCHMARK(BM_SurfaceMark)->Arg(2)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);
