#include "view/ViewCommands.h"

#include "document/TilemontDoc.h"
#include "view/TilemontView.h"
#include "view/ToolList.h"
#include "view/ViewCommandIds.h"

int CViewCommands::ToolSlotOf(int id)
{
    const CToolDescription* tool = ToolList::ForCommand(id);
    return tool ? tool->slot : -1;
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
