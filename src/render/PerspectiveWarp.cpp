#include "render/PerspectiveWarp.h"

#include "render/MipTexture.h"
#include "render/PerspectiveSampler.h"
#include "render/WarpToQuad.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace
{

// Below this many pixels a second thread costs more than it saves.
constexpr std::int64_t kMinPixelsPerThread = 1 << 16;
constexpr int kMaxThreads = 64;
// Rows a thread paints at a time.
constexpr int kBandRows = 8;

// Dragging a corner warps the same texture many times a second: its
// prepared copy is kept for the next frame instead of rebuilt. Keyed on the
// image's cache key, which changes whenever the image does.
std::shared_ptr<const CMipTexture> Prepared(const QImage& texture)
{
    static std::mutex mutex;
    static std::array<std::pair<qint64, std::shared_ptr<const CMipTexture>>, 2> recent;
    const qint64 key = texture.cacheKey();
    {
        std::lock_guard lock(mutex);
        for (const auto& entry : recent)
            if (entry.second && entry.first == key)
                return entry.second;
    }
    auto prepared = std::make_shared<const CMipTexture>(texture);
    std::lock_guard lock(mutex);
    recent[1] = recent[0];
    recent[0] = {key, prepared};
    return prepared;
}

// A map that sends the whole plane to a line or a point (a texture scaled
// to nothing) or holds a number that is not one shows no texture at all.
bool Degenerate(const std::array<double, 9>& m)
{
    for (const double v : m)
        if (!std::isfinite(v))
            return true;
    const double det = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6])
        + m[2] * (m[3] * m[7] - m[4] * m[6]);
    return !(std::fabs(det) > 0) || !std::isfinite(det);
}

int ThreadCount(const PerspectiveWarpOptions& options, const QRect& rect)
{
    const std::int64_t pixels = std::int64_t(rect.width()) * rect.height();
    int n = options.threads;
    if (n <= 0) {
        n = std::max(1u, std::thread::hardware_concurrency());
        n = int(std::min<std::int64_t>(n, std::max<std::int64_t>(1, pixels / kMinPixelsPerThread)));
    }
    return std::clamp(n, 1, std::min(kMaxThreads, rect.height()));
}

} // namespace

QImage WarpPerspective(const QImage& texture, const CHomography& pictureToTexel, const QRect& outRect,
                       const PerspectiveWarpOptions& options)
{
    if (texture.isNull() || texture.width() <= 0 || texture.height() <= 0 || outRect.isEmpty()
        || std::int64_t(outRect.width()) * outRect.height() > kWarpMaxPixels)
        return QImage();
    std::shared_ptr<const CMipTexture> prepared;
    try {
        prepared = Prepared(texture);
    } catch (const std::bad_alloc&) {
        return QImage();
    }
    QImage out(outRect.size(), QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    const auto& m = pictureToTexel.Matrix();
    if (Degenerate(m)) {
        out.fill(prepared->Mean());
        return out;
    }
    const CPerspectiveSampler sampler(*prepared, m);
    // The pixels are reached once here: scanLine() touches the image's
    // bookkeeping on every call, which threads must not do side by side.
    uchar* const bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    const auto paintRows = [&](int first, int last) {
        for (int y = first; y < last; ++y)
            sampler.PaintRow(outRect.x(), outRect.y() + y, outRect.width(),
                             reinterpret_cast<std::uint32_t*>(bits + y * stride));
    };
    // Threads take bands of rows in turn until none is left: the far rows
    // of a floor cost many times what its near rows do, so equal shares
    // of the block would leave one thread working alone.
    const int rows = outRect.height();
    std::atomic<int> nextBand{0};
    const auto paintBands = [&] {
        for (int first = nextBand.fetch_add(kBandRows); first < rows; first = nextBand.fetch_add(kBandRows))
            paintRows(first, std::min(rows, first + kBandRows));
    };
    const int threads = ThreadCount(options, outRect);
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
        try {
            workers.emplace_back(paintBands);
        } catch (const std::system_error&) {
            // No more threads to be had: those there are do the rest.
            break;
        }
    }
    paintBands();
    for (std::thread& worker : workers)
        worker.join();
    return out;
}
