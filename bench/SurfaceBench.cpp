#include "WandBench.h"

#include "analysis/MaskOutline.h"
#include "analysis/SurfaceFinder.h"

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
