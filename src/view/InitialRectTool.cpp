#include "view/InitialRectTool.h"

#include "document/TilemontDoc.h"
#include "render/AreaWarpUpdates.h"
#include "view/ToolFeedback.h"

#include <QCoreApplication>
#include <QPainter>

CInitialRectTool::CInitialRectTool()
    : CHandleTool(CAreaEditCommand::kMergeInitialRect,
                  QCoreApplication::translate("CInitialRectTool", "Initial rectangle"))
{
}

CHandleTool::Corners CInitialRectTool::CornersOf(const CArea& area) const
{
    const CIntRect& r = area.GetInitialRect();
    return {QPoint(r.left, r.top), QPoint(r.right, r.top), QPoint(r.left, r.bottom), QPoint(r.right, r.bottom)};
}

void CInitialRectTool::StoreCorners(CArea& area, const Corners& c) const
{
    area.SetInitialRect({c[0].x(), c[0].y(), c[3].x(), c[3].y()});
}

void CInitialRectTool::MoveCorner(Corners& c, int corner, QPoint to) const
{
    c[std::size_t(corner)] = to;
    // The neighbours follow along the rectangle's edges.
    switch (corner) {
    case 0: c[1].setY(c[0].y()); c[2].setX(c[0].x()); break;
    case 1: c[0].setY(c[1].y()); c[3].setX(c[1].x()); break;
    case 2: c[0].setX(c[2].x()); c[3].setY(c[2].y()); break;
    case 3: c[1].setX(c[3].x()); c[2].setY(c[3].y()); break;
    default: break;
    }
}

void CInitialRectTool::PrepareArea(CArea& area) const
{
    if (area.GetInitialRect().IsEmpty())
        area.ResetInitialRect();
}

void CInitialRectTool::Finish(CArea& area) const
{
    if (area.GetTexture())
        KeepExactWarp(Doc()->Warps(), area);
}

void CInitialRectTool::DrawDrag(QPainter& painter, const Corners& c, int) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    // Corner 0 to corner 3, both pixels included.
    painter.drawRect(QRect(c[0], c[3]).normalized().adjusted(0, 0, -1, -1));
    painter.restore();
}

QRegion CInitialRectTool::DragRegion(const Corners& c, int) const
{
    return ToolFeedback::BandRegion(ToolFeedback::Figure::Rectangle, QRect(c[0], c[3]).normalized().adjusted(0, 0, -1, -1));
}
