#include "view/WandTool.h"

#include "document/TilemontDoc.h"
#include "view/ToolCursors.h"
#include "view/ToolView.h"
#include "view/WandToolOptions.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

CWandTool::CWandTool()
{
    SetCursor(ToolCursors::Get(ToolCursors::Wand));
    m_tolerance = CWandToolOptions::Instance().Get().tolerance;
}

std::optional<QPoint> CWandTool::PicturePixel(int x, int y) const
{
    const QImage* picture = Doc() ? Doc()->GetPicture() : nullptr;
    if (!picture || picture->isNull() || !View())
        return std::nullopt;
    const QPointF p = View()->ClientToPicture(QPointF(x + 0.5, y + 0.5));
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
        return std::nullopt;
    const QPoint pixel(int(std::floor(p.x())), int(std::floor(p.y())));
    if (!picture->rect().contains(pixel))
        return std::nullopt;
    return pixel;
}

void CWandTool::OnLButtonDown(unsigned flags, int x, int y)
{
    CTool::OnLButtonDown(flags, x, y);
    m_seed = PicturePixel(x, y);
    m_startX = x;
    m_startTolerance = m_tolerance = CWandToolOptions::Instance().Get().tolerance;
    if (m_seed)
        m_wand.SetPicture(Doc()->GetPicture());
}

void CWandTool::OnMouseMove(unsigned, int x, int)
{
    if (!IsDragging() || !m_seed)
        return;
    const int tolerance =
        std::clamp(m_startTolerance + (x - m_startX) / kPixelsPerStep, 0, CMagicWand::kMaxTolerance);
    if (tolerance == m_tolerance && !m_overlay.isNull())
        return;
    m_tolerance = tolerance;
    CWandToolOptions::Instance().ShowDragTolerance(m_tolerance);
    SWandOptions options = CWandToolOptions::Instance().Get();
    options.tolerance = m_tolerance;
    m_overlay = m_wand.Overlay(*m_seed, options);
    m_bBandShown = true;
    MoveFeedback(QRegion(OverlayRect()));
}

void CWandTool::OnLButtonUp(unsigned flags, int x, int y)
{
    const bool commit = IsDragging() && m_seed;
    CTool::OnLButtonUp(flags, x, y);
    HideOverlay();
    CWandToolOptions::Instance().ShowDragTolerance(std::nullopt);
    if (!commit || !View() || !Doc())
        return;
    SWandOptions options = CWandToolOptions::Instance().Get();
    if (m_tolerance != options.tolerance) {
        // What the drag found is what the next click uses.
        options.tolerance = m_tolerance;
        CWandToolOptions::Instance().Set(options);
    }
    View()->SetBusy(true);
    m_wand.SetPicture(Doc()->GetPicture());
    CPolygon outline = m_wand.Outline(*m_seed, options);
    View()->SetBusy(false);
    m_seed.reset();
    const Qt::KeyboardModifiers keys = View()->CurrentModifiers();
    Doc()->CommitSelectionPolygon(std::move(outline), keys.testFlag(Qt::ControlModifier),
                                  keys.testFlag(Qt::ShiftModifier));
}

bool CWandTool::OnCancel()
{
    if (!AbandonDrag())
        return false;
    m_seed.reset();
    m_tolerance = CWandToolOptions::Instance().Get().tolerance;
    CWandToolOptions::Instance().ShowDragTolerance(std::nullopt);
    HideOverlay();
    return true;
}

void CWandTool::HideOverlay()
{
    m_bBandShown = false;
    if (!m_overlay.isNull()) {
        m_overlay = QImage();
        ClearFeedback();
    }
}

QRect CWandTool::OverlayRect() const
{
    if (m_overlay.isNull() || !View())
        return QRect();
    const int k = m_wand.Reduction();
    const QRectF picture(0, 0, qreal(m_overlay.width()) * k, qreal(m_overlay.height()) * k);
    const CViewGeometry geometry = View()->GetGeometry();
    return geometry.Transform().mapRect(picture).toAlignedRect().intersected(QRect(QPoint(0, 0), geometry.client));
}

void CWandTool::DrawFeedback(QPainter& painter)
{
    if (!m_bBandShown || m_overlay.isNull() || !View())
        return;
    const int k = m_wand.Reduction();
    painter.save();
    painter.setTransform(View()->GetGeometry().Transform(), true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(0, 0, qreal(m_overlay.width()) * k, qreal(m_overlay.height()) * k), m_overlay);
    painter.restore();
}
