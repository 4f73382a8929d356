#include "RenderGroupSession.h"

#include "ExportFormats.h"
#include "JpegOptionsPage.h"
#include "RenderGroupDlg.h"
#include "TiffOptionsPage.h"
#include "catalogue/ProductSidecar.h"
#include "codecs/EncoderRegistry.h"
#include "document/IDocumentPrompts.h"
#include "controls/WorkerProgress.h"
#include "document/TilemontDoc.h"
#include "document/UiText.h"
#include "catalogue/TextureCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

#include <atomic>
#include <memory>
#include <mutex>

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
    // A group's list of products describes its pictures and is none.
    request.textures.removeIf([](const QString& path) { return ProductSidecar::IsSidecar(path); });
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

    // The template as it was at OK; the editor may go on meanwhile. The
    // images under way finish first when cancelled.
    const CTemplateSnapshot snapshot = doc.Snapshot();
    request.warps = snapshot.warps.get();
    const int count = int(request.textures.size());
    CWorkerProgress work({tr("Render Texture Group"),
                          tr("Rendering the textures of %1...").arg(QDir(dialog.m_strGroupFolder).dirName()),
                          std::max(1, count), 0, 100},
                         m_pParent);
    std::atomic<bool>& cancel = work.CancelFlag();
    std::atomic<int> done{0};
    std::mutex lastLock;
    QString last;
    work.SetPoll([&](QProgressDialog& progress) {
        progress.setValue(done);
        if (!cancel) {
            const std::lock_guard lock(lastLock);
            if (!last.isEmpty())
                progress.setLabelText(tr("%1 of %2 done: %3").arg(int(done)).arg(count).arg(last));
        }
    });
    std::vector<CGroupRenderResult> results;
    work.Run([&] {
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
    });
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
    const QString failed = QString::number(problems.size()), stopped = QString::number(cancelled);
    // One whole sentence for each mix of outcomes, its plural forms chosen
    // before the folder's name goes in.
    const auto counted = [written](const char* sentence) {
        return CUiText::Counted(tr(sentence, nullptr, written), written);
    };
    QString text;
    if (!problems.isEmpty() && cancelled)
        text = counted(QT_TR_N_NOOP("%n image(s) written to %1, %2 not, %3 cancelled.")).arg(where, failed, stopped);
    else if (!problems.isEmpty())
        text = counted(QT_TR_N_NOOP("%n image(s) written to %1, %2 not.")).arg(where, failed);
    else if (cancelled)
        text = counted(QT_TR_N_NOOP("%n image(s) written to %1, %2 cancelled.")).arg(where, stopped);
    else
        text = counted(QT_TR_N_NOOP("%n image(s) written to %1.")).arg(where);
    if (!problems.isEmpty())
        text += QLatin1Char('\n') + problems.join(QLatin1Char('\n'));
    return text;
}
