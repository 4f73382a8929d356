#include "view/HandTool.h"

#include "document/TilemontDoc.h"
#include "view/ToolCursors.h"
#include "view/ToolView.h"

#include <cmath>

CHandTool::CHandTool()
{
    SetCursor(ToolCursors::Get(ToolCursors::Hand));
}

void CHandTool::OnLButtonDown(unsigned flags, int x, int y)
{
    CTool::OnLButtonDown(flags, x, y);
    if (View()) {
        const CViewGeometry g = View()->GetGeometry();
        m_nScrollXAtPress = g.scrollX;
        m_nScrollYAtPress = g.scrollY;
    }
}

void CHandTool::OnMouseMove(unsigned, int x, int y)
{
    // Without a picture there is nothing to drag.
    const QImage* picture = Doc() ? Doc()->GetPicture() : nullptr;
    if (!IsCapturing() || !View() || !picture || picture->isNull())
        return;
    const CViewGeometry g = View()->GetGeometry();
    int sx = g.scrollX, sy = g.scrollY;
    bool moved = false;
    if (float(g.client.width()) < g.zoomX * float(picture->width())) {
        sx = int(std::trunc(float(m_nScrollXAtPress - x) + float(Start().x())));
        moved = true;
    }
    if (float(g.client.height()) < g.zoomY * float(picture->height())) {
        sy = int(std::trunc(float(m_nScrollYAtPress - y) + float(Start().y())));
        moved = true;
    }
    if (!moved)
        return;
    View()->SetScrollPosition(sx, sy);
    View()->InvalidateWholeClient();
}
