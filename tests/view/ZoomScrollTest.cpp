#include "view/ZoomScroll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

CZoomScroll Placed(QSize picture, QSize client, float zoom)
{
    CZoomScroll z;
    z.SetPictureSize(picture);
    z.SetClientSize(client);
    z.SetZoom(zoom, zoom);
    z.UpdateScrollSizes();
    return z;
}

// Picture to client and back at the far ends of the zoom range and of the
// scroll range, checked against the mapping worked out in double precision.
TEST(ZoomScrollTest, MappingsRoundTripAtExtremeZoomsAndScrollEnds)
{
    const QSize picture(30000, 20000), client(640, 480);
    for (const float zoom : {CZoomScroll::kMinZoom, 0.37f, 1.0f, 13.0f, CZoomScroll::kMaxZoom}) {
        CZoomScroll z = Placed(picture, client, zoom);
        ASSERT_EQ(z.ZoomX(), zoom);
        for (const bool end : {false, true}) {
            z.SetScroll(end ? z.ScrollMaxX() : 0, end ? z.ScrollMaxY() : 0);
            for (const QPointF p : {QPointF(0, 0), QPointF(29999.5, 19999.25), QPointF(1234.75, 17.5)}) {
                const QPointF c = z.PictureToClient(p);
                const double ex = p.x() * zoom + z.OffsetX() - z.ScrollX();
                const double ey = p.y() * zoom + z.OffsetY() - z.ScrollY();
                // Single precision: a relative error of a few ulps of the
                // largest term.
                EXPECT_NEAR(c.x(), ex, 4e-7 * std::max(std::abs(p.x() * zoom), double(z.ScrollX())) + 1e-6);
                EXPECT_NEAR(c.y(), ey, 4e-7 * std::max(std::abs(p.y() * zoom), double(z.ScrollY())) + 1e-6);
                const QPointF back = z.ClientToPicture(c);
                EXPECT_NEAR(back.x(), p.x(), 1e-6 * picture.width() / std::min(zoom, 1.0f)) << zoom;
                EXPECT_NEAR(back.y(), p.y(), 1e-6 * picture.height() / std::min(zoom, 1.0f)) << zoom;
            }
        }
        // Scrolled to the end, the client's far corner shows the picture's.
        z.SetScroll(z.ScrollMaxX(), z.ScrollMaxY());
        if (z.PageSize().width() > 0) {
            const QPointF corner = z.ClientToPicture(QPointF(client.width(), client.height()));
            EXPECT_NEAR(corner.x(), picture.width(), 1.0 / zoom + 1e-6 * picture.width()) << zoom;
            EXPECT_NEAR(corner.y(), picture.height(), 1.0 / zoom + 1e-6 * picture.height()) << zoom;
        }
    }
}

TEST(ZoomScrollTest, ZoomIsClampedSoTheZoomedPictureFitsThePixelRange)
{
    // 40 million pixels wide: 64 would zoom it far past 2^30.
    CZoomScroll z = Placed(QSize(40000000, 10), QSize(800, 600), 64.0f);
    EXPECT_EQ(z.ZoomX(), float(kMaxPixelExtent / 40000000));
    EXPECT_LE(z.TotalSize().width(), int(kMaxPixelExtent));
    EXPECT_GT(z.TotalSize().width(), int(kMaxPixelExtent) - 64);
    EXPECT_EQ(z.ScrollMaxX(), z.TotalSize().width() - 800);

    // Without a picture only the fixed bounds hold, and nothing scrolls.
    CZoomScroll bare = Placed(QSize(), QSize(800, 600), 500.0f);
    EXPECT_EQ(bare.ZoomX(), CZoomScroll::kMaxZoom);
    EXPECT_EQ(bare.TotalSize(), QSize(1, 1));
    bare.SetScroll(50, 50);
    EXPECT_EQ(bare.ScrollX(), 0);
    EXPECT_EQ(bare.ScrollY(), 0);
    bare.SetZoom(std::nanf(""), -1.0f);
    EXPECT_EQ(bare.ZoomX(), CZoomScroll::kMaxZoom);
    EXPECT_EQ(bare.ZoomY(), CZoomScroll::kMinZoom);
}

