#include "ViewTestSupport.h"

#include <QPainter>
#include <QPainterPath>
#include <QSignalSpy>

using ViewLifecycleTest = ViewTest;

TEST_F(ViewLifecycleTest, ArrowKeysMoveTheEditedOutlineAndMarkTheDocumentModified)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    AddArea(RectPolygon(10, 10, 50, 40));
    AddArea(RectPolygon(100, 100, 150, 140));
    auto view = ShowView(doc, QSize(400, 300));
    view->SetEditedArea(&doc.GetAreas()[1]);
    doc.SetModifiedFlag(false);

    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(doc.GetAreas()[1].GetOutline(), RectPolygon(101, 100, 151, 140));
    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(doc.GetAreas()[1].GetOutline(), RectPolygon(101, 110, 151, 150));
    QTest::keyClick(view.get(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_Up);
    EXPECT_EQ(doc.GetAreas()[1].GetOutline(), RectPolygon(91, 109, 141, 149));
    EXPECT_EQ(doc.GetSelection().GetPolygon(), doc.GetAreas()[1].GetOutline());
    EXPECT_TRUE(doc.IsModified());
    // Only the edited area moves.
    EXPECT_EQ(doc.GetAreas()[0].GetOutline(), RectPolygon(10, 10, 50, 40));
}

TEST_F(ViewLifecycleTest, MovedAreaIsRepaintedAtItsNewPlace)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    AddArea(RectPolygon(100, 100, 150, 140));
    doc.SetSelectedIndex(0);
    auto view = ShowView(doc, QSize(400, 300));
    view->SetEditedArea(&doc.GetAreas()[0]);
    Shot(*view);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    QApplication::processEvents();
    const QImage shown = Shown(*view);
    EXPECT_EQ(Px(shown, 120, 120), 0xFF808080u);
    EXPECT_EQ(Px(shown, 170, 120), 0xFFFF0000u);
}

TEST_F(ViewLifecycleTest, KeysArePassedOnWithoutAnEditedAreaOrForOtherKeys)
{
    AddArea(RectPolygon(10, 10, 50, 40));
    doc.SetModifiedFlag(false);
    auto view = ShowView(doc, QSize(200, 100));
    QTest::keyClick(view.get(), Qt::Key_Right);
    view->SetEditedArea(&doc.GetAreas()[0]);
    QTest::keyClick(view.get(), Qt::Key_A);
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    EXPECT_EQ(doc.GetAreas()[0].GetOutline(), RectPolygon(10, 10, 50, 40));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
}

TEST_F(ViewLifecycleTest, ViewRegistersWithTheDocumentAndStylesTheSelection)
{
    const CPolygon square = RectPolygon(0, 0, 10, 10);
    doc.SetSelection(&square);
    {
        auto view = ShowView(doc, QSize(200, 100));
        EXPECT_EQ(doc.GetFirstView(), view.get());
        const auto [dark, light] = view->GetAnts().OutlinePens(view->GetZoomX());
        EXPECT_EQ(dark.dashPattern(), (QList<qreal>{3.0, 3.0}));
        EXPECT_EQ(light.dashOffset() - dark.dashOffset(), 3.0);
        EXPECT_EQ(dark.color(), QColor(Qt::black));
        EXPECT_EQ(light.color(), QColor(Qt::white));
    }
    EXPECT_EQ(doc.GetFirstView(), nullptr);
}

TEST_F(ViewLifecycleTest, FocusPointsThePanelHereAndClosingEmptiesIt)
{
    RecordingPanel panel;
    auto view = ShowView(doc, QSize(200, 100), &panel);
    view->activateWindow();
    view->clearFocus();
    QApplication::processEvents();
    QSignalSpy gained(view.get(), &CTilemontView::focusGained);
    panel.calls.clear();
    view->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(view->hasFocus());
    ASSERT_FALSE(panel.calls.empty());
    EXPECT_EQ(panel.calls.back().doc, &doc);
    EXPECT_EQ(panel.calls.back().view, view.get());
    EXPECT_FALSE(panel.calls.back().force);
    ASSERT_EQ(gained.count(), 1);
    EXPECT_EQ(gained.at(0).at(0).value<CTilemontView*>(), view.get());

    view.reset();
    ASSERT_FALSE(panel.calls.empty());
    EXPECT_EQ(panel.calls.back().doc, nullptr);
    EXPECT_EQ(panel.calls.back().view, nullptr);
    EXPECT_TRUE(panel.calls.back().force);
}

