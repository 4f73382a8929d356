#pragma once

#include "SoakContext.h"
#include "document/IDocumentPrompts.h"

#include <QStringList>

// Whatever the user answers when the walk did not script the answer: names
// good and odd, Yes, No and Cancel, pictures that decode and ones that do
// not, file names to save under (some of them unwritable), and the odd
// cancelled dialog. Every answer is drawn from the walk's chance.
class CSoakAnswers : public IDocumentPrompts
{
public:
    explicit CSoakAnswers(CSoakContext& context);

    std::optional<QString> AskName(const QString& caption, const QString& label, const QString& name) override;
    Answer Ask(const QString& question, bool withCancel) override;
    std::optional<QString> AskOpenFileName(const QString& filter, const QString& folder) override;
    std::optional<QString> AskSaveFileName(const QString& filter, const QString& defaultExt) override;
    void ShowError(const QString& message) override;

    // Messages shown since the last call.
    QStringList TakeErrors();
    // Templates saved so far, for "Open...".
    const QStringList& Saved() const { return m_saved; }

private:
    CSoakContext& m_c;
    QStringList m_errors;
    QStringList m_saved;
    int m_nSaves = 0;
};
