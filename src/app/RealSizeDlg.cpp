#include "RealSizeDlg.h"

#include "document/UiText.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QDoubleSpinBox* CentimetreBox(double value, const QString& name, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(0.0, CRealSizeDlg::kMaxCm);
    box->setDecimals(1);
    box->setSuffix(CRealSizeDlg::tr(" cm"));
    // 0 reads as "not known", which is what the value means.
    box->setSpecialValueText(CRealSizeDlg::tr("not known"));
    box->setValue(std::isfinite(value) ? value : 0.0);
    box->setAccessibleName(name);
    return box;
}

QString LineText(const QLineF& line)
{
    if (line.length() <= 0.0)
        return CRealSizeDlg::tr("No reference line drawn yet.");
    const int pixels = int(std::lround(line.length()));
    return CUiText::Counted(CRealSizeDlg::tr("Reference line: %n pixel(s) long on the picture.", nullptr, pixels),
                            pixels);
}

} // namespace

CRealSizeDlg::CRealSizeDlg(const CRealSize& values, const QString& areaName, QWidget* parent)
    : QDialog(parent), m_values(values)
{
    setWindowTitle(areaName.isEmpty() ? tr("Real Size") : tr("Real Size - %1").arg(areaName));
    m_pTextureWidth = CentimetreBox(values.textureWidthCm, tr("Texture width"), this);
    m_pReferenceLength = CentimetreBox(values.referenceCm, tr("Reference length"), this);
    m_pDrawLine = new QPushButton(tr("&Draw reference line"), this);
    m_pDrawLine->setAutoDefault(false);
    m_pDrawLine->setToolTip(tr("Drag a line of known length on the picture; Escape abandons it"));
    m_pLine = new QLabel(LineText(values.reference), this);

    auto* form = new QFormLayout;
    form->addRow(tr("Real &width of the texture image:"), m_pTextureWidth);
    form->addRow(m_pDrawLine, m_pLine);
    form->addRow(tr("Real &length of the reference line:"), m_pReferenceLength);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* column = new QVBoxLayout(this);
    auto* note = new QLabel(tr("Draw a line of known length on the surface. It is measured through "
                               "the area's perspective; without one it is taken as lying flat in "
                               "the picture."),
                            this);
    note->setWordWrap(true);
    column->addWidget(note);
    column->addLayout(form);
    column->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pDrawLine, &QPushButton::clicked, this, [this] {
        m_bWantsLine = true;
        accept();
    });
}

CRealSize CRealSizeDlg::Values() const
{
    CRealSize values = m_values;
    values.textureWidthCm = m_pTextureWidth->value();
    values.referenceCm = m_pReferenceLength->value();
    return values;
}

IRealSizePrompt::Answer CRealSizeDlg::Ask(const CRealSize& values, const QString& areaName, QWidget* parent)
{
    CRealSizeDlg dialog(values, areaName, parent);
    if (dialog.exec() != QDialog::Accepted)
        return {IRealSizePrompt::Action::Cancel, values};
    return {dialog.WantsLine() ? IRealSizePrompt::Action::DrawLine : IRealSizePrompt::Action::Apply,
            dialog.Values()};
}
