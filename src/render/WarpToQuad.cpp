#include "render/WarpToQuad.h"

#include "render/WarpKernels.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// Output stability rests on three things kept apart below: the position of a
// sample is computed only in 32-bit floats, in one fixed evaluation order
// (the library is built without fused multiply-add contraction); samples are
// folded into a pixel strictly in grid order; and the running mean is exact
// integer arithmetic (RunningMean.h). Everything else (tables, threads,
// the vector kernels of WarpKernels.h) only reorganises work without
// touching a result.

namespace
{

// Samples per inner chunk: the per-sample keys of one chunk stay in L1.
constexpr int kChunk = 2048;
// Column tables longer than this are rebuilt per chunk instead of held whole.
constexpr std::int64_t kMaxTableColumns = std::int64_t(1) << 20;
// Below this many samples a second thread costs more than it saves.
constexpr std::int64_t kMinSamplesPerThread = std::int64_t(1) << 19;
constexpr int kMaxThreads = 4;

struct WarpSetup
{
    int W = 0, H = 0;               // output box
    int Ws = 0, Hs = 0;             // source size
    // Both buffers are stored column by column: along a grid row the
    // samples run down a source column and (roughly) down an output column,
    // and row-major images would make every sample touch a new cache line.
    const std::uint32_t* src = nullptr; // texel (x, y) at src[x * Hs + y]
    std::uint32_t* cells = nullptr;     // pixel (x, y) at cells[x * H + y]
    WarpKernels kernels{};

    // Corner differences as floats, named after the corners they join
    // (x21 = x2 - x1), and kx = maxX - x2, ky = maxY - y2.
    float x21 = 0, x30 = 0, x23 = 0, kx = 0;
    float y23 = 0, y10 = 0, y21 = 0, ky = 0;
    float U = 0, V = 0;             // sample counts as floats
    std::int64_t nU = 0, nV = 0;    // number of grid columns / rows
};

float EdgeLength(std::int64_t dx, std::int64_t dy)
{
    const float fx = static_cast<float>(dx);
    const float fy = static_cast<float>(dy);
    return std::sqrt(fx * fx + fy * fy);
}

// Number of k = 0, 1, 2, ... with float(k) < limit, i.e. the iterations of a
// loop that compares its integer counter against a float bound.
std::int64_t CountBelow(float limit)
{
    if (!(limit > 0.0f))
        return 0;
    std::int64_t n = static_cast<std::int64_t>(std::ceil(static_cast<double>(limit)));
    while (n > 0 && static_cast<float>(n - 1) >= limit)
        --n;
    while (static_cast<float>(n) < limit)
        ++n;
    return n;
}

// Per-column quantities: they depend on t = j / U only.
struct ColumnTables
{
    std::vector<float> t, a, b;   // t, (1-t)(x2-x1) + t(x3-x0), t(x2-x3)
    std::vector<std::int32_t> row; // source row trunc(Hs * t)

    void Resize(std::size_t n)
    {
        t.resize(n);
        a.resize(n);
        b.resize(n);
        row.resize(n);
    }

