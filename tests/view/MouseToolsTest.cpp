#include "ViewTestSupport.h"

#include <QWheelEvent>

#include "view/HandleTool.h"
#include "view/ViewCommandIds.h"

namespace {

class MouseToolsTest : public ViewTest
{
protected:
    void Pick(CTilemontView& view, int command) { view.OnCommand(command); }

    // Press at from, move through the points to to, release there.
    void Drag(CTilemontView& view, QPoint from, QPoint to, Qt::KeyboardModifiers keys = {})
    {
        QWidget* w = view.viewport();
        QTest::mousePress(w, Qt::LeftButton, keys, from);
        QTest::mouseMove(w, (from + to) / 2);
        QTest::mouseMove(w, to);
        QTest::mouseRelease(w, Qt::LeftButton, keys, to);
    }
    // The selection's extent by its vertices.
    QRectF Selected() const
    {
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        for (const CContour& contour : doc.GetSelection().GetPolygon().contours)
            for (const QPointF& p : contour) {
                x0 = std::min(x0, p.x()), y0 = std::min(y0, p.y());
                x1 = std::max(x1, p.x()), y1 = std::max(y1, p.y());
            }
        return x1 < x0 ? QRectF() : QRectF(QPointF(x0, y0), QPointF(x1, y1));
    }
};

// The Parts' numbers, and Shift and Ctrl as they are at the release.
TEST_F(MouseToolsTest, RectangleAndEllipseMapTheDragAndCombineByTheModifiersAtRelease)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    doc.SetModifiedFlag(false);
    auto view = ShowView(doc, QSize(1000, 800));
    Pick(*view, ID_RECT_SELECTION);
    Drag(*view, QPoint(300, 250), QPoint(400, 350));
    EXPECT_EQ(Selected(), QRectF(0, 0, 100, 100));

    Drag(*view, QPoint(350, 250), QPoint(450, 350), Qt::ShiftModifier);
    EXPECT_EQ(Selected(), QRectF(0, 0, 150, 100));
    Drag(*view, QPoint(300, 250), QPoint(350, 350), Qt::ControlModifier);
    EXPECT_EQ(Selected(), QRectF(50, 0, 100, 100));
    Drag(*view, QPoint(400, 250), QPoint(450, 350), Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Selected(), QRectF(50, 0, 50, 100));
    // Past the picture's edge only the inside is kept; no modifier replaces.
    Drag(*view, QPoint(650, 500), QPoint(800, 700));
    EXPECT_EQ(Selected(), QRectF(350, 250, 50, 50));
    // Ctrl pressed during the drag but let go before the release: replace.
    QWidget* w = view->viewport();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(300, 250));
    QTest::mouseMove(w, QPoint(310, 260));
    QTest::keyPress(view.get(), Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(view.get(), Qt::Key_Control);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(320, 270));
    EXPECT_EQ(Selected(), QRectF(0, 0, 20, 20));

    Pick(*view, ID_ELLIPSE_SELECTION);
    Drag(*view, QPoint(300, 250), QPoint(400, 300));
    const CPolygon& ellipse = doc.GetSelection().GetPolygon();
    ASSERT_EQ(ellipse.contours.size(), 1u);
    EXPECT_GT(ellipse.contours[0].size(), 16u);
    for (const QPointF& p : ellipse.contours[0])
        EXPECT_NEAR(std::hypot((p.x() - 50) / 50, (p.y() - 25) / 25), 1.0, 0.01) << p.x() << "," << p.y();
    // Each shape is one step; the document's content is untouched.
    EXPECT_EQ(doc.GetHistory().UndoText(), "Selection");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(MouseToolsTest, ZoomedAndScrolledDragMapsThroughTheView)
{
    SetPicture(SolidImage(2000, 1500, 0xFF808080));
    auto view = ShowView(doc, QSize(800, 600));
    view->SetZoom(2, 2);
    view->UpdateScrollSizes();
    view->SetScrollPosition(100, 50);
    Pick(*view, ID_RECT_SELECTION);
    Drag(*view, QPoint(30, 60), QPoint(10, 20));
    EXPECT_EQ(Selected(), QRectF(55, 35, 10, 20));
}

// Feedback shows while the shape is built and leaves no pixel behind.
TEST_F(MouseToolsTest, FeedbackIsDrawnWhileDraggingAndGoneAfterwards)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    auto view = ShowView(doc, QSize(400, 300));
    const QImage clean = Shot(*view);
    QWidget* w = view->viewport();
    for (const int tool : {ID_RECT_SELECTION, ID_ELLIPSE_SELECTION, ID_FREEHAND_SELECTION}) {
        Pick(*view, tool);
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(50, 50));
        QTest::mouseMove(w, QPoint(120, 90));
        QTest::mouseMove(w, QPoint(200, 160));
        EXPECT_NE(Shot(*view), clean) << tool;
        // Subtracting from the empty selection leaves it empty.
        QTest::mouseRelease(w, Qt::LeftButton, Qt::ControlModifier, QPoint(200, 160));
        EXPECT_EQ(Shown(*view), clean) << tool;
        EXPECT_TRUE(doc.GetSelection().IsEmpty());
    }

    // Escape abandons a band: nothing committed, nothing left.
    Pick(*view, ID_RECT_SELECTION);
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(w, QPoint(150, 150));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_EQ(Shown(*view), clean);
}

