#include "RenderSession.h"

#include "CliOutput.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

using Status = CGroupRenderResult::Status;

// Every texture allocates and frees buffers of the same large sizes (the
// warp's, the canvas, the encoded file). By default glibc maps each afresh
// and unmaps it when freed, so that every texture faults its pages in again
// and every unmapping interrupts the other jobs' processors; kept in the
// heap, the buffers are reused.
void KeepLargeBuffers()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

} // namespace

CRenderSession::CRenderSession(const CRenderOptions& options, int total)
    : m_options(options), m_nTotal(total), m_progress(stderr, isatty(STDERR_FILENO) != 0), m_json(stdout)
{
    // The image readers' own complaints about a damaged file would only
    // repeat, less plainly, the failure reported for it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.*=false"));
    KeepLargeBuffers();
}

bool CRenderSession::Render(const QImage& picture, const std::vector<CArea>& areas, const CGroupRenderRequest& request)
{
    if (CInterruptCatcher::Interrupted())
        return false;
    if (!request.overwrite)
        for (const QString& texture : request.textures)
            if (const QString output = GroupOutputPath(request, texture); QFileInfo::exists(output))
                m_present.insert(output);
    RenderTextureGroup(picture, areas, request, [this](int, int, const CGroupRenderResult& result) { Report(result); },
                       &CInterruptCatcher::Flag());
    return !CInterruptCatcher::Interrupted();
}

void CRenderSession::Fail(const CGroupRenderRequest& request, const QString& why)
{
    for (const QString& texture : request.textures)
        Report({texture, GroupOutputPath(request, texture), Status::Failed, why});
}

void CRenderSession::Report(const CGroupRenderResult& result)
{
    ++m_nDone;
    switch (result.status) {
    case Status::Written:
        ++m_nWritten;
        break;
    case Status::Skipped:
        ++m_nSkipped;
        m_nPresent += m_present.contains(result.output) ? 1 : 0;
        break;
    case Status::Failed:
    case Status::Cancelled:
        ++m_nFailed;
        break;
    }
    if (m_options.jsonProgress)
        m_json.Report(result);
    else
        m_progress.Report(m_nDone, m_nTotal, result);
}

int CRenderSession::Finish(const QString& where)
{
    m_progress.Finish();
    QString summary = QDir::toNativeSeparators(where);
    if (!m_options.shard.IsWhole())
        summary += QStringLiteral(", slice %1").arg(m_options.shard.Describe());
    summary += QStringLiteral(": %1 written, %2 skipped").arg(m_nWritten).arg(m_nSkipped);
    if (m_nPresent > 0)
        summary += QStringLiteral(" (%1 there already)").arg(m_nPresent);
    summary += QStringLiteral(", %1 failed").arg(m_nFailed);
    if (CInterruptCatcher::Interrupted()) {
        PrintError(summary + QStringLiteral(", %1 not rendered: interrupted.").arg(m_nTotal - m_nDone));
        CInterruptCatcher::EndBySignal();
        return kFailed;
    }
    summary += QStringLiteral(".\n");
    // With JSON lines on stdout, the summary keeps out of their way.
    if (m_options.jsonProgress) {
        std::fputs(summary.toLocal8Bit().constData(), stderr);
        return m_nFailed > 0 ? kFailed : kOk;
    }
    return WriteStdout(summary.toLocal8Bit()) == kOk && m_nFailed == 0 ? kOk : kFailed;
}
