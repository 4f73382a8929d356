#include "view/TileMask.h"

#include "geometry/SegmentClip.h"

#include <QRect>

#include <algorithm>
#include <cmath>

CTileMask::CTileMask(const QSize& client, int tile)
    : m_client(client.expandedTo(QSize(0, 0)))
    , m_nTile(std::max(1, tile))
    , m_nCols((m_client.width() + m_nTile - 1) / m_nTile)
    , m_nRows((m_client.height() + m_nTile - 1) / m_nTile)
    , m_cells(std::size_t(m_nCols) * std::size_t(m_nRows), 0)
{
}

void CTileMask::MarkRect(qreal left, qreal top, qreal right, qreal bottom)
{
    const int c0 = std::max(0, int(std::floor(left / m_nTile)));
    const int c1 = std::min(m_nCols - 1, int(std::floor(right / m_nTile)));
    const int r0 = std::max(0, int(std::floor(top / m_nTile)));
    const int r1 = std::min(m_nRows - 1, int(std::floor(bottom / m_nTile)));
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            m_cells[std::size_t(r) * m_nCols + c] = 1;
}

void CTileMask::AddSegment(QPointF a, QPointF b, qreal margin)
{
    if (m_cells.empty() || !std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
        !std::isfinite(b.y()))
        return;
    const auto clipped = ClipSegmentToRect(
        a, b, QRectF(QPointF(-margin, -margin), QPointF(m_client.width() + margin, m_client.height() + margin)));
    if (!clipped)
        return;
    const QPointF start = a, along = b - a;
    a = start + clipped->first * along;
    b = start + clipped->second * along;
    // Pieces no longer than a tile, so a diagonal marks a band of tiles and
    // not its whole bounding box.
    const qreal length = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
    const int pieces = std::max(1, int(std::ceil(length / m_nTile)));
    QPointF from = a;
    for (int i = 1; i <= pieces; ++i) {
        const qreal t = qreal(i) / pieces;
        const QPointF to(a.x() + (b.x() - a.x()) * t, a.y() + (b.y() - a.y()) * t);
        MarkRect(std::min(from.x(), to.x()) - margin, std::min(from.y(), to.y()) - margin,
                 std::max(from.x(), to.x()) + margin, std::max(from.y(), to.y()) + margin);
        from = to;
    }
}

bool CTileMask::IsEmpty() const
{
    return std::find(m_cells.begin(), m_cells.end(), 1) == m_cells.end();
}

QRegion CTileMask::Region() const
{
    QRegion region;
    const QRect client(QPoint(0, 0), m_client);
    for (int r = 0; r < m_nRows; ++r) {
        int c = 0;
        while (c < m_nCols) {
            if (!m_cells[std::size_t(r) * m_nCols + c]) {
                ++c;
                continue;
            }
            const int start = c;
            while (c < m_nCols && m_cells[std::size_t(r) * m_nCols + c])
                ++c;
            region += QRect(start * m_nTile, r * m_nTile, (c - start) * m_nTile, m_nTile).intersected(client);
        }
    }
    return region;
}
