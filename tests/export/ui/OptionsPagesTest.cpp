#include "codecs/EncoderGuids.h"
#include "codecs/EncoderRegistry.h"
#include "export/ui/JpegOptionsPage.h"
#include "export/ui/TiffOptionsPage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

namespace {

CEncoderParameterInfo Reported(const QString& mimeType, const QUuid& guid)
{
    QUuid clsid;
    GetEncoderClsid(mimeType, &clsid);
    const CImageEncoder* encoder = FindEncoder(clsid);
    if (!encoder)
        throw std::runtime_error("no encoder for " + mimeType.toStdString());
    for (const CEncoderParameterInfo& info : encoder->Parameters())
        if (info.guid == guid)
            return info;
    throw std::runtime_error("the encoder does not report " + EncoderGuid::Name(guid).toStdString());
}

std::vector<std::int32_t> ItemValues(const QComboBox* list)
{
    std::vector<std::int32_t> values;
    for (int i = 0; i < list->count(); ++i)
        values.push_back(list->itemData(i).toInt());
    return values;
}

// Readable in a failure message, and comparable as a whole.
using Named = std::vector<std::pair<std::string, std::int32_t>>;

Named ByName(const CEncoderParameters& params)
{
    Named named;
    for (const CEncoderParameterValue& p : params)
        named.emplace_back(EncoderGuid::Name(p.guid).toStdString(), p.value);
    return named;
}

Named Expected(const QUuid& first, std::int32_t a, const QUuid& second, std::int32_t b)
{
    return {{EncoderGuid::Name(first).toStdString(), a}, {EncoderGuid::Name(second).toStdString(), b}};
}

// What a page builds, which must succeed.
Named Built(COptionsPage& page)
{
    CEncoderParameters params;
    QString message;
    EXPECT_TRUE(page.BuildEncoderParameters(params, message)) << message.toStdString();
    return ByName(params);
}

// Each list holds exactly what the encoder offers, in its order, with the
// encoder's default (the last) chosen, and every entry shows its number.
void ExpectOffers(const QComboBox* list, const CEncoderParameterInfo& info)
{
    EXPECT_EQ(ItemValues(list), info.values) << EncoderGuid::Name(info.guid).toStdString();
    EXPECT_EQ(list->currentIndex(), list->count() - 1);
    for (int i = 0; i < list->count(); ++i)
        EXPECT_TRUE(list->itemText(i).startsWith(QString::number(info.values[i]))) << list->itemText(i).toStdString();
}

} // namespace

TEST(JpegOptionsPage, StartsFromTheEncodersQualityRangeAndTransformations)
{
    CJpegOptionsPage page;
    EXPECT_TRUE(page.isHidden());
    const CEncoderParameterInfo quality = Reported(QStringLiteral("image/jpeg"), EncoderGuid::kQuality);
    ASSERT_EQ(quality.values.size(), 2u);
    const int max = quality.values[1];
    EXPECT_EQ(std::make_tuple(page.Slider()->minimum(), page.Slider()->maximum(), page.Slider()->value(),
                              page.Slider()->isEnabled(), page.QualityEdit()->text()),
              std::make_tuple(quality.values[0], max, max, true, QString::number(max)));
    ExpectOffers(page.TransformationList(), Reported(QStringLiteral("image/jpeg"), EncoderGuid::kTransformation));
}

TEST(JpegOptionsPage, TheFieldFollowsTheSliderButTypingLeavesTheSliderAlone)
{
    CJpegOptionsPage page;
    page.show();
    QSlider* slider = page.Slider();
    const int start = slider->value();
    QTest::keyClick(slider, Qt::Key_PageDown);
    EXPECT_EQ(slider->value(), start - slider->pageStep());
    EXPECT_EQ(page.QualityEdit()->text(), QString::number(slider->value()));
    EXPECT_EQ(page.Quality(), slider->value());

    const int moved = slider->value();
    page.QualityEdit()->clear();
    QTest::keyClicks(page.QualityEdit(), QStringLiteral("35"));
    EXPECT_EQ(page.QualityEdit()->text(), QStringLiteral("35"));
    EXPECT_EQ(slider->value(), moved);
}

