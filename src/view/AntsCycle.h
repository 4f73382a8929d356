#pragma once

#include "geometry/Selection.h"
#include "view/ViewGeometry.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRegion>
#include <QRgb>
#include <QSize>

#include <cstdint>
#include <functional>
#include <vector>

class QPainter;

// The marching ants of one window at each step of their dash cycle, kept as
// the pixels each step paints. Dashes that move a whole number of 64ths of a
// pixel a tick come back to where they were after a few ticks: a tick then
// puts back the pixels kept for its step instead of stroking thousands of
// contours again. Only ants that paint every pixel opaquely are kept, so the
// kept pixels replace what is under them exactly as the strokes would.
class CAntsCycle
{
public:
    // What the ants look like apart from where their dashes are; a change
    // of any of it forgets every kept step.
    struct Style
    {
        QRgb dark = 0;
        QRgb light = 0;
        qreal width = 0.0;
        QList<qreal> pattern;
        // Where in the cycle a step is: the dash offset, in 64ths of the
        // pen's width, modulo the pattern's length.
        int cycleLength = 0;

        bool operator==(const Style& o) const
        {
            return dark == o.dark && light == o.light && width == o.width && pattern == o.pattern &&
                   cycleLength == o.cycleLength;
        }
    };

    // Strokes the outline with both pens on a painter that maps picture
    // pixels to the window's device, as the window's own painter would.
    using Stroke = std::function<void(QPainter&)>;

    // Paints the step of the cycle at position (0 <= position <
    // style.cycleLength) within clip, a region of the window laid out by
    // geometry, as stroke would paint it there; the first time a step comes
    // it is stroked once off screen. False, having painted nothing, when
    // the painter's device or state could make the kept pixels differ from
    // a stroke (then the caller strokes as ever).
    bool Paint(QPainter& painter, const QRegion& clip, const CSelection& selection, const CViewGeometry& geometry,
               const Style& style, int position, const Stroke& stroke);

    // Forgets every kept step, freeing their memory.
    void Clear();

    // How many steps are kept now.
    int KeptSteps() const { return int(m_steps.size()); }

private:
    struct Pixel
    {
        std::uint32_t index; // y * window width + x
        QRgb colour;
    };
    struct Step
    {
        int position = 0;
        std::vector<Pixel> pixels;
    };

    // What the kept steps were stroked for.
    struct Key
    {
        CSelection selection;
        CViewGeometry geometry;
        Style style;
        QSize device;
        QPoint offset;
        bool valid = false;

        bool Matches(const Key& o) const
        {
            return valid && o.valid && selection.SharesDataWith(o.selection) && geometry == o.geometry &&
                   style == o.style && device == o.device && offset == o.offset;
        }
    };

    // The index of the kept step at position, or -1.
    int Find(int position) const;
    // Strokes one step off screen and keeps it; its index, or -1 when its
    // pixels cannot be kept.
    int Keep(int position, const Stroke& stroke);
    // Puts a kept step's pixels on the layer in place of the shown one's;
    // false when there is no memory for the layer.
    bool Show(int index);

    Key m_key;
    // The key's steps cannot be kept: stroke them as ever.
    bool m_bRefused = false;
    std::vector<Step> m_steps;
    // The window's size, transparent but for the shown step's pixels.
    QImage m_layer;
    int m_nShown = -1;
};
