#include "view/AreaEditSession.h"

#include "document/TilemontDoc.h"
#include "render/AreaWarpUpdates.h"
#include "view/TilemontView.h"
#include "view/Tool.h"
#include "view/ViewTools.h"

#include <QKeyEvent>

CAreaEditSession::CAreaEditSession(CTilemontView& view, CViewTools& tools)
    : m_view(view), m_tools(tools), m_overlay(view.GetDocument())
{
}

CTilemontDoc& CAreaEditSession::EditedDocument() const
{
    return m_view.GetDocument();
}

QWidget* CAreaEditSession::Window()
{
    return &m_view;
}

void CAreaEditSession::PickArea(AreaId id)
{
    SetEditedAreaId(EditedDocument().IdOf(EditedDocument().FindArea(id)));
}

void CAreaEditSession::SetSkewMode(bool on, AreaId id)
{
    SwitchHandleMode(on, EditedDocument().FindArea(id), CHandleOverlay::Handles::Skew);
}

void CAreaEditSession::SetInitialRectMode(bool on, AreaId id)
{
    SwitchHandleMode(on, EditedDocument().FindArea(id), CHandleOverlay::Handles::InitialRect);
}

void CAreaEditSession::SetEditedAreaId(AreaId id)
{
    if (id == m_overlay.EditedAreaId())
        return;
    m_overlay.SetEditedAreaId(id);
    // The handles drawn and the tool that drags them must be the same
    // area's, or a drag would move corners the user does not see.
    if (IsOn(CHandleOverlay::Handles::Skew))
        m_tools.Get(CViewTools::SkewTool)->SetArea(id);
    if (IsOn(CHandleOverlay::Handles::InitialRect))
        m_tools.Get(CViewTools::InitialRectTool)->SetArea(id);
    RepaintHandleOverlay();
}

void CAreaEditSession::SwitchHandleMode(bool on, const CArea* area, CHandleOverlay::Handles handles)
{
    const bool skew = handles == CHandleOverlay::Handles::Skew;
    int& toolBefore = skew ? m_toolBeforeSkew : m_toolBeforeInitialRect;
    const int handleTool = skew ? CViewTools::SkewTool : CViewTools::InitialRectTool;
    // Switching a mode on twice must not save the mode's own tool as the
    // one to return to, nor switching off twice undo a later tool pick.
    const bool was = m_overlay.IsOn(handles);
    if (on) {
        if (!was)
            toolBefore = m_tools.ActiveSlot();
        m_overlay.SetOn(handles, true);
        m_view.SetActiveTool(handleTool);
        SetEditedAreaId(EditedDocument().IdOf(area));
        m_tools.Get(handleTool)->SetArea(EditedAreaId());
    } else if (was) {
        m_overlay.SetOn(handles, false);
        m_view.SetActiveTool(toolBefore);
    }
    RepaintHandleOverlay();
}

void CAreaEditSession::SetPerspectiveGrid(bool on)
{
    if (on == m_overlay.IsPerspectiveGrid())
        return;
    m_overlay.SetPerspectiveGrid(on);
    m_view.InvalidateWholeClient();
}

void CAreaEditSession::BeginReferenceLine(CReferenceLineTool::Done done)
{
    auto* tool = static_cast<CReferenceLineTool*>(m_tools.Get(CViewTools::ReferenceLineTool));
    const int before = m_tools.ActiveSlot() == CViewTools::ReferenceLineTool ? -1 : m_tools.ActiveSlot();
    tool->SetDone([this, before, done = std::move(done)](std::optional<QLineF> line) {
        m_view.SetActiveTool(before);
        if (done)
            done(line);
    });
    m_view.SetActiveTool(CViewTools::ReferenceLineTool);
    m_view.setFocus(Qt::OtherFocusReason);
}

void CAreaEditSession::RepaintHandleOverlay()
{
    m_view.InvalidateClient(QRegion(m_overlay.TakeRepaintRect(m_view.GetGeometry())));
}

void CAreaEditSession::SetSkewEditing(AreaId id, bool edit, bool preview)
{
    const CSkewEditing now{edit, preview};
    const CSkewEditing was = SkewEditing(id);
    if (now == was)
        return;
    if (now == CSkewEditing())
        m_editing.erase(id);
    else
        m_editing[id] = now;
    CTilemontDoc& doc = EditedDocument();
    const CArea* area = doc.FindArea(id);
    if (!area)
        return;
    // Leaving the corners keeps the exact warp of where they were left,
    // applied or not, and a preview switched on shows the exact one: the
    // file saved next stores what was last shown.
    if (area->GetTexture() && ((was.edit && !edit) || (edit && preview && !was.preview)))
        KeepExactWarp(doc.Warps(), *area);
    m_view.RecomposePicture(area->GetDrawBounds());
}

CSkewEditing CAreaEditSession::SkewEditing(AreaId id) const
{
    const auto it = m_editing.find(id);
    return it == m_editing.end() ? CSkewEditing() : it->second;
}

void CAreaEditSession::RefreshSkewHandles()
{
    CTool* tool = m_tools.Get(CViewTools::SkewTool);
    tool->SetArea(EditedAreaId());
    tool->InvalidateOutline();
    RepaintHandleOverlay();
}

void CAreaEditSession::RefreshInitialRectHandles()
{
    m_tools.Get(CViewTools::InitialRectTool)->InvalidateOutline();
    RepaintHandleOverlay();
}

void CAreaEditSession::RepaintAll()
{
    m_view.InvalidateWholeClient();
}

bool CAreaEditSession::Nudge(const QKeyEvent& event)
{
    const int step = event.modifiers() & Qt::ShiftModifier ? 10 : 1;
    int dx = 0, dy = 0;
    switch (event.key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    default: return false;
    }
    if (!EditedArea())
        return false;
    // One step for a held key: its repeats join the first press. The moved
    // outline is part of the template, so the document becomes modified,
    // and the document's notifications repaint the old and new places.
    EditedDocument().NudgeArea(EditedAreaId(), dx, dy, event.isAutoRepeat());
    return true;
}
