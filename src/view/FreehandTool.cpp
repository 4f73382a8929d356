#include "view/FreehandTool.h"

#include "view/TileMask.h"
#include "view/ToolCursors.h"
#include "view/ToolFeedback.h"
#include "view/ToolView.h"

#include <QPainterPath>

CFreehandTool::CFreehandTool()
{
    SetCursor(ToolCursors::Get(ToolCursors::Freehand));
}

void CFreehandTool::OnMouseMove(unsigned, int x, int y)
{
    if (!IsDragging())
        return;
    const QPointF p{float(x), float(y)};
    const QPointF prev = m_points.empty() ? p : m_points.back();
    m_points.push_back(p);
    m_bBandShown = true;
    AddFeedback(ToolFeedback::LineRegion(prev, p));
}

void CFreehandTool::OnLButtonUp(unsigned flags, int x, int y)
{
    CTool::OnLButtonUp(flags, x, y);
    if (m_points.empty())
        return;
    m_bBandShown = false;
    ClearTrace();
    std::vector<QPointF> ring;
    ring.swap(m_points);
    FinishShape(ClosedPicturePath(std::move(ring)));
}

bool CFreehandTool::OnCancel()
{
    if (!AbandonDrag())
        return false;
    ClearTrace();
    m_points.clear();
    return true;
}

void CFreehandTool::ClearTrace()
{
    // Coarse tiles along the trace: cheap to build for any length, and
    // still far from the whole window.
    if (!View())
        return;
    CTileMask mask(View()->GetGeometry().client);
    for (std::size_t i = 0; i + 1 < m_points.size(); ++i)
        mask.AddSegment(m_points[i], m_points[i + 1], 2.0);
    if (m_points.size() == 1)
        mask.AddSegment(m_points[0], m_points[0], 2.0);
    View()->InvalidateClient(mask.Region());
}

void CFreehandTool::DrawFeedback(QPainter& painter)
{
    if (m_bBandShown)
        ToolFeedback::DrawLines(painter, m_points, false);
}
