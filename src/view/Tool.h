#pragma once

#include "document/Area.h"

#include <QCursor>
#include <QPointF>
#include <QRegion>

#include <array>
#include <vector>
#include <optional>

class CTilemontDoc;
class IToolView;
class QPainter;
class QPainterPath;
class QWidget;

// Key flags passed with every mouse call. No tool reads them: modifier keys
// are examined when a shape is finished, not when the mouse moved.
enum ToolKeyFlag : unsigned {
    TOOL_LBUTTON = 0x01,
    TOOL_RBUTTON = 0x02,
    TOOL_SHIFT = 0x04,
    TOOL_CONTROL = 0x08,
    TOOL_MBUTTON = 0x10,
};

// One of the view's mouse tools. The view forwards mouse input to the active
// tool only, in client coordinates of its viewport. The base keeps what
// every tool needs: the press point, whether the left button is held on this
// tool, the last feedback position, the cursor, and the feedback's screen
// region. A plain CTool does nothing: an inert tool.
class CTool
{
public:
    CTool() = default;
    CTool(const CTool&) = delete;
    CTool& operator=(const CTool&) = delete;
    virtual ~CTool() = default;

    void Attach(IToolView* view, CTilemontDoc* doc)
    {
        m_pView = view;
        m_pDoc = doc;
    }
    IToolView* GetView() const { return m_pView; }
    CTilemontDoc* GetDocument() const { return m_pDoc; }

    virtual void OnRButtonDown(unsigned /*flags*/, int /*x*/, int /*y*/) {}
    // Shows the tool's cursor on window and returns true; false when the
    // tool has none (the view then shows the arrow).
    virtual bool OnSetCursor(QWidget* window);
    virtual void OnMouseMove(unsigned /*flags*/, int /*x*/, int /*y*/) {}
    // The button is no longer held on this tool.
    virtual void OnLButtonUp(unsigned flags, int x, int y);
    // The button went down on this tool at (x, y).
    virtual void OnLButtonDown(unsigned flags, int x, int y);

    // Escape: abandons a shape or drag in progress, erasing its feedback,
    // and returns true; false when there was nothing to abandon.
    virtual bool OnCancel() { return false; }
    // Enter: finishes what the tool has going and returns true; false when
    // there was nothing.
    virtual bool OnEnter() { return false; }
    // The tool became the active one, or stopped being it.
    virtual void OnActivate(bool /*active*/) {}

    // For the handle tools: the area whose corners they drag (by identity;
    // 0 for none), and the invalidation of their handle outline.
    virtual void SetArea(AreaId /*area*/) {}
    virtual void InvalidateOutline() {}

    // Widgets can only be painted from their paint handler, so feedback that
    // the tool would invert straight onto the window (rubber bands, traces)
    // is drawn here instead, over the composed picture, in client
    // coordinates, inverting what is under it.
    virtual void DrawFeedback(QPainter& /*painter*/) {}

    bool IsCapturing() const { return m_bCapturing; }

    // While a handle tool drags a corner: the corners where the pointer has
    // taken them (client pixels) and the dragged one. The view then paints
    // its handle marks there, without the edges the drag redraws itself.
    virtual bool GetHandleDrag(std::array<QPoint, 4>& /*corners*/, int& /*grabbed*/) const { return false; }

protected:
    IToolView* View() const { return m_pView; }
    CTilemontDoc* Doc() const { return m_pDoc; }
    QPointF Start() const { return m_ptStart; }
    // The button is held on this tool and Escape has not abandoned the drag.
    bool IsDragging() const { return m_bCapturing && !m_bAbandoned; }
    // Abandons the drag in progress (the feedback is hidden; the tool clears
    // its screen region); false when there is none.
    bool AbandonDrag();
    void SetCursor(std::optional<QCursor> cursor) { m_cursor = std::move(cursor); }

    // The feedback now covers region: the window is repainted where the old
    // feedback was and where the new one is, and nowhere else.
    void MoveFeedback(const QRegion& region);
    // The feedback grew by region (a trace's new segment); the tool itself
    // says, when it clears, where all of it lies.
    void AddFeedback(const QRegion& region);
    // The feedback is gone; its place is repainted.
    void ClearFeedback() { MoveFeedback(QRegion()); }

    // Commits a finished shape (picture pixels) to the selection with the
    // modifier keys held now: Ctrl subtracts, else Shift adds, else it
    // replaces. One step in the document's history.
    void FinishShape(const QPainterPath& path);
    // Client points as a closed ring in picture pixels: the first point is
    // repeated at the end unless the last one is already it.
    QPainterPath ClosedPicturePath(std::vector<QPointF> points) const;

    QPointF m_ptLast;
    bool m_bBandShown = false;

private:
    CTilemontDoc* m_pDoc = nullptr;
    IToolView* m_pView = nullptr;
    std::optional<QCursor> m_cursor;
    bool m_bCapturing = false;
    bool m_bAbandoned = false;
    QPointF m_ptStart;
    QRegion m_feedback;
};