    void Fill(const WarpSetup& w, std::int64_t j0, int count)
    {
        const float fHs = static_cast<float>(w.Hs);
        for (int k = 0; k < count; ++k) {
            const float tj = static_cast<float>(j0 + k) / w.U;
            t[k] = tj;
            a[k] = (1.0f - tj) * w.x21 + tj * w.x30;
            b[k] = tj * w.x23;
            row[k] = std::min(static_cast<int>(fHs * tj), w.Hs - 1);
        }
    }
};

// Per-thread buffers, allocated before any thread starts so that running
// out of memory surfaces on the calling thread.
struct BandScratch
{
    ColumnTables local;
    std::vector<std::int32_t> keys;
};

// Walks the whole sample grid in order and folds in the samples whose column
// lies in [bandX0, bandX1). Bands never share a pixel, so every pixel still
// sees its samples in grid order.
void WarpBand(const WarpSetup& w, const ColumnTables* whole, BandScratch* scratch,
              int bandX0, int bandX1)
{
    if (bandX1 <= bandX0)
        return;
    ColumnTables& local = scratch->local;
    std::vector<std::int32_t>& keys = scratch->keys;

    const float fWs = static_cast<float>(w.Ws);
    const float tLast = static_cast<float>(w.nU - 1) / w.U;
    const double magnitudeA = std::fabs(double(w.x21)) + std::fabs(double(w.x30));

    for (std::int64_t i = 0; i < w.nV; ++i) {
        const float s = static_cast<float>(i) / w.V;
        const float c = (1.0f - s) * w.y23 + s * w.y10;
        const float d = s * w.y21;

        // X is linear in t along a grid row, so its float values stay within
        // rounding error of the segment between the row's end points.
        const auto rowX = [&](double tv) {
            return double(s) * ((1.0 - tv) * w.x21 + tv * w.x30) + w.kx + tv * w.x23;
        };
        const double xa = rowX(0.0), xb = rowX(tLast);
        const double margin = 2.0
            + 1e-5 * (double(s) * magnitudeA + std::fabs(double(w.kx)) + std::fabs(double(w.x23)));
        if (std::max(xa, xb) + margin < bandX0 || std::min(xa, xb) - margin >= bandX1)
            continue;

        const int column = std::min(static_cast<int>(fWs * s), w.Ws - 1);
        const std::uint32_t* srcColumn = w.src + static_cast<std::int64_t>(column) * w.Hs;

        for (std::int64_t j0 = 0; j0 < w.nU; j0 += kChunk) {
            const int count = static_cast<int>(std::min<std::int64_t>(kChunk, w.nU - j0));
            const ColumnTables* tables = whole;
            std::int64_t base = j0;
            if (!whole) {
                local.Fill(w, j0, count);
                tables = &local;
                base = 0;
            }
            w.kernels.computeKeys(tables->a.data() + base, tables->b.data() + base,
                                  tables->t.data() + base, count, s, w.kx, w.ky, c, d, bandX0,
                                  bandX1 - bandX0, w.H, keys.data());
            w.kernels.fold(keys.data(), tables->row.data() + base, count, srcColumn, w.cells);
        }
    }
}

// Splits the output columns into bands of about equal sample load, estimated
// from where each grid row starts and ends.
std::vector<int> PlanBands(const WarpSetup& w, int threads)
{
    const float tLast = static_cast<float>(w.nU - 1) / w.U;
    std::vector<double> load(static_cast<std::size_t>(w.W) + 1, 0.0);
    const std::int64_t step = std::max<std::int64_t>(1, w.nV / 4096);
    for (std::int64_t i = 0; i < w.nV; i += step) {
        const double s = static_cast<float>(i) / w.V;
        const auto rowX = [&](double tv) {
            return s * ((1.0 - tv) * w.x21 + tv * w.x30) + w.kx + tv * w.x23;
        };
        double x0 = rowX(0.0), x1 = rowX(tLast);
        if (x0 > x1)
            std::swap(x0, x1);
        const int c0 = static_cast<int>(std::clamp(x0, 0.0, double(w.W - 1)));
        const int c1 = static_cast<int>(std::clamp(x1, 0.0, double(w.W - 1)));
        const double share = 1.0 / (c1 - c0 + 1);
        load[c0] += share;
        load[c1 + 1] -= share;
    }
    double running = 0.0, total = 0.0;
    for (int x = 0; x < w.W; ++x) {
        running += load[x];
        load[x] = running;
        total += running;
    }

    std::vector<int> bounds{0};
    double accumulated = 0.0;
    int x = 0;
    for (int band = 1; band < threads; ++band) {
        const double target = total * band / threads;
        while (x < w.W && accumulated + load[x] <= target)
            accumulated += load[x++];
        // Whole cache lines per band where the row stride allows it.
        int cut = (x + 8) / 16 * 16;
        cut = std::clamp(cut, bounds.back(), w.W);
        bounds.push_back(cut);
    }
    bounds.push_back(w.W);
    return bounds;
}

int ChooseThreads(int requested, const WarpSetup& w)
{
    if (requested > 0)
        return std::min(requested, 64);
    const std::int64_t samples = w.nU * w.nV;
    const int hardware = static_cast<int>(std::thread::hardware_concurrency());
    const std::int64_t bySize = samples / kMinSamplesPerThread;
    return static_cast<int>(std::clamp<std::int64_t>(
        std::min<std::int64_t>(bySize, std::min(hardware, kMaxThreads)), 1, kMaxThreads));
}

void RunWarp(const WarpSetup& w, int requestedThreads)
{
    ColumnTables whole;
    const bool holdWhole = w.nU <= kMaxTableColumns;
    if (holdWhole) {
        whole.Resize(static_cast<std::size_t>(w.nU));
        whole.Fill(w, 0, static_cast<int>(w.nU));
    }
    const ColumnTables* tables = holdWhole ? &whole : nullptr;

    int threads = ChooseThreads(requestedThreads, w);
    if (threads > w.W)
        threads = std::max(1, w.W);
    std::vector<BandScratch> scratch(static_cast<std::size_t>(threads));
    for (BandScratch& own : scratch) {
        if (!holdWhole)
            own.local.Resize(kChunk);
        own.keys.resize(kChunk);
    }
    if (threads == 1) {
        WarpBand(w, tables, &scratch[0], 0, w.W);
        return;
    }

    const std::vector<int> bounds = PlanBands(w, threads);
    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(threads));
    int band = 1;
    for (; band < threads; ++band) {
        try {
            workers.emplace_back(WarpBand, std::cref(w), tables, &scratch[band], bounds[band],
                                 bounds[band + 1]);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the calling thread takes the rest
        }
    }
    for (int rest = band; rest < threads; ++rest)
        WarpBand(w, tables, &scratch[rest], bounds[rest], bounds[rest + 1]);
    WarpBand(w, tables, &scratch[0], bounds[0], bounds[1]);
    for (std::thread& worker : workers)
        worker.join();
}

