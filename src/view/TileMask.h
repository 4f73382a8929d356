#pragma once

#include <QPointF>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <vector>

// A coarse mask of the client area in square tiles, marked along line
// segments: a cheap region that covers an outline without covering what the
// outline encloses, so redrawing it costs in proportion to the outline's
// length rather than to its bounding box.
class CTileMask
{
public:
    explicit CTileMask(const QSize& client, int tile = 32);

    // Marks every tile within margin of the segment a-b (client coordinates).
    void AddSegment(QPointF a, QPointF b, qreal margin);
    bool IsEmpty() const;
    QRegion Region() const;

private:
    void MarkRect(qreal left, qreal top, qreal right, qreal bottom);

    QSize m_client;
    int m_nTile;
    int m_nCols;
    int m_nRows;
    std::vector<std::uint8_t> m_cells;
};
