#include "ViewTestSupport.h"

#include "app/ResourceIds.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kInvertedGrey = 0xFF7F7F7F;

QImage Checkerboard(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
    return image;
}

QImage Noise(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned n = unsigned(x * 7919 + y * 104729 + seed) * 2654435761u;
            image.setPixel(x, y, 0xFF000000u | (n >> 8));
        }
    return image;
}

int Grey(QRgb c)
{
    return qGreen(c);
}

} // namespace

using ViewPaintTest = ViewTest;

TEST_F(ViewPaintTest, PictureSitsAtTheOffsetWithTheWindowColourAround)
{
    SetPicture(SolidImage(400, 300, kRed));
    auto view = ShowView(doc, QSize(1000, 800));
    const QImage shot = Shot(*view);
    const QRgb window = Window(*view);
    ASSERT_NE(window, kRed);
    EXPECT_EQ(Px(shot, 300, 250), kRed);
    EXPECT_EQ(Px(shot, 699, 549), kRed);
    EXPECT_EQ(Px(shot, 299, 250), window);
    EXPECT_EQ(Px(shot, 300, 249), window);
    EXPECT_EQ(Px(shot, 700, 549), window);
    EXPECT_EQ(Px(shot, 699, 550), window);
    EXPECT_EQ(Px(shot, 0, 0), window);
    EXPECT_EQ(Px(shot, 999, 799), window);
}

TEST_F(ViewPaintTest, WithoutPictureTheWindowColourFillsAllAndAreasStillShow)
{
    AddArea(RectPolygon(10, 10, 50, 50));
    doc.SetSelectedIndex(0);
    auto view = ShowView(doc, QSize(200, 100));
    const QImage shot = Shot(*view);
    EXPECT_EQ(Px(shot, 150, 80), Window(*view));
    EXPECT_EQ(Px(shot, 30, 30), kRed);
}

TEST_F(ViewPaintTest, MagnifiedPixelsAreSharpBlocksAndShrunkOnesAreSmoothed)
{
    SetPicture(Checkerboard(64, 64));
    auto view = ShowView(doc, QSize(256, 256));
    view->SetZoom(4.0f, 4.0f);
    view->UpdateScrollSizes();
    QImage shot = Shot(*view);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(Px(shot, x, y), 0xFF000000u);
            EXPECT_EQ(Px(shot, 4 + x, y), 0xFFFFFFFFu);
        }

    view->SetZoom(0.5f, 0.5f);
    view->UpdateScrollSizes();
    shot = Shot(*view);
    const QPoint centre(int(view->GetOffsetX()) + 16, int(view->GetOffsetY()) + 16);
    const int g = Grey(Px(shot, centre.x(), centre.y()));
    EXPECT_GT(g, 60);
    EXPECT_LT(g, 195);
}

TEST_F(ViewPaintTest, SelectedAreaWithoutTextureTurnsRedEvenOnAPlainRepaint)
{
    SetPicture(SolidImage(200, 100, kGrey));
    AddArea(RectPolygon(20, 20, 60, 60));
    auto view = ShowView(doc, QSize(200, 100));
    EXPECT_EQ(Px(Shot(*view), 40, 40), kGrey);

    // Whoever changes the document may ask only for a repaint; the
    // composition must notice by itself.
    doc.SetSelectedIndex(0);
    view->viewport()->update();
    EXPECT_EQ(Px(Shot(*view), 40, 40), kRed);
    doc.SetSelectedIndex(-1);
    view->viewport()->update();
    EXPECT_EQ(Px(Shot(*view), 40, 40), kGrey);
}

class HandlePlacementTest : public ViewTest,
                            public ::testing::WithParamInterface<std::tuple<float, QPoint>>
{
};

