#include "FileBrowseEdit.h"

#include "FileDialogFilter.h"

#include <QDir>
#include <QFileDialog>

CFileBrowseEdit::CFileBrowseEdit(QWidget* parent) : CBrowseEdit(parent), m_strFilter(tr("All files(*.*)|*.*|"))
{
}

void CFileBrowseEdit::SetMode(bool open, unsigned flags)
{
    m_bOpenMode = open;
    m_nFlags = flags;
}

QString CFileBrowseEdit::StartFolder() const
{
    const QString path = QDir::fromNativeSeparators(m_strInitialPath.trimmed());
    if (!QDir::isAbsolutePath(path))
        return QDir::currentPath();
    // The folder part: everything up to the last separator, as typed.
    return QDir::toNativeSeparators(path.left(path.lastIndexOf(QLatin1Char('/')) + 1));
}

CFileBrowseEdit::Request CFileBrowseEdit::MakeRequest() const
{
    return Request{m_bOpenMode, m_nFlags, m_strFilter, m_strDefaultExt, StartFolder()};
}

void CFileBrowseEdit::OnBrowse()
{
    const Request request = MakeRequest();
    const std::optional<QStringList> chosen = m_runner ? m_runner(request) : RunFileDialog(request);
    if (!chosen || chosen->isEmpty())
        return;
    QStringList native;
    for (const QString& path : *chosen)
        native << QDir::toNativeSeparators(path);
    setText(native.join(QLatin1Char(';')));
}

std::optional<QStringList> CFileBrowseEdit::RunFileDialog(const Request& request)
{
    QFileDialog dialog(this, request.open ? tr("Open") : tr("Save As"));
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (request.open && (request.flags & kAllowMultiSelect))
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else if (request.open && (request.flags & kFileMustExist))
        dialog.setFileMode(QFileDialog::ExistingFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(FileDialogFilter::Convert(request.filter));
    dialog.setDefaultSuffix(FileDialogFilter::SuffixOf(request.defaultExt));
    dialog.setDirectory(request.folder);
    dialog.setSizeGripEnabled(request.flags & kResizable);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFiles();
}
