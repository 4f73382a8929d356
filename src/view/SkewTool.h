#pragma once

#include "view/HandleTool.h"

// Drags the edited area's four skew corners, the quadrilateral the texture
// is warped onto. Two inverted edges, those that meet at the dragged corner,
// follow the pointer, and so does the texture, warped coarsely until the
// release.
class CSkewTool : public CHandleTool
{
public:
    CSkewTool();

protected:
    Corners CornersOf(const CArea& area) const override;
    void StoreCorners(CArea& area, const Corners& corners) const override;
    void PrepareArea(CArea& area) const override;
    void Finish(CArea& area) const override;
    void DrawDrag(QPainter& painter, const Corners& client, int corner) const override;
    QRegion DragRegion(const Corners& client, int corner) const override;
};
