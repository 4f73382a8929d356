#include "view/PolylineTool.h"

#include "view/ToolCursors.h"
#include "view/ToolFeedback.h"
#include "view/ToolView.h"

#include <QPainterPath>

CPolylineTool::CPolylineTool()
{
    SetCursor(ToolCursors::Get(ToolCursors::Polyline));
}

void CPolylineTool::OnLButtonDown(unsigned flags, int x, int y)
{
    CTool::OnLButtonDown(flags, x, y);
    const QPointF p{float(x), float(y)};
    if (!m_vertices.empty())
        m_edges |= ToolFeedback::LineRegion(m_vertices.back(), p);
    m_vertices.push_back(p);
    // The pointer is on the new vertex even when no move said so: the
    // rubber segment starts again from there.
    m_ptLast = p;
    MoveFeedback(DrawnRegion());
    if (View())
        View()->SetMouseGrab(true);
}

void CPolylineTool::OnLButtonUp(unsigned, int, int)
{
    // The polygon keeps the mouse until it is finished.
}

void CPolylineTool::OnMouseMove(unsigned, int x, int y)
{
    if (!IsInProgress())
        return;
    m_ptLast = QPointF(float(x), float(y));
    m_bBandShown = true;
    MoveFeedback(DrawnRegion());
}

QRegion CPolylineTool::DrawnRegion() const
{
    return m_bBandShown ? m_edges | ToolFeedback::LineRegion(m_vertices.back(), m_ptLast) : m_edges;
}

void CPolylineTool::OnRButtonDown(unsigned, int, int)
{
    if (View())
        View()->SetMouseGrab(false);
    if (m_vertices.empty())
        return;
    m_bBandShown = false;
    m_edges = QRegion();
    ClearFeedback();

    std::vector<QPointF> ring;
    ring.swap(m_vertices);
    FinishShape(ClosedPicturePath(std::move(ring)));
}

bool CPolylineTool::OnCancel()
{
    if (!IsInProgress())
        return false;
    Abandon();
    return true;
}

void CPolylineTool::Abandon()
{
    if (View())
        View()->SetMouseGrab(false);
    m_bBandShown = false;
    m_vertices.clear();
    m_edges = QRegion();
    ClearFeedback();
}

void CPolylineTool::OnActivate(bool active)
{
    if (!IsInProgress() || !View())
        return;
    // Another tool must get the clicks meant for it (and for the menus):
    // only the active polyline tool holds the mouse.
    View()->SetMouseGrab(active);
    // The view draws the active tool's feedback alone: the half-built
    // polygon goes with its tool and comes back with it.
    View()->InvalidateClient(DrawnRegion());
}

void CPolylineTool::DrawFeedback(QPainter& painter)
{
    if (!IsInProgress())
        return;
    ToolFeedback::DrawLines(painter, m_vertices, true);
    if (m_bBandShown)
        ToolFeedback::DrawLine(painter, m_vertices.back(), m_ptLast, true);
}
