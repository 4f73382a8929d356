#include "EncoderTestImages.h"
#include "codecs/EncoderGuids.h"
#include "codecs/TiffEncoder.h"

#include <QSet>
#include <QTemporaryFile>
#include <gtest/gtest.h>
#include <tiffio.h>

using namespace EncoderTestImages;

namespace {

// What libtiff itself makes of a file; pixels are RGBA, top row first.
struct TiffContents
{
    bool ok = false;
    uint32_t width = 0, height = 0;
    uint16_t compression = 0, bitsPerSample = 0, samplesPerPixel = 0, photometric = 0;
    std::vector<uint16_t> extraSamples;
    std::vector<uint32_t> pixels;

    QRgb At(int x, int y) const
    {
        const uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        return qRgba(TIFFGetR(p), TIFFGetG(p), TIFFGetB(p), TIFFGetA(p));
    }
};

TiffContents ReadTiff(const QByteArray& bytes)
{
    TiffContents out;
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size())
        return out;
    file.close();
    TIFF* tif = TIFFOpen(file.fileName().toLocal8Bit().constData(), "r");
    if (!tif)
        return out;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &out.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &out.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &out.compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &out.bitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &out.samplesPerPixel);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &out.photometric);
    uint16_t extraCount = 0;
    uint16_t* extra = nullptr;
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extra))
        out.extraSamples.assign(extra, extra + extraCount);
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    out.ok = TIFFReadRGBAImageOriented(tif, out.width, out.height, out.pixels.data(),
                                       ORIENTATION_TOPLEFT, 0) == 1;
    TIFFClose(tif);
    return out;
}

CEncoderParameters Params(int compression, int depth)
{
    return {{EncoderGuid::kCompression, compression}, {EncoderGuid::kColorDepth, depth}};
}

// Black at the top left so that error diffusion (which runs right and down)
// leaves the black and white quadrants untouched at 1 bit.
const Quadrants kColours{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(200, 30, 40), qRgb(20, 60, 230)};

struct Expectation
{
    uint16_t bitsPerSample, samplesPerPixel, photometric;
};

Expectation ExpectedFor(int depth)
{
    switch (depth) {
    case 1:
        return {1, 1, PHOTOMETRIC_MINISWHITE};
    case 4:
        return {4, 1, PHOTOMETRIC_PALETTE};
    case 8:
        return {8, 1, PHOTOMETRIC_PALETTE};
    case 24:
        return {8, 3, PHOTOMETRIC_RGB};
    default:
        return {8, 4, PHOTOMETRIC_RGB};
    }
}

uint16_t ExpectedCompression(int value)
{
    switch (value) {
    case kCompressionLzw:
        return COMPRESSION_LZW;
    case kCompressionCcitt3:
        return COMPRESSION_CCITTFAX3;
    case kCompressionCcitt4:
        return COMPRESSION_CCITTFAX4;
    case kCompressionRle:
        return COMPRESSION_PACKBITS;
    default:
        return COMPRESSION_NONE;
    }
}

bool IsCcitt(int compression)
{
    return compression == kCompressionCcitt3 || compression == kCompressionCcitt4;
}

