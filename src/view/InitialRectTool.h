#pragma once

#include "view/HandleTool.h"

// Drags the corners of the edited area's initial rectangle, the texture
// canvas that the warp distorts; the rectangle stays axis-aligned and is
// shown whole, inverted, while a corner moves.
class CInitialRectTool : public CHandleTool
{
public:
    CInitialRectTool();

protected:
    Corners CornersOf(const CArea& area) const override;
    void StoreCorners(CArea& area, const Corners& corners) const override;
    void MoveCorner(Corners& corners, int corner, QPoint to) const override;
    void PrepareArea(CArea& area) const override;
    void Finish(CArea& area) const override;
    void DrawDrag(QPainter& painter, const Corners& client, int corner) const override;
    QRegion DragRegion(const Corners& client, int corner) const override;
};