TEST_P(HandlePlacementTest, MarksAndInvertedLinesLieOnTheCorners)
{
    const auto [zoom, scroll] = GetParam();
    SetPicture(SolidImage(1200, 900, kGrey));
    const CArea& area = AddArea(RectPolygon(100, 100, 500, 600), [](CArea& a) {
        a.GetSkewCorners() = {QPoint(101, 103), QPoint(501, 103), QPoint(101, 401), QPoint(501, 401)};
        a.SetInitialRect({151, 131, 351, 301});
    });
    auto view = ShowView(doc, QSize(700, 500));
    view->SetZoom(zoom, zoom);
    view->UpdateScrollSizes();
    view->SetScrollPosition(scroll.x(), scroll.y());

    const auto client = [&](QPoint p) {
        const QPointF c = view->PictureToClient(QPointF(p));
        return QPoint(int(c.x()), int(c.y()));
    };
    const auto checkMarks = [&](const QImage& shot, const std::array<QPoint, 4>& picture, QRgb border,
                                QRgb inside) {
        for (const QPoint& p : picture) {
            const QPoint c = client(p);
            if (!QRect(5, 5, 690, 490).contains(c))
                continue;
            EXPECT_EQ(Px(shot, c.x() - 4, c.y() - 4), border) << c.x() << "," << c.y();
            EXPECT_EQ(Px(shot, c.x() + 3, c.y() + 3), border) << c.x() << "," << c.y();
            EXPECT_EQ(Px(shot, c.x(), c.y()), inside) << c.x() << "," << c.y();
            EXPECT_EQ(Px(shot, c.x() - 3, c.y() + 2), inside) << c.x() << "," << c.y();
            EXPECT_NE(Px(shot, c.x() + 4, c.y() + 4), border) << c.x() << "," << c.y();
        }
    };

    view->SetSkewMode(true, &area);
    view->RefreshSkewHandles();
    QImage shot = Shot(*view);
    checkMarks(shot, {QPoint(101, 103), QPoint(501, 103), QPoint(101, 401), QPoint(501, 401)}, 0xFF00FFFF,
               0xFF0000FF);
    // The top edge, half way along, inverts the picture under it only.
    const QPoint tl = client(QPoint(101, 103)), tr = client(QPoint(501, 103));
    const int midX = (tl.x() + tr.x()) / 2;
    if (midX > 0 && midX < 700 && tl.y() > 0 && tl.y() < 499) {
        EXPECT_EQ(Px(shot, midX, tl.y()), kInvertedGrey);
        EXPECT_EQ(Px(shot, midX, tl.y() + 1), kGrey);
    }

    view->SetSkewMode(false, &area);
    view->SetInitialRectMode(true, &area);
    view->RefreshInitialRectHandles();
    shot = Shot(*view);
    checkMarks(shot, {QPoint(151, 131), QPoint(351, 131), QPoint(151, 301), QPoint(351, 301)}, 0xFF00FF00,
               0xFF008000);
    const QPoint skewCorner = client(QPoint(501, 103));
    if (QRect(5, 5, 690, 490).contains(skewCorner)) {
        EXPECT_EQ(Px(shot, skewCorner.x() - 4, skewCorner.y() - 4), kGrey);
    }
}

INSTANTIATE_TEST_SUITE_P(ZoomAndScroll, HandlePlacementTest,
                         ::testing::Values(std::make_tuple(1.0f, QPoint(0, 0)), std::make_tuple(1.0f, QPoint(37, 53)),
                                           std::make_tuple(0.5f, QPoint(0, 0)),
                                           std::make_tuple(0.8333333f, QPoint(11, 7)),
                                           std::make_tuple(2.0f, QPoint(150, 170)),
                                           std::make_tuple(3.0f, QPoint(250, 290))));

