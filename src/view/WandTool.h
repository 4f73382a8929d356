#pragma once

#include "view/Tool.h"
#include "view/WandPreview.h"

#include <QImage>

#include <optional>

// "Magic wand selection": a click selects the region of similar colour
// around the picture pixel under it. Dragging sideways with the button held
// raises (right) or lowers (left) the tolerance, the would-be region shown
// as a tint; the release commits it with the modifier keys held then.
class CWandTool : public CTool
{
public:
    CWandTool();

    void OnLButtonDown(unsigned flags, int x, int y) override;
    void OnMouseMove(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    bool OnCancel() override;
    void DrawFeedback(QPainter& painter) override;

    // The tolerance the drag has reached, or the options' when none is on.
    int DragTolerance() const { return m_tolerance; }

    // Client pixels of sideways drag per step of tolerance.
    static constexpr int kPixelsPerStep = 1;

private:
    // The picture pixel under a client point, if there is a picture and
    // the point is on it.
    std::optional<QPoint> PicturePixel(int x, int y) const;
    // Where the overlay lies on the window.
    QRect OverlayRect() const;
    void HideOverlay();

    CWandPreview m_wand;
    std::optional<QPoint> m_seed;
    int m_startX = 0;
    int m_startTolerance = 0;
    int m_tolerance = 0;
    QImage m_overlay;
};
