#pragma once

#include "view/Tool.h"

// "Hand": drags the picture with the pointer by moving the scroll
// positions, along each axis that can scroll.
class CHandTool : public CTool
{
public:
    CHandTool();

    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;

private:
    int m_nScrollXAtPress = 0;
    int m_nScrollYAtPress = 0;
};
