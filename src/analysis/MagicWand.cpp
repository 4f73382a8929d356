#include "analysis/MagicWand.h"

#include "analysis/SpeckFilter.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{

constexpr std::uint8_t kMatch = 1;
constexpr std::uint8_t kFilled = 2;

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
        int left = x, right = x;
        while (left > 0 && row[left - 1] == kMatch)
            --left;
        while (right + 1 < w && row[right + 1] == kMatch)
            ++right;
        std::memset(row + left, kFilled, std::size_t(right - left + 1));
        const int from = std::max(0, left - 1), to = std::min(w - 1, right + 1);
        for (const int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            const std::uint8_t* next = mask.Row(ny);
            for (int nx = from; nx <= to; ++nx) {
                if (next[nx] != kMatch)
                    continue;
                stack.emplace_back(nx, ny);
                while (nx <= to && next[nx] == kMatch)
                    ++nx;
            }
        }
    }
}

} // namespace

CMagicWand::CMagicWand(QImage picture)
{
    if (picture.isNull())
        return;
    // Plain 32-bit pixels: an exact comparison (tolerance 0) reads them
    // directly, and the colour conversion takes them without copying.
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    m_picture = std::move(picture);
}

void CMagicWand::Prepare() const
{
    if (!m_colours && !m_picture.isNull())
        m_colours = std::make_shared<const CWandColours>(m_picture);
}

void CMagicWand::Match(QPoint seed, int tolerance, CRegionMask& mask) const
{
    const int w = mask.width, h = mask.height;
    if (tolerance >= kMaxTolerance) {
        std::fill(mask.bits.begin(), mask.bits.end(), kMatch);
        return;
    }
    if (tolerance <= 0) {
        // Exactly the clicked colour: the raw pixels, since two colours
        // may share a rounded perceptual value.
        const std::uint32_t opaque = m_picture.format() == QImage::Format_RGB32 ? 0xff000000u : 0u;
        const auto pixel = [&](int x, int y) {
            return reinterpret_cast<const std::uint32_t*>(m_picture.constScanLine(y))[x] | opaque;
        };
        const std::uint32_t target = pixel(seed.x(), seed.y());
        for (int y = 0; y < h; ++y) {
            const auto* in = reinterpret_cast<const std::uint32_t*>(m_picture.constScanLine(y));
            std::uint8_t* out = mask.Row(y);
            for (int x = 0; x < w; ++x)
                out[x] = (in[x] | opaque) == target ? kMatch : 0;
        }
        return;
    }
    Prepare();
    const CWandColours& colours = *m_colours;
    const std::uint32_t target = colours.At(seed.x(), seed.y());
    const std::uint32_t limit = CWandColours::Limit2(tolerance);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* in = colours.Row(y);
        std::uint8_t* out = mask.Row(y);
        for (int x = 0; x < w; ++x)
            out[x] = CWandColours::Distance2(in[x], target) <= limit ? kMatch : 0;
    }
}

CRegionMask CMagicWand::Select(QPoint seed, const SWandOptions& options) const
{
    if (m_picture.isNull() || seed.x() < 0 || seed.y() < 0 || seed.x() >= Width() || seed.y() >= Height())
        return CRegionMask();
    CRegionMask mask(Width(), Height());
    Match(seed, std::clamp(options.tolerance, 0, kMaxTolerance), mask);
    if (options.contiguous) {
        FillFrom(mask, seed.x(), seed.y());
        for (std::uint8_t& b : mask.bits)
            b = b == kFilled;
    }
    if (options.minSpeck > 1)
        DropSpecks(mask, options.minSpeck, seed);
    return mask;
}
