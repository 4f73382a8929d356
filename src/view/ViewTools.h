#pragma once

#include "view/HandleOverlay.h"

#include <Qt>

#include <array>
#include <memory>

class CTilemontDoc;
class CTool;
class IToolView;
class QKeyEvent;
class QMouseEvent;

// A view's mouse tools, one in each slot, and the one that is active: mouse
// input goes to the active tool only, in whole client pixels.
class CViewTools
{
public:
    // The tools, in the order they are attached.
    enum Slot : int {
        RectTool,
        EllipseTool,
        PolylineTool,
        FreehandTool,
        HandTool,
        ZoomTool,
        SkewTool,
        InitialRectTool,
        ReferenceLineTool,
        WandTool,
        SurfaceTool,
        ToolCount
    };

    // Every slot gets its standard tool, attached to view and doc.
    CViewTools(IToolView& view, CTilemontDoc& doc);
    ~CViewTools();

    // Null for a slot out of range.
    CTool* Get(int slot) const;
    // Replaces the tool in slot (null, or a slot out of range, changes
    // nothing and gives false); the tool is attached to the view and the
    // document. The active slot stays the active one.
    bool Set(int slot, std::unique_ptr<CTool> tool);
    // -1 for none.
    int ActiveSlot() const { return m_active; }
    CTool* Active() const;
    // Tells the tool that stops being active and the one that becomes it;
    // a slot out of range leaves none active. A tool picked while the hand
    // is held stays when the hand is let go.
    void Activate(int slot);
    // While Space is held (without modifiers) the hand stands in for the
    // active tool, which keeps what it was doing (a half-built polygon) and
    // comes back when Space is let go; let go during a pan, once the buttons
    // are up. Holding while the hand is the active tool does nothing. True
    // when the key was Space's (its repeats included).
    bool SpaceKey(const QKeyEvent& event, bool press);
    // The view lost the keyboard: Space's release goes elsewhere, so the
    // hand is let go now, or after the pan in progress.
    void FocusLost();
    bool IsHandHeld() const { return m_handHeld; }

    // The mouse event to the active tool; false when there is none. Only
    // left presses and right presses are presses, only left releases are
    // releases.
    bool Press(const QMouseEvent& event);
    bool Release(const QMouseEvent& event);
    bool Move(const QMouseEvent& event) const;

    // The corners the active handle tool is dragging, if it is.
    bool HandleDrag(CHandleOverlay::Drag& drag) const;

private:
    IToolView& m_view;
    CTilemontDoc& m_doc;
    std::array<std::unique_ptr<CTool>, ToolCount> m_tools;
    int m_active = -1;
    void HoldHand();
    void LetGoHand();

    bool m_handHeld = false;
    bool m_letGoAfterPan = false;
    int m_beforeHand = -1;
    Qt::MouseButtons m_buttons;
};
