#include "render/TextureBlur.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// One box pass over count texels of four channels each, spaced stride
// apart: out[i] is the mean of the side texels centred on i, read round the
// ends. A running sum makes it one addition and one subtraction per texel.
void BoxPass(const std::uint8_t* in, std::uint8_t* out, int count, int stride, int side)
{
    const int before = side / 2;
    std::uint32_t sum[4] = {0, 0, 0, 0};
    const auto texel = [&](int i) { return in + std::ptrdiff_t(i) * stride; };
    for (int j = -before; j < side - before; ++j)
        for (int c = 0; c < 4; ++c)
            sum[c] += texel((j + count) % count)[c];
    // The texels leaving and entering the window, each wrapping round.
    int leaving = (count - before) % count;
    int entering = (side - before) % count;
    for (int i = 0; i < count; ++i) {
        std::uint8_t* target = out + std::ptrdiff_t(i) * stride;
        for (int c = 0; c < 4; ++c)
            target[c] = static_cast<std::uint8_t>((sum[c] + std::uint32_t(side) / 2) / std::uint32_t(side));
        for (int c = 0; c < 4; ++c)
            sum[c] += std::uint32_t(texel(entering)[c]) - texel(leaving)[c];
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
    QImage source = texture.convertToFormat(format);
    QImage result(source.size(), format);
    if (source.isNull() || result.isNull())
        return QImage();
    const int w = source.width(), h = source.height();
    const int across = std::min(side, w), down = std::min(side, h);
    // Across each row into result, then down each column back into source.
    for (int y = 0; y < h; ++y)
        BoxPass(source.constScanLine(y), result.scanLine(y), w, 4, across);
    std::vector<std::uint8_t> column(std::size_t(h) * 4), averaged(std::size_t(h) * 4);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y)
            std::copy_n(result.constScanLine(y) + std::ptrdiff_t(x) * 4, 4, column.data() + std::size_t(y) * 4);
        BoxPass(column.data(), averaged.data(), h, 4, down);
        for (int y = 0; y < h; ++y)
            std::copy_n(averaged.data() + std::size_t(y) * 4, 4, source.scanLine(y) + std::ptrdiff_t(x) * 4);
    }
    return source;
}
