#pragma once

#include "geometry/Polygon.h"

#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QRgb>

#include <utility>

class ISelectionView;
class QPainter;

// The document's current selection: a polygon set in picture pixels and the
// style of its animated ("marching ants") outline.
class CSelection
{
public:
    CSelection() = default;

    // The view whose zoom scales the outline; none means zoom 1.
    void SetView(const ISelectionView* view) { m_pView = view; }

    // Deep copy of set, or empty when set is null.
    void SetPolygon(const CPolygon* set);
    CPolygon& GetPolygon() { return m_polygon; }
    const CPolygon& GetPolygon() const { return m_polygon; }
    bool IsEmpty() const { return m_polygon.IsEmpty(); }

    // Bounds of the outline as drawn, in picture pixels, for invalidation.
    QRectF GetBounds() const;

    // The phase is left as it is, so the ants keep crawling smoothly.
    void SetStyle(QRgb dark, QRgb light, float penWidth, float dash, float gap,
                  float phaseStep);

    // Strokes the outline with the dark pen, then the light pen, and moves the
    // dash phase one step on. Does nothing while the selection is empty.
    void DrawOutline(QPainter& painter);

    // The dark and light pens DrawOutline uses at the current zoom and phase.
    std::pair<QPen, QPen> OutlinePens() const;

    float GetPhase() const { return m_fPhase; }

private:
    float Zoom() const;
    float DrawnPenWidth() const;

    const ISelectionView* m_pView = nullptr;
    float m_fPhaseStep = 1.0f;
    float m_fPhase = 0.0f;
    float m_fGap = 4.0f;
    float m_fDash = 4.0f;
    float m_fPenWidth = 1.0f;
    QRgb m_clrLight = 0xFFFFFFFF;
    QRgb m_clrDark = 0xFF000000;
    CPolygon m_polygon;
    // Rebuilt from m_polygon whenever the outline is drawn or measured, since
    // callers may edit the polygon in place through GetPolygon().
    mutable QPainterPath m_path;
};
