#include "view/HandleTool.h"

#include "document/TilemontDoc.h"
#include "view/DragWarpPreview.h"
#include "view/ToolView.h"

#include <cmath>

CHandleTool::CHandleTool(int mergeKey, const QString& stepName)
    : m_nMergeKey(mergeKey), m_strStep(stepName), m_pPreview(std::make_unique<CDragWarpPreview>())
{
    SetCursor(QCursor(Qt::ArrowCursor));
    QObject::connect(m_pPreview.get(), &CDragWarpPreview::kept, m_pPreview.get(),
                     [this](AreaId id, const CAreaWarpInputs& inputs) { OnPreviewKept(id, inputs); });
}

CHandleTool::~CHandleTool() = default;

const CArea* CHandleTool::Area() const
{
    return Doc() ? Doc()->FindArea(m_nArea) : nullptr;
}

void CHandleTool::SetArea(AreaId area)
{
    m_nArea = area;
    m_nGrabbed = -1;
    // Default corners are part of the template: a step like any other
    // (none when the area has its corners already).
    if (Area())
        Doc()->EditArea(area, m_strStep, [this](CArea& a) { PrepareArea(a); });
}

QPoint CHandleTool::PicturePoint(int x, int y) const
{
    const CViewGeometry g = View()->GetGeometry();
    return QPoint(TruncPixel((float(x) + float(TruncPixel(float(g.scrollX) - g.offsetX))) / g.zoomX),
                  TruncPixel((float(y) + float(TruncPixel(float(g.scrollY) - g.offsetY))) / g.zoomY));
}

CHandleTool::Corners CHandleTool::ClientCorners(const Corners& picture) const
{
    const CViewGeometry g = View()->GetGeometry();
    Corners client;
    for (std::size_t i = 0; i < 4; ++i) {
        client[i] = QPoint(TruncPixel(g.zoomX * float(picture[i].x())) + TruncPixel(g.offsetX - float(g.scrollX)),
                           TruncPixel(g.zoomY * float(picture[i].y())) + TruncPixel(g.offsetY - float(g.scrollY)));
    }
    return client;
}

QPainterPath CHandleTool::OutlinePath(const Corners& c)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.moveTo(c[0]);
    path.lineTo(c[1]);
    path.lineTo(c[3]);
    path.lineTo(c[2]);
    path.closeSubpath();
    return path;
}

void CHandleTool::InvalidateOutline()
{
    const CArea* area = Area();
    if (!area || !View())
        return;
    const QPainterPath current = OutlinePath(CornersOf(*area));
    View()->InvalidatePathOutline(m_remembered);
    View()->InvalidatePathOutline(current);
    m_remembered = current;
}

void CHandleTool::OnLButtonDown(unsigned flags, int x, int y)
{
    CTool::OnLButtonDown(flags, x, y);
    m_bDragging = false;
    m_bMoved = false;
    if (const CArea* area = Area()) {
        m_dragCorners = m_pressCorners = CornersOf(*area);
        m_remembered = OutlinePath(m_pressCorners);
    }
}

void CHandleTool::HoverTest(QPoint p)
{
    const CArea* area = Area();
    const CViewGeometry g = View()->GetGeometry();
    m_nGrabbed = -1;
    if (area) {
        const Corners corners = CornersOf(*area);
        for (int i = 0; i < 4 && m_nGrabbed < 0; ++i) {
            const QPoint c = corners[std::size_t(i)];
            const int left = TruncPixel(float(c.x()) - float(kHalfMark) / g.zoomX);
            const int top = TruncPixel(float(c.y()) - float(kHalfMark) / g.zoomY);
            const int right = TruncPixel(float(kHalfMark) / g.zoomX + float(c.x()));
            const int bottom = TruncPixel(float(kHalfMark) / g.zoomY + float(c.y()));
            if (left <= p.x() && p.x() < right && top <= p.y() && p.y() < bottom)
                m_nGrabbed = i;
        }
    }
    SetCursor(QCursor(m_nGrabbed >= 0 ? Qt::CrossCursor : Qt::ArrowCursor));
}

