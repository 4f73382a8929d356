#include "view/ViewCommands.h"

#include "document/TilemontDoc.h"
#include "view/TilemontView.h"
#include "view/ViewCommandIds.h"

int CViewCommands::ToolSlotOf(int id)
{
    switch (id) {
    case ID_RECT_SELECTION: return CViewTools::RectTool;
    case ID_ELLIPSE_SELECTION: return CViewTools::EllipseTool;
    case ID_POLYLINE_SELECTION: return CViewTools::PolylineTool;
    case ID_FREEHAND_SELECTION: return CViewTools::FreehandTool;
    case ID_MAGIC_WAND: return CViewTools::WandTool;
    case ID_FIND_SURFACE: return CViewTools::SurfaceTool;
    case ID_HAND: return CViewTools::HandTool;
    case ID_ZOOM_IN: return CViewTools::ZoomTool;
    default: return -1;
    }
}

bool CViewCommands::HandlesCommand(int id) const
{
    return ToolSlotOf(id) >= 0 || id == ID_ZOOM_OUT || id == ID_ORIGINAL_SIZE || id == ID_ZOOM_TO_FIT ||
           id == ID_REFRESH;
}

CCommandState CViewCommands::CommandState(int id) const
{
    CCommandState state;
    if (const int slot = ToolSlotOf(id); slot >= 0)
        state.checked = slot == m_view.ActiveToolSlot();
    else if (id == ID_ORIGINAL_SIZE)
        state.enabled = !m_view.ZoomScroll().IsOriginalSize();
    else if (id == ID_ZOOM_TO_FIT)
        state.enabled = m_view.GetDocument().GetPicture() != nullptr;
    return state;
}

void CViewCommands::OnCommand(int id)
{
    m_view.StopFitting();
    if (const int slot = ToolSlotOf(id); slot >= 0) {
        m_view.SetActiveTool(slot);
        return;
    }
    switch (id) {
    case ID_ZOOM_OUT: m_view.ZoomOut(); break;
    case ID_ORIGINAL_SIZE: m_view.ZoomToOriginalSize(); break;
    case ID_ZOOM_TO_FIT: m_view.ZoomToFit(); break;
    case ID_REFRESH: m_view.Refresh(); break;
    default: break;
    }
}
