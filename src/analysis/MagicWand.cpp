#include "analysis/MagicWand.h"

#include "analysis/SpeckFilter.h"
#include "analysis/WandMatcher.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

namespace
{

constexpr std::uint8_t kMatch = 1;
constexpr std::uint8_t kFilled = 2;
constexpr std::uint64_t kOnes = 0x0101010101010101ull;

// The first x in [from, end) whose byte is (or, with equal false, is not)
// value, else end; eight bytes at a time over long stretches.
int Next(const std::uint8_t* row, int from, int end, std::uint8_t value, bool equal)
{
    const std::uint64_t pattern = kOnes * value;
    int x = from;
    for (; x + 8 <= end; x += 8) {
        std::uint64_t v;
        std::memcpy(&v, row + x, 8);
        const std::uint64_t diff = v ^ pattern;
        // A zero byte in diff is a byte equal to value.
        const bool found = equal ? ((diff - kOnes) & ~diff & (kOnes << 7)) != 0 : diff != 0;
        if (found)
            break;
    }
    while (x < end && (row[x] == value) != equal)
        ++x;
    return x;
}

// Scan-line fill over the pixels marked kMatch, 8-connected: each span is
// filled whole, then the rows above and below are searched one pixel wider
// on either side for spans that touch it, corners included.
void FillFrom(CRegionMask& mask, int sx, int sy)
{
    const int w = mask.width, h = mask.height;
    std::vector<std::pair<int, int>> stack;
    stack.emplace_back(sx, sy);
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        std::uint8_t* row = mask.Row(y);
        if (row[x] != kMatch)
            continue;
        int left = x;
        while (left > 0 && row[left - 1] == kMatch)
            --left;
        const int right = Next(row, x, w, kMatch, false);
        std::memset(row + left, kFilled, std::size_t(right - left));
        const int from = std::max(0, left - 1), to = std::min(w, right + 1);
        for (const int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            const std::uint8_t* next = mask.Row(ny);
            for (int nx = Next(next, from, to, kMatch, true); nx < to;
                 nx = Next(next, Next(next, nx, to, kMatch, false), to, kMatch, true))
                stack.emplace_back(nx, ny);
        }
    }
}

// Runs rows(first, last) over bands of rows on every core.
template <typename Rows>
void InBands(int height, const Rows& rows)
{
    constexpr int kBandRows = 64;
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int first = next.fetch_add(kBandRows); first < height; first = next.fetch_add(kBandRows))
            rows(first, std::min(height, first + kBandRows));
    };
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
    std::vector<std::thread> workers;
    for (int i = 1; i < threads && i * kBandRows < height; ++i) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            // No more threads to be had: those there are do the rest.
            break;
        }
    }
    work();
    for (std::thread& worker : workers)
        worker.join();
}

} // namespace

CMagicWand::CMagicWand(QImage picture)
{
    if (picture.isNull())
        return;
    // Plain 32-bit pixels, read directly.
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    m_picture = std::move(picture);
}

void CMagicWand::Match(QPoint seed, int tolerance, CRegionMask& mask) const
{
    const bool opaque = m_picture.format() == QImage::Format_RGB32;
    // Pixels are read once here: scanLine() touches the image's bookkeeping,
    // which threads must not do side by side.
    const uchar* const bits = m_picture.constBits();
    const qsizetype stride = m_picture.bytesPerLine();
    const auto row = [&](int y) { return reinterpret_cast<const std::uint32_t*>(bits + y * stride); };
    const CWandMatcher matcher(row(seed.y())[seed.x()] | (opaque ? 0xff000000u : 0u), tolerance);
    InBands(mask.height, [&](int first, int last) {
        for (int y = first; y < last; ++y)
            matcher.MatchRow(row(y), mask.width, opaque, mask.Row(y));
    });
}

CRegionMask CMagicWand::Select(QPoint seed, const SWandOptions& options) const
{
    if (m_picture.isNull() || seed.x() < 0 || seed.y() < 0 || seed.x() >= Width() || seed.y() >= Height())
        return CRegionMask();
    CRegionMask mask(Width(), Height());
    Match(seed, std::clamp(options.tolerance, 0, kMaxTolerance), mask);
    if (options.contiguous) {
        FillFrom(mask, seed.x(), seed.y());
        // Filled (2) becomes 1, merely matching (1) and outside 0.
        for (std::uint8_t& b : mask.bits)
            b = std::uint8_t(b >> 1);
        // One island by construction: only holes can be specks.
        FillHoles(mask, options.minSpeck);
    } else {
        DropSpecks(mask, options.minSpeck, seed);
    }
    return mask;
}
