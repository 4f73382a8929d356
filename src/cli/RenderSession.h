#pragma once

#include "GroupProgress.h"
#include "InterruptCatcher.h"
#include "JsonProgress.h"
#include "RenderOptions.h"

#include <QSet>
#include <QString>
#include <vector>

// One run of a render command, over one room or many: reports every image
// as it finishes (the human progress on stderr, or JSON lines on stdout),
// stops cleanly on SIGINT or SIGTERM, and ends with the summary and the
// exit status. Images already there when a room starts are counted apart,
// so that a rerun of a stopped run says how much it found done.
class CRenderSession
{
public:
    // total: the images of the whole run, for the count the progress shows.
    CRenderSession(const CRenderOptions& options, int total);
    CRenderSession(const CRenderSession&) = delete;
    CRenderSession& operator=(const CRenderSession&) = delete;

    // Renders the request's textures into the template; false once the run
    // is interrupted, when no further room should start.
    bool Render(const QImage& picture, const std::vector<CArea>& areas, const CGroupRenderRequest& request);
    // Counts each texture of request as failed for the reason given (a
    // template that no longer opens), without rendering.
    void Fail(const CGroupRenderRequest& request, const QString& why);

    // Prints the summary naming where (and the slice, for a sharded run)
    // and returns the exit status: 0 when every image is written or was
    // there, 1 when any failed. An interrupted run ends here by its signal.
    int Finish(const QString& where);

private:
    void Report(const CGroupRenderResult& result);

    const CRenderOptions m_options;
    const int m_nTotal;
    int m_nDone = 0;
    int m_nWritten = 0;
    int m_nSkipped = 0;
    int m_nPresent = 0;
    int m_nFailed = 0;
    QSet<QString> m_present;
    CGroupProgress m_progress;
    CJsonProgress m_json;
    CInterruptCatcher m_catcher;
};
