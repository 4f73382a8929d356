#include "JpegOptionsPage.h"

#include "codecs/EncoderGuids.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace {

const char* const kEnterInteger = QT_TRANSLATE_NOOP("CJpegOptionsPage", "Please enter an integer.");
const char* const kEnterIntegerBetween =
    QT_TRANSLATE_NOOP("CJpegOptionsPage", "Please enter an integer between %1 and %2.");

} // namespace

CJpegOptionsPage::CJpegOptionsPage(QWidget* parent)
    : CJpegOptionsPage(EncoderParameters(QStringLiteral("image/jpeg")), parent)
{
}

CJpegOptionsPage::CJpegOptionsPage(const std::vector<CEncoderParameterInfo>& params, QWidget* parent)
    : COptionsPage(parent)
{
    m_pQualityEdit = new QLineEdit(this);
    m_pSlider = new QSlider(Qt::Horizontal, this);
    m_pTransformationList = new QComboBox(this);
    auto* qualityLabel = new QLabel(tr("Jpeg &quality:"), this);
    qualityLabel->setBuddy(m_pQualityEdit);
    auto* transformationLabel = new QLabel(tr("Transformation:"), this);
    transformationLabel->setBuddy(m_pTransformationList);
    // The slider has no label of its own; the quality label names it too.
    m_pSlider->setAccessibleName(tr("Jpeg quality"));

    const CEncoderParameterInfo* quality =
        FindParameter(params, EncoderGuid::kQuality, kValueTypeLongRange);
    if (quality && quality->values.size() >= 2) {
        m_pSlider->setRange(quality->values[0], quality->values[1]);
        m_pSlider->setTickPosition(QSlider::TicksBelow);
        m_pSlider->setTickInterval(10);
        m_pSlider->setPageStep(20);
        m_pSlider->setSingleStep(10);
        m_nQuality = m_pSlider->maximum();
        m_pSlider->setValue(m_nQuality);
    } else {
        // Without a range to offer the field alone sets the quality.
        m_pSlider->setRange(0, kMaxQuality);
        m_nQuality = kMaxQuality;
        m_pSlider->setValue(m_nQuality);
        m_pSlider->setEnabled(false);
    }
    m_pQualityEdit->setText(QString::number(m_nQuality));
    FillList(m_pTransformationList, FindParameter(params, EncoderGuid::kTransformation, kValueTypeLong),
             [](std::int32_t value) {
                 return NamedValue(value, {{kTransformNone, QT_TRANSLATE_NOOP("COptionsPage", "none")},
                                           {kTransformRotate90, QT_TRANSLATE_NOOP("COptionsPage", "rotate 90°")},
                                           {kTransformRotate180, QT_TRANSLATE_NOOP("COptionsPage", "rotate 180°")},
                                           {kTransformRotate270, QT_TRANSLATE_NOOP("COptionsPage", "rotate 270°")},
                                           {kTransformFlipHorizontal,
                                            QT_TRANSLATE_NOOP("COptionsPage", "flip horizontally")},
                                           {kTransformFlipVertical,
                                            QT_TRANSLATE_NOOP("COptionsPage", "flip vertically")}});
             });

    // Only the slider drives the field: what is typed is checked when the
    // dialog closes, and a half-typed number must not jerk the slider.
    connect(m_pSlider, &QSlider::valueChanged, this, &CJpegOptionsPage::OnSliderMoved);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(qualityLabel, 0, 0);
    grid->addWidget(m_pQualityEdit, 0, 1);
    grid->addWidget(m_pSlider, 1, 0, 1, 2);
    grid->addWidget(transformationLabel, 2, 0);
    grid->addWidget(m_pTransformationList, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
}

void CJpegOptionsPage::OnSliderMoved(int position)
{
    m_nQuality = position;
    m_pQualityEdit->setText(QString::number(position));
}

void CJpegOptionsPage::Restore(int quality, std::int32_t transformation)
{
    if (quality >= 0 && quality <= kMaxQuality) {
        // The slider only reaches the encoder's range; the field says the
        // quality itself, as it does when typed.
        m_pSlider->setValue(quality);
        m_nQuality = quality;
        m_pQualityEdit->setText(QString::number(quality));
    }
    ChooseValue(m_pTransformationList, transformation);
}

bool CJpegOptionsPage::BuildEncoderParameters(CEncoderParameters& params, QString& message)
{
    bool ok = false;
    const qlonglong quality = m_pQualityEdit->text().trimmed().toLongLong(&ok, 10);
    if (!ok) {
        message = tr(kEnterInteger);
        return false;
    }
    if (quality < 0 || quality > kMaxQuality) {
        message = tr(kEnterIntegerBetween).arg(0).arg(kMaxQuality);
        return false;
    }
    m_nQuality = int(quality);
    params = {{EncoderGuid::kQuality, m_nQuality},
              {EncoderGuid::kTransformation, ChosenValue(m_pTransformationList)}};
    return true;
}
