#include "TiffOptionsPage.h"

#include "codecs/EncoderGuids.h"
#include "document/UiText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace {

QString DepthCaption(std::int32_t bits)
{
    return CUiText::Counted(CTiffOptionsPage::tr("%n bit(s)", nullptr, bits), bits);
}

} // namespace

CTiffOptionsPage::CTiffOptionsPage(QWidget* parent)
    : CTiffOptionsPage(EncoderParameters(QStringLiteral("image/tiff")), parent)
{
}

CTiffOptionsPage::CTiffOptionsPage(const std::vector<CEncoderParameterInfo>& params, QWidget* parent)
    : COptionsPage(parent)
{
    m_pCompressionList = new QComboBox(this);
    m_pColorDepthList = new QComboBox(this);
    auto* compressionLabel = new QLabel(tr("Compression:"), this);
    compressionLabel->setBuddy(m_pCompressionList);
    auto* depthLabel = new QLabel(tr("Color depth:"), this);
    depthLabel->setBuddy(m_pColorDepthList);

    FillList(m_pCompressionList, FindParameter(params, EncoderGuid::kCompression, kValueTypeLong),
             [](std::int32_t value) {
                 return NamedValue(value, {{kCompressionLzw, QT_TRANSLATE_NOOP("COptionsPage", "LZW")},
                                           {kCompressionCcitt3, QT_TRANSLATE_NOOP("COptionsPage", "CCITT Group 3")},
                                           {kCompressionCcitt4, QT_TRANSLATE_NOOP("COptionsPage", "CCITT Group 4")},
                                           {kCompressionRle, QT_TRANSLATE_NOOP("COptionsPage", "RLE")},
                                           {kCompressionNone, QT_TRANSLATE_NOOP("COptionsPage", "none")}});
             });
    FillList(m_pColorDepthList, FindParameter(params, EncoderGuid::kColorDepth, kValueTypeLong), DepthCaption);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(compressionLabel, 0, 0);
    grid->addWidget(m_pCompressionList, 0, 1);
    grid->addWidget(depthLabel, 1, 0);
    grid->addWidget(m_pColorDepthList, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
}

void CTiffOptionsPage::Restore(std::int32_t compression, std::int32_t colorDepth)
{
    ChooseValue(m_pCompressionList, compression);
    ChooseValue(m_pColorDepthList, colorDepth);
}

bool CTiffOptionsPage::BuildEncoderParameters(CEncoderParameters& params, QString& /*message*/)
{
    params = {{EncoderGuid::kCompression, ChosenValue(m_pCompressionList)},
              {EncoderGuid::kColorDepth, ChosenValue(m_pColorDepthList)}};
    return true;
}
