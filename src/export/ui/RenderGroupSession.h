#pragma once

#include "export/GroupRender.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <vector>

class CRenderGroupDlg;
class CTilemontDoc;
class IDocumentPrompts;
class QWidget;

// One "Render texture group..." command: the dialog, then every texture of
// the chosen group laid into the chosen area and written as an image, on
// worker threads, over the template as it was at OK, with a progress window
// whose Cancel stops after the images under way; at the end the user is
// told how many were written and which failed. The template is not changed.
class CRenderGroupSession
{
    Q_DECLARE_TR_FUNCTIONS(CRenderGroupSession)

public:
    // Shows the dialog; true for OK. Tests fill it in themselves.
    using DialogRunner = std::function<bool(CRenderGroupDlg&)>;

    CRenderGroupSession(IDocumentPrompts& prompts, const QString& texturesFolder, const QString& outputFolder,
                        QWidget* parent = nullptr);

    void SetDialogRunner(DialogRunner runner) { m_runner = std::move(runner); }
    void SetKeepShading(bool keep) { m_bKeepShading = keep; }
    // Told of each finished texture on a worker thread; returning false
    // cancels as the progress window's Cancel does.
    void SetProgressProbe(std::function<bool(const CGroupRenderResult&)> probe) { m_probe = std::move(probe); }

    // The results in the group's order; empty when the dialog was cancelled.
    std::vector<CGroupRenderResult> Run(const CTilemontDoc& doc);

    // What the user is told at the end, naming the folder the images went
    // to, so that they can be found.
    static QString Report(const std::vector<CGroupRenderResult>& results, const QString& folder);

private:
    IDocumentPrompts& m_prompts;
    QString m_strTexturesFolder;
    QString m_strOutputFolder;
    QWidget* m_pParent;
    DialogRunner m_runner;
    bool m_bKeepShading = false;
    std::function<bool(const CGroupRenderResult&)> m_probe;
};
