#pragma once

#include "geometry/Polygon.h"

#include <QImage>
#include <QRect>

#include <vector>

// The room's light on one area of a picture, apart from the old surface's
// own pattern: what a new material laid there would show of the soft
// shadows under furniture, a sun patch's edges and bars, the fall-off
// toward corners and lamps. Grout, seams, grain and pile are thin or
// piecewise: thin lines are closed over, the tone of each piece between
// joints (or sharp steps of tone) is measured against its neighbours' and
// taken out (unless it lies so far past the usual spread of tones that the
// piece is lit or shaded as a whole), what is left is smoothed only a little, and fine detail as
// weak as the area's usual leftovers of its pattern is let go. Only the area's own pixels are read, so
// what stands beside it adds no light or shadow. Measured once per picture
// and outline on a grid of at most a few megapixels.
class CLightLayer
{
public:
    CLightLayer() = default;

    // Null when the outline covers no pixel of the picture, or the area is
    // black.
    static CLightLayer Measure(const QImage& picture, const CPolygon& outline);

    bool IsNull() const { return m_light.empty(); }
    // The grid: cell (x, y) covers Step() x Step() picture pixels from
    // Origin() + (x, y) * Step().
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    int Step() const { return m_step; }
    QPoint Origin() const { return m_origin; }
    // Natural log of the light relative to the area's usual light (its
    // median): 0 as usual, negative in shadow. Continued past the outline.
    float At(int x, int y) const { return m_light[std::size_t(y) * std::size_t(m_w) + std::size_t(x)]; }

private:
    std::vector<float> m_light;
    int m_w = 0, m_h = 0, m_step = 1;
    QPoint m_origin;
};
