#include "WandBench.h"

#include "analysis/MagicWand.h"
#include "analysis/MaskOutline.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>

// A wand click on the 24-megapixel room against the common way of doing it:
// OpenCV's flood fill (8-connected, a fixed colour range about as wide as
// the wand's default tolerance on this floor) and its contour finder on the
// filled mask, on the same decoded picture.
namespace
{

std::size_t Vertices(const CPolygon& polygon)
{
    std::size_t n = 0;
    for (const CContour& c : polygon.contours)
        n += c.size();
    return n;
}

void BM_WandClickOpenCV(benchmark::State& state)
{
    const QImage& room = WandRoom();
    const cv::Mat bgra(room.height(), room.width(), CV_8UC4, const_cast<uchar*>(room.constBits()),
                       std::size_t(room.bytesPerLine()));
    cv::Mat bgr;
    cv::cvtColor(bgra, bgr, cv::COLOR_BGRA2BGR);
    const QPoint at = WandRoomFloorPoint();
    cv::Mat mask;
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> hierarchy;
    int pixels = 0;
    for (auto _ : state) {
        mask = cv::Mat::zeros(room.height() + 2, room.width() + 2, CV_8U);
        const int range = int(state.range(0));
        pixels = cv::floodFill(bgr, mask, cv::Point(at.x(), at.y()), cv::Scalar(), nullptr,
                               cv::Scalar::all(range), cv::Scalar::all(range),
                               8 | cv::FLOODFILL_MASK_ONLY | cv::FLOODFILL_FIXED_RANGE | (1 << 8));
        cv::findContours(mask(cv::Rect(1, 1, room.width(), room.height())), contours, hierarchy, cv::RETR_CCOMP,
                         cv::CHAIN_APPROX_SIMPLE);
        benchmark::DoNotOptimize(contours.data());
    }
    state.counters["pixels"] = pixels;
    state.counters["contours"] = double(contours.size());
}

// The first click on a picture: the perceptual colours are worked out too.
void BM_WandClickFirst(benchmark::State& state)
{
    const QImage& room = WandRoom();
    CPolygon outline;
    std::size_t pixels = 0;
    for (auto _ : state) {
        const CRegionMask region = CMagicWand(room).Select(WandRoomFloorPoint(), SWandOptions());
        outline = MaskOutline(region);
        pixels = region.Count();
    }
    state.counters["pixels"] = double(pixels);
    state.counters["contours"] = double(outline.contours.size());
    state.counters["vertices"] = double(Vertices(outline));
}

// Any later click: the colours are kept with the picture.
void BM_WandClick(benchmark::State& state)
{
    const CMagicWand wand(WandRoom());
    wand.Prepare();
    SWandOptions options;
    options.contiguous = state.range(0) != 0;
    CPolygon outline;
    std::size_t pixels = 0;
    for (auto _ : state) {
        const CRegionMask region = wand.Select(WandRoomFloorPoint(), options);
        outline = MaskOutline(region);
        pixels = region.Count();
    }
    state.counters["pixels"] = double(pixels);
    state.counters["contours"] = double(outline.contours.size());
}

// The parts on their own.
void BM_WandColours(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CWandColours(WandRoom()).Row(0));
}

void BM_WandOutline(benchmark::State& state)
{
    const CMagicWand wand(WandRoom());
    const CRegionMask region = wand.Select(WandRoomFloorPoint(), SWandOptions());
    for (auto _ : state)
        benchmark::DoNotOptimize(MaskOutline(region).contours.data());
}

} // namespace

BENCHMARK(BM_WandClickOpenCV)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WandClickFirst)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_WandClick)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WandColours)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_WandOutline)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
