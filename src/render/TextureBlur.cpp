#include "render/TextureBlur.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Division of the window sums by the window's size, rounded: a multiply and
// a shift instead of a division per channel. Exact while the sums stay below
// 256 times the divisor and the divisor below 4096 (kMaxSide).
constexpr int kMaxSide = 4095;

class CWindowMean
{
public:
    explicit CWindowMean(int side)
        : m_half(std::uint64_t(side) / 2), m_factor(((std::uint64_t(1) << 32) + std::uint64_t(side) - 1) / side)
    {
    }
    std::uint8_t operator()(std::uint32_t sum) const
    {
        return static_cast<std::uint8_t>(((sum + m_half) * m_factor) >> 32);
    }

private:
    std::uint64_t m_half;
    std::uint64_t m_factor;
};

// The index i steps back or forward round a period of count.
int Wrap(int i, int count)
{
    return ((i % count) + count) % count;
}

// One row, four channels a texel: out[i] is the mean of the side texels
// centred on i (one more before than after for an even side), read round the
// ends. A running sum makes it one addition and one subtraction per texel.
void RowPass(const std::uint8_t* in, std::uint8_t* out, int count, int side)
{
    const CWindowMean mean(side);
    const int before = side / 2;
    std::uint32_t sum[4] = {0, 0, 0, 0};
    for (int j = -before; j < side - before; ++j)
        for (int c = 0; c < 4; ++c)
            sum[c] += in[4 * Wrap(j, count) + c];
    int leaving = Wrap(-before, count), entering = Wrap(side - before, count);
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < 4; ++c) {
            out[4 * i + c] = mean(sum[c]);
            sum[c] += std::uint32_t(in[4 * entering + c]) - in[4 * leaving + c];
        }
        leaving = leaving + 1 == count ? 0 : leaving + 1;
        entering = entering + 1 == count ? 0 : entering + 1;
    }
}

} // namespace

QImage BlurRepeatingTexture(const QImage& texture, int side)
{
    if (side <= 1 || texture.isNull())
        return texture;
    // Premultiplied, so that a transparent texel's colour weighs nothing.
    const QImage::Format format =
        texture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage source = texture.convertToFormat(format);
    QImage across(source.size(), format);
    QImage result(source.size(), format);
    if (source.isNull() || across.isNull() || result.isNull())
        return QImage();
    const int w = source.width(), h = source.height();
    const int sideAcross = std::min({side, w, kMaxSide}), sideDown = std::min({side, h, kMaxSide});
    for (int y = 0; y < h; ++y)
        RowPass(source.constScanLine(y), across.scanLine(y), w, sideAcross);

    // Down the columns, whole rows at a time: the window's sums for every
    // column, moved one row on by adding the row entering and taking away
    // the row leaving.
    const CWindowMean mean(sideDown);
    const int before = sideDown / 2;
    const std::size_t channels = std::size_t(w) * 4;
    std::vector<std::uint32_t> sums(channels, 0);
    for (int j = -before; j < sideDown - before; ++j) {
        const std::uint8_t* row = across.constScanLine(Wrap(j, h));
        for (std::size_t k = 0; k < channels; ++k)
            sums[k] += row[k];
    }
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = result.scanLine(y);
        const std::uint8_t* entering = across.constScanLine(Wrap(y - before + sideDown, h));
        const std::uint8_t* leaving = across.constScanLine(Wrap(y - before, h));
        for (std::size_t k = 0; k < channels; ++k) {
            out[k] = mean(sums[k]);
            sums[k] += std::uint32_t(entering[k]) - leaving[k];
        }
    }
    return result;
}
