#pragma once

#include "view/BandTool.h"

// "Rectangular selection" and "Elliptic selection": a dragged rectangle, or
// the ellipse inscribed in it, committed to the selection on release.
class CSelectionShapeTool : public CBandTool
{
public:
    explicit CSelectionShapeTool(ToolFeedback::Figure figure);
    void OnLButtonUp(unsigned flags, int x, int y) override;
};
