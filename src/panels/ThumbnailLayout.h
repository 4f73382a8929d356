#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// Where the cells of a thumbnail list sit for one viewport size, cell size,
// cell count and scroll offset. Cells fill rows left to right; a viewport
// narrower or lower than one cell still counts one column and one row, so
// the first cell shows clipped rather than the grid vanishing.
class CThumbnailLayout
{
public:
    CThumbnailLayout(QSize viewport, QSize cell, int count, int offset);

    int Columns() const { return m_nColumns; }
    // Whole rows that fit in the viewport.
    int VisibleRows() const { return m_nVisibleRows; }
    int TotalRows() const;
    // The last row that may be the top one: the end of the scroll range.
    int MaxTopRow() const;

    // Viewport coordinates; empty for a position outside the list.
    QRect CellRect(int position) const;
    // -1 for the margin right of the last full column and below the last cell.
    int HitTest(QPoint point) const;
    // The positions a repaint visits: the top row and the rows that show.
    int FirstPainted() const;
    // Where an arrow key moves the focus from focus (-1 for none): Right
    // starts at the first cell and Down at the end of the first row; Left
    // and Right run on into the neighbouring row. The result may lie
    // outside the list. Nothing for other keys.
    std::optional<int> ArrowTarget(int focus, int key) const;
    int EndPainted() const;

private:
    QSize m_sizeCell;
    int m_nCount;
    int m_nOffset;
    int m_nColumns;
    int m_nVisibleRows;
};
