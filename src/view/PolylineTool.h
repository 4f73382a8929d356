#pragma once

#include "view/Tool.h"

#include <vector>

// "Polyline selection": each left click adds a vertex, a dotted rubber
// segment follows the pointer from the last one, a right click closes the
// polygon and commits it. The view keeps the mouse between clicks; a
// polygon left half-built when another tool is picked is continued when
// this one comes back, without holding the mouse meanwhile.
class CPolylineTool : public CTool
{
public:
    CPolylineTool();

    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    bool OnCancel() override;
    void OnActivate(bool active) override;
    void DrawFeedback(QPainter& painter) override;

    // From the first vertex until the polygon is finished or abandoned.
    bool IsInProgress() const { return !m_vertices.empty(); }

private:
    void Abandon();
    // Where the edges and the rubber segment are drawn.
    QRegion DrawnRegion() const;

    std::vector<QPointF> m_vertices;
    // The edges drawn so far, kept so that a move repaints only them and the
    // rubber segment.
    QRegion m_edges;
};
