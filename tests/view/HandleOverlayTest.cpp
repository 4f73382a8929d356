#include "ViewTestSupport.h"

#include "view/HandleOverlay.h"

#include <QPainter>

namespace {

class HandleOverlayTest : public ViewTest
{
protected:
    AreaId AddCornered()
    {
        return AddArea(RectPolygon(20, 20, 180, 140), [](CArea& a) {
                   CArea::Corners& c = a.GetSkewCorners();
                   c[CArea::TopLeft] = QPoint(30, 25);
                   c[CArea::TopRight] = QPoint(170, 35);
                   c[CArea::BottomLeft] = QPoint(25, 130);
                   c[CArea::BottomRight] = QPoint(175, 120);
                   a.SetInitialRect(CIntRect{40, 50, 150, 110});
               }).GetId();
    }
    static CViewGeometry At(float zoom, float offset, int scroll)
    {
        CViewGeometry g;
        g.zoomX = g.zoomY = zoom;
        g.offsetX = g.offsetY = offset;
        g.scrollX = g.scrollY = scroll;
        g.client = QSize(400, 300);
        return g;
    }
    // Where a picture corner lands, worked out apart from the overlay.
    static QPoint Client(QPoint p, const CViewGeometry& g)
    {
        return QPoint(int(p.x() * g.zoomX + g.offsetX - g.scrollX), int(p.y() * g.zoomY + g.offsetY - g.scrollY));
    }
};

// A mark is 8 x 8 with its corner pixel at (4, 4): the border colour 4
// pixels up and left, the inside colour on the corner itself.
constexpr QRgb kSkewBorder = 0xFF00FFFF, kSkewInside = 0xFF0000FF;
constexpr QRgb kRectBorder = 0xFF00FF00, kRectInside = 0xFF008000;

TEST_F(HandleOverlayTest, BothModesPaintTheirOwnCornersWhileTheInitialRectangleIsDragged)
{
    const AreaId id = AddCornered();
    CHandleOverlay overlay(doc);
    overlay.SetEditedAreaId(id);
    overlay.SetOn(CHandleOverlay::Handles::Skew, true);
    overlay.SetOn(CHandleOverlay::Handles::InitialRect, true);
    const CViewGeometry g = At(1.5f, 10.0f, 5);

    CHandleOverlay::Drag drag;
    drag.handles = CHandleOverlay::Handles::InitialRect;
    drag.corners = {QPoint(60, 70), QPoint(200, 70), QPoint(60, 160), QPoint(200, 160)};
    QImage canvas(g.client, QImage::Format_RGB32);
    canvas.fill(0xFF808080);
    {
        QPainter painter(&canvas);
        overlay.Paint(painter, g, &drag);
    }
    const CArea& area = *doc.FindArea(id);
    for (const QPoint& p : area.GetSkewCorners()) {
        const QPoint c = Client(p, g);
        EXPECT_EQ(canvas.pixel(c), kSkewInside) << c.x() << "," << c.y();
        EXPECT_EQ(canvas.pixel(c - QPoint(4, 4)), kSkewBorder);
    }
    // The dragged rectangle shows at the press corners, not the skew ones.
    for (const QPoint& c : drag.corners) {
        EXPECT_EQ(canvas.pixel(c), kRectInside) << c.x() << "," << c.y();
        EXPECT_EQ(canvas.pixel(c + QPoint(3, 3)), kRectBorder);
    }
    // Not dragged, the initial rectangle's corners are the area's.
    canvas.fill(0xFF808080);
    {
        QPainter painter(&canvas);
        overlay.Paint(painter, g, nullptr);
    }
    const CIntRect& r = area.GetInitialRect();
    for (const QPoint& p : {QPoint(r.left, r.top), QPoint(r.right, r.top), QPoint(r.left, r.bottom),
                            QPoint(r.right, r.bottom)})
        EXPECT_EQ(canvas.pixel(Client(p, g)), kRectInside);
    std::array<QPoint, 4> corners;
    ASSERT_TRUE(overlay.Corners(CHandleOverlay::Handles::InitialRect, g, corners));
    EXPECT_EQ(corners[3], Client(QPoint(r.right, r.bottom), g));
}

TEST_F(HandleOverlayTest, RepaintCoversWhereTheHandlesWereAfterTheirAreaWent)
{
    const AreaId id = AddCornered();
    CHandleOverlay overlay(doc);
    const CViewGeometry g = At(2.0f, 0.0f, 30);
    overlay.SetEditedAreaId(id);
    EXPECT_TRUE(overlay.TakeRepaintRect(g).isNull());

    overlay.SetOn(CHandleOverlay::Handles::Skew, true);
    // The skew corners span 25..175 x 25..135, the marks 5 pixels more.
    const QRect shown(Client(QPoint(25, 25), g) - QPoint(5, 5), Client(QPoint(175, 130), g) + QPoint(5, 5));
    EXPECT_EQ(overlay.TakeRepaintRect(g), shown);

    // Scrolled since: the old place is where the handles are now drawn.
    const CViewGeometry later = At(2.0f, 0.0f, 80);
    ASSERT_TRUE(doc.DeleteArea(id, QStringLiteral("Delete"), false));
    EXPECT_EQ(overlay.EditedArea(), nullptr);
    EXPECT_EQ(overlay.TakeRepaintRect(later), shown.translated(-50, -50));
    EXPECT_TRUE(overlay.TakeRepaintRect(later).isNull());
    doc.OnEditUndo();
    EXPECT_EQ(overlay.EditedArea(), doc.FindArea(id));
    EXPECT_EQ(overlay.TakeRepaintRect(later), shown.translated(-50, -50));
}

} // namespace
