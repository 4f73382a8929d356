#pragma once

#include "view/Tool.h"

#include <vector>

// "Free-hand selection": the path of the pointer while the button is held,
// every reported point kept, closed and committed on release.
class CFreehandTool : public CTool
{
public:
    CFreehandTool();

    void OnMouseMove(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    bool OnCancel() override;
    void DrawFeedback(QPainter& painter) override;

private:
    void ClearTrace();

    std::vector<QPointF> m_points;
};
