#include "view/ReferenceLineTool.h"

#include "view/ToolFeedback.h"
#include "view/ToolView.h"

CReferenceLineTool::CReferenceLineTool()
{
    SetCursor(QCursor(Qt::CrossCursor));
}

void CReferenceLineTool::OnLButtonDown(unsigned flags, int x, int y)
{
    CTool::OnLButtonDown(flags, x, y);
    m_ptEnd = Start();
    m_bShown = true;
    MoveFeedback(ToolFeedback::LineRegion(Start(), m_ptEnd));
}

void CReferenceLineTool::OnMouseMove(unsigned, int x, int y)
{
    if (!IsDragging())
        return;
    m_ptEnd = QPointF(x, y);
    MoveFeedback(ToolFeedback::LineRegion(Start(), m_ptEnd));
}

void CReferenceLineTool::OnLButtonUp(unsigned flags, int x, int y)
{
    const bool finished = IsDragging();
    CTool::OnLButtonUp(flags, x, y);
    if (!finished)
        return;
    m_bShown = false;
    ClearFeedback();
    const QPointF end(x, y);
    if (end == Start() || !View()) {
        Report(std::nullopt);
        return;
    }
    Report(QLineF(View()->ClientToPicture(Start()), View()->ClientToPicture(end)));
}

bool CReferenceLineTool::OnCancel()
{
    // Escape ends the drawing whether or not a line is being dragged.
    AbandonDrag();
    m_bShown = false;
    ClearFeedback();
    Report(std::nullopt);
    return true;
}

void CReferenceLineTool::DrawFeedback(QPainter& painter)
{
    if (m_bShown)
        ToolFeedback::DrawLine(painter, Start(), m_ptEnd, false);
}

void CReferenceLineTool::Report(std::optional<QLineF> line)
{
    // Taken first: the receiver may switch tools, or start another line.
    Done done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(line);
}
