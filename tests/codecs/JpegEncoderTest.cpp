#include "EncoderTestImages.h"
#include "codecs/EncoderGuids.h"
#include "codecs/JpegEncoder.h"

#include <gtest/gtest.h>

using namespace EncoderTestImages;

namespace {

const Quadrants kColours{qRgb(255, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
constexpr QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 200, 0), kBlue = qRgb(0, 0, 255),
               kWhite = qRgb(255, 255, 255);

CEncoderParameters Params(int quality, int transformation)
{
    return {{EncoderGuid::kQuality, quality}, {EncoderGuid::kTransformation, transformation}};
}

QImage Decode(const std::optional<QByteArray>& bytes)
{
    if (!bytes)
        return {};
    return QImage::fromData(*bytes, "JPEG");
}

// Checks the colour at the centre of each quadrant, allowing for JPEG loss.
void ExpectQuadrants(const QImage& image, const Quadrants& expected)
{
    const int w = image.width(), h = image.height();
    const int xs[] = {w / 4, 3 * w / 4}, ys[] = {h / 4, 3 * h / 4};
    for (int q = 0; q < 4; ++q) {
        const QRgb got = image.pixel(xs[q % 2], ys[q / 2]);
        EXPECT_LT(ColourDistance(got, expected[q]), 60)
            << "quadrant " << q << " got " << qRed(got) << "," << qGreen(got) << "," << qBlue(got);
    }
}

struct TransformCase
{
    int value;
    int width, height;
    Quadrants expected;
};

TEST(JpegEncoder, TransformationsMovePixelsBeforeEncoding)
{
    // The original is 80 x 40 with red | green over blue | white.
    const QImage source = QuadrantImage(80, 40, kColours);
    const std::vector<TransformCase> cases{
        {kTransformNone, 80, 40, {kRed, kGreen, kBlue, kWhite}},
        {kTransformRotate90, 40, 80, {kBlue, kRed, kWhite, kGreen}},  // clockwise
        {kTransformRotate180, 80, 40, {kWhite, kBlue, kGreen, kRed}},
        {kTransformRotate270, 40, 80, {kGreen, kWhite, kRed, kBlue}},
        {kTransformFlipHorizontal, 80, 40, {kGreen, kRed, kWhite, kBlue}},
        {kTransformFlipVertical, 80, 40, {kBlue, kWhite, kRed, kGreen}},
    };
    CJpegEncoder encoder;
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.value);
        QString error;
        const QImage decoded = Decode(encoder.Encode(source, Params(100, c.value), &error));
        ASSERT_FALSE(decoded.isNull()) << error.toStdString();
        EXPECT_EQ(decoded.size(), QSize(c.width, c.height));
        ExpectQuadrants(decoded, c.expected);
    }
}

TEST(JpegEncoder, SmallRotationSwapsWidthAndHeight)
{
    const QImage decoded = Decode(
        CJpegEncoder().Encode(QuadrantImage(40, 20, kColours), Params(90, kTransformRotate90), nullptr));
    EXPECT_EQ(decoded.size(), QSize(20, 40));
}

TEST(JpegEncoder, EveryReportedParameterValueIsAccepted)
{
    CJpegEncoder encoder;
    const QImage image = QuadrantImage(16, 16, kColours);
    const auto params = encoder.Parameters();
    ASSERT_EQ(params.size(), 2u);
    ASSERT_EQ(params[0].guid, EncoderGuid::kTransformation);
    // The preselected last entry must leave the image as it is.
    EXPECT_EQ(params[0].values.back(), kTransformNone);
    ASSERT_EQ(params[1].guid, EncoderGuid::kQuality);
    ASSERT_EQ(params[1].values.size(), 2u);
    for (std::int32_t t : params[0].values) {
        for (std::int32_t q : params[1].values) {
            QString error;
            EXPECT_TRUE(encoder.Encode(image, Params(q, t), &error).has_value())
                << "transformation " << t << " quality " << q << ": " << error.toStdString();
        }
    }
}

TEST(JpegEncoder, QualityChangesTheFileSizeAndDefaultsTo75)
{
    CJpegEncoder encoder;
    const QImage image = NoiseImage(128, 96);
    const auto low = encoder.Encode(image, Params(10, kTransformNone), nullptr);
    const auto high = encoder.Encode(image, Params(95, kTransformNone), nullptr);
    const auto at75 = encoder.Encode(image, {{EncoderGuid::kQuality, 75}}, nullptr);
    const auto unset = encoder.Encode(image, {}, nullptr);
    const auto minusOne = encoder.Encode(image, Params(-1, -1), nullptr);
    ASSERT_TRUE(low && high && at75 && unset && minusOne);
    EXPECT_LT(low->size() * 2, high->size());
    EXPECT_EQ(*unset, *at75);
    EXPECT_EQ(*minusOne, *at75);
    EXPECT_NE(*at75, *high);
}

TEST(JpegEncoder, RefusesOutOfRangeQualityAndUnknownTransformation)
{
    CJpegEncoder encoder;
    const QImage image = QuadrantImage(8, 8, kColours);
    for (int quality : {101, -2, 1000}) {
        QString error;
        EXPECT_FALSE(encoder.Encode(image, Params(quality, kTransformNone), &error).has_value());
        EXPECT_TRUE(error.contains("quality")) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::number(quality))) << error.toStdString();
    }
    for (int transformation : {1, 12, 18}) {
        QString error;
        EXPECT_FALSE(encoder.Encode(image, Params(80, transformation), &error).has_value());
        EXPECT_TRUE(error.contains("transformation")) << error.toStdString();
    }
}

TEST(JpegEncoder, TransparentPixelsBecomeWhiteAndForeignParametersAreIgnored)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const CEncoderParameters params{{EncoderGuid::kColorDepth, 1}, {EncoderGuid::kQuality, 100}};
    const QImage decoded = Decode(CJpegEncoder().Encode(image, params, nullptr));
    ASSERT_FALSE(decoded.isNull());
    EXPECT_LT(ColourDistance(decoded.pixel(16, 16), kWhite), 10);
}

} // namespace
