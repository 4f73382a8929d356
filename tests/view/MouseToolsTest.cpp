#include "TimeBudget.h"
#include "ViewTestSupport.h"

#include <QElapsedTimer>
#include <QPainterPath>
#include <QWheelEvent>

#include "view/HandleTool.h"
#include "view/ToolCursors.h"
#include "view/ViewCommandIds.h"

namespace {

class MouseToolsTest : public ViewTest
{
protected:
    void Pick(CTilemontView& view, int command) { view.Commands().OnCommand(command); }

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

// The drag's picture rectangle as the tools map it, and Shift and Ctrl as
// they are at the release.
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

// A polygon left half-built shows only while its tool is picked (the view
// draws the active tool's feedback alone), and what shows is what a fresh
// paint shows: no edge left behind by another tool or a click that came
// without a move (a walk through the editor found both).
TEST_F(MouseToolsTest, HalfBuiltPolygonShowsExactlyWhileItsToolIsPicked)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    auto view = ShowView(doc, QSize(400, 300));
    const QImage clean = Shot(*view);
    QWidget* w = view->viewport();
    Pick(*view, ID_POLYLINE_SELECTION);
    for (const QPoint p : {QPoint(20, 20), QPoint(300, 40)}) {
        QTest::mouseMove(w, p);
        QTest::mouseClick(w, Qt::LeftButton, {}, p);
    }
    QTest::mouseMove(w, QPoint(250, 250));
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(60, 200));
    const QImage building = Shown(*view);
    EXPECT_EQ(building, Shot(*view));
    EXPECT_NE(building, clean);

    Pick(*view, ID_HAND);
    EXPECT_EQ(Shown(*view), clean);
    Pick(*view, ID_POLYLINE_SELECTION);
    EXPECT_EQ(Shown(*view), building);
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

// Space held makes any tool the hand until it is let go, also when it is
// let go in the middle of a pan; the tool comes back with its half-built
// shape.
TEST_F(MouseToolsTest, SpaceHeldPansWithTheHandAndGivesTheToolBack)
{
    SetPicture(SolidImage(2000, 1000, 0xFF808080));
    auto view = ShowView(doc, QSize(800, 600));
    view->SetScrollPosition(300, 100);
    Pick(*view, ID_POLYLINE_SELECTION);
    QWidget* w = view->viewport();
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(200, 100));

    QTest::keyPress(view.get(), Qt::Key_Space);
    QTest::keyPress(view.get(), Qt::Key_Space, {}, -1); // held: repeats change nothing
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::HandTool));
    EXPECT_EQ(view->cursor().pixmap().toImage(), ToolCursors::Get(ToolCursors::Hand).pixmap().toImage());
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(400, 300));
    QTest::mouseMove(w, QPoint(350, 320));
    QTest::keyRelease(view.get(), Qt::Key_Space);
    // Still panning: the hand stays until the button is up.
    QTest::mouseMove(w, QPoint(340, 330));
    EXPECT_EQ(QPoint(view->GetScrollX(), view->GetScrollY()), QPoint(360, 70));
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::HandTool));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(340, 330));
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::PolylineTool));

    // The polygon goes on where it was left, and closes as usual.
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(200, 200));
    EXPECT_FALSE(doc.GetSelection().IsEmpty());

    // A tool picked while Space is down is the one left afterwards; Space
    // with a modifier is no hand.
    QTest::keyPress(view.get(), Qt::Key_Space);
    Pick(*view, ID_ELLIPSE_SELECTION);
    QTest::keyRelease(view.get(), Qt::Key_Space);
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::EllipseTool));
    QTest::keyPress(view.get(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::EllipseTool));
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

// A selection whose outline runs out in a sliver thinner than a pixel (as
// the clipper leaves them) encloses nothing there once in whole pixels: its
// ants must still be repainted when the selection changes. A walk through
// the editor found them left on the screen.
TEST_F(MouseToolsTest, AntsOfASliverGoWithTheirSelection)
{
    SetPicture(SolidImage(300, 200, 0xFF808080));
    auto view = ShowView(doc, QSize(400, 300));
    const QImage clean = Shot(*view);
    CPolygon sliver;
    sliver.contours.push_back({{248.315, 0.381836}, {251, 0.5}, {251.069, 1}, {248.409, 1}, {248.315, 0.381836},
                               {239.643, 0}, {248.258, 0}});
    // Whichever way the ants have marched.
    for (int phase = 0; phase < 12; ++phase) {
        doc.SetSelection(&sliver);
        for (int tick = 0; tick < phase; ++tick) {
            view->OnAntsTick();
            Shown(*view);
        }
        doc.SetSelection(nullptr);
        EXPECT_EQ(Shown(*view), clean) << "phase " << phase;
    }
}

