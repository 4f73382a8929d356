#pragma once

#include "view/AntsCycle.h"
#include "view/VisibleOutline.h"

#include <QPen>
#include <QRectF>
#include <QRegion>
#include <QRgb>

#include <utility>

class CSelection;
class QPainter;
struct CViewGeometry;

// One view's marching ants: the style of the selection's animated outline,
// kept one screen pixel wide at the view's zoom, and the dash phase, which
// moves one step on each time the outline is drawn. Every view has its own,
// so views of one document march and scale their ants independently.
class CSelectionAnts
{
public:
    // The phase is left as it is, so the ants keep crawling smoothly.
    void SetStyle(QRgb dark, QRgb light, float penWidth, float dash, float gap, float phaseStep);

    // The dark and light pens the outline is drawn with at zoom and the
    // current phase; a zoom that is not a positive number counts as 1.
    std::pair<QPen, QPen> OutlinePens(float zoom) const;
    float GetPhase() const { return m_fPhase; }

    // Bounds of the outline as drawn at zoom, in picture pixels.
    QRectF StrokeBounds(const CSelection& selection, float zoom) const;

    // Strokes the whole outline with the dark pen, then the light pen, and
    // moves the phase one step on; painter maps picture pixels to its
    // device. Does nothing for an empty selection.
    void Draw(QPainter& painter, const CSelection& selection, float zoom);
    // The same on a window laid out by geometry, whose painter paints in
    // client pixels: only the contours that can show there are stroked,
    // and where the dashes come round again within a few ticks, what was
    // kept of them last time round is put back; both draw the same pixels.
    void DrawOnWindow(QPainter& painter, const CSelection& selection, const CViewGeometry& geometry);

    // The strip of a window laid out by geometry that the outline covers:
    // what one step of the ants repaints. Kept until the selection or the
    // geometry changes.
    QRegion TickRegion(const CSelection& selection, const CViewGeometry& geometry);

    // How many steps of the dash cycle are kept for the window now.
    int KeptCycleSteps() const { return m_cycle.KeptSteps(); }

private:
    float DrawnPenWidth(float zoom) const;
    // Where the ants drawn on a window laid out by geometry are in a dash
    // cycle short enough to keep; false when they are in none.
    bool CycleStep(const CViewGeometry& geometry, CAntsCycle::Style& style, int& position) const;

    float m_fPhaseStep = 1.0f;
    float m_fPhase = 0.0f;
    float m_fGap = 4.0f;
    float m_fDash = 4.0f;
    float m_fPenWidth = 1.0f;
    QRgb m_clrLight = 0xFFFFFFFF;
    QRgb m_clrDark = 0xFF000000;
    CVisibleOutline m_visible;
    CAntsCycle m_cycle;
};
