#include "ExportSession.h"

#include "ExportDlg.h"
#include "document/IDocumentPrompts.h"
#include "controls/WorkerProgress.h"
#include "document/TilemontDoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

#include <atomic>

namespace {

constexpr int kShowProgressAfterMs = 500;
constexpr int kProgressPollMs = 50;

} // namespace

CExportSession::CExportSession(IDocumentPrompts& prompts, const QString& exportFolder, QWidget* parent)
    : m_prompts(prompts), m_strExportFolder(exportFolder), m_pParent(parent)
{
}

CExportSession::Outcome CExportSession::Run(const CTilemontDoc& doc)
{
    m_strWritten.clear();
    const QImage* picture = doc.GetPicture();
    if (!picture || picture->isNull())
        return Outcome::Cancelled;
    CExportDlg dialog(m_prompts, m_strExportFolder, m_pParent);
    dialog.m_nWidth = picture->width();
    dialog.m_nHeight = picture->height();
    dialog.m_bKeepAspect = true;
    dialog.m_bKeepShading = m_bKeepShading;
    dialog.m_dAspect = double(picture->width()) / double(picture->height());
    dialog.WriteFields();
    if (m_pChoices)
        dialog.RestoreChoices(*m_pChoices);
    const DialogRunner run = m_runner ? m_runner : [](CExportDlg& d) { return d.exec() == QDialog::Accepted; };
    for (;;) {
        if (!run(dialog))
            return Outcome::Cancelled;
        if (m_pChoices)
            *m_pChoices = dialog.Choices();
        const CExportRequest request{dialog.m_nWidth,     dialog.m_nHeight, dialog.m_strFileName,
                                     m_strExportFolder,   dialog.m_clsid,   dialog.m_params,
                                     dialog.m_bKeepShading};
        QString error;
        const Outcome outcome = Export(doc.Snapshot(), request, error);
        // The whole path, so that a name typed relative still says where it went.
        if (outcome == Outcome::Written)
            m_strWritten = tr("Exported %1 (%2 × %3)")
                               .arg(QDir::toNativeSeparators(QFileInfo(ExportTargetPath(request)).absoluteFilePath()))
                               .arg(request.width)
                               .arg(request.height);
        if (outcome != Outcome::Failed)
            return outcome;
        // The values stay in the dialog, so the user can put them right.
        m_prompts.ShowError(error);
    }
}

CExportSession::Outcome CExportSession::Export(const CTemplateSnapshot& snapshot, const CExportRequest& request,
                                               QString& error)
{
    // The worker only stops at its next report (an encoder cannot be
    // interrupted), so the window stays and says it is stopping.
    CWorkerProgress work({tr("Export"),
                          tr("Exporting %1...").arg(QDir::toNativeSeparators(ExportTargetPath(request))), 100,
                          kShowProgressAfterMs, kProgressPollMs},
                         m_pParent);
    std::atomic<bool>& cancel = work.CancelFlag();
    std::atomic<int> percent{0};
    work.SetPoll([&percent](QProgressDialog& progress) { progress.setValue(percent); });
    bool written = false;
    QString why;
    work.Run([&] {
        CExportRequest shared = request;
        shared.warps = snapshot.warps.get();
        written = ExportRun(snapshot.picture.value_or(QImage()), snapshot.areas, shared, &why, [&](int p, const QString& stage) {
            percent = p;
            if (m_probe && !m_probe(p, stage))
                cancel = true;
            return !cancel;
        });
    });

    if (written)
        return Outcome::Written;
    if (cancel)
        return Outcome::Cancelled;
    error = why;
    return Outcome::Failed;
}
