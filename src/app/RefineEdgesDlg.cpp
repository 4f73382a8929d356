#include "RefineEdgesDlg.h"

#include "analysis/EdgeRefiner.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

CRefineEdgesDlg::CRefineEdgesDlg(int band, QWidget* parent) : QDialog(parent), m_pBand(new QSpinBox(this))
{
    setWindowTitle(tr("Refine Edges"));
    m_pBand->setRange(1, CEdgeRefiner::kMaxBand);
    m_pBand->setValue(band);
    m_pBand->setSuffix(tr(" px"));
    auto* label = new QLabel(tr("&Band width:"), this);
    label->setBuddy(m_pBand);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(tr("The boundary moves to the picture's edges within this distance of it; "
                               "inside and outside farther away stay as drawn."),
                            this));
    form->itemAt(0)->widget()->setProperty("wordWrap", true);
    form->addRow(label, m_pBand);
    form->addRow(buttons);
}

int CRefineEdgesDlg::Band() const
{
    return m_pBand->value();
}
