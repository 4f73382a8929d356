#pragma once

#include "document/Area.h"
#include "view/ViewGeometry.h"

#include <QPoint>
#include <QRect>

#include <array>

class CTilemontDoc;
class QImage;
class QPainter;

// The handles a view draws over the area being edited: its skew corners
// while they are edited (with the tile grid the warp shows, when asked for
// or when the area is perspective), its initial rectangle's corners while
// that is edited. Knows where the handles land in the window, paints them
// and remembers where they were last shown, so that a change repaints both
// places. The area is held by its identity: it reads as none while the
// document has no such area (deleted, or taken out by an undo).
class CHandleOverlay
{
public:
    enum class Handles { Skew, InitialRect };
    // Corners a tool is dragging, where the pointer has taken them.
    struct Drag
    {
        Handles handles = Handles::Skew;
        std::array<QPoint, 4> corners{};
        // The dragged corner, whose edges the drag draws itself; -1 for none.
        int grabbed = -1;
    };

    explicit CHandleOverlay(const CTilemontDoc& doc) : m_doc(doc) {}

    AreaId EditedAreaId() const { return m_editedArea; }
    void SetEditedAreaId(AreaId id) { m_editedArea = id; }
    const CArea* EditedArea() const;

    bool IsOn(Handles handles) const { return handles == Handles::Skew ? m_skew : m_initialRect; }
    void SetOn(Handles handles, bool on) { (handles == Handles::Skew ? m_skew : m_initialRect) = on; }

    // "Perspective Grid": while the skew corners are edited, the grid shows
    // for bilinear areas too (perspective areas always show it then).
    void SetPerspectiveGrid(bool on) { m_perspectiveGrid = on; }
    bool IsPerspectiveGrid() const { return m_perspectiveGrid; }
    bool ShowsPerspectiveGrid() const;

    // Where the corners land in the client area, in the order top-left,
    // top-right, bottom-left, bottom-right; false without an edited area.
    bool Corners(Handles handles, const CViewGeometry& g, std::array<QPoint, 4>& corners) const;

    // The client rectangle to repaint after a step: where the handles were
    // last shown and where they are now. A step can move them (default
    // corners, an undo) or take the area away while a mode is on or just
    // after it ended. Remembers where they are now.
    QRect TakeRepaintRect(const CViewGeometry& g);

    // Grid and handles over the composed scene. While a drag is on, its
    // handles are drawn at the drag's corners, so that the dragged one is
    // under the pointer in every frame whatever the document has caught up
    // with, less the edges the drag draws itself.
    void Paint(QPainter& painter, const CViewGeometry& g, const Drag* drag) const;

private:
    // Picture box of the corners the modes that are on show now.
    QRect Box() const;
    static void PaintHandles(QPainter& painter, const std::array<QPoint, 4>& corners, const QImage& mark,
                             int without = -1);

    const CTilemontDoc& m_doc;
    AreaId m_editedArea = 0;
    bool m_skew = false;
    bool m_initialRect = false;
    bool m_perspectiveGrid = false;
    // In picture coordinates, so scrolling and zooming do not stale it.
    QRect m_shown;
};