TEST(TiffEncoder, EveryValidReportedCombinationReadsBackWithLibtiff)
{
    // An odd width exercises partial bytes at 1 and 4 bits; 150 rows span
    // several strips.
    constexpr int w = 37, h = 150;
    const QImage source = QuadrantImage(w, h, kColours);
    CTiffEncoder encoder;
    const auto params = encoder.Parameters();
    ASSERT_EQ(params.size(), 2u);
    int checked = 0;
    for (std::int32_t compression : params[0].values) {
        for (std::int32_t depth : params[1].values) {
            if (IsCcitt(compression) && depth != 1)
                continue;
            SCOPED_TRACE(testing::Message() << "compression " << compression << " depth " << depth);
            QString error;
            const auto bytes = encoder.Encode(source, Params(compression, depth), &error);
            ASSERT_TRUE(bytes) << error.toStdString();
            const TiffContents tiff = ReadTiff(*bytes);
            ASSERT_TRUE(tiff.ok);
            EXPECT_EQ(tiff.width, uint32_t(w));
            EXPECT_EQ(tiff.height, uint32_t(h));
            EXPECT_EQ(tiff.compression, ExpectedCompression(compression));
            const Expectation e = ExpectedFor(depth);
            EXPECT_EQ(tiff.bitsPerSample, e.bitsPerSample);
            EXPECT_EQ(tiff.samplesPerPixel, e.samplesPerPixel);
            EXPECT_EQ(tiff.photometric, e.photometric);
            if (depth == 32) {
                EXPECT_EQ(tiff.extraSamples, std::vector<uint16_t>{EXTRASAMPLE_UNASSALPHA});
            }
            // At 1 bit only the black and white (top) half survives exactly;
            // the other depths hold all four colours without loss.
            const int rows = depth == 1 ? h / 2 : h;
            int wrong = 0;
            for (int y = 0; y < rows; ++y) {
                for (int x = 0; x < w; ++x) {
                    if (tiff.At(x, y) != QuadrantAt(x, y, w, h, kColours))
                        ++wrong;
                }
            }
            EXPECT_EQ(wrong, 0);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 3 * 5 + 2);
}

TEST(TiffEncoder, CcittRefusesDeepColourWithAClearMessage)
{
    CTiffEncoder encoder;
    const QImage image = QuadrantImage(8, 8, kColours);
    for (int compression : {kCompressionCcitt3, kCompressionCcitt4}) {
        for (int depth : {4, 8, 24, 32}) {
            QString error;
            EXPECT_FALSE(encoder.Encode(image, Params(compression, depth), &error).has_value());
            EXPECT_EQ(error, "CCITT compression needs a colour depth of 1 bit.");
        }
        // The default depth is 32, so CCITT alone is refused too.
        EXPECT_FALSE(encoder.Encode(image, {{EncoderGuid::kCompression, compression}}, nullptr));
    }
}

TEST(TiffEncoder, UnknownValuesAreRefused)
{
    CTiffEncoder encoder;
    const QImage image = QuadrantImage(8, 8, kColours);
    QString error;
    EXPECT_FALSE(encoder.Encode(image, Params(1, 24), &error));
    EXPECT_TRUE(error.contains("compression 1")) << error.toStdString();
    EXPECT_FALSE(encoder.Encode(image, Params(7, 24), &error));
    EXPECT_FALSE(encoder.Encode(image, Params(kCompressionNone, 16), &error));
    EXPECT_TRUE(error.contains("depth 16")) << error.toStdString();
    EXPECT_FALSE(encoder.Encode(image, Params(kCompressionNone, 0), &error));
}

TEST(TiffEncoder, DefaultsAreTheLastListedValues)
{
    CTiffEncoder encoder;
    const auto params = encoder.Parameters();
    const QImage image = QuadrantImage(10, 10, kColours);
    const auto unset = encoder.Encode(image, {}, nullptr);
    const auto minusOne = encoder.Encode(image, Params(-1, -1), nullptr);
    const auto last = encoder.Encode(image, Params(params[0].values.back(), params[1].values.back()),
                                     nullptr);
    ASSERT_TRUE(unset && minusOne && last);
    EXPECT_EQ(*unset, *last);
    EXPECT_EQ(*minusOne, *last);
    const TiffContents tiff = ReadTiff(*unset);
    EXPECT_EQ(tiff.compression, COMPRESSION_NONE);
    EXPECT_EQ(tiff.samplesPerPixel, 4);
}

TEST(TiffEncoder, OneBitDithersMidGreyInsteadOfThresholding)
{
    // qGray of this grey is 128: a threshold would turn it all one colour.
    QImage grey(64, 64, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    const auto bytes = CTiffEncoder().Encode(grey, Params(kCompressionCcitt4, 1), nullptr);
    ASSERT_TRUE(bytes);
    const TiffContents tiff = ReadTiff(*bytes);
    ASSERT_TRUE(tiff.ok);
    int black = 0;
    for (uint32_t p : tiff.pixels) {
        const QRgb c = qRgb(TIFFGetR(p), TIFFGetG(p), TIFFGetB(p));
        ASSERT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255));
        black += c == qRgb(0, 0, 0);
    }
    EXPECT_GT(black, 64 * 64 * 40 / 100);
    EXPECT_LT(black, 64 * 64 * 60 / 100);
}

TEST(TiffEncoder, PalettesStayWithinTheirSizeForManyColours)
{
    const QImage noise = NoiseImage(120, 80);
    for (int depth : {4, 8}) {
        SCOPED_TRACE(depth);
        const auto bytes = CTiffEncoder().Encode(noise, Params(kCompressionLzw, depth), nullptr);
        ASSERT_TRUE(bytes);
        const TiffContents tiff = ReadTiff(*bytes);
        ASSERT_TRUE(tiff.ok);
        QSet<uint32_t> distinct(tiff.pixels.begin(), tiff.pixels.end());
        EXPECT_LE(distinct.size(), 1 << depth);
        EXPECT_GT(distinct.size(), (1 << depth) / 2);
    }
}

TEST(TiffEncoder, EveryDepthCompositesOnWhiteAndThirtyTwoBitsIsOpaque)
{
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 0, 255, 0x80));

    const auto rgba = CTiffEncoder().Encode(image, Params(kCompressionLzw, 32), nullptr);
    ASSERT_TRUE(rgba);
    const TiffContents opaque = ReadTiff(*rgba);
    ASSERT_TRUE(opaque.ok);
    EXPECT_EQ(opaque.At(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(opaque.At(3, 1), qRgba(255, 255, 255, 255));
    EXPECT_EQ(qAlpha(opaque.At(1, 0)), 0xFF);
    EXPECT_LT(ColourDistance(opaque.At(1, 0), qRgb(127, 127, 255)), 6);

    const auto rgb = CTiffEncoder().Encode(image, Params(kCompressionRle, 24), nullptr);
    ASSERT_TRUE(rgb);
    const TiffContents flat = ReadTiff(*rgb);
    ASSERT_TRUE(flat.ok);
    EXPECT_EQ(flat.At(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(flat.At(3, 1), qRgb(255, 255, 255));
    EXPECT_LT(ColourDistance(flat.At(1, 0), qRgb(127, 127, 255)), 6);
}

} // namespace
