#include "view/SelectionShapeTool.h"

#include "view/ToolCursors.h"
#include "view/ToolView.h"

#include <QPainterPath>

CSelectionShapeTool::CSelectionShapeTool(ToolFeedback::Figure figure) : CBandTool(figure)
{
    SetCursor(ToolCursors::Get(figure == ToolFeedback::Figure::Rectangle ? ToolCursors::Rectangle
                                                                         : ToolCursors::Ellipse));
}

void CSelectionShapeTool::OnLButtonUp(unsigned flags, int x, int y)
{
    if (EndDrag(x, y) && View()) {
        const QRectF shape = View()->ClientToPicture(DraggedRect(x, y));
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        if (GetFigure() == ToolFeedback::Figure::Rectangle)
            path.addRect(shape);
        else
            path.addEllipse(shape);
        FinishShape(path);
    }
    CTool::OnLButtonUp(flags, x, y);
}
