#pragma once

#include "view/Tool.h"
#include "view/ToolFeedback.h"

// A tool that drags a dotted rubber band from the press point: the
// rectangle and ellipse selections and the zoom tool.
class CBandTool : public CTool
{
public:
    explicit CBandTool(ToolFeedback::Figure figure) : m_figure(figure) {}

    void OnMouseMove(unsigned flags, int x, int y) override;
    bool OnCancel() override;
    void DrawFeedback(QPainter& painter) override;

protected:
    ToolFeedback::Figure GetFigure() const { return m_figure; }
    // True when the release at (x, y) ends a drag that was not abandoned;
    // the band is taken off the screen either way.
    bool EndDrag(int x, int y);
    // The dragged rectangle in client pixels: from the press to (x, y),
    // without the band's extra pixel.
    QRectF DraggedRect(int x, int y) const;

private:
    ToolFeedback::Figure m_figure;
};
