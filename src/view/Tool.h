#pragma once

#include "document/Area.h"

class CTilemontDoc;
class CTilemontView;
class QPainter;
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
// tool only, in client coordinates of its viewport. Every operation does
// nothing here, so a slot holding a plain CTool is an inert tool.
class CTool
{
public:
    CTool() = default;
    CTool(const CTool&) = delete;
    CTool& operator=(const CTool&) = delete;
    virtual ~CTool() = default;

    void Attach(CTilemontView* view, CTilemontDoc* doc)
    {
        m_pView = view;
        m_pDoc = doc;
    }
    CTilemontView* GetView() const { return m_pView; }
    CTilemontDoc* GetDocument() const { return m_pDoc; }

    virtual void OnRButtonDown(unsigned /*flags*/, int /*x*/, int /*y*/) {}
    // Returns true when the tool set window's cursor itself; otherwise the
    // view falls back to the arrow.
    virtual bool OnSetCursor(QWidget* /*window*/) { return false; }
    virtual void OnMouseMove(unsigned /*flags*/, int /*x*/, int /*y*/) {}
    virtual void OnLButtonUp(unsigned /*flags*/, int /*x*/, int /*y*/) {}
    virtual void OnLButtonDown(unsigned /*flags*/, int /*x*/, int /*y*/) {}

    // For the handle tools: the area whose corners they drag (by identity;
    // 0 for none), and the invalidation of their handle outline.
    virtual void SetArea(AreaId /*area*/) {}
    virtual void InvalidateOutline() {}

    // Widgets can only be painted from their paint handler, so feedback that
    // the tool would invert straight onto the window (rubber bands, traces)
    // is drawn here instead, over the composed picture, in client
    // coordinates. The tool asks for small repaints of what it changed.
    virtual void DrawFeedback(QPainter& /*painter*/) {}

private:
    CTilemontDoc* m_pDoc = nullptr;
    CTilemontView* m_pView = nullptr;
};
