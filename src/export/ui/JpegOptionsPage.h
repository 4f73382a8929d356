#pragma once

#include "OptionsPage.h"

class QComboBox;
class QLineEdit;
class QSlider;

// The JPEG page: the quality, typed or set with a slider over the range the
// encoder accepts, and a turn or mirror of the exported image.
class CJpegOptionsPage : public COptionsPage
{
    Q_OBJECT

public:
    static constexpr int kMaxQuality = 100;

    // Built from what the installed JPEG encoder reports.
    explicit CJpegOptionsPage(QWidget* parent = nullptr);
    // Built from params as if an encoder reported them.
    CJpegOptionsPage(const std::vector<CEncoderParameterInfo>& params, QWidget* parent);

    // The quality must be a whole number from 0 to kMaxQuality.
    bool BuildEncoderParameters(CEncoderParameters& params, QString& message) override;

    // The quality last read from the field or set with the slider.
    int Quality() const { return m_nQuality; }
    // The chosen transformation; -1 when the encoder offers none.
    std::int32_t Transformation() const { return ChosenValue(m_pTransformationList); }
    // Puts back what an earlier export chose; a quality out of range or a
    // transformation this encoder does not offer is not taken.
    void Restore(int quality, std::int32_t transformation);
    QLineEdit* QualityEdit() const { return m_pQualityEdit; }
    QSlider* Slider() const { return m_pSlider; }
    QComboBox* TransformationList() const { return m_pTransformationList; }

private:
    void OnSliderMoved(int position);

    QLineEdit* m_pQualityEdit;
    QSlider* m_pSlider;
    QComboBox* m_pTransformationList;
    int m_nQuality = kMaxQuality;
};
