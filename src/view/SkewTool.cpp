#include "view/SkewTool.h"

#include "document/TilemontDoc.h"
#include "render/AreaWarpUpdates.h"
#include "view/ToolFeedback.h"
#include "view/ToolView.h"

#include <QCoreApplication>

namespace {

// The two corners joined to each corner by an edge of the quadrilateral.
constexpr int kNeighbours[4][2] = {{1, 2}, {0, 3}, {0, 3}, {1, 2}};

} // namespace

CSkewTool::CSkewTool()
    : CHandleTool(CAreaEditCommand::kMergeSkewCorners, QCoreApplication::translate("CSkewTool", "Skew corners"))
{
}

CHandleTool::Corners CSkewTool::CornersOf(const CArea& area) const
{
    return area.GetSkewCorners();
}

void CSkewTool::StoreCorners(CArea& area, const Corners& corners) const
{
    area.GetSkewCorners() = corners;
}

void CSkewTool::PrepareArea(CArea& area) const
{
    if (area.HasSkewCorners())
        return;
    const QRect b = area.GetOutlineBounds();
    area.GetSkewCorners() = {QPoint(b.x(), b.y()), QPoint(b.x() + b.width(), b.y()),
                             QPoint(b.x(), b.y() + b.height()), QPoint(b.x() + b.width(), b.y() + b.height())};
}

void CSkewTool::Finish(CArea& area) const
{
    area.SetSkewApplied(true);
    // The coarse warp of the drag gives way to the exact one.
    if (area.GetTexture() && ShowsWarp(area))
        KeepExactWarp(Doc()->Warps(), area);
}

void CSkewTool::DrawDrag(QPainter& painter, const Corners& client, int corner) const
{
    for (int other : kNeighbours[corner])
        ToolFeedback::DrawLine(painter, client[std::size_t(corner)], client[std::size_t(other)], false);
}

QRegion CSkewTool::DragRegion(const Corners& client, int corner) const
{
    QRegion region;
    for (int other : kNeighbours[corner])
        region |= ToolFeedback::LineRegion(client[std::size_t(corner)], client[std::size_t(other)]);
    return region;
}
