#include "QtPrompts.h"

#include "controls/FileDialogFilter.h"

#include "NameDlg.h"

#include <QFileDialog>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
// The title of the program's message boxes.
QString Title()
{
    return QCoreApplication::translate("CQtPrompts", "Tilemont");
}
} // namespace

QStringList CQtPrompts::ConvertFilter(const QString& filter)
{
    return FileDialogFilter::Convert(filter);
}

QString CQtPrompts::SuffixOf(const QString& defaultExt)
{
    return FileDialogFilter::SuffixOf(defaultExt);
}

std::optional<QString> CQtPrompts::AskName(const QString& caption, const QString& label, const QString& name)
{
    CNameDlg dialog(m_pParent);
    dialog.m_strCaption = caption;
    dialog.m_strLabel = label;
    dialog.m_strName = name;
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_strName;
}

IDocumentPrompts::Answer CQtPrompts::Ask(const QString& question, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, Title(), question, buttons, m_pParent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return withCancel ? Answer::Cancel : Answer::No;
    }
}

IDocumentPrompts::Answer CQtPrompts::AskSaveAll(const QString& question)
{
    QMessageBox box(QMessageBox::Question, Title(), question,
                    QMessageBox::SaveAll | QMessageBox::Discard | QMessageBox::Cancel, m_pParent);
    box.button(QMessageBox::Discard)->setText(QCoreApplication::translate("CQtPrompts", "&Discard All"));
    box.setDefaultButton(QMessageBox::SaveAll);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::SaveAll: return Answer::Yes;
    case QMessageBox::Discard: return Answer::No;
    default: return Answer::Cancel;
    }
}

std::optional<QString> CQtPrompts::AskOpenFileName(const QString& filter, const QString& folder)
{
    QFileDialog dialog(m_pParent, QCoreApplication::translate("CQtPrompts", "Open"), folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(ConvertFilter(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> CQtPrompts::AskSaveFileName(const QString& filter, const QString& defaultExt)
{
    QFileDialog dialog(m_pParent, QCoreApplication::translate("CQtPrompts", "Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(ConvertFilter(filter));
    dialog.setDefaultSuffix(SuffixOf(defaultExt));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void CQtPrompts::ShowError(const QString& message)
{
    QMessageBox::warning(m_pParent, Title(), message);
}

void CQtPrompts::ShowInformation(const QString& message)
{
    QMessageBox::information(m_pParent, Title(), message);
}
