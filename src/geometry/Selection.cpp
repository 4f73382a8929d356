#include "geometry/Selection.h"

#include "geometry/ISelectionView.h"

#include <QList>
#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace
{

// Flat caps keep every dash exactly its pattern length, so the light dashes
// butt onto the dark ones instead of overlapping them. GetBounds measures
// with the same caps and joins.
QPen OutlinePen(QRgb colour, qreal width)
{
    QPen pen(QColor::fromRgba(colour), width, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

// Lengths that are negative, NaN or infinite would stall or confuse the
// stroker; treat them as zero.
qreal SaneLength(qreal v)
{
    return std::isfinite(v) && v > 0 ? v : 0.0;
}

qreal FiniteOrZero(qreal v)
{
    return std::isfinite(v) ? v : 0.0;
}

} // namespace

void CSelection::SetPolygon(const CPolygon* set)
{
    CopyPolygon(m_polygon, set);
    m_path = QPainterPath();
}

float CSelection::Zoom() const
{
    if (!m_pView)
        return 1.0f;
    const float z = m_pView->GetZoomX();
    // A view that reports no usable zoom must not divide the pen by zero.
    return std::isfinite(z) && z > 0.0f ? z : 1.0f;
}

float CSelection::DrawnPenWidth() const
{
    const float w = m_fPenWidth / Zoom();
    return std::isfinite(w) && w > 0.0f ? w : 0.0f;
}

void CSelection::SetStyle(QRgb dark, QRgb light, float penWidth, float dash, float gap,
                          float phaseStep)
{
    m_clrDark = dark;
    m_clrLight = light;
    m_fPenWidth = penWidth;
    m_fDash = dash;
    m_fGap = gap;
    m_fPhaseStep = phaseStep;
}

std::pair<QPen, QPen> CSelection::OutlinePens() const
{
    const float z = Zoom();
    const float d = std::max(z, 1.0f);
    const qreal width = DrawnPenWidth();

    QPen dark = OutlinePen(m_clrDark, width);
    QPen light = OutlinePen(m_clrLight, width);

    const qreal dash = SaneLength(m_fDash / d);
    const qreal gap = SaneLength(m_fGap / d);
    if (dash + gap > 0.0) {
        const QList<qreal> pattern{dash, gap};
        dark.setDashPattern(pattern);
        light.setDashPattern(pattern);
        // The light dashes start where the dark ones end, filling their gaps.
        dark.setDashOffset(FiniteOrZero(m_fPhase));
        light.setDashOffset(FiniteOrZero(m_fDash + m_fPhase));
    } else {
        // Nothing to alternate: a plain line is the only sensible outline.
        dark.setStyle(Qt::SolidLine);
        light.setStyle(Qt::SolidLine);
    }
    return {dark, light};
}

QRectF CSelection::GetBounds() const
{
    PolygonToPath(m_polygon, m_path);
    if (m_path.isEmpty())
        return QRectF();
    // Below zoom 1 the drawn pen is wider than m_fPenWidth; measure the wider
    // of the two so an invalidated region always covers the whole outline.
    QPainterPathStroker stroker;
    stroker.setWidth(std::max<qreal>(SaneLength(m_fPenWidth), DrawnPenWidth()));
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    return stroker.createStroke(m_path).boundingRect();
}

void CSelection::DrawOutline(QPainter& painter)
{
    if (m_polygon.IsEmpty())
        return;
    const auto [dark, light] = OutlinePens();
    PolygonToPath(m_polygon, m_path);
    painter.strokePath(m_path, dark);
    painter.strokePath(m_path, light);
    m_fPhase += m_fPhaseStep;
}
