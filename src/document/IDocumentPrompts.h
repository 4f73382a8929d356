#pragma once

#include <QString>
#include <optional>

// Every question and message the document puts to the user. The editor
// answers with dialogs; tests and the command-line tool answer from scripts.
class IDocumentPrompts
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~IDocumentPrompts() = default;

    // The name dialog: caption, label and the preset name. Nothing when the
    // user cancels; the text as typed (possibly empty) otherwise.
    virtual std::optional<QString> AskName(const QString& caption, const QString& label,
                                           const QString& name) = 0;
    // A question with Yes and No, or Yes, No and Cancel.
    virtual Answer Ask(const QString& question, bool withCancel) = 0;
    // The one question for several unsaved templates at once: Yes saves
    // them all, No discards them all, Cancel keeps every one open. Where
    // nothing shows such buttons it is asked as Yes, No and Cancel.
    virtual Answer AskSaveAll(const QString& question) { return Ask(question, true); }
    // Filters are in the form "Label|patterns|Label|patterns|".
    virtual std::optional<QString> AskOpenFileName(const QString& filter, const QString& folder) = 0;
    virtual std::optional<QString> AskSaveFileName(const QString& filter, const QString& defaultExt) = 0;
    virtual void ShowError(const QString& message) = 0;
    // A report that is no error (what a long run did). Where nothing tells
    // the two apart it is shown as the errors are.
    virtual void ShowInformation(const QString& message) { ShowError(message); }
};