// Steps move the handles under the overlay: the default corners the skew
// tool gives, an undo taking them away again (the marks then sit at the
// picture's corner), and the default corners given once more just as the
// mode ends. Each time the window must show what a fresh paint shows.
TEST_F(ViewPaintTest, HandleMarksLeaveNothingBehindWhenStepsMoveThem)
{
    SetPicture(SolidImage(400, 300, kGrey));
    const AreaId id = doc.IdOf(&AddArea(RectPolygon(100, 100, 300, 250)));
    auto view = ShowView(doc, QSize(500, 400));
    const auto fresh = [&view](const char* when) {
        const QImage shown = Shown(*view);
        view->Commands().OnCommand(ID_REFRESH);
        EXPECT_EQ(shown, Shown(*view)) << when;
    };

    view->SetSkewMode(true, doc.FindArea(id));
    view->RefreshSkewHandles();
    ASSERT_EQ(doc.FindArea(id)->GetSkewCorners()[CArea::BottomRight], QPoint(300, 250));
    fresh("default corners given");
    doc.OnEditUndo();
    ASSERT_EQ(doc.FindArea(id)->GetSkewCorners()[CArea::BottomRight], QPoint(0, 0));
    fresh("corners undone");
    view->SetSkewMode(false, doc.FindArea(id));
    view->RefreshSkewHandles();
    fresh("mode ended");
}

TEST_F(ViewPaintTest, ShadingOfARemovedAreaIsLetGoAndMeasuredAgainWhenUndoBringsItBack)
{
    // The left half of the picture lies in shadow.
    QImage picture = SolidImage(200, 100, qRgb(120, 120, 120));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            picture.setPixel(x, y, qRgb(60, 60, 60));
    SetPicture(picture);
    const QImage texture = SolidImage(8, 8, qRgb(200, 160, 120));
    const AreaId id = doc.IdOf(&AddArea(RectPolygon(0, 0, 200, 100), [&texture](CArea& a) { a.SetTexture(&texture); }));
    auto view = ShowView(doc, QSize(200, 100));
    view->SetKeepShading(true);
    const auto shadowRatio = [&view] {
        const QImage shot = Shot(*view);
        return double(qRed(shot.pixel(view->PictureToClient(QPointF(30, 50)).toPoint()))) /
               qRed(shot.pixel(view->PictureToClient(QPointF(170, 50)).toPoint()));
    };
    EXPECT_NEAR(shadowRatio(), 0.5, 0.1);
    ASSERT_EQ(view->GetCache().ShadingCache().Count(), 1u);

    ASSERT_TRUE(doc.DeleteArea(id, QStringLiteral("Delete"), false));
    Shot(*view);
    EXPECT_EQ(view->GetCache().ShadingCache().Count(), 0u);
    doc.OnEditUndo();
    EXPECT_NEAR(shadowRatio(), 0.5, 0.1);
}

TEST_F(ViewPaintTest, AntsTickRedrawsOnlyAlongANonEmptyOutline)
{
    SetPicture(SolidImage(800, 600, kGrey));
    auto view = ShowView(doc, QSize(800, 600));
    PaintSpy spy;
    view->viewport()->installEventFilter(&spy);
    Shot(*view);
    const int compositions = view->GetCache().FullCompositions();

    const float phase = view->GetAnts().GetPhase();
    spy.paints = 0;
    view->OnAntsTick();
    QApplication::processEvents();
    EXPECT_EQ(spy.paints, 0);
    EXPECT_EQ(view->GetAnts().GetPhase(), phase);

    const CPolygon square = RectPolygon(100, 100, 500, 400);
    doc.SetSelection(&square);
    QApplication::processEvents();
    spy.paints = 0;
    view->OnAntsTick();
    QApplication::processEvents();
    EXPECT_EQ(spy.paints, 1);
    EXPECT_GT(view->GetAnts().GetPhase(), phase);
    // A strip along the outline: the inside of the square stays as it is.
    EXPECT_TRUE(spy.lastRegion.contains(QPoint(100, 250)));
    EXPECT_TRUE(spy.lastRegion.contains(QPoint(300, 400)));
    EXPECT_FALSE(spy.lastRegion.contains(QPoint(300, 250)));
    EXPECT_TRUE(QRect(60, 60, 480, 380).contains(spy.lastRegion.boundingRect()));
    EXPECT_EQ(view->GetCache().FullCompositions(), compositions);

    // The window timer drives the same step every 100 ms.
    const float before = view->GetAnts().GetPhase();
    QTest::qWait(450);
    EXPECT_GE(view->GetAnts().GetPhase(), before + 2.0f);
    view->viewport()->removeEventFilter(&spy);
}

