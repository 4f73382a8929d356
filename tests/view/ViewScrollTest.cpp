#include "ViewTestSupport.h"

#include "app/ResourceIds.h"

#include <QScrollBar>
#include <QTest>

#include <vector>

using ViewScrollTest = ViewTest;

TEST_F(ViewScrollTest, SmallPictureIsCentredAndCannotScroll)
{
    SetPicture(SolidImage(400, 300, 0xFF102030));
    auto view = ShowView(doc, QSize(1000, 800));
    EXPECT_FLOAT_EQ(view->GetOffsetX(), 300.0f);
    EXPECT_FLOAT_EQ(view->GetOffsetY(), 250.0f);
    EXPECT_EQ(view->GetTotalSize(), QSize(400, 300));
    EXPECT_EQ(view->GetPageSize(), QSize(0, 0));
    EXPECT_EQ(view->GetLineSize(), QSize(0, 0));
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(view->PictureToClient(QPointF(0, 0)), QPointF(300, 250));
}

TEST_F(ViewScrollTest, LargePictureScrollsByPagesAndTenPixelLines)
{
    SetPicture(SolidImage(2000, 1000, 0xFF102030));
    auto view = ShowView(doc, QSize(800, 600));
    EXPECT_FLOAT_EQ(view->GetOffsetX(), 0.0f);
    EXPECT_FLOAT_EQ(view->GetOffsetY(), 0.0f);
    EXPECT_EQ(view->GetTotalSize(), QSize(2000, 1000));
    EXPECT_EQ(view->GetPageSize(), QSize(800, 600));
    EXPECT_EQ(view->GetLineSize(), QSize(10, 10));
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 1200);
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 400);
    EXPECT_EQ(view->horizontalScrollBar()->pageStep(), 800);
    EXPECT_EQ(view->verticalScrollBar()->singleStep(), 10);
}

TEST_F(ViewScrollTest, OneAxisCanScrollWhileTheOtherIsCentred)
{
    SetPicture(SolidImage(2000, 100, 0xFF102030));
    auto view = ShowView(doc, QSize(800, 600));
    EXPECT_FLOAT_EQ(view->GetOffsetX(), 0.0f);
    EXPECT_FLOAT_EQ(view->GetOffsetY(), 250.0f);
    EXPECT_EQ(view->GetPageSize(), QSize(800, 0));
    EXPECT_EQ(view->GetLineSize(), QSize(10, 0));
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 0);
}

TEST_F(ViewScrollTest, WithoutPictureEverythingIsOnePixel)
{
    auto view = ShowView(doc, QSize(300, 200));
    EXPECT_EQ(view->GetTotalSize(), QSize(1, 1));
    EXPECT_EQ(view->GetPageSize(), QSize(1, 1));
    EXPECT_EQ(view->GetLineSize(), QSize(1, 1));
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ViewScrollTest, ResizingRecomputesTheOffsets)
{
    SetPicture(SolidImage(400, 300, 0xFF102030));
    auto view = ShowView(doc, QSize(1000, 800));
    view->resize(600, 500);
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(view->GetOffsetX(), 100.0f);
    EXPECT_FLOAT_EQ(view->GetOffsetY(), 100.0f);
}

TEST_F(ViewScrollTest, ZoomOutStepsByFiveSixthsInSinglePrecision)
{
    SetPicture(SolidImage(400, 300, 0xFF102030));
    auto view = ShowView(doc, QSize(1000, 800));
    view->Commands().OnCommand(ID_ZOOM_OUT);
    EXPECT_EQ(double(view->GetZoomX()), 0.8333333134651184);
    EXPECT_EQ(double(view->GetZoomY()), 0.8333333134651184);
    view->Commands().OnCommand(ID_ZOOM_OUT);
    EXPECT_EQ(double(view->GetZoomX()), 0.6944444179534912);
    EXPECT_EQ(double(view->GetZoomY()), 0.6944444179534912);
    // The centring follows the zoomed size.
    EXPECT_FLOAT_EQ(view->GetOffsetX(), (1000.0f - 400.0f * 0.6944444179534912f) * 0.5f);
    EXPECT_EQ(view->GetTotalSize(), QSize(277, 208));
}