TEST(JpegOptionsPage, BuildsTheQualityAndTransformationOrSaysWhatIsWrong)
{
    CJpegOptionsPage page;
    page.TransformationList()->setCurrentIndex(0);
    const std::int32_t transformation = page.TransformationList()->itemData(0).toInt();
    page.QualityEdit()->setText(QStringLiteral(" 42 "));
    EXPECT_EQ(Built(page), Expected(EncoderGuid::kQuality, 42, EncoderGuid::kTransformation, transformation));

    const QString notInteger = QStringLiteral("Please enter an integer.");
    const QString outOfRange = QStringLiteral("Please enter an integer between 0 and 100.");
    for (const auto& [typed, expected] : std::vector<std::pair<QString, QString>>{
             {QStringLiteral("150"), outOfRange}, {QStringLiteral("-1"), outOfRange},
             {QStringLiteral("abc"), notInteger}, {QStringLiteral("12.5"), notInteger}, {QString(), notInteger}}) {
        page.QualityEdit()->setText(typed);
        CEncoderParameters params;
        QString message;
        EXPECT_FALSE(page.BuildEncoderParameters(params, message));
        EXPECT_EQ(message, expected) << typed.toStdString();
    }
}

TEST(OptionsPages, WithoutReportedValuesTheFieldAloneCountsAndTheEncoderKeepsItsDefaults)
{
    CJpegOptionsPage jpeg({{EncoderGuid::kQuality, kValueTypeLong, 1, {50}}}, nullptr);
    EXPECT_FALSE(jpeg.Slider()->isEnabled());
    EXPECT_EQ(Built(jpeg), Expected(EncoderGuid::kQuality, 100, EncoderGuid::kTransformation, -1));
    CTiffOptionsPage tiff({}, nullptr);
    EXPECT_EQ(Built(tiff), Expected(EncoderGuid::kCompression, -1, EncoderGuid::kColorDepth, -1));
}

TEST(TiffOptionsPage, OffersTheEncodersValuesAndBuildsTheChosenOnes)
{
    CTiffOptionsPage page;
    EXPECT_TRUE(page.isHidden());
    const CEncoderParameterInfo compression = Reported(QStringLiteral("image/tiff"), EncoderGuid::kCompression);
    const CEncoderParameterInfo depth = Reported(QStringLiteral("image/tiff"), EncoderGuid::kColorDepth);
    ExpectOffers(page.CompressionList(), compression);
    ExpectOffers(page.ColorDepthList(), depth);
    EXPECT_EQ(Built(page), Expected(EncoderGuid::kCompression, compression.values.back(), EncoderGuid::kColorDepth,
                                    depth.values.back()));
    page.CompressionList()->setCurrentIndex(0);
    page.ColorDepthList()->setCurrentIndex(1);
    EXPECT_EQ(Built(page),
              Expected(EncoderGuid::kCompression, compression.values[0], EncoderGuid::kColorDepth, depth.values[1]));
}

TEST(OptionsPages, KeepTheirChoicesWhileAnotherFormatIsShown)
{
    QWidget dialog;
    auto* jpeg = new CJpegOptionsPage(&dialog);
    auto* tiff = new CTiffOptionsPage(&dialog);
    dialog.show();
    jpeg->show();
    jpeg->Slider()->setValue(jpeg->Slider()->minimum());
    jpeg->TransformationList()->setCurrentIndex(0);
    jpeg->hide();
    tiff->show();
    tiff->CompressionList()->setCurrentIndex(1);
    tiff->ColorDepthList()->setCurrentIndex(0);
    tiff->hide();

    jpeg->show();
    tiff->show();
    EXPECT_EQ(Built(*jpeg), Expected(EncoderGuid::kQuality, jpeg->Slider()->minimum(), EncoderGuid::kTransformation,
                                     jpeg->TransformationList()->itemData(0).toInt()));
    EXPECT_EQ(Built(*tiff), Expected(EncoderGuid::kCompression, tiff->CompressionList()->itemData(1).toInt(),
                                     EncoderGuid::kColorDepth, tiff->ColorDepthList()->itemData(0).toInt()));
}