// Every pixel the outline runs through is in the region, also where the
// contours overlap and cancel each other's inside, zoomed out.
TEST_F(MouseToolsTest, SelectionRegionHoldsTheWholeOutlineWhereContoursOverlap)
{
    SetPicture(SolidImage(300, 200, 0xFF808080));
    auto view = ShowView(doc, QSize(430, 715));
    view->SetZoom(0.874357f, 0.874357f);
    view->UpdateScrollSizes();
    // A selection the walk made by adding and cutting out: five contours,
    // one running inside another's inside, with slivers.
    CPolygon crossing;
    crossing.contours.push_back({{260.875, 0}, {259.9921875, 1},
                                 {255.995117188, 1}, {256.33984375, 0}});
    crossing.contours.push_back({{96.865234375, 150}, {87.7431640625, 150},
                                 {82.9609375, 122.899414062}, {120.15625, 108.59375}});
    crossing.contours.push_back({{45.091796875, 1}, {44.8076171875, 1.802734375},
                                 {62.83984375, 8.87890625}, {65.4345703125, 23.5869140625},
                                 {120.15625, 51.484375}, {142.822265625, 44.7958984375},
                                 {137.137695312, 38.0341796875}, {62.83984375, 8.87890625},
                                 {62.1982421875, 5.248046875}, {51.9541015625, 1}});
    crossing.contours.push_back({{200, 43.3779296875}, {173.892578125, 35.6279296875},
                                 {200, 27.923828125}});
    crossing.contours.push_back({{122.220703125, 20.287109375}, {173.892578125, 35.6279296875},
                                 {151.443359375, 42.251953125}, {200, 62.384765625},
                                 {200, 62.701171875}, {149.4140625, 42.8505859375},
                                 {151.443359375, 42.251953125}, {134.926757812, 35.4033203125},
                                 {122.220703125, 20.287109375}, {61.6806640625, 2.314453125},
                                 {61.44921875, 1}, {57.2529296875, 1},
                                 {61.6806640625, 2.314453125}, {62.1982421875, 5.248046875},
                                 {134.926757812, 35.4033203125}, {137.137695312, 38.0341796875},
                                 {149.4140625, 42.8505859375}, {142.822265625, 44.7958984375},
                                 {200, 112.818359375}, {200, 134.927734375},
                                 {69.08984375, 44.296875}, {65.4345703125, 23.5869140625},
                                 {41.4267578125, 11.34765625}, {44.8076171875, 1.802734375},
                                 {42.7607421875, 1}, {21.1298828125, 1},
                                 {41.4267578125, 11.34765625}, {37.5029296875, 22.4296875},
                                 {69.08984375, 44.296875}, {82.9609375, 122.899414062},
                                 {12.5009765625, 150}, {0, 150},
                                 {0, 128.3203125}, {37.5029296875, 22.4296875},
                                 {6.548828125, 1}, {6.5146484375, 1},
                                 {6.517578125, 0.978515625}, {5.1044921875, 0},
                                 {214.981445312, 0}, {214.782226562, 1},
                                 {106.0078125, 1}});
    const QRegion region = view->SelectionOutlineRegion(crossing);
    // The outline is drawn through the vertices truncated to whole pixels.
    const auto drawn = [](QPointF p) { return QPointF(std::trunc(p.x()), std::trunc(p.y())); };
    for (const CContour& contour : crossing.contours) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const QPointF a = drawn(contour[i]), b = drawn(contour[(i + 1) % contour.size()]);
            for (double t = 0; t <= 1; t += 0.01) {
                const QPointF c = view->PictureToClient(a + (b - a) * t);
                const QPoint pixel(int(std::floor(c.x())), int(std::floor(c.y())));
                EXPECT_TRUE(region.contains(pixel)) << pixel.x() << "," << pixel.y();
            }
        }
    }
}

// Zoomed far in, a selection spans hundreds of thousands of window pixels:
// its region must still come at once (a walk through the editor found each
// step taking a second at zoom 53 on a 300 x 200 picture) and still cover
// everything of it that the window shows.
TEST_F(MouseToolsTest, SelectionFarPastTheWindowGivesItsRegionAtOnce)
{
    SetPicture(SolidImage(4000, 3000, 0xFF808080));
    auto view = ShowView(doc, QSize(400, 300));
    view->SetZoom(64, 64);
    view->UpdateScrollSizes();
    view->SetScrollPosition(128000, 96000);
    // A diamond with its left corner in the window, the rest far outside.
    CPolygon diamond;
    diamond.contours.push_back({{2003, 1502}, {3000, 500}, {4000, 1502}, {3000, 2900}});
    QElapsedTimer clock;
    clock.start();
    const QRegion region = view->SelectionOutlineRegion(diamond);
    EXPECT_LT(clock.elapsed(), 1000 * kTimeBudgetFactor);
    QPainterPath inside;
    PolygonToPath(diamond, inside);
    int covered = 0;
    for (int y = 0; y < 300; y += 7) {
        for (int x = 0; x < 400; x += 7) {
            if (inside.contains(view->ClientToPicture(QPointF(x, y)))) {
                EXPECT_TRUE(region.contains(QPoint(x, y))) << x << "," << y;
                ++covered;
            }
        }
    }
    EXPECT_GT(covered, 100);
}

} // namespace