TEST_F(ViewScrollTest, ZoomOutScalesTheScrollPositionWithTruncation)
{
    SetPicture(SolidImage(4000, 2000, 0xFF102030));
    auto view = ShowView(doc, QSize(800, 600));
    view->SetScrollPosition(600, 300);
    ASSERT_EQ(view->GetScrollX(), 600);
    view->Commands().OnCommand(ID_ZOOM_OUT);
    EXPECT_EQ(view->GetScrollX(), 499);
    EXPECT_EQ(view->GetScrollY(), 249);
    EXPECT_EQ(view->GetLineSize(), QSize(8, 8));
}

TEST_F(ViewScrollTest, ZoomOutClampsTheScrollPositionToTheNewRange)
{
    SetPicture(SolidImage(1000, 700, 0xFF102030));
    auto view = ShowView(doc, QSize(800, 600));
    view->SetScrollPosition(200, 100);
    view->Commands().OnCommand(ID_ZOOM_OUT);
    // 833 x 583 now: only 33 pixels of horizontal scrolling are left.
    EXPECT_EQ(view->GetScrollX(), 33);
    EXPECT_EQ(view->GetScrollY(), 0);
}

TEST_F(ViewScrollTest, OriginalSizeIsEnabledOnlyAwayFromOneToOneAndResetsScrolling)
{
    SetPicture(SolidImage(4000, 2000, 0xFF102030));
    auto view = ShowView(doc, QSize(800, 600));
    EXPECT_TRUE(view->Commands().HandlesCommand(ID_ORIGINAL_SIZE));
    EXPECT_FALSE(view->Commands().CommandState(ID_ORIGINAL_SIZE).enabled);
    EXPECT_TRUE(view->Commands().CommandState(ID_ZOOM_OUT).enabled);
    view->SetScrollPosition(900, 700);
    view->Commands().OnCommand(ID_ZOOM_OUT);
    EXPECT_TRUE(view->Commands().CommandState(ID_ORIGINAL_SIZE).enabled);
    view->Commands().OnCommand(ID_ORIGINAL_SIZE);
    EXPECT_EQ(view->GetZoomX(), 1.0f);
    EXPECT_EQ(view->GetZoomY(), 1.0f);
    EXPECT_EQ(view->GetScrollX(), 0);
    EXPECT_EQ(view->GetScrollY(), 0);
    EXPECT_FALSE(view->Commands().CommandState(ID_ORIGINAL_SIZE).enabled);
}

TEST_F(ViewScrollTest, ZoomStaysWithinItsBounds)
{
    SetPicture(SolidImage(4000, 2000, 0xFF102030));
    auto view = ShowView(doc, QSize(800, 600));
    for (int i = 0; i < 60; ++i)
        view->Commands().OnCommand(ID_ZOOM_OUT);
    EXPECT_EQ(view->GetZoomX(), CTilemontView::kMinZoom);
    EXPECT_EQ(view->GetTotalSize(), QSize(62, 31));

    view->SetZoom(1000.0f, 1e-9f);
    EXPECT_EQ(view->GetZoomX(), CTilemontView::kMaxZoom);
    EXPECT_EQ(view->GetZoomY(), CTilemontView::kMinZoom);
    view->SetZoom(std::nanf(""), 2.0f);
    EXPECT_EQ(view->GetZoomX(), CTilemontView::kMaxZoom);
    EXPECT_EQ(view->GetZoomY(), 2.0f);
    view->SetZoom(-3.0f, 0.0f);
    EXPECT_EQ(view->GetZoomX(), CTilemontView::kMinZoom);
    EXPECT_EQ(view->GetZoomY(), CTilemontView::kMinZoom);
}

TEST_F(ViewScrollTest, MaximumZoomKeepsAHugePictureWithinTheScrollRange)
{
    SetPicture(SolidImage(60000, 2, 0xFF102030));
    auto view = ShowView(doc, QSize(800, 600));
    view->SetZoom(64.0f, 64.0f);
    view->UpdateScrollSizes();
    EXPECT_EQ(view->GetTotalSize().width(), 3840000);
    view->SetScrollPosition(3000000, 0);
    EXPECT_EQ(view->GetScrollX(), 3000000);
    EXPECT_FLOAT_EQ(float(view->ClientToPicture(QPointF(0, 0)).x()), 3000000.0f / 64.0f);
}

