#pragma once

#include "OptionsPage.h"

class QComboBox;

// The TIFF page: the compression and the colour depth, each one of the
// values the encoder offers.
class CTiffOptionsPage : public COptionsPage
{
    Q_OBJECT

public:
    // Built from what the installed TIFF encoder reports.
    explicit CTiffOptionsPage(QWidget* parent = nullptr);
    // Built from params as if an encoder reported them.
    CTiffOptionsPage(const std::vector<CEncoderParameterInfo>& params, QWidget* parent);

    // Nothing to check: both lists hold only values the encoder offers.
    bool BuildEncoderParameters(CEncoderParameters& params, QString& message) override;

    std::int32_t Compression() const { return ChosenValue(m_pCompressionList); }
    std::int32_t ColorDepth() const { return ChosenValue(m_pColorDepthList); }
    // Puts back what an earlier export chose; values this encoder does not
    // offer are not taken.
    void Restore(std::int32_t compression, std::int32_t colorDepth);

    QComboBox* CompressionList() const { return m_pCompressionList; }
    QComboBox* ColorDepthList() const { return m_pColorDepthList; }

private:
    QComboBox* m_pCompressionList;
    QComboBox* m_pColorDepthList;
};
