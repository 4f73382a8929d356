#pragma once

#include "BrowseEdit.h"

#include <QStringList>

#include <functional>
#include <optional>

// A path field whose "..." opens a file dialog: open or save, with a
// filter, a default extension and a starting folder; the chosen paths,
// joined with ";", become the field's text. Cancelling changes nothing.
class CFileBrowseEdit : public CBrowseEdit
{
    Q_OBJECT

public:
    enum Flag : unsigned {
        kPathMustExist = 0x1,
        kFileMustExist = 0x2,
        kAllowMultiSelect = 0x4,
        kResizable = 0x8,
    };

    // Everything the dialog is asked with.
    struct Request
    {
        bool open = true;
        unsigned flags = 0;
        QString filter;
        QString defaultExt;
        QString folder;
        bool operator==(const Request&) const = default;
    };
    // Shows the dialog; the chosen paths, or nothing when cancelled.
    using DialogRunner = std::function<std::optional<QStringList>(const Request&)>;

    explicit CFileBrowseEdit(QWidget* parent = nullptr);

    void SetMode(bool open, unsigned flags);
    void SetInitialPath(const QString& path) { m_strInitialPath = path; }
    void SetDefaultExt(const QString& ext) { m_strDefaultExt = ext; }
    void SetFilter(const QString& filter) { m_strFilter = filter; }
    // Replaces the file dialog (tests answer from a script).
    void SetDialogRunner(DialogRunner runner) { m_runner = std::move(runner); }

    // The folder the dialog starts in: the initial path's folder when it is
    // a full path, else the current folder.
    QString StartFolder() const;
    Request MakeRequest() const;

protected:
    void OnBrowse() override;

private:
    std::optional<QStringList> RunFileDialog(const Request& request);

    QString m_strInitialPath;
    QString m_strDefaultExt;
    unsigned m_nFlags = kPathMustExist | kFileMustExist | kResizable;
    QString m_strFilter;
    bool m_bOpenMode = true;
    DialogRunner m_runner;
};