TEST_F(MouseToolsTest, PolylineClosesItsRingAndHoldsTheMouseOnlyWhileActive)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    auto view = ShowView(doc, QSize(400, 300));
    const QImage clean = Shot(*view);
    QWidget* w = view->viewport();
    Pick(*view, ID_POLYLINE_SELECTION);
    const int steps = doc.GetHistory().Count();
    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(5, 5)); // no vertex: nothing
    EXPECT_EQ(doc.GetHistory().Count(), steps);

    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(110, 10));
    // The second press of a double click is no vertex.
    QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(110, 10));
    EXPECT_EQ(QWidget::mouseGrabber(), w);
    // Another tool gets the mouse back; the polygon waits for its return.
    Pick(*view, ID_HAND);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    Pick(*view, ID_POLYLINE_SELECTION);
    EXPECT_EQ(QWidget::mouseGrabber(), w);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(110, 60));
    QTest::mouseMove(w, QPoint(300, 200));
    EXPECT_NE(Shot(*view), clean);
    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(300, 200));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    ASSERT_EQ(doc.GetSelection().GetPolygon().contours.size(), 1u);
    EXPECT_EQ(Selected(), QRectF(10, 10, 100, 50));
    // A triangle: three corners, whatever order the clipper keeps.
    std::vector<QPointF> corners = doc.GetSelection().GetPolygon().contours[0];
    std::sort(corners.begin(), corners.end(), [](QPointF a, QPointF b) {
        return std::make_pair(a.x(), a.y()) < std::make_pair(b.x(), b.y());
    });
    EXPECT_EQ(corners, (std::vector<QPointF>{{10, 10}, {110, 10}, {110, 60}}));

    // Escape abandons a polygon in progress, feedback and mouse grab too.
    doc.SetSelection(nullptr);
    const QImage empty = Shot(*view);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(w, QPoint(100, 100));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(Shown(*view), empty);
    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(300, 200));
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
}

TEST_F(MouseToolsTest, FreehandKeepsEveryPointAndAClickChangesNothing)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    auto view = ShowView(doc, QSize(400, 300));
    QWidget* w = view->viewport();
    Pick(*view, ID_FREEHAND_SELECTION);
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 10));
    for (const QPoint p : {QPoint(10, 10), QPoint(100, 10), QPoint(100, 80), QPoint(10, 80)})
        QTest::mouseMove(w, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(10, 80));
    EXPECT_EQ(Selected(), QRectF(10, 10, 90, 70));

    const CPolygon before = doc.GetSelection().GetPolygon();
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(doc.GetSelection().GetPolygon(), before);
}

TEST_F(MouseToolsTest, HandPansAlongScrollableAxesAndZoomFitsTheDraggedRectangle)
{
    SetPicture(SolidImage(2000, 1000, 0xFF808080));
    auto view = ShowView(doc, QSize(800, 600));
    view->SetScrollPosition(300, 100);
    Pick(*view, ID_HAND);
    QWidget* w = view->viewport();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(400, 300));
    QTest::mouseMove(w, QPoint(350, 320));
    EXPECT_EQ(QPoint(view->GetScrollX(), view->GetScrollY()), QPoint(350, 80));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(350, 320));

    SetPicture(SolidImage(4000, 3000, 0xFF808080));
    view->SetScrollPosition(0, 0);
    Pick(*view, ID_ZOOM_IN);
    // A click has no size and zooms nowhere; a release without a press
    // is no drag.
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_EQ(view->GetZoomX(), 1.0f);
    Drag(*view, QPoint(100, 100), QPoint(300, 200));
    EXPECT_EQ(view->GetZoomX(), 4.0f);
    EXPECT_EQ(view->GetZoomY(), 4.0f);
    EXPECT_EQ(QPoint(view->GetScrollX(), view->GetScrollY()), QPoint(400, 300));
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
}

// Ctrl+wheel zooms about the pointer: the picture pixel under it stays.
TEST_F(MouseToolsTest, CtrlWheelZoomsAboutThePointer)
{
    SetPicture(SolidImage(4000, 3000, 0xFF808080));
    auto view = ShowView(doc, QSize(800, 600));
    view->SetScrollPosition(1000, 500);
    const QPointF at(300, 200);
    const QPointF before = view->ClientToPicture(at);
    for (const int notch : {120, 120, -120}) {
        QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, notch), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
    }
    EXPECT_FLOAT_EQ(view->GetZoomX(), 1.25f);
    const QPointF after = view->ClientToPicture(at);
    EXPECT_NEAR(after.x(), before.x(), 1.0);
    EXPECT_NEAR(after.y(), before.y(), 1.0);
}

// The invalidated region of a square with a square hole: its even-odd
// interior and edges, widened by trunc(2 x zoom); the hole's middle stays.
TEST_F(MouseToolsTest, SelectionRegionIsTheEvenOddInteriorWidenedByTheZoom)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    auto view = ShowView(doc, QSize(400, 300));
    CPolygon ring = RectPolygon(100, 100, 300, 260);
    ring.contours.push_back(RectPolygon(150, 150, 250, 210).contours[0]);
    const QRegion region = view->SelectionOutlineRegion(ring);
    EXPECT_TRUE(region.contains(QPoint(120, 120)));
    EXPECT_TRUE(region.contains(QPoint(98, 150)));
    EXPECT_FALSE(region.contains(QPoint(96, 150)));
    EXPECT_TRUE(region.contains(QPoint(151, 180)));   // the hole's edge
    EXPECT_FALSE(region.contains(QPoint(200, 180)));  // the hole's middle
    EXPECT_TRUE(view->SelectionOutlineRegion(ring, 10).contains(QPoint(88, 150)));
}

} // namespace
