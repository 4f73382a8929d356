#include "analysis/PerspectiveFit.h"

#include "../tests/analysis/SyntheticRoom.h"

#include <benchmark/benchmark.h>

namespace
{

// A 24-megapixel photo of a tiled floor with a wall behind: rendered at a
// quarter of the size and enlarged, as rendering 6000 x 4000 rays would
// take longer than the fit.
struct SPhoto
{
    QImage picture;
    CPolygon outline;
};

const SPhoto& Photo()
{
    static const SPhoto photo = [] {
        const CSyntheticRoom room(CSyntheticRoom::SCamera{1500, 1000, 26, 1.5, 25, 30},
                                  CSyntheticRoom::EFloor::Tiles, true);
        SPhoto p;
        p.picture = room.Render().scaled(6000, 4000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        p.outline = room.FloorOutline();
        for (QPointF& v : p.outline.contours.front())
            v *= 4.0;
        return p;
    }();
    return photo;
}

void BM_FitPerspective24MP(benchmark::State& state)
{
    const SPhoto& photo = Photo();
    for (auto _ : state) {
        auto fit = FitPerspective(photo.picture, photo.outline, {});
        if (!fit)
            state.SkipWithError("no fit");
        benchmark::DoNotOptimize(fit);
    }
}
BENCHMARK(BM_FitPerspective24MP)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace
