#pragma once

#include "view/SelectionShapeTool.h"

// "Elliptic selection": the ellipse inscribed in the dragged rectangle.
class CEllipseTool : public CSelectionShapeTool
{
public:
    CEllipseTool() : CSelectionShapeTool(ToolFeedback::Figure::Ellipse) {}
};
