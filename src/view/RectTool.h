#pragma once

#include "view/SelectionShapeTool.h"

// "Rectangular selection".
class CRectTool : public CSelectionShapeTool
{
public:
    CRectTool() : CSelectionShapeTool(ToolFeedback::Figure::Rectangle) {}
};