TEST_F(ViewPaintTest, OutlineIsDrawnOverThePicture)
{
    SetPicture(SolidImage(300, 200, kGrey));
    const CPolygon square = RectPolygon(50, 50, 150, 150);
    doc.SetSelection(&square);
    auto view = ShowView(doc, QSize(300, 200));
    const QImage shot = Shot(*view);
    int dark = 0, light = 0;
    for (int y = 60; y < 140; ++y) {
        const QRgb c = Px(shot, 50, y);
        dark += c == 0xFF000000u;
        light += c == 0xFFFFFFFFu;
    }
    EXPECT_GT(dark, 20);
    EXPECT_GT(light, 20);
    EXPECT_EQ(Px(shot, 100, 100), kGrey);
}

// Scrolls from one position to another, then composes the whole window
// afresh; returns both pictures.
static std::pair<QImage, QImage> ScrolledAndRefreshed(CTilemontView& view, float zoom)
{
    view.SetZoom(zoom, zoom);
    view.UpdateScrollSizes();
    view.SetScrollPosition(100, 60);
    Shot(view);
    const int partial = view.GetCache().PartialCompositions();
    const int full = view.GetCache().FullCompositions();
    view.SetScrollPosition(137, 83);
    const QImage scrolled = Shown(view);
    EXPECT_EQ(view.GetCache().PartialCompositions(), partial + 1);
    EXPECT_EQ(view.GetCache().FullCompositions(), full);
    view.Commands().OnCommand(ID_REFRESH);
    return {scrolled, Shown(view)};
}

TEST_F(ViewPaintTest, ScrollingComposesOnlyTheUncoveredStrips)
{
    SetPicture(Noise(1500, 1200, 3));
    auto view = ShowView(doc, QSize(500, 400));
    for (const float zoom : {1.0f, 0.5f, 2.0f}) {
        const auto [scrolled, full] = ScrolledAndRefreshed(*view, zoom);
        EXPECT_EQ(scrolled, full) << zoom;
    }
}

TEST_F(ViewPaintTest, ScrolledTexturesDifferFromAFreshCompositionOnlyByRounding)
{
    SetPicture(Noise(1500, 1200, 3));
    const QImage texture = Noise(64, 48, 9);
    AddArea(RectPolygon(100, 80, 900, 700), [&texture](CArea& a) {
        a.SetTexture(&texture);
        a.SetRotation(30.0);
        a.SetScale(1.5);
    });
    auto view = ShowView(doc, QSize(500, 400));
    for (const float zoom : {1.0f, 0.5f}) {
        const auto [scrolled, full] = ScrolledAndRefreshed(*view, zoom);
        // Rotated sampling rounds a little differently from another starting
        // pixel: a texel boundary may fall either way, and smoothed values
        // may move by a level or two.
        int far = 0;
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x) {
                const QRgb a = scrolled.pixel(x, y), b = full.pixel(x, y);
                const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                        std::abs(qBlue(a) - qBlue(b))});
                far += d > 2;
            }
        EXPECT_LT(far, full.width() * full.height() / 1000) << zoom;
    }
}

TEST_F(ViewPaintTest, PrintingPaintsTheWholeZoomedPictureWithoutTheScrollShift)
{
    SetPicture(QuadrantImage(2000, 1000));
    auto view = ShowView(doc, QSize(800, 600));
    view->SetScrollPosition(500, 200);
    QImage page(2000, 1000, QImage::Format_RGB32);
    page.fill(0xFF000000);
    QPainter painter(&page);
    view->PaintForPrint(painter);
    painter.end();
    EXPECT_EQ(Px(page, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Px(page, 1999, 0), 0xFF00FF00u);
    EXPECT_EQ(Px(page, 0, 999), 0xFFFFFF00u);
    EXPECT_EQ(Px(page, 1999, 999), 0xFF0000FFu);
}
