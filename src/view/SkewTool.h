#pragma once

#include "view/HandleTool.h"

// Drags the edited area's four skew corners, the quadrilateral the texture
// is warped onto. Two inverted edges, those that meet at the dragged corner,
// follow the pointer, and so does the texture, warped coarsely until the
// release.
class CSkewTool : public CHandleTool
{
public:
    // The live warp while a corner moves holds about this many pixels, so
    // that it keeps up with the pointer; the release makes the exact one.
    static constexpr qint64 kPreviewPixels = 400000;

    CSkewTool();

protected:
    Corners CornersOf(const CArea& area) const override;
    void StoreCorners(CArea& area, const Corners& corners) const override;
    void PrepareArea(CArea& area) const override;
    void AfterDragMove(CArea& area) const override;
    void Finish(CArea& area) const override;
    // Whether the area shows its warp in this window: while its corners are
    // edited only when previewed, otherwise when the skew is applied.
    bool ShowsWarp(const CArea& area) const;
    void DrawDrag(QPainter& painter, const Corners& client, int corner) const override;
    QRegion DragRegion(const Corners& client, int corner) const override;
};
