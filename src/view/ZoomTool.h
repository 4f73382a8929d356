#pragma once

#include "view/BandTool.h"

// "Zoom in": zooms and scrolls so that the dragged rectangle fills the
// window, centred; a rectangle larger than the window zooms out.
class CZoomTool : public CBandTool
{
public:
    CZoomTool();
    void OnLButtonUp(unsigned flags, int x, int y) override;
};