TEST_F(ViewScrollTest, PictureWiderThanSixteenBitsStillScrollsToItsEnd)
{
    QImage picture = SolidImage(40000, 20, 0xFF000000);
    for (int y = 0; y < 20; ++y)
        picture.setPixel(39990, y, 0xFFFF0000);
    SetPicture(picture);
    auto view = ShowView(doc, QSize(100, 50));
    view->SetScrollPosition(39900, 0);
    EXPECT_EQ(view->GetScrollX(), 39900);
    EXPECT_EQ(view->PictureToClient(QPointF(39990, 0)).x(), 90.0);
    const QImage shot = Shot(*view);
    EXPECT_EQ(Px(shot, 90, 20), 0xFFFF0000u);
    EXPECT_EQ(Px(shot, 91, 20), 0xFF000000u);
}

TEST_F(ViewScrollTest, CoordinateMappingsRoundTrip)
{
    SetPicture(SolidImage(3000, 2000, 0xFF102030));
    auto view = ShowView(doc, QSize(700, 500));
    for (const float zoom : {0.25f, 0.8333333f, 1.0f, 3.0f}) {
        view->SetZoom(zoom, zoom);
        view->UpdateScrollSizes();
        view->SetScrollPosition(123, 77);
        const QPointF p(321.5, 456.25);
        const QPointF c = view->PictureToClient(p);
        EXPECT_NEAR(c.x(), 321.5 * zoom + view->GetOffsetX() - view->GetScrollX(), 1e-3);
        const QPointF back = view->ClientToPicture(c);
        EXPECT_NEAR(back.x(), p.x(), 1e-3) << zoom;
        EXPECT_NEAR(back.y(), p.y(), 1e-3) << zoom;

        const QRectF r(10, 20, 300, 150);
        const QRectF cr = view->PictureToClient(r);
        EXPECT_NEAR(cr.width(), 300 * zoom, 1e-3);
        const QRectF br = view->ClientToPicture(cr);
        EXPECT_NEAR(br.x(), r.x(), 1e-3);
        EXPECT_NEAR(br.y(), r.y(), 1e-3);
        EXPECT_NEAR(br.width(), r.width(), 1e-3);
        EXPECT_NEAR(br.height(), r.height(), 1e-3);
    }
}

TEST_F(ViewScrollTest, ScrollBarsThatTakeRoomLeaveTheRangeMatchingTheClientArea)
{
    SetPicture(SolidImage(2000, 1000, 0xFF102030));
    CTilemontView view(doc, nullptr);
    view.resize(800, 600);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QApplication::processEvents();
    const QSize client = view.viewport()->size();
    EXPECT_LT(client.width(), 800);
    EXPECT_LT(client.height(), 600);
    EXPECT_EQ(view.GetPageSize(), client);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 2000 - client.width());
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 1000 - client.height());
}

// The status bar learns the picture pixel under the pointer at any zoom and
// scroll, and once when the pointer leaves the picture for the margin.
TEST_F(ViewScrollTest, PointerReportsThePicturePixelUnderItAndLeavingThePicture)
{
    SetPicture(SolidImage(400, 300, 0xFF102030));
    auto view = ShowView(doc, QSize(1000, 800));
    view->Commands().OnCommand(ID_ZOOM_OUT);
    std::vector<QPoint> pixels;
    int left = 0;
    QObject::connect(view.get(), &CTilemontView::pointerOverPixel, [&](QPoint p) { pixels.push_back(p); });
    QObject::connect(view.get(), &CTilemontView::pointerLeftPicture, [&] { ++left; });
    const QPointF inside = view->PictureToClient(QPointF(250.5, 120.5));
    QTest::mouseMove(view->viewport(), inside.toPoint());
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_NEAR(pixels.back().x(), 250, 1);
    EXPECT_NEAR(pixels.back().y(), 120, 1);
    QTest::mouseMove(view->viewport(), QPoint(2, 2));
    QTest::mouseMove(view->viewport(), QPoint(3, 3));
    EXPECT_EQ(left, 1);
    EXPECT_EQ(pixels.size(), 1u);
}
