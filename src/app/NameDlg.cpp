#include "NameDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CNameDlg::CNameDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Tilemont"));
    m_pLabel = new QLabel(tr("Enter template &name:"), this);
    m_pEdit = new QLineEdit(this);
    m_pLabel->setBuddy(m_pEdit);
    auto* buttons = new QDialogButtonBox(this);
    m_pOk = buttons->addButton(tr("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    m_pOk->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pLabel);
    layout->addWidget(m_pEdit);
    layout->addWidget(buttons);
    setMinimumWidth(300);
}

void CNameDlg::showEvent(QShowEvent* event)
{
    if (!m_strCaption.isEmpty())
        setWindowTitle(m_strCaption);
    m_pEdit->setText(m_strName);
    m_pLabel->setText(m_strLabel);
    m_pEdit->selectAll();
    m_pEdit->setFocus();
    QDialog::showEvent(event);
}

void CNameDlg::accept()
{
    m_strName = m_pEdit->text();
    m_strLabel = m_pLabel->text();
    QDialog::accept();
}
