#include "RenderGroupDlg.h"

#include "ExportFormats.h"
#include "controls/BrowseEdit.h"
#include "document/IDocumentPrompts.h"
#include "export/ExportSize.h"
#include "catalogue/TextureCatalogue.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The output folder's "..." asks for a folder, not a file.
class CFolderBrowseEdit : public CBrowseEdit
{
public:
    using CBrowseEdit::CBrowseEdit;

protected:
    void OnBrowse() override
    {
        const QString folder = QFileDialog::getExistingDirectory(this, CRenderGroupDlg::tr("Output folder"), text());
        if (!folder.isEmpty())
            setText(QDir::toNativeSeparators(folder));
    }
};

} // namespace

CRenderGroupDlg::CRenderGroupDlg(IDocumentPrompts& prompts, const QStringList& areaNames,
                                 const QString& texturesFolder, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_strTexturesFolder(texturesFolder)
{
    setWindowTitle(tr("Render Texture Group"));
    m_pArea = new QComboBox(this);
    m_pArea->addItems(areaNames);
    m_pGroup = new QComboBox(this);
    QStringList groups;
    TextureCatalogue::ListFolderEntries(texturesFolder, nullptr, &groups, true, false, false, QString());
    groups.sort(Qt::CaseInsensitive);
    m_pGroup->addItems(groups);
    m_pOutput = new CFolderBrowseEdit(this);
    m_pOutput->Edit()->setAccessibleName(tr("Output folder"));
    m_pFormat = new QComboBox(this);
    for (const CExportFormat& format : kExportFormats)
        m_pFormat->addItem(QCoreApplication::translate("ExportFormats", format.listText));
    m_pWidth = new QLineEdit(this);
    m_pHeight = new QLineEdit(this);
    m_pKeepShading = new QCheckBox(tr("Keep &shading"), this);

    auto* form = new QFormLayout;
    form->addRow(tr("&Area:"), m_pArea);
    form->addRow(tr("&Texture group:"), m_pGroup);
    form->addRow(tr("&Output folder:"), m_pOutput);
    form->addRow(tr("File &format:"), m_pFormat);
    form->addRow(tr("&Width (pixels):"), m_pWidth);
    form->addRow(tr("&Height (pixels):"), m_pHeight);
    form->addRow(QString(), m_pKeepShading);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("&Render"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRenderGroupDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRenderGroupDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CRenderGroupDlg::WriteFields()
{
    m_pArea->setCurrentIndex(m_nArea);
    const int group = m_pGroup->findText(QDir(m_strGroupFolder).dirName());
    if (group >= 0)
        m_pGroup->setCurrentIndex(group);
    m_pOutput->setText(QDir::toNativeSeparators(m_strOutputFolder));
    m_pFormat->setCurrentIndex(m_nFormat);
    m_pWidth->setText(QString::number(m_nWidth));
    m_pHeight->setText(QString::number(m_nHeight));
    m_pKeepShading->setChecked(m_bKeepShading);
}

bool CRenderGroupDlg::TryAccept()
{
    bool wide = false, high = false;
    const int width = m_pWidth->text().trimmed().toInt(&wide);
    const int height = m_pHeight->text().trimmed().toInt(&high);
    const QString output = m_pOutput->text().trimmed();
    QString refusal;
    if (m_pArea->currentIndex() < 0)
        refusal = tr("The template has no area to render into.");
    else if (m_pGroup->currentIndex() < 0)
        refusal = tr("There is no texture group in %1.").arg(QDir::toNativeSeparators(m_strTexturesFolder));
    else if (output.isEmpty())
        refusal = tr("Please enter the folder the images go into.");
    else if (!wide || !high)
        refusal = ExportSizeRefusal(0, 0);
    else if (const QString size = ExportSizeRefusal(width, height); !size.isEmpty())
        refusal = size;
    else if (!QDir().mkpath(QDir::fromNativeSeparators(output)))
        refusal = tr("The folder %1 cannot be made.").arg(output);
    if (!refusal.isEmpty()) {
        m_prompts.ShowError(refusal);
        return false;
    }
    m_nArea = m_pArea->currentIndex();
    m_strGroupFolder = QDir(m_strTexturesFolder).filePath(m_pGroup->currentText());
    m_strOutputFolder = QDir::fromNativeSeparators(output);
    m_nFormat = m_pFormat->currentIndex();
    m_nWidth = width;
    m_nHeight = height;
    m_bKeepShading = m_pKeepShading->isChecked();
    QDialog::accept();
    return true;
}

void CRenderGroupDlg::accept()
{
    TryAccept();
}
