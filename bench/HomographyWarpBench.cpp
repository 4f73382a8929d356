#include "render/PerspectiveWarp.h"
#include "render/SkewedTexture.h"

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <array>
#include <cmath>
#include <cstdint>

// An area in perspective against the common way of warping a picture: a
// 1000 x 750 canvas of a placed 256 x 256 tile, warped by OpenCV onto a
// quadrilateral filling a 2000 x 1500 block, beside our warp painting the
// same block straight from the tile through the composed homography.
// Scene 0 is a gentle slope, the canvas enlarged everywhere; scene 1 a floor
// reaching far back, its far rows squeezed several times, where our warp
// filters along the footprint and OpenCV's only interpolates.
namespace
{

const QRectF kCanvas(0, 0, 1000, 750);
const QRect kBlock(0, 0, 2000, 1500);

const QImage& Tile()
{
    static const QImage tile = [] {
        QImage image(256, 256, QImage::Format_RGB32);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                image.setPixel(x, y, qRgb((x * 7 + y) & 0xFF, (x ^ y) & 0xFF, ((x / 16 + y / 16) % 2) * 200 + 30));
        return image;
    }();
    return tile;
}

struct Scene
{
    CHomography canvasToPicture;
    CHomography pictureToTexel;
    QImage canvas;
    cv::Mat cvCanvas;
    cv::Mat cvMap; // OpenCV's pixels have their centres on integers
};

Scene MakeScene(const std::array<QPointF, 4>& corners)
{
    Scene s;
    const CHomography placement = TexturePlacement(15, 10, 20, 1.0);
    s.canvasToPicture = *CHomography::FromRect(kCanvas, corners);
    s.pictureToTexel = *placement.Inverted() * *s.canvasToPicture.Inverted();
    s.canvas = WarpPerspective(Tile(), *placement.Inverted(), kCanvas.toRect());
    s.cvCanvas = cv::Mat(s.canvas.height(), s.canvas.width(), CV_8UC4, s.canvas.bits(),
                         std::size_t(s.canvas.bytesPerLine()));
    const CHomography centred = CHomography::Affine(1, 0, 0, 1, -0.5, -0.5) * s.canvasToPicture
        * CHomography::Affine(1, 0, 0, 1, 0.5, 0.5);
    s.cvMap = cv::Mat(3, 3, CV_64F);
    for (int i = 0; i < 9; ++i)
        s.cvMap.at<double>(i / 3, i % 3) = centred[i];
    return s;
}

const Scene& GetScene(std::int64_t which)
{
    static const Scene gentle = MakeScene({QPointF(300, 0), QPointF(1700, 0), QPointF(0, 1500), QPointF(2000, 1500)});
    static const Scene steep = MakeScene({QPointF(850, 0), QPointF(1150, 0), QPointF(0, 1500), QPointF(2000, 1500)});
    return which == 0 ? gentle : steep;
}

void BM_PerspectiveOpenCV(benchmark::State& state)
{
    const Scene& s = GetScene(state.range(0));
    cv::Mat out;
    for (auto _ : state) {
        cv::warpPerspective(s.cvCanvas, out, s.cvMap, cv::Size(kBlock.width(), kBlock.height()), cv::INTER_LINEAR);
        benchmark::DoNotOptimize(out.data);
    }
    state.counters["threads"] = cv::getNumThreads();
}

void BM_PerspectiveOurs(benchmark::State& state)
{
    const Scene& s = GetScene(state.range(0));
    const PerspectiveWarpOptions options{int(state.range(1))};
    for (auto _ : state)
        benchmark::DoNotOptimize(WarpPerspective(Tile(), s.pictureToTexel, kBlock, options));
}

// A frame while a corner is dragged: the same warp at a reduction, as the
// area's preview paints it (reduction 3: the editor's 400 000-pixel preview;
// 2: about a megapixel).
void BM_PerspectivePreview(benchmark::State& state)
{
    const Scene& s = GetScene(state.range(0));
    const int reduction = int(state.range(1));
    const CHomography fromOutput = CHomography::Affine(reduction, 0, 0, reduction, 0, 0);
    const QRect out(0, 0, (kBlock.width() + reduction - 1) / reduction, (kBlock.height() + reduction - 1) / reduction);
    for (auto _ : state)
        benchmark::DoNotOptimize(WarpPerspective(Tile(), s.pictureToTexel * fromOutput, out));
    state.counters["pixels"] = double(out.width()) * out.height();
}

} // namespace

BENCHMARK(BM_PerspectiveOpenCV)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PerspectiveOurs)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PerspectivePreview)->Args({0, 2})->Args({0, 3})->Args({1, 2})->Args({1, 3})->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)
    ->ReportAggregatesOnly(true);
