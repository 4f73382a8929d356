#include "view/ZoomTool.h"

#include "view/ToolCursors.h"
#include "view/ToolView.h"

#include <algorithm>
#include <cmath>

CZoomTool::CZoomTool() : CBandTool(ToolFeedback::Figure::Rectangle)
{
    SetCursor(ToolCursors::Get(ToolCursors::Zoom));
}

void CZoomTool::OnLButtonUp(unsigned flags, int x, int y)
{
    // Only a release that ends a drag zooms; a click (no width or no
    // height) would divide by zero and is ignored.
    const bool ends = EndDrag(x, y);
    CTool::OnLButtonUp(flags, x, y);
    const QRectF rect = DraggedRect(x, y);
    if (!ends || !View() || rect.width() <= 0 || rect.height() <= 0)
        return;

    const CViewGeometry g = View()->GetGeometry();
    const float cw = float(g.client.width()), ch = float(g.client.height());
    const float px = float(rect.left()) / g.zoomX + (float(g.scrollX) - g.offsetX) / g.zoomX;
    const float py = float(rect.top()) / g.zoomY + (float(g.scrollY) - g.offsetY) / g.zoomY;
    const float pw = float(rect.width()) / g.zoomX;
    const float ph = float(rect.height()) / g.zoomY;
    const float z = std::min(cw / pw, ch / ph);
    View()->SetZoom(z, z);
    View()->UpdateScrollSizes();
    // The view holds the zoom within its bounds: centre with what it took.
    const float zoom = View()->GetGeometry().zoomX;
    View()->SetScrollPosition(TruncPixel(zoom * px - (cw - zoom * pw) * 0.5f),
                              TruncPixel(zoom * py - (ch - zoom * ph) * 0.5f));
    View()->InvalidateWholeClient();
}