TEST_F(ViewLifecycleTest, DocumentUpdatesReachEveryViewOfIt)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    auto first = ShowView(doc, QSize(1000, 800));
    auto second = ShowView(doc, QSize(500, 400));
    doc.SetPicture(std::make_unique<QImage>(SolidImage(600, 200, 0xFF0000FF)));
    doc.UpdateAllViews();
    EXPECT_EQ(first->GetTotalSize(), QSize(600, 200));
    EXPECT_EQ(second->GetTotalSize(), QSize(600, 200));
    EXPECT_FLOAT_EQ(first->GetOffsetX(), 200.0f);
    EXPECT_FLOAT_EQ(second->GetOffsetY(), 100.0f);
    EXPECT_EQ(Px(Shot(*second), 10, 150), 0xFF0000FFu);
    EXPECT_EQ(Px(Shot(*first), 250, 350), 0xFF0000FFu);
}

TEST_F(ViewLifecycleTest, EachViewDrawsTheAntsAtItsOwnZoom)
{
    SetPicture(SolidImage(800, 600, 0xFF808080));
    const CPolygon square = RectPolygon(100, 100, 300, 300);
    doc.SetSelection(&square);
    auto first = ShowView(doc, QSize(400, 300));
    first->SetZoom(0.5f, 0.5f);
    first->UpdateScrollSizes();
    auto second = ShowView(doc, QSize(400, 300));
    // The newer view draws at its own zoom...
    const auto width = [](const CTilemontView& view) {
        return view.GetAnts().OutlinePens(view.GetZoomX()).first.widthF();
    };
    EXPECT_EQ(width(*second), 1.0);
    // ...and painting the other one leaves it so.
    Shot(*first);
    EXPECT_EQ(width(*second), 1.0);
    EXPECT_EQ(width(*first), 2.0);
}

TEST_F(ViewLifecycleTest, ClosingOneViewLeavesTheOthersAntsAsTheyAre)
{
    const CPolygon square = RectPolygon(0, 0, 10, 10);
    doc.SetSelection(&square);
    auto first = ShowView(doc, QSize(200, 100));
    first->SetZoom(0.5f, 0.5f);
    auto second = ShowView(doc, QSize(200, 100));
    second->SetZoom(0.25f, 0.25f);
    EXPECT_EQ(second->GetAnts().OutlinePens(second->GetZoomX()).first.widthF(), 4.0);

    second.reset();
    EXPECT_EQ(first->GetAnts().OutlinePens(first->GetZoomX()).first.widthF(), 2.0);
    // At zoom 1 the outline is one picture pixel wide.
    EXPECT_EQ(first->GetAnts().OutlinePens(1.0f).first.widthF(), 1.0);
}

// Two windows on one document march their ants each on its own: a step in
// one neither moves the other's dashes nor repaints it, and each paints the
// dashes its own phase says.
TEST_F(ViewLifecycleTest, TwoViewsOfOneDocumentMarchTheirAntsIndependently)
{
    SetPicture(SolidImage(300, 200, 0xFF808080));
    const CPolygon square = RectPolygon(40, 40, 160, 140);
    doc.SetSelection(&square);
    auto first = ShowView(doc, QSize(300, 200));
    auto second = ShowView(doc, QSize(300, 200));
    Shot(*first);
    Shot(*second);
    PaintSpy firstPaints, secondPaints;
    first->viewport()->installEventFilter(&firstPaints);
    second->viewport()->installEventFilter(&secondPaints);

    const float firstPhase = first->GetAnts().GetPhase();
    const float secondPhase = second->GetAnts().GetPhase();
    for (int i = 0; i < 3; ++i) {
        first->OnAntsTick();
        first->viewport()->repaint();
    }
    EXPECT_EQ(first->GetAnts().GetPhase(), firstPhase + 3.0f);
    EXPECT_EQ(second->GetAnts().GetPhase(), secondPhase);
    EXPECT_GE(firstPaints.paints, 3);
    EXPECT_EQ(secondPaints.paints, 0);

    // Same zoom and place, different phases: each view paints the dashes
    // a painter at its own phase draws over the picture.
    EXPECT_NE(first->GetAnts().GetPhase(), second->GetAnts().GetPhase());
    for (CTilemontView* view : {first.get(), second.get()}) {
        QImage expected = SolidImage(300, 200, 0xFF808080);
        QPainter painter(&expected);
        painter.setTransform(view->GetGeometry().Transform());
        const auto [dark, light] = view->GetAnts().OutlinePens(view->GetZoomX());
        QPainterPath outline;
        PolygonToPath(square, outline);
        painter.strokePath(outline, dark);
        painter.strokePath(outline, light);
        painter.end();
        EXPECT_EQ(Shot(*view), expected);
    }
    first->viewport()->removeEventFilter(&firstPaints);
    second->viewport()->removeEventFilter(&secondPaints);
}
