#include "view/Tool.h"

#include "document/TilemontDoc.h"
#include "view/ToolView.h"

#include <QPainterPath>
#include <QWidget>

bool CTool::OnSetCursor(QWidget* window)
{
    if (!m_cursor)
        return false;
    window->setCursor(*m_cursor);
    return true;
}

void CTool::OnLButtonDown(unsigned, int x, int y)
{
    m_bCapturing = true;
    m_bAbandoned = false;
    m_ptStart = QPointF(float(x), float(y));
}

void CTool::OnLButtonUp(unsigned, int, int)
{
    m_bCapturing = false;
    m_bAbandoned = false;
}

bool CTool::AbandonDrag()
{
    if (!IsDragging())
        return false;
    m_bAbandoned = true;
    m_bBandShown = false;
    return true;
}

void CTool::MoveFeedback(const QRegion& region)
{
    if (m_pView)
        m_pView->InvalidateClient(m_feedback | region);
    m_feedback = region;
}

void CTool::AddFeedback(const QRegion& region)
{
    // Not accumulated: a long trace would make every move pay for a region
    // of thousands of rectangles.
    if (m_pView)
        m_pView->InvalidateClient(region);
}

QPainterPath CTool::ClosedPicturePath(std::vector<QPointF> points) const
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    if (points.empty())
        return path;
    if (points.front() != points.back())
        points.push_back(points.front());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPointF p = m_pView ? m_pView->ClientToPicture(points[i]) : points[i];
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    return path;
}

void CTool::FinishShape(const QPainterPath& path)
{
    if (!m_pDoc || !m_pView)
        return;
    const Qt::KeyboardModifiers keys = m_pView->CurrentModifiers();
    m_pDoc->CommitSelectionShape(path, keys.testFlag(Qt::ControlModifier), keys.testFlag(Qt::ShiftModifier));
}
