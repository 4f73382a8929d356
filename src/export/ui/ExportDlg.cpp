#include "ExportDlg.h"

#include "ExportFormats.h"
#include "JpegOptionsPage.h"
#include "TiffOptionsPage.h"
#include "codecs/EncoderRegistry.h"
#include "controls/FileBrowseEdit.h"
#include "document/IDocumentPrompts.h"
#include "export/ExportSize.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <cmath>

int CExportDlg::s_nExportCounter = 1;

namespace {

const char* const kEnterInteger = QT_TRANSLATE_NOOP("CExportDlg", "Please enter an integer.");

std::optional<int> ParseInt(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

CExportDlg::CExportDlg(IDocumentPrompts& prompts, const QString& exportFolder, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_strExportFolder(exportFolder)
{
    setWindowTitle(tr("Export"));
    m_pWidth = new QLineEdit(this);
    m_pHeight = new QLineEdit(this);
    m_pKeepAspect = new QCheckBox(tr("&Maintain aspect ratio"), this);
    m_pKeepShading = new QCheckBox(tr("Keep &shading"), this);
    m_pFileName = new CFileBrowseEdit(this);
    m_pFileName->SetMode(false, CFileBrowseEdit::kPathMustExist | CFileBrowseEdit::kResizable);
    m_pFileName->Edit()->setAccessibleName(tr("File name"));
    // The default name lies in the export folder; browsing starts there too.
    m_pFileName->SetInitialPath(exportFolder);
    m_pFormat = new QComboBox(this);
    m_pParamInfo = new QPlainTextEdit(this);
    m_pParamInfo->setReadOnly(true);
    m_pParamInfo->hide();

    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    auto* size = new QGridLayout;
    size->addWidget(label(tr("&Width:"), m_pWidth), 0, 0);
    size->addWidget(m_pWidth, 0, 1);
    size->addWidget(new QLabel(tr("pixels"), this), 0, 2);
    size->addWidget(label(tr("&Height:"), m_pHeight), 1, 0);
    size->addWidget(m_pHeight, 1, 1);
    size->addWidget(new QLabel(tr("pixels"), this), 1, 2);
    size->addWidget(m_pKeepAspect, 2, 0, 1, 3);
    size->addWidget(m_pKeepShading, 3, 0, 1, 3);
    auto* file = new QVBoxLayout;
    file->addWidget(label(tr("&Filename:"), m_pFileName));
    file->addWidget(m_pFileName);
    file->addWidget(label(tr("File format:"), m_pFormat));
    file->addWidget(m_pFormat);
    auto* top = new QHBoxLayout;
    top->addLayout(size);
    top->addSpacing(24);
    top->addLayout(file, 1);

    auto* options = new QGroupBox(tr("File Format Options"), this);
    auto* pages = new QStackedLayout;
    auto* none = new QWidget(options);
    m_pJpegPage = new CJpegOptionsPage(options);
    m_pTiffPage = new CTiffOptionsPage(options);
    pages->addWidget(none);
    pages->addWidget(m_pJpegPage);
    pages->addWidget(m_pTiffPage);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addLayout(pages);
    optionsLayout->addWidget(m_pParamInfo);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("&OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExportDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExportDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(options, 1);
    layout->addWidget(buttons);

    // The default name, shown with the first format's extension.
    m_strFileName = QDir::toNativeSeparators(QDir(m_strExportFolder).filePath(
        QStringLiteral("export%1.jpg").arg(s_nExportCounter++)));
    for (const CExportFormat& format : kExportFormats)
        m_pFormat->addItem(QCoreApplication::translate("ExportFormats", format.listText), format.itemId);

    connect(m_pWidth, &QLineEdit::textEdited, this, &CExportDlg::OnWidthChanged);
    connect(m_pHeight, &QLineEdit::textEdited, this, &CExportDlg::OnHeightChanged);
    connect(m_pKeepAspect, &QCheckBox::clicked, this, &CExportDlg::OnKeepAspectClicked);
    connect(m_pFormat, &QComboBox::currentIndexChanged, this, [this, pages] {
        OnFormatChanged();
        const CExportFormat::Page page = kExportFormats[std::size_t(std::max(0, FormatIndex()))].page;
        pages->setCurrentIndex(page == CExportFormat::Page::Jpeg ? 1 : page == CExportFormat::Page::Tiff ? 2 : 0);
    });
    WriteFields();
    m_pFormat->setCurrentIndex(0);
    OnFormatChanged();
}

CExportDlg::~CExportDlg() = default;

void CExportDlg::WriteFields()
{
    const QScopedValueRollback writing(m_bWriting, true);
    m_pWidth->setText(QString::number(m_nWidth));
    m_pHeight->setText(QString::number(m_nHeight));
    m_pKeepAspect->setChecked(m_bKeepAspect);
    m_pKeepShading->setChecked(m_bKeepShading);
    m_pFileName->setText(m_strFileName);
    m_pParamInfo->setPlainText(m_strParamInfo);
}

bool CExportDlg::ReadFields()
{
    m_bKeepAspect = m_pKeepAspect->isChecked();
    m_bKeepShading = m_pKeepShading->isChecked();
    m_strFileName = m_pFileName->text();
    const std::optional<int> width = ParseInt(m_pWidth->text());
    const std::optional<int> height = ParseInt(m_pHeight->text());
    if (width)
        m_nWidth = *width;
    if (width && height)
        m_nHeight = *height;
    if (!width || !height) {
        m_prompts.ShowError(tr(kEnterInteger));
        return false;
    }
    return true;
}

void CExportDlg::OnWidthChanged()
{
    if (m_bWriting || !ReadFields())
        return;
    if (m_bKeepAspect && m_dAspect > 0.0) {
        m_nHeight = int(std::trunc(double(m_nWidth) / m_dAspect));
        const QScopedValueRollback writing(m_bWriting, true);
        m_pHeight->setText(QString::number(m_nHeight));
    }
}

void CExportDlg::OnHeightChanged()
{
    if (m_bWriting || !ReadFields())
        return;
    if (m_bKeepAspect) {
        m_nWidth = int(std::trunc(double(m_nHeight) * m_dAspect));
        const QScopedValueRollback writing(m_bWriting, true);
        m_pWidth->setText(QString::number(m_nWidth));
    }
}

void CExportDlg::OnKeepAspectClicked()
{
    m_bKeepAspect = m_pKeepAspect->isChecked();
    if (m_bKeepAspect)
        OnWidthChanged();
}

int CExportDlg::FormatIndex() const
{
    const int id = m_pFormat->currentData().toInt();
    for (std::size_t i = 0; i < kExportFormats.size(); ++i)
        if (kExportFormats[i].itemId == id)
            return int(i);
    return -1;
}

void CExportDlg::OnFormatChanged()
{
    const int index = FormatIndex();
    if (index < 0)
        return;
    const CExportFormat& format = kExportFormats[std::size_t(index)];
    m_strFileName = ReplaceExtension(m_pFileName->text().isEmpty() ? m_strFileName : m_pFileName->text(),
                                     QString::fromLatin1(format.extension));
    GetEncoderClsid(QString::fromLatin1(format.mimeType), &m_clsid);
    m_pCurrentPage = format.page == CExportFormat::Page::Jpeg   ? static_cast<COptionsPage*>(m_pJpegPage)
                     : format.page == CExportFormat::Page::Tiff ? static_cast<COptionsPage*>(m_pTiffPage)
                                                                : nullptr;
    const CImageEncoder* encoder = FindEncoder(m_clsid);
    m_strParamInfo = encoder ? EncoderParameterListing(encoder->Parameters()) : QString();
    const QScopedValueRollback writing(m_bWriting, true);
    m_pFileName->setText(m_strFileName);
    m_pParamInfo->setPlainText(m_strParamInfo);
}

void CExportDlg::accept()
{
    TryAccept();
}

bool CExportDlg::TryAccept()
{
    m_params.clear();
    if (m_pCurrentPage) {
        QString message;
        if (!m_pCurrentPage->BuildEncoderParameters(m_params, message)) {
            m_prompts.ShowError(message);
            return false;
        }
    }
    if (!ReadFields())
        return false;
    if (const QString refusal = ExportSizeRefusal(m_nWidth, m_nHeight); !refusal.isEmpty()) {
        m_prompts.ShowError(refusal);
        return false;
    }
    if (m_strFileName.trimmed().isEmpty()) {
        m_prompts.ShowError(tr("Please enter a file name."));
        return false;
    }
    if (const int index = FormatIndex(); index >= 0) {
        // Shown too, so that the name the user sees is the file written.
        m_strFileName = WithExtension(m_strFileName, QString::fromLatin1(kExportFormats[std::size_t(index)].extension));
        m_pFileName->setText(m_strFileName);
    }
    // Options the encoder cannot honour are refused now, while the user can
    // still change them, rather than after the whole composition.
    const CImageEncoder* encoder = FindEncoder(m_clsid);
    if (!encoder) {
        m_prompts.ShowError(tr("There is no encoder for the chosen format."));
        return false;
    }
    QString why;
    if (!encoder->Accepts(m_params, &why)) {
        m_prompts.ShowError(why.isEmpty() ? tr("The encoder refused these options.") : why);
        return false;
    }
    QDialog::accept();
    return true;
}

CExportChoices CExportDlg::Choices() const
{
    CExportChoices choices;
    choices.formatId = m_pFormat->currentData().toInt();
    choices.keepAspect = m_pKeepAspect->isChecked();
    choices.jpegQuality = m_pJpegPage->Quality();
    choices.jpegTransformation = m_pJpegPage->Transformation();
    choices.tiffCompression = m_pTiffPage->Compression();
    choices.tiffColorDepth = m_pTiffPage->ColorDepth();
    return choices;
}

void CExportDlg::RestoreChoices(const CExportChoices& choices)
{
    m_pJpegPage->Restore(choices.jpegQuality, choices.jpegTransformation);
    m_pTiffPage->Restore(choices.tiffCompression, choices.tiffColorDepth);
    m_bKeepAspect = choices.keepAspect;
    m_pKeepAspect->setChecked(choices.keepAspect);
    // The format last: choosing it gives the counter's name its extension.
    if (const int index = m_pFormat->findData(choices.formatId); index >= 0)
        m_pFormat->setCurrentIndex(index);
}
