#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"

#include <gtest/gtest.h>

namespace {

QString ListingFor(const char* mime)
{
    QUuid id;
    if (GetEncoderClsid(mime, &id) < 0)
        return QStringLiteral("<no encoder>");
    return EncoderParameterListing(FindEncoder(id)->Parameters());
}

TEST(ParameterListing, JpegListsTransformationsThenQualityRange)
{
    const QString expected =
        "EncoderTransformation. The GUID is {8D0EB2D1-A58E-4EA8-AA14-108074B7B6F9}.\r\n"
        "   The value type is 4.\r\n"
        "   The number of values is 6.\r\n"
        "Values:13;14;15;16;17;0;\r\n"
        "--------------------------------------\r\n"
        "EncoderQuality. The GUID is {1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}.\r\n"
        "   The value type is 6.\r\n"
        "   The number of values is 1.\r\n"
        "   The minimum possible quality value is 0.\r\n"
        "   The maximum possible quality value is 100.\r\n"
        "--------------------------------------\r\n";
    EXPECT_EQ(ListingFor("image/jpeg").toStdString(), expected.toStdString());
}

TEST(ParameterListing, TiffListsCompressionsThenColourDepths)
{
    const QString expected =
        "EncoderCompression. The GUID is {E09D739D-CCD4-44EE-8EBA-3FBF8BE4FC58}.\r\n"
        "   The value type is 4.\r\n"
        "   The number of values is 5.\r\n"
        "Values:2;3;4;5;6;\r\n"
        "--------------------------------------\r\n"
        "EncoderColorDepth. The GUID is {66087055-AD66-4C7C-9A18-38A2310B8337}.\r\n"
        "   The value type is 4.\r\n"
        "   The number of values is 5.\r\n"
        "Values:1;4;8;24;32;\r\n"
        "--------------------------------------\r\n";
    EXPECT_EQ(ListingFor("image/tiff").toStdString(), expected.toStdString());
}

TEST(ParameterListing, EncodersWithoutParametersGiveEmptyText)
{
    EXPECT_TRUE(ListingFor("image/bmp").isEmpty());
    EXPECT_TRUE(ListingFor("image/gif").isEmpty());
    EXPECT_TRUE(ListingFor("image/png").isEmpty());
    EXPECT_TRUE(EncoderParameterListing({}).isEmpty());
}

TEST(ParameterListing, UnnamedGuidAndOtherValueTypes)
{
    // A lower-case identifier still prints upper-case; a short list prints
    // its values, a range on any parameter still says "quality", and an
    // unknown value type prints only the common lines.
    const QUuid custom{"{a1b2c3d4-0000-4000-8000-00000000abcd}"};
    const std::vector<CEncoderParameterInfo> params{
        {custom, kValueTypeShort, 2, {-1, 7}},
        {EncoderGuid::kColorDepth, kValueTypeLongRange, 1, {1, 48}},
        {EncoderGuid::kSaveFlag, 9, 0, {}},
    };
    const QString expected =
        " The GUID is {A1B2C3D4-0000-4000-8000-00000000ABCD}.\r\n"
        "   The value type is 3.\r\n"
        "   The number of values is 2.\r\n"
        "Values:-1;7;\r\n"
        "--------------------------------------\r\n"
        "EncoderColorDepth. The GUID is {66087055-AD66-4C7C-9A18-38A2310B8337}.\r\n"
        "   The value type is 6.\r\n"
        "   The number of values is 1.\r\n"
        "   The minimum possible quality value is 1.\r\n"
        "   The maximum possible quality value is 48.\r\n"
        "--------------------------------------\r\n"
        "EncoderSaveFlag. The GUID is {292266FC-AC40-47BF-8CFC-A85B89A655DE}.\r\n"
        "   The value type is 9.\r\n"
        "   The number of values is 0.\r\n"
        "--------------------------------------\r\n";
    const QString listing = EncoderParameterListing(params);
    EXPECT_EQ(listing.toStdString(), expected.toStdString());
    EXPECT_TRUE(listing.startsWith(" The GUID is "));
}

TEST(ParameterListing, RangeMissingItsBoundsDoesNotReadPastTheValues)
{
    const QString listing =
        EncoderParameterListing({{EncoderGuid::kQuality, kValueTypeLongRange, 1, {5}}});
    EXPECT_FALSE(listing.contains("possible"));
    EXPECT_TRUE(listing.endsWith("--------------------------------------\r\n"));
}

} // namespace