TEST(ZoomScrollTest, ScrollIsHeldInARangeThatFollowsTheZoom)
{
    CZoomScroll z = Placed(QSize(2000, 1000), QSize(800, 600), 1.0f);
    EXPECT_EQ(z.ScrollMaxX(), 1200);
    EXPECT_EQ(z.ScrollMaxY(), 400);
    z.SetScroll(-7, 99999);
    EXPECT_EQ(z.ScrollX(), 0);
    EXPECT_EQ(z.ScrollY(), 400);
    z.SetScroll(1100, 300);

    // Zoomed out to 5/6: 1666 x 833 pixels, so the range shrinks to 866 and
    // 233, and the position scales by the zoom, truncated, within it.
    z.ZoomOut();
    EXPECT_EQ(z.TotalSize(), QSize(1666, 833));
    EXPECT_EQ(z.ScrollMaxX(), 866);
    EXPECT_EQ(z.ScrollX(), 866);
    EXPECT_EQ(z.ScrollY(), 233);

    // Small enough to fit: centred, nothing to scroll.
    z.SetZoom(0.25f, 0.25f);
    z.UpdateScrollSizes();
    EXPECT_EQ(z.PageSize(), QSize(0, 0));
    EXPECT_EQ(z.ScrollX(), 0);
    EXPECT_EQ(z.ScrollY(), 0);
    EXPECT_FLOAT_EQ(z.OffsetX(), (800.0f - 500.0f) * 0.5f);
    EXPECT_EQ(z.PictureToClient(QPointF(1000, 500)), QPointF(400, 300));

    z.OriginalSize();
    EXPECT_TRUE(z.IsOriginalSize());
    EXPECT_EQ(z.ScrollX(), 0);
    EXPECT_EQ(z.ScrollMaxX(), 1200);
}

TEST(ZoomScrollTest, ZoomAboutKeepsThePointUnderThePointer)
{
    CZoomScroll z = Placed(QSize(3000, 2000), QSize(700, 500), 1.0f);
    z.SetScroll(900, 600);
    const QPointF pointer(250.5, 130.25);
    for (int i = 0; i < 12; ++i) {
        const QPointF fixed = z.ClientToPicture(pointer);
        ASSERT_TRUE(z.ZoomAbout(pointer, 1.25f)) << i;
        // Whole scroll pixels: each step may move it by under a client pixel.
        const QPointF now = z.ClientToPicture(pointer);
        EXPECT_NEAR(now.x(), fixed.x(), 1.0 / z.ZoomX()) << i;
        EXPECT_NEAR(now.y(), fixed.y(), 1.0 / z.ZoomY()) << i;
    }
    // At the bound nothing changes and the caller is told so.
    while (z.ZoomAbout(pointer, 1.25f)) {
    }
    EXPECT_EQ(z.ZoomX(), CZoomScroll::kMaxZoom);
    const int x = z.ScrollX(), y = z.ScrollY();
    EXPECT_FALSE(z.ZoomAbout(pointer, 2.0f));
    EXPECT_EQ(z.ScrollX(), x);
    EXPECT_EQ(z.ScrollY(), y);
}

// Zoom to Fit shows the whole picture as large as the window allows: the
// zoom within a few single-precision steps of the exact quotient, the
// zoomed picture never a pixel too large for a scroll bar to appear.
TEST(ZoomScrollTest, ZoomToFitIsTheLargestZoomAtWhichThePictureFits)
{
    const QSize pictures[] = {{6000, 4000}, {4000, 6000}, {1999, 1001}, {7, 3}, {30000, 20000}, {1, 1}};
    const QSize windows[] = {{800, 600}, {1366, 705}, {333, 1000}, {1, 1}};
    for (const QSize picture : pictures)
        for (const QSize window : windows) {
            CZoomScroll z = Placed(picture, QSize(100, 100), 1.0f);
            z.ZoomToFit(window);
            const double exact = std::min(double(window.width()) / picture.width(),
                                          double(window.height()) / picture.height());
            const double expected = std::clamp(exact, double(CZoomScroll::kMinZoom), double(z.ClampZoom(1e9f)));
            const auto where = QStringLiteral("%1x%2 in %3x%4").arg(picture.width()).arg(picture.height())
                                   .arg(window.width()).arg(window.height()).toStdString();
            EXPECT_EQ(z.ZoomX(), z.ZoomY()) << where;
            EXPECT_NEAR(z.ZoomX(), expected, expected * 1e-5) << where;
            if (exact >= CZoomScroll::kMinZoom) {
                EXPECT_LE(z.TotalSize().width(), window.width()) << where;
                EXPECT_LE(z.TotalSize().height(), window.height()) << where;
                EXPECT_EQ(z.ScrollMaxX() + z.ScrollMaxY(), 0) << where;
            }
        }
    // Without a picture nothing changes.
    CZoomScroll none;
    none.ZoomToFit(QSize(800, 600));
    EXPECT_EQ(none.ZoomX(), 1.0f);
}

} // namespace
