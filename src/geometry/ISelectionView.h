#pragma once

// What the selection needs to know about the view it is drawn in: the
// horizontal zoom factor, which keeps the marching-ants outline one screen
// pixel wide at any zoom.
class ISelectionView
{
public:
    virtual ~ISelectionView() = default;
    virtual float GetZoomX() const = 0;
};
