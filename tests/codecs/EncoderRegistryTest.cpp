#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const QUuid kSentinel{"{01234567-89AB-CDEF-0123-456789ABCDEF}"};

TEST(EncoderRegistry, ListsTheFiveFormatsInFixedOrderWithDistinctIdentifiers)
{
    const auto& encoders = InstalledEncoders();
    ASSERT_EQ(encoders.size(), 5u);
    const QStringList expected{"image/bmp", "image/jpeg", "image/gif", "image/tiff", "image/png"};
    QSet<QUuid> ids;
    for (std::size_t i = 0; i < encoders.size(); ++i) {
        EXPECT_EQ(encoders[i]->MimeType(), expected[static_cast<int>(i)]);
        EXPECT_FALSE(encoders[i]->Clsid().isNull());
        ids.insert(encoders[i]->Clsid());
    }
    EXPECT_EQ(ids.size(), 5);
}

TEST(EncoderRegistry, GetEncoderClsidFindsExactMimeTypeAndReturnsItsIndex)
{
    const QStringList mimes{"image/bmp", "image/jpeg", "image/gif", "image/tiff", "image/png"};
    for (int i = 0; i < mimes.size(); ++i) {
        QUuid id = kSentinel;
        EXPECT_EQ(GetEncoderClsid(mimes[i], &id), i) << mimes[i].toStdString();
        EXPECT_EQ(id, InstalledEncoders()[static_cast<std::size_t>(i)]->Clsid());
        // The identifier leads back to the same encoder.
        EXPECT_EQ(FindEncoder(id), InstalledEncoders()[static_cast<std::size_t>(i)]);
    }
}

TEST(EncoderRegistry, GetEncoderClsidMissLeavesIdentifierUntouched)
{
    for (const QString& mime : {QStringLiteral("image/JPEG"), QStringLiteral("Image/png"),
                                QStringLiteral("image/jpg"), QStringLiteral("image/jpeg "),
                                QStringLiteral("image/"), QString()}) {
        QUuid id = kSentinel;
        EXPECT_EQ(GetEncoderClsid(mime, &id), -1) << mime.toStdString();
        EXPECT_EQ(id, kSentinel) << mime.toStdString();
    }
    QUuid fresh;
    EXPECT_EQ(GetEncoderClsid("image/webp", &fresh), -1);
    EXPECT_TRUE(fresh.isNull());
}

TEST(EncoderRegistry, FindEncoderRejectsUnknownAndNullIdentifiers)
{
    EXPECT_EQ(FindEncoder(QUuid()), nullptr);
    EXPECT_EQ(FindEncoder(kSentinel), nullptr);
    EXPECT_EQ(FindEncoder(EncoderGuid::kQuality), nullptr);
}

TEST(EncoderRegistry, EveryEncoderRefusesAnEmptyImageWithAMessage)
{
    for (const CImageEncoder* encoder : InstalledEncoders()) {
        QString error;
        EXPECT_FALSE(encoder->Encode(QImage(), {}, &error).has_value())
            << encoder->MimeType().toStdString();
        EXPECT_FALSE(error.isEmpty()) << encoder->MimeType().toStdString();
        // A caller that does not want the message must not crash.
        EXPECT_FALSE(encoder->Encode(QImage(), {}, nullptr).has_value());
    }
}

TEST(EncoderGuidNames, NamesTheTenPublishedParametersAndNothingElse)
{
    const std::vector<std::pair<QUuid, QString>> named{
        {EncoderGuid::kCompression, "EncoderCompression"},
        {EncoderGuid::kColorDepth, "EncoderColorDepth"},
        {EncoderGuid::kScanMethod, "EncoderScanMethod"},
        {EncoderGuid::kVersion, "EncoderVersion"},
        {EncoderGuid::kRenderMethod, "EncoderRenderMethod"},
        {EncoderGuid::kQuality, "EncoderQuality"},
        {EncoderGuid::kTransformation, "EncoderTransformation"},
        {EncoderGuid::kLuminanceTable, "EncoderLuminanceTable"},
        {EncoderGuid::kChrominanceTable, "EncoderChrominanceTable"},
        {EncoderGuid::kSaveFlag, "EncoderSaveFlag"},
    };
    for (const auto& [guid, name] : named)
        EXPECT_EQ(EncoderGuid::Name(guid), name);
    EXPECT_TRUE(EncoderGuid::Name(kSentinel).isEmpty());
    EXPECT_TRUE(EncoderGuid::Name(QUuid()).isEmpty());
    // Encoder identifiers are not parameter names.
    EXPECT_TRUE(EncoderGuid::Name(InstalledEncoders()[1]->Clsid()).isEmpty());
}

} // namespace
