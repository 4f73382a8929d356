#include "RenderGroupSession.h"

#include "ExportFormats.h"
#include "JpegOptionsPage.h"
#include "ProgressCancel.h"
#include "RenderGroupDlg.h"
#include "TiffOptionsPage.h"
#include "codecs/EncoderRegistry.h"
#include "document/IDocumentPrompts.h"
#include "document/TilemontDoc.h"
#include "catalogue/TextureCatalogue.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

CRenderGroupSession::CRenderGroupSession(IDocumentPrompts& prompts, const QString& texturesFolder,
                                         const QString& outputFolder, QWidget* parent)
    : m_prompts(prompts), m_strTexturesFolder(texturesFolder), m_strOutputFolder(outputFolder), m_pParent(parent)
{
}

std::vector<CGroupRenderResult> CRenderGroupSession::Run(const CTilemontDoc& doc)
{
    const QImage* picture = doc.GetPicture();
    if (!picture || picture->isNull() || doc.GetAreas().empty())
        return {};
    QStringList names;
    for (const CArea& area : doc.GetAreas())
        names << area.GetName();
    CRenderGroupDlg dialog(m_prompts, names, m_strTexturesFolder, m_pParent);
    dialog.m_nArea = std::max(0, doc.GetSelectedIndex());
    dialog.m_strOutputFolder = m_strOutputFolder;
    dialog.m_nWidth = picture->width();
    dialog.m_nHeight = picture->height();
    dialog.m_bKeepShading = m_bKeepShading;
    dialog.WriteFields();
    const bool ok = m_runner ? m_runner(dialog) : dialog.exec() == QDialog::Accepted;
    if (!ok)
        return {};

    const CExportFormat& format = kExportFormats[std::size_t(std::clamp(dialog.m_nFormat, 0, 4))];
    CGroupRenderRequest request;
    request.area = std::size_t(dialog.m_nArea);
    TextureCatalogue::ListFolderEntries(dialog.m_strGroupFolder, &request.textures, nullptr, false, true, true,
                                        QString());
    request.outputFolder = dialog.m_strOutputFolder;
    request.extension = QString::fromLatin1(format.extension).mid(1);
    request.width = dialog.m_nWidth;
    request.height = dialog.m_nHeight;
    GetEncoderClsid(QString::fromLatin1(format.mimeType), &request.encoder);
    // The options the Export dialog starts with, so an image here is what an
    // export with the dialog's defaults writes.
    std::unique_ptr<COptionsPage> page;
    if (format.page == CExportFormat::Page::Jpeg)
        page = std::make_unique<CJpegOptionsPage>();
    else if (format.page == CExportFormat::Page::Tiff)
        page = std::make_unique<CTiffOptionsPage>();
    QString unused;
    if (page)
        page->BuildEncoderParameters(request.parameters, unused);
    request.keepShading = dialog.m_bKeepShading;
    // The user asked for these images: ones left from an earlier run are
    // replaced rather than silently kept.
    request.overwrite = true;

    // The template as it was at OK; the editor may go on meanwhile.
    const CTemplateSnapshot snapshot = doc.SavedSnapshot();
    std::atomic<bool> cancel{false};
    std::atomic<int> done{0};
    std::mutex lastLock;
    QString last;
    std::vector<CGroupRenderResult> results;
    QEventLoop loop;
    std::thread worker([&] {
        results = RenderTextureGroup(snapshot.picture.value_or(QImage()), snapshot.areas, request,
                                     [&](int finished, int, const CGroupRenderResult& result) {
                                         done = finished;
                                         {
                                             const std::lock_guard lock(lastLock);
                                             last = QFileInfo(result.texture).fileName();
                                         }
                                         if (m_probe && !m_probe(result))
                                             cancel = true;
                                     },
                                     &cancel);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    const int count = int(request.textures.size());
    QProgressDialog progress(QStringLiteral("Rendering the textures of %1...").arg(QDir(dialog.m_strGroupFolder).dirName()),
                             QStringLiteral("Cancel"), 0, std::max(1, count), m_pParent);
    progress.setWindowTitle(QStringLiteral("Render Texture Group"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    // The images under way finish first.
    StayOpenWhenCancelled(progress, [&cancel] { cancel = true; });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        progress.setValue(done);
        if (!cancel) {
            const std::lock_guard lock(lastLock);
            if (!last.isEmpty())
                progress.setLabelText(QStringLiteral("%1 of %2 done: %3").arg(int(done)).arg(count).arg(last));
        }
    });
    poll.start(100);
    loop.exec();
    worker.join();
    poll.stop();
    progress.hide();
    m_prompts.ShowInformation(Report(results, request.outputFolder));
    return results;
}

QString CRenderGroupSession::Report(const std::vector<CGroupRenderResult>& results, const QString& folder)
{
    int written = 0, cancelled = 0;
    QStringList problems;
    for (const CGroupRenderResult& result : results) {
        switch (result.status) {
        case CGroupRenderResult::Status::Written: ++written; break;
        case CGroupRenderResult::Status::Cancelled: ++cancelled; break;
        case CGroupRenderResult::Status::Skipped:
        case CGroupRenderResult::Status::Failed: problems << result.message; break;
        }
    }
    const QString where = QDir::toNativeSeparators(QDir(folder).absolutePath());
    QString text = written == 1 ? QStringLiteral("1 image written to %1").arg(where)
                                : QStringLiteral("%1 images written to %2").arg(written).arg(where);
    if (!problems.isEmpty())
        text += QStringLiteral(", %1 not").arg(problems.size());
    if (cancelled)
        text += QStringLiteral(", %1 cancelled").arg(cancelled);
    text += QLatin1Char('.');
    if (!problems.isEmpty())
        text += QLatin1Char('\n') + problems.join(QLatin1Char('\n'));
    return text;
}
