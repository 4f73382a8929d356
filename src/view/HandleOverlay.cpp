#include "view/HandleOverlay.h"

#include "document/TilemontDoc.h"
#include "view/PerspectiveGrid.h"

#include <QImage>
#include <QPainter>

namespace
{

QImage MakeMark(QRgb border, QRgb inside)
{
    QImage mark(8, 8, QImage::Format_RGB32);
    mark.fill(border);
    for (int y = 1; y < 7; ++y)
        for (int x = 1; x < 7; ++x)
            mark.setPixel(x, y, inside);
    return mark;
}

const QImage& Mark(CHandleOverlay::Handles handles)
{
    static const QImage skew = MakeMark(qRgb(0x00, 0xFF, 0xFF), qRgb(0x00, 0x00, 0xFF));
    static const QImage initialRect = MakeMark(qRgb(0x00, 0xFF, 0x00), qRgb(0x00, 0x80, 0x00));
    return handles == CHandleOverlay::Handles::Skew ? skew : initialRect;
}

// In the order top-left, top-right, bottom-left, bottom-right.
std::array<QPoint, 4> PictureCorners(const CArea& area, CHandleOverlay::Handles handles)
{
    if (handles == CHandleOverlay::Handles::Skew) {
        const auto& c = area.GetSkewCorners();
        return {c[CArea::TopLeft], c[CArea::TopRight], c[CArea::BottomLeft], c[CArea::BottomRight]};
    }
    const CIntRect& r = area.GetInitialRect();
    return {QPoint(r.left, r.top), QPoint(r.right, r.top), QPoint(r.left, r.bottom), QPoint(r.right, r.bottom)};
}

QPoint ClientPoint(QPoint picture, const CViewGeometry& g)
{
    return QPoint(TruncPixel(float(picture.x()) * g.zoomX + g.offsetX - float(g.scrollX)),
                  TruncPixel(float(picture.y()) * g.zoomY + g.offsetY - float(g.scrollY)));
}

constexpr CHandleOverlay::Handles kBoth[] = {CHandleOverlay::Handles::Skew, CHandleOverlay::Handles::InitialRect};

} // namespace

const CArea* CHandleOverlay::EditedArea() const
{
    return m_doc.FindArea(m_editedArea);
}

bool CHandleOverlay::ShowsPerspectiveGrid() const
{
    const CArea* area = m_skew ? EditedArea() : nullptr;
    return area && (area->IsPerspective() || m_perspectiveGrid);
}

bool CHandleOverlay::Corners(Handles handles, const CViewGeometry& g, std::array<QPoint, 4>& corners) const
{
    const CArea* area = EditedArea();
    if (!area)
        return false;
    const std::array<QPoint, 4> picture = PictureCorners(*area, handles);
    for (std::size_t i = 0; i < 4; ++i)
        corners[i] = ClientPoint(picture[i], g);
    return true;
}

QRect CHandleOverlay::Box() const
{
    const CArea* area = EditedArea();
    QRect box;
    if (!area)
        return box;
    for (const Handles handles : kBoth) {
        if (!IsOn(handles))
            continue;
        for (const QPoint& p : PictureCorners(*area, handles))
            box |= QRect(p, p);
    }
    return box;
}

QRect CHandleOverlay::TakeRepaintRect(const CViewGeometry& g)
{
    const auto client = [&g](const QRect& box) {
        if (box.isNull())
            return QRect();
        // The marks reach 4 pixels before and 3 after each corner.
        return QRect(ClientPoint(box.topLeft(), g), ClientPoint(box.bottomRight(), g)).adjusted(-5, -5, 5, 5);
    };
    const QRect now = Box();
    const QRect repaint = client(m_shown) | client(now);
    m_shown = now;
    return repaint;
}

void CHandleOverlay::Paint(QPainter& painter, const CViewGeometry& g, const Drag* drag) const
{
    if (ShowsPerspectiveGrid()) {
        const QRectF clip(QPointF(0, 0), QSizeF(g.client));
        CPerspectiveGrid::Paint(painter, CPerspectiveGrid::Segments(*EditedArea(), g.Transform(), clip));
    }
    for (const Handles handles : kBoth) {
        if (!IsOn(handles))
            continue;
        std::array<QPoint, 4> corners;
        // The initial rectangle's drag draws all four of its edges anew.
        if (drag && drag->handles == handles)
            PaintHandles(painter, drag->corners, Mark(handles), handles == Handles::Skew ? drag->grabbed : 4);
        else if (Corners(handles, g, corners))
            PaintHandles(painter, corners, Mark(handles));
    }
}

void CHandleOverlay::PaintHandles(QPainter& painter, const std::array<QPoint, 4>& c, const QImage& mark,
                                  int without)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Inverted, so the lines show on any picture; drawing them twice restores it.
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::black, 0));
    // The edges in drawing order; "without" leaves out those that meet at
    // that corner (4: all of them).
    const int edges[4][2] = {{0, 1}, {0, 2}, {2, 3}, {1, 3}};
    for (const auto& e : edges)
        if (without != 4 && e[0] != without && e[1] != without)
            painter.drawLine(c[std::size_t(e[0])], c[std::size_t(e[1])]);
    painter.restore();
    for (const QPoint& p : c)
        painter.drawImage(p - QPoint(4, 4), mark);
}
