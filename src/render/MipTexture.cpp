#include "render/MipTexture.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{

// Which source texels (at most three) each texel of a level half as wide
// covers, and by how much: source n over target m = ceil(n / 2) texels.
struct Taps
{
    std::vector<int> first; // first covered source texel of each target texel
    std::vector<int> count; // 1..3
    std::vector<float> weight; // 3 per target texel, summing to 1
};

Taps AreaTaps(int n, int m)
{
    Taps taps;
    taps.first.resize(std::size_t(m));
    taps.count.resize(std::size_t(m));
    taps.weight.assign(std::size_t(m) * 3, 0.0f);
    const double step = double(n) / double(m);
    for (int i = 0; i < m; ++i) {
        const double a = i * step, b = std::min(double(n), (i + 1) * step);
        const int j0 = int(std::floor(a));
        int k = 0;
        for (int j = j0; j < n && j < b && k < 3; ++j, ++k)
            taps.weight[std::size_t(i) * 3 + std::size_t(k)] =
                float((std::min(b, double(j + 1)) - std::max(a, double(j))) / step);
        taps.first[std::size_t(i)] = j0;
        taps.count[std::size_t(i)] = std::max(1, k);
    }
    return taps;
}

} // namespace

CMipTexture::CMipTexture(const QImage& texture)
{
    if (texture.isNull() || texture.width() <= 0 || texture.height() <= 0)
        return;
    QImage settled(texture.size(), QImage::Format_RGB32);
    if (settled.isNull())
        throw std::bad_alloc();
    settled.fill(Qt::white);
    {
        QPainter painter(&settled);
        painter.drawImage(0, 0, texture);
    }
    Level base;
    base.width = settled.width();
    base.height = settled.height();
    base.texels.resize(std::size_t(base.width) * std::size_t(base.height));
    std::uint64_t sum[3] = {0, 0, 0};
    for (int y = 0; y < base.height; ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(settled.constScanLine(y));
        std::uint32_t* row = base.texels.data() + std::size_t(y) * std::size_t(base.width);
        for (int x = 0; x < base.width; ++x) {
            row[x] = line[x] | 0xFF000000u;
            sum[0] += (line[x] >> 16) & 0xFF;
            sum[1] += (line[x] >> 8) & 0xFF;
            sum[2] += line[x] & 0xFF;
        }
    }
    const std::uint64_t count = std::uint64_t(base.width) * std::uint64_t(base.height);
    const auto mean = [&](int c) { return std::uint32_t((sum[c] + count / 2) / count); };
    m_mean = 0xFF000000u | mean(0) << 16 | mean(1) << 8 | mean(2);
    m_levels.push_back(std::move(base));
    while (m_levels.back().width > 1 || m_levels.back().height > 1)
        AddHalfLevel();
    // The last level is the mean; the exact one, not the chain's rounding of it.
    m_levels.back().texels[0] = m_mean;
}

void CMipTexture::AddHalfLevel()
{
    const Level& src = m_levels.back();
    Level dst;
    dst.width = (src.width + 1) / 2;
    dst.height = (src.height + 1) / 2;
    dst.scaleX = double(dst.width) / double(m_levels.front().width);
    dst.scaleY = double(dst.height) / double(m_levels.front().height);
    dst.texels.resize(std::size_t(dst.width) * std::size_t(dst.height));
    const Taps across = AreaTaps(src.width, dst.width);
    const Taps down = AreaTaps(src.height, dst.height);
    // One target row at a time: its source rows are blended first into a
    // float row, which is then narrowed across.
    std::vector<float> blend(std::size_t(src.width) * 3);
    for (int y = 0; y < dst.height; ++y) {
        std::fill(blend.begin(), blend.end(), 0.0f);
        for (int k = 0; k < down.count[std::size_t(y)]; ++k) {
            const float w = down.weight[std::size_t(y) * 3 + std::size_t(k)];
            const std::uint32_t* row =
                src.texels.data() + std::size_t(down.first[std::size_t(y)] + k) * std::size_t(src.width);
            for (int x = 0; x < src.width; ++x) {
                float* b = blend.data() + std::size_t(x) * 3;
                b[0] += w * float((row[x] >> 16) & 0xFF);
                b[1] += w * float((row[x] >> 8) & 0xFF);
                b[2] += w * float(row[x] & 0xFF);
            }
        }
        std::uint32_t* out = dst.texels.data() + std::size_t(y) * std::size_t(dst.width);
        for (int x = 0; x < dst.width; ++x) {
            float c[3] = {0, 0, 0};
            for (int k = 0; k < across.count[std::size_t(x)]; ++k) {
                const float w = across.weight[std::size_t(x) * 3 + std::size_t(k)];
                const float* b = blend.data() + std::size_t(across.first[std::size_t(x)] + k) * 3;
                c[0] += w * b[0];
                c[1] += w * b[1];
                c[2] += w * b[2];
            }
            const auto channel = [](float v) { return std::uint32_t(std::clamp(v + 0.5f, 0.0f, 255.0f)); };
            out[x] = 0xFF000000u | channel(c[0]) << 16 | channel(c[1]) << 8 | channel(c[2]);
        }
    }
    m_levels.push_back(std::move(dst));
}
