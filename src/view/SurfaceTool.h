#pragma once

#include "analysis/RegionMask.h"
#include "view/Tool.h"

#include <QCoreApplication>

#include <optional>
#include <vector>

// "Find surface": a click inside a surface, or a rough rectangle or
// free-hand loop dragged around it, and the surface finder's region is
// committed to the selection with the modifier keys held at the release.
// A drag that ends near where it began is a loop; any other drag is the
// rectangle between its ends, shown as a band while dragging. The search runs beside the window, with a
// progress window and Cancel once it takes longer than half a second.
class CSurfaceTool : public CTool
{
    Q_DECLARE_TR_FUNCTIONS(CSurfaceTool)

public:
    CSurfaceTool();

    void OnMouseMove(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    bool OnCancel() override;
    void DrawFeedback(QPainter& painter) override;

    // Whether a drag with these client points is read as a closed loop
    // rather than as a rectangle.
    static bool IsLoop(const std::vector<QPointF>& trace);

private:
    void ClearTrace();
    // Runs the finder beside the window; nothing when cancelled.
    std::optional<CRegionMask> Search(const QPointF& click, const std::vector<QPointF>& loop) const;

    std::vector<QPointF> m_points;
};
