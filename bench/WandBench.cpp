#include "WandBench.h"

#include "analysis/MagicWand.h"
#include "analysis/MaskOutline.h"
#include "view/WandPreview.h"

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

// A click with the picture's wand made for it, as the command line does.
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

// A click on a wand kept with the picture, as the editor does; contiguous
// (1) and over the whole picture (0).
void BM_WandClick(benchmark::State& state)
{
    const CMagicWand wand(WandRoom());
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
void BM_WandMatch(benchmark::State& state)
{
    const CMagicWand wand(WandRoom());
    for (auto _ : state)
        benchmark::DoNotOptimize(wand.Select(WandRoomFloorPoint(), {32, false, 0}).bits.data());
}

void BM_WandFill(benchmark::State& state)
{
    const CMagicWand wand(WandRoom());
    for (auto _ : state)
        benchmark::DoNotOptimize(wand.Select(WandRoomFloorPoint(), {32, true, 0}).bits.data());
}

void BM_WandOutline(benchmark::State& state)
{
    const CMagicWand wand(WandRoom());
    const CRegionMask region = wand.Select(WandRoomFloorPoint(), SWandOptions());
    for (auto _ : state)
        benchmark::DoNotOptimize(MaskOutline(region).contours.data());
}

// One frame of a tolerance drag: the region on the reduced picture and its
// tint, as the tool shows it while the button is held.
void BM_WandDragFrame(benchmark::State& state)
{
    CWandPreview preview;
    preview.SetPicture(&WandRoom());
    SWandOptions options;
    int step = 0;
    for (auto _ : state) {
        options.tolerance = 24 + step++ % 16;
        benchmark::DoNotOptimize(preview.Overlay(WandRoomFloorPoint(), options).constBits());
    }
    state.counters["reduction"] = preview.Reduction();
}

} // namespace

BENCHMARK(BM_WandClickOpenCV)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WandClickFirst)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_WandClick)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WandDragFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_WandMatch)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_WandFill)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_WandOutline)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
