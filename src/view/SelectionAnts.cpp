#include "view/SelectionAnts.h"

#include "geometry/Selection.h"
#include "view/ViewGeometry.h"

#include <QList>
#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace
{

// Flat caps keep every dash exactly its pattern length, so the light dashes
// butt onto the dark ones instead of overlapping them. StrokeBounds measures
// with the same caps and joins.
QPen OutlinePen(QRgb colour, qreal width)
{
    return QPen(QColor::fromRgba(colour), width, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
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

// A view that reports no usable zoom must not divide the pen by zero.
float SaneZoom(float zoom)
{
    return std::isfinite(zoom) && zoom > 0.0f ? zoom : 1.0f;
}

// How far, in window pixels, the strokes of one screen pixel wide dashes
// reach from the outline; what the tick repaints around each segment.
constexpr qreal kTickMargin = 3.0;

// The most clip rectangles stroked one at a time.
constexpr int kMaxParts = 64;
// Roughly how much slower a stroke is under a clip of many rectangles than
// under one rectangle (measured on 5,000 small holes: 3 to 4 times).
constexpr double kClipSpanCost = 3.0;

// A length in 64ths of a pixel, the unit thin dashed lines are stepped in,
// when it is a whole number of them.
bool In64ths(qreal v, qint64& out)
{
    const qreal scaled = v * 64.0;
    if (!std::isfinite(scaled) || scaled < 0.0 || scaled > qreal(1 << 30) || std::floor(scaled) != scaled)
        return false;
    out = qint64(scaled);
    return true;
}

// The most ticks a kept dash cycle may take.
constexpr qint64 kMaxCycleSteps = 8;
// Putting a kept step back copies the window's part of a layer; stroking an
// outline of a few thousand vertices is cheaper than that, so only outlines
// beyond this are kept (a wand's region with its holes, not a drawn shape).
constexpr std::size_t kMinCycleVertices = 2048;

} // namespace

void CSelectionAnts::SetStyle(QRgb dark, QRgb light, float penWidth, float dash, float gap, float phaseStep)
{
    m_clrDark = dark;
    m_clrLight = light;
    m_fPenWidth = penWidth;
    m_fDash = dash;
    m_fGap = gap;
    m_fPhaseStep = phaseStep;
}

float CSelectionAnts::DrawnPenWidth(float zoom) const
{
    const float w = m_fPenWidth / SaneZoom(zoom);
    return std::isfinite(w) && w > 0.0f ? w : 0.0f;
}

std::pair<QPen, QPen> CSelectionAnts::OutlinePens(float zoom) const
{
    const float d = std::max(SaneZoom(zoom), 1.0f);
    const qreal width = DrawnPenWidth(zoom);

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

QRectF CSelectionAnts::StrokeBounds(const CSelection& selection, float zoom) const
{
    if (selection.GetPath().isEmpty())
        return QRectF();
    // Below zoom 1 the drawn pen is wider than m_fPenWidth; measure the wider
    // of the two so an invalidated region always covers the whole outline.
    QPainterPathStroker stroker;
    stroker.setWidth(std::max<qreal>(SaneLength(m_fPenWidth), DrawnPenWidth(zoom)));
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    return stroker.createStroke(selection.GetPath()).boundingRect();
}

void CSelectionAnts::Draw(QPainter& painter, const CSelection& selection, float zoom)
{
    if (selection.IsEmpty())
        return;
    const auto [dark, light] = OutlinePens(zoom);
    painter.strokePath(selection.GetPath(), dark);
    painter.strokePath(selection.GetPath(), light);
    m_fPhase += m_fPhaseStep;
}

bool CSelectionAnts::CycleStep(const CViewGeometry& geometry, CAntsCycle::Style& style, int& position) const
{
    // A pen exactly one device pixel wide in opaque colours is drawn as thin
    // lines that paint every pixel they pass in the pen's own colour, their
    // dashes stepped in whole 64ths of a pixel from the dash offset: offsets
    // a pattern's length apart paint the same pixels.
    const float zoom = geometry.zoomX;
    if (!std::isfinite(zoom) || zoom <= 0.0f || geometry.zoomY != zoom || geometry.dpr != 1.0)
        return false;
    if (qreal(DrawnPenWidth(zoom)) * qreal(zoom) != 1.0 || qAlpha(m_clrDark) != 255 || qAlpha(m_clrLight) != 255)
        return false;
    const auto [dark, light] = OutlinePens(zoom);
    style = CAntsCycle::Style{m_clrDark, m_clrLight, dark.widthF(), {}, 1};
    position = 0;
    if (dark.style() == Qt::SolidLine)
        return true; // the same pixels at every step
    style.pattern = dark.dashPattern();
    qint64 length = 0;
    for (const qreal dash : style.pattern) {
        qint64 part = 0;
        if (!In64ths(dash, part) || part < 1)
            return false;
        length += part;
    }
    // Offsets that are not whole 64ths would be cut to them, differently
    // from one round to the next.
    qint64 step = 0, phase = 0, darkOffset = 0, lightOffset = 0;
    if (!In64ths(m_fPhaseStep, step) || step < 1 || length % step != 0 || length / step > kMaxCycleSteps)
        return false;
    if (!In64ths(m_fPhase, phase) || !In64ths(dark.dashOffset(), darkOffset) ||
        !In64ths(light.dashOffset(), lightOffset))
        return false;
    style.cycleLength = int(length);
    position = int(phase % length);
    return true;
}

void CSelectionAnts::DrawOnWindow(QPainter& painter, const CSelection& selection, const CViewGeometry& geometry)
{
    if (selection.IsEmpty())
        return;
    const QRect window(QPoint(0, 0), geometry.client);
    const QRegion clip = painter.hasClipping() ? painter.clipRegion() & window : QRegion(window);
    // Far enough out that no pen, join or rounding reaches past it: the
    // contours left out draw nothing inside the part.
    const qreal reach = 2.0 * qreal(DrawnPenWidth(geometry.zoomX)) * SaneZoom(geometry.zoomX) + 4.0;
    const auto [dark, light] = OutlinePens(geometry.zoomX);
    // The ants come back to where they were every few ticks: those kept
    // from the last time round are put back instead of stroked again.
    CAntsCycle::Style style;
    int position = 0;
    if (selection.VertexCount() >= kMinCycleVertices && CycleStep(geometry, style, position)) {
        const QPainterPath& path = m_visible.Path(selection, geometry, reach, window);
        const auto stroke = [&](QPainter& p) {
            p.strokePath(path, dark);
            p.strokePath(path, light);
        };
        if (m_cycle.Paint(painter, clip, selection, geometry, style, position, stroke)) {
            m_fPhase += m_fPhaseStep;
            return;
        }
    } else {
        m_cycle.Clear();
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QTransform client = painter.transform();
    // A clip in pieces, as a repaint of where a selection was can bring, is
    // taken whole when stroking piece by piece would cost more: every piece
    // walks the whole of each contour it meets.
    bool whole = clip.rectCount() > kMaxParts;
    if (!whole && clip.rectCount() > 1) {
        double pieces = 0.0;
        for (const QRect& part : clip)
            pieces += m_visible.Cost(selection, geometry, reach, part);
        whole = pieces > kClipSpanCost * m_visible.Cost(selection, geometry, reach, window);
    }
    if (whole) {
        painter.setTransform(geometry.Transform(), true);
        const QPainterPath& path = m_visible.Path(selection, geometry, reach, clip.boundingRect());
        painter.strokePath(path, dark);
        painter.strokePath(path, light);
        painter.restore();
        m_fPhase += m_fPhaseStep;
        return;
    }
    // One rectangle of the clip at a time: under a clip of many rectangles
    // the raster engine sends every dash pixel through its clip spans,
    // several times slower than a rectangle's clip. Lines are placed the
    // same whatever the clip, so the pixels are the same.
    for (const QRect& part : clip) {
        const QPainterPath& path = m_visible.Path(selection, geometry, reach, part);
        if (path.isEmpty())
            continue;
        // The clip in client pixels, the outline in picture pixels.
        painter.setTransform(client);
        painter.setClipRect(part);
        painter.setTransform(geometry.Transform(), true);
        painter.strokePath(path, dark);
        painter.strokePath(path, light);
    }
    painter.restore();
    m_fPhase += m_fPhaseStep;
}

QRegion CSelectionAnts::TickRegion(const CSelection& selection, const CViewGeometry& geometry)
{
    return m_visible.Strip(selection, geometry, kTickMargin);
}
