#include "view/BandTool.h"

#include <cmath>

void CBandTool::OnMouseMove(unsigned, int x, int y)
{
    if (!IsDragging())
        return;
    m_ptLast = QPointF(float(x), float(y));
    m_bBandShown = true;
    MoveFeedback(ToolFeedback::BandRegion(m_figure, ToolFeedback::BandRect(Start(), m_ptLast)));
}

bool CBandTool::OnCancel()
{
    if (!AbandonDrag())
        return false;
    ClearFeedback();
    return true;
}

void CBandTool::DrawFeedback(QPainter& painter)
{
    if (m_bBandShown)
        ToolFeedback::DrawBand(painter, m_figure, ToolFeedback::BandRect(Start(), m_ptLast));
}

bool CBandTool::EndDrag(int x, int y)
{
    const bool ends = IsDragging();
    if (m_bBandShown) {
        m_bBandShown = false;
        ClearFeedback();
    }
    m_ptLast = QPointF(float(x), float(y));
    return ends;
}

QRectF CBandTool::DraggedRect(int x, int y) const
{
    const float sx = float(Start().x()), sy = float(Start().y());
    const float fx = float(x), fy = float(y);
    return QRectF(std::min(sx, fx), std::min(sy, fy), std::abs(std::trunc(sx - fx)), std::abs(std::trunc(sy - fy)));
}
