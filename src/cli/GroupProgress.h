#pragma once

#include "export/GroupRender.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

// Progress of a render-group run on stderr. On a terminal: one bar, redrawn
// as textures finish, with the count, the rate and the time left, and the
// textures skipped or failed printed above it. Elsewhere (a log, a pipe):
// one line per texture, which reads well after the fact.
class CGroupProgress
{
public:
    CGroupProgress(std::FILE* stream, bool terminal);

    // A GroupRenderProgress: one call at a time.
    void Report(int done, int count, const CGroupRenderResult& result);
    // Ends the bar's line, so that what follows starts on its own.
    void Finish();

private:
    void DrawBar(int done, int count);
    void Print(const QString& line);

    std::FILE* m_stream;
    bool m_bTerminal;
    bool m_bBarShown = false;
    int m_nWritten = 0;
    QElapsedTimer m_clock;
};
