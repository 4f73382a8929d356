#include "ExportSession.h"

#include "ExportDlg.h"
#include "ProgressCancel.h"
#include "document/IDocumentPrompts.h"
#include "document/TilemontDoc.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <thread>

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
        const Outcome outcome = Export(doc.SavedSnapshot(), request, error);
        // The whole path, so that a name typed relative still says where it went.
        if (outcome == Outcome::Written)
            m_strWritten = QStringLiteral("Exported %1 (%2 × %3)")
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
    std::atomic<int> percent{0};
    std::atomic<bool> cancel{false};
    bool written = false;
    QString why;
    QEventLoop loop;
    std::thread worker([&] {
        written = ExportRun(snapshot.picture.value_or(QImage()), snapshot.areas, request, &why, [&](int p, const QString& stage) {
            percent = p;
            if (m_probe && !m_probe(p, stage))
                cancel = true;
            return !cancel;
        });
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // The windows go on repainting while the worker runs; input waits for
    // the progress window, which only appears for a slow export.
    QProgressDialog progress(QStringLiteral("Exporting %1...").arg(QDir::toNativeSeparators(ExportTargetPath(request))),
                             QStringLiteral("Cancel"), 0, 100, m_pParent);
    progress.setWindowTitle(QStringLiteral("Export"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(kShowProgressAfterMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    // The worker only stops at its next report (an encoder cannot be
    // interrupted), so the window stays and says it is stopping.
    StayOpenWhenCancelled(progress, [&cancel] { cancel = true; });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { progress.setValue(percent); });
    poll.start(kProgressPollMs);
    progress.setValue(0);
    loop.exec();
    worker.join();
    poll.stop();

    if (written)
        return Outcome::Written;
    if (cancel)
        return Outcome::Cancelled;
    error = why;
    return Outcome::Failed;
}
