#pragma once

#include "ExportChoices.h"
#include "document/TemplateSnapshot.h"
#include "export/ExportRun.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

class CExportDlg;
class CTilemontDoc;
class IDocumentPrompts;
class QWidget;

// One "Export..." command: the dialog, then the export of the template as it
// was at OK on a worker thread, with a progress window (and a working
// Cancel) once it takes longer than half a second. A failed export says why
// and brings the dialog back with the user's values.
class CExportSession
{
    Q_DECLARE_TR_FUNCTIONS(CExportSession)

public:
    enum class Outcome { Written, Cancelled, Failed };
    // Shows the dialog; true for OK. The editor runs it modally; tests fill
    // in the fields and press OK themselves.
    using DialogRunner = std::function<bool(CExportDlg&)>;

    CExportSession(IDocumentPrompts& prompts, const QString& exportFolder, QWidget* parent = nullptr);

    void SetDialogRunner(DialogRunner runner) { m_runner = std::move(runner); }
    // What the dialog's "Keep shading" starts with: the views' setting.
    void SetKeepShading(bool keep) { m_bKeepShading = keep; }
    // Called on the worker with each progress report; returning false
    // cancels, as the progress window's Cancel does.
    void SetProgressProbe(ExportProgress probe) { m_probe = std::move(probe); }
    // Where the dialog's format, options and "keep aspect" are kept from one
    // export to the next: the dialog starts with them, and OK stores what
    // the user chose. The caller keeps them for as long as they should last.
    void SetRememberedChoices(CExportChoices* choices) { m_pChoices = choices; }

    // After an export that was written, what the user is told:
    // "Exported <file> (W × H)". Empty otherwise.
    QString WrittenMessage() const { return m_strWritten; }

    // The dialog for doc's picture and, on OK, the export. Outcome of the
    // last export tried; Cancelled also when the dialog was cancelled.
    Outcome Run(const CTilemontDoc& doc);

private:
    Outcome Export(const CTemplateSnapshot& snapshot, const CExportRequest& request, QString& error);

    IDocumentPrompts& m_prompts;
    QString m_strExportFolder;
    QWidget* m_pParent;
    DialogRunner m_runner;
    ExportProgress m_probe;
    bool m_bKeepShading = false;
    CExportChoices* m_pChoices = nullptr;
    QString m_strWritten;
};
