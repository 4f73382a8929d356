#pragma once

#include "document/IAreaEditSession.h"
#include "view/HandleOverlay.h"
#include "view/ReferenceLineTool.h"

#include <Qt>

#include <unordered_map>

class CArea;
class CTilemontView;
class CViewTools;
class QKeyEvent;

// A view's editing of one area: which area's handles show, the skew and
// initial-rectangle handle modes with the tools that drag them, the
// perspective grid, the reference line, and nudging the area with the
// arrow keys. The Areas panel drives it through IAreaEditSession; the view
// paints its overlay. The skew flags are this window's alone, outside the
// history; the window's drawing reads them here.
class CAreaEditSession : public IAreaEditSession
{
public:
    CAreaEditSession(CTilemontView& view, CViewTools& tools);

    // IAreaEditSession
    CTilemontDoc& EditedDocument() const override;
    QWidget* Window() override;
    void PickArea(AreaId id) override;
    void SetSkewMode(bool on, AreaId id) override;
    void SetInitialRectMode(bool on, AreaId id) override;
    void SetSkewEditing(AreaId id, bool edit, bool preview) override;
    CSkewEditing SkewEditing(AreaId id) const override;
    void RefreshSkewHandles() override;
    void RefreshInitialRectHandles() override;
    void RepaintAll() override;

    // The area held by identity: it reads as none while the document has no
    // such area (deleted, or taken out by an undo) and as the area again
    // when a redo or undo brings it back.
    void SetEditedAreaId(AreaId id);
    AreaId EditedAreaId() const { return m_overlay.EditedAreaId(); }
    const CArea* EditedArea() const { return m_overlay.EditedArea(); }
    // Handles on area (null: the edited one stays); off returns to the
    // tool used before the mode.
    void SwitchHandleMode(bool on, const CArea* area, CHandleOverlay::Handles handles);
    bool IsOn(CHandleOverlay::Handles handles) const { return m_overlay.IsOn(handles); }
    void SetPerspectiveGrid(bool on);
    bool IsPerspectiveGrid() const { return m_overlay.IsPerspectiveGrid(); }
    bool ShowsPerspectiveGrid() const { return m_overlay.ShowsPerspectiveGrid(); }
    void BeginReferenceLine(CReferenceLineTool::Done done);
    // Repaints the handles where they were last shown and where they are now.
    void RepaintHandleOverlay();
    // An arrow key moves the edited area a pixel (ten with Shift); false
    // when the key is not an arrow or no area is edited.
    bool Nudge(const QKeyEvent& event);
    const CHandleOverlay& Overlay() const { return m_overlay; }

private:
    CTilemontView& m_view;
    CViewTools& m_tools;
    CHandleOverlay m_overlay;
    int m_toolBeforeSkew = -1;
    int m_toolBeforeInitialRect = -1;
    // The areas being edited; those with both flags off are left out.
    std::unordered_map<AreaId, CSkewEditing> m_editing;
};
