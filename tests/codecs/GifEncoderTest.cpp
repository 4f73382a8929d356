#include "EncoderTestImages.h"
#include "codecs/GifEncoder.h"

#include <cstring>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <memory>

using namespace EncoderTestImages;

namespace {

// What giflib itself makes of a file: the first frame's colours, resolved
// through its local or global colour map.
struct GifContents
{
    bool ok = false;
    int width = 0, height = 0;
    int mapSize = 0;
    std::vector<QRgb> pixels;

    QRgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct Reader
{
    const QByteArray* bytes;
    qsizetype position = 0;
};

int ReadFromArray(GifFileType* gif, GifByteType* out, int length)
{
    auto* reader = static_cast<Reader*>(gif->UserData);
    const qsizetype n = std::min<qsizetype>(length, reader->bytes->size() - reader->position);
    std::memcpy(out, reader->bytes->constData() + reader->position, static_cast<size_t>(n));
    reader->position += n;
    return static_cast<int>(n);
}

GifContents ReadGif(const QByteArray& bytes)
{
    GifContents out;
    Reader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromArray, &error);
    if (!gif)
        return out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1) {
        const SavedImage& frame = gif->SavedImages[0];
        const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
        if (map) {
            out.width = frame.ImageDesc.Width;
            out.height = frame.ImageDesc.Height;
            out.mapSize = map->ColorCount;
            out.ok = true;
            for (int i = 0; i < out.width * out.height; ++i) {
                const int index = frame.RasterBits[i];
                if (index >= map->ColorCount) {
                    out.ok = false;
                    break;
                }
                const GifColorType c = map->Colors[index];
                out.pixels.push_back(qRgb(c.Red, c.Green, c.Blue));
            }
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

TEST(GifEncoder, FewColoursAreKeptExactly)
{
    const Quadrants colours{qRgb(255, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 255), qRgb(17, 34, 51)};
    constexpr int w = 45, h = 31;
    QString error;
    const auto bytes = CGifEncoder().Encode(QuadrantImage(w, h, colours), {}, &error);
    ASSERT_TRUE(bytes) << error.toStdString();
    EXPECT_TRUE(bytes->startsWith("GIF8"));
    const GifContents gif = ReadGif(*bytes);
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.width, w);
    ASSERT_EQ(gif.height, h);
    EXPECT_LE(gif.mapSize, 256);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(gif.At(x, y), QuadrantAt(x, y, w, h, colours)) << x << "," << y;
    }
}

TEST(GifEncoder, ManyColoursFitA256EntryMapAndStayClose)
{
    const QImage source = NoiseImage(160, 120);
    const auto bytes = CGifEncoder().Encode(source, {}, nullptr);
    ASSERT_TRUE(bytes);
    const GifContents gif = ReadGif(*bytes);
    ASSERT_TRUE(gif.ok);
    EXPECT_LE(gif.mapSize, 256);
    // Error diffusion keeps the average colour of a neighbourhood.
    for (int by = 0; by < 120; by += 20) {
        for (int bx = 0; bx < 160; bx += 20) {
            long want[3] = {}, got[3] = {};
            for (int y = by; y < by + 20; ++y) {
                for (int x = bx; x < bx + 20; ++x) {
                    const QRgb s = source.pixel(x, y), g = gif.At(x, y);
                    want[0] += qRed(s), want[1] += qGreen(s), want[2] += qBlue(s);
                    got[0] += qRed(g), got[1] += qGreen(g), got[2] += qBlue(g);
                }
            }
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(got[c] / 400.0, want[c] / 400.0, 6.0) << bx << "," << by << " channel " << c;
        }
    }
}

TEST(GifEncoder, SingleColourAndTransparentImages)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const auto bytes = CGifEncoder().Encode(image, {}, nullptr);
    ASSERT_TRUE(bytes);
    const GifContents gif = ReadGif(*bytes);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.mapSize, 2);  // giflib's smallest map
    for (QRgb p : gif.pixels)
        EXPECT_EQ(p, qRgb(255, 255, 255));
}

TEST(GifEncoder, RefusesSizesTheFormatCannotHold)
{
    QImage wide(70000, 1, QImage::Format_RGB32);
    ASSERT_FALSE(wide.isNull());
    QString error;
    EXPECT_FALSE(CGifEncoder().Encode(wide, {}, &error));
    EXPECT_TRUE(error.contains("65535")) << error.toStdString();
}

} // namespace