void CHandleTool::OnMouseMove(unsigned, int x, int y)
{
    if (!View() || !Area())
        return;
    const QPoint p = PicturePoint(x, y);
    if (!IsCapturing() || m_nGrabbed < 0) {
        HoverTest(p);
        if (IsCapturing() && m_nGrabbed >= 0)
            m_dragCorners = CornersOf(*Area());
        return;
    }
    MoveCorner(m_dragCorners, m_nGrabbed, p);
    CAreaEditCommand::Options options;
    options.mergeKey = m_nMergeKey;
    options.joinsRun = m_bMoved;
    const Corners corners = m_dragCorners;
    // The first move of a drag starts the step; the others join it. The
    // warp is asked for before the window hears of the change, so that
    // drawing the area finds it or its stand-in.
    if (Doc()->EditArea(m_nArea, m_strStep, [this, corners](CArea& a) {
            StoreCorners(a, corners);
            PreviewWarp(a);
        }, options))
        m_bMoved = true;
    m_bDragging = true;
    const Corners client = ClientCorners(m_dragCorners);
    MoveFeedback(DragRegion(client, m_nGrabbed) | MarksRegion(client));
}

QRegion CHandleTool::MarksRegion(const Corners& client)
{
    QRegion region;
    // A mark reaches 4 pixels before its corner and 3 after.
    for (const QPoint& c : client)
        region |= QRect(c - QPoint(kHalfMark, kHalfMark), QSize(2 * kHalfMark, 2 * kHalfMark));
    return region;
}

bool CHandleTool::ShowsWarp(const CArea& area) const
{
    const CSkewEditing editing = View() ? View()->SkewEditing(area.GetId()) : CSkewEditing();
    return (editing.edit ? editing.preview : area.IsSkewApplied()) && area.HasSkewCorners();
}

void CHandleTool::PreviewWarp(const CArea& area)
{
    if (area.GetTexture() && ShowsWarp(area))
        m_pPreview->Show(Doc()->Warps(), area, kPreviewPixels);
}

void CHandleTool::OnPreviewKept(AreaId id, const CAreaWarpInputs& inputs)
{
    // Only the warp of the corners shown now is worth a repaint; one of
    // corners already passed over is kept for nothing but a stand-in.
    const CArea* area = Doc() ? Doc()->FindArea(id) : nullptr;
    if (area && View() && area->WarpInputs() == inputs)
        View()->RecomposePicture(area->GetDrawBounds());
}

void CHandleTool::OnLButtonUp(unsigned flags, int x, int y)
{
    if (IsCapturing() && Area() && View()) {
        m_bDragging = false;
        ClearFeedback();
        m_pPreview->Stop();
        CAreaEditCommand::Options options;
        options.mergeKey = m_nMergeKey;
        options.joinsRun = m_bMoved;
        // Rebuilding a large warp takes a moment: say so.
        View()->SetBusy(true);
        Doc()->EditArea(m_nArea, m_strStep, [this](CArea& a) { Finish(a); }, options);
        View()->SetBusy(false);
        InvalidateOutline();
    }
    m_bMoved = false;
    CTool::OnLButtonUp(flags, x, y);
}

void CHandleTool::DrawFeedback(QPainter& painter)
{
    if (m_bDragging && m_nGrabbed >= 0 && View())
        DrawDrag(painter, ClientCorners(m_dragCorners), m_nGrabbed);
}

bool CHandleTool::GetHandleDrag(Corners& corners, int& grabbed) const
{
    if (!m_bDragging || m_nGrabbed < 0 || !View())
        return false;
    corners = ClientCorners(m_dragCorners);
    grabbed = m_nGrabbed;
    return true;
}
