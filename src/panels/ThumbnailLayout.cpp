#include "panels/ThumbnailLayout.h"

#include <Qt>

#include <algorithm>

CThumbnailLayout::CThumbnailLayout(QSize viewport, QSize cell, int count, int offset)
    : m_sizeCell(cell.expandedTo(QSize(1, 1))), m_nCount(std::max(count, 0)), m_nOffset(offset),
      m_nColumns(std::max(1, viewport.width() / m_sizeCell.width())),
      m_nVisibleRows(std::max(1, viewport.height() / m_sizeCell.height()))
{
}

int CThumbnailLayout::TotalRows() const
{
    return (m_nCount + m_nColumns - 1) / m_nColumns;
}

int CThumbnailLayout::MaxTopRow() const
{
    return std::max(0, TotalRows() - m_nVisibleRows);
}

QRect CThumbnailLayout::CellRect(int position) const
{
    if (position < 0 || position >= m_nCount)
        return QRect();
    const int left = m_sizeCell.width() * (position % m_nColumns);
    const int top = (position / m_nColumns) * m_sizeCell.height() - m_nOffset;
    return QRect(QPoint(left, top), m_sizeCell);
}

int CThumbnailLayout::HitTest(QPoint point) const
{
    if (point.x() < 0 || point.y() + m_nOffset < 0)
        return -1;
    const int column = point.x() / m_sizeCell.width();
    const int row = (point.y() + m_nOffset) / m_sizeCell.height();
    const int position = row * m_nColumns + column;
    return column < m_nColumns && position < m_nCount ? position : -1;
}

int CThumbnailLayout::FirstPainted() const
{
    return std::min(m_nCount, m_nColumns * (m_nOffset / m_sizeCell.height()));
}

int CThumbnailLayout::EndPainted() const
{
    return std::min(m_nCount, FirstPainted() + m_nColumns * (m_nVisibleRows + 1));
}

std::optional<int> CThumbnailLayout::ArrowTarget(int focus, int key) const
{
    const bool none = focus < 0;
    switch (key) {
    case Qt::Key_Left: return none ? -1 : focus - 1;
    case Qt::Key_Right: return none ? 0 : focus + 1;
    case Qt::Key_Up: return none ? -1 : focus - m_nColumns;
    case Qt::Key_Down: return none ? m_nColumns - 1 : focus + m_nColumns;
    default: return std::nullopt;
    }
}
