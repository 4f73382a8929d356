#pragma once

#include "document/IDocumentPrompts.h"

#include <QPointer>
#include <QWidget>

// The document's questions and messages as the editor's dialogs: the name
// dialog, Yes/No(/Cancel) questions, the file dialogs and warning boxes.
class CQtPrompts : public IDocumentPrompts
{
public:
    explicit CQtPrompts(QWidget* parent = nullptr) : m_pParent(parent) {}
    void SetParent(QWidget* parent) { m_pParent = parent; }

    // "Label|patterns|Label|patterns|" as QFileDialog filters, one per entry:
    // "Label (patterns)" with the patterns separated by spaces.
    static QStringList ConvertFilter(const QString& filter);
    // "*.tlm" -> "tlm"; empty stays empty.
    static QString SuffixOf(const QString& defaultExt);

    std::optional<QString> AskName(const QString& caption, const QString& label, const QString& name) override;
    Answer Ask(const QString& question, bool withCancel) override;
    Answer AskSaveAll(const QString& question) override;
    std::optional<QString> AskOpenFileName(const QString& filter, const QString& folder) override;
    std::optional<QString> AskSaveFileName(const QString& filter, const QString& defaultExt) override;
    void ShowError(const QString& message) override;
    void ShowInformation(const QString& message) override;

private:
    QPointer<QWidget> m_pParent;
};