// to[c * toStride + r] = from[r * fromStride + c] | mask over a rows x cols
// block, in tiles that keep both sides in cache.
void Transpose(const std::uint32_t* from, std::int64_t fromStride, int rows, int cols,
               std::uint32_t* to, std::int64_t toStride, std::uint32_t mask)
{
    constexpr int kTile = 32;
    for (int r0 = 0; r0 < rows; r0 += kTile) {
        const int r1 = std::min(rows, r0 + kTile);
        for (int c0 = 0; c0 < cols; c0 += kTile) {
            const int c1 = std::min(cols, c0 + kTile);
            for (int c = c0; c < c1; ++c) {
                std::uint32_t* line = to + c * toStride;
                for (int r = r0; r < r1; ++r)
                    line[r] = from[r * fromStride + c] | mask;
            }
        }
    }
}

} // namespace

QImage WarpToQuad(const QImage& source, const std::array<QPoint, 4>& corners)
{
    return WarpToQuad(source, corners, WarpOptions());
}

QImage WarpToQuad(const QImage& source, const std::array<QPoint, 4>& corners,
                  const WarpOptions& options)
{
    std::int64_t x[4], y[4];
    for (int k = 0; k < 4; ++k) {
        x[k] = corners[k].x();
        y[k] = corners[k].y();
    }
    const std::int64_t minX = std::min({x[0], x[1], x[2], x[3]});
    const std::int64_t maxX = std::max({x[0], x[1], x[2], x[3]});
    const std::int64_t minY = std::min({y[0], y[1], y[2], y[3]});
    const std::int64_t maxY = std::max({y[0], y[1], y[2], y[3]});
    const std::int64_t W = maxX - minX + 1;
    const std::int64_t H = maxY - minY + 1;
    if (W > kWarpMaxPixels || H > kWarpMaxPixels || W * H > kWarpMaxPixels)
        return QImage();

    WarpSetup w;
    w.W = static_cast<int>(W);
    w.H = static_cast<int>(H);
    const float V = 4.0f * std::max(EdgeLength(x[2] - x[1], y[2] - y[1]),
                                    EdgeLength(x[3] - x[0], y[3] - y[0]));
    const float U = 4.0f * std::max(EdgeLength(x[1] - x[0], y[1] - y[0]),
                                    EdgeLength(x[2] - x[3], y[2] - y[3]));
    w.U = U;
    w.V = V;
    w.nU = CountBelow(U);
    w.nV = CountBelow(V);
    if (w.nU > 0 && w.nV > kWarpMaxSamples / w.nU)
        return QImage();

    QImage out(w.W, w.H, QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    auto* outBits = reinterpret_cast<std::uint32_t*>(out.bits());
    const std::int64_t outStride = out.bytesPerLine() / 4;

    QImage rgb;
    if (!source.isNull() && source.width() > 0 && source.height() > 0)
        rgb = source.format() == QImage::Format_RGB32 ? source
                                                      : source.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull() || w.nU == 0 || w.nV == 0) {
        out.fill(0xFF000000u);
        return out;
    }

    w.Ws = rgb.width();
    w.Hs = rgb.height();
    // All differences are bounded by the box size checked above, so they
    // are exact before their conversion to float.
    w.x21 = static_cast<float>(x[2] - x[1]);
    w.x30 = static_cast<float>(x[3] - x[0]);
    w.x23 = static_cast<float>(x[2] - x[3]);
    w.kx = static_cast<float>(maxX - x[2]);
    w.y23 = static_cast<float>(y[2] - y[3]);
    w.y10 = static_cast<float>(y[1] - y[0]);
    w.y21 = static_cast<float>(y[2] - y[1]);
    w.ky = static_cast<float>(maxY - y[2]);
    w.kernels = SelectWarpKernels(options.portableKernels);
    try {
        std::vector<std::uint32_t> columns(static_cast<std::size_t>(w.Ws) * w.Hs);
        Transpose(reinterpret_cast<const std::uint32_t*>(rgb.constBits()), rgb.bytesPerLine() / 4,
                  w.Hs, w.Ws, columns.data(), w.Hs, 0u);
        std::vector<std::uint32_t> cells(static_cast<std::size_t>(W * H), 0u);
        w.src = columns.data();
        w.cells = cells.data();
        RunWarp(w, options.threads);
        // Hit counts out, opaque alpha in.
        Transpose(cells.data(), w.H, w.W, w.H, outBits, outStride, 0xFF000000u);
    } catch (const std::bad_alloc&) {
        return QImage();
    }
    return out;
}
