#include "ViewTestSupport.h"

#include "app/ResourceIds.h"

namespace {

using ViewChangeTest = ViewTest;

QImage Stripes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x / 3 + y / 5) % 2 ? 200 : 40));
    return image;
}

// A change repaints and recomposes only the changed area's place, and what
// it shows is exactly what composing everything afresh shows, at a zoom that
// samples the picture down and at one that magnifies it.
TEST_F(ViewChangeTest, AnAreaChangeRecomposesOnlyItsRegionAndMatchesAFullComposition)
{
    SetPicture(Stripes(600, 400));
    const QImage tile = Stripes(24, 16);
    AddArea(RectPolygon(40, 40, 200, 160), [&tile](CArea& a) { a.SetTexture(&tile); });
    const AreaId floor = AddArea(RectPolygon(300, 200, 560, 380), [&tile](CArea& a) {
                             a.SetTexture(&tile);
                             a.SetShift(5, 7);
                         }).GetId();
    auto view = ShowView(doc, QSize(500, 350));
    PaintSpy spy;
    view->viewport()->installEventFilter(&spy);

    for (const float zoom : {0.75f, 1.5f}) {
        view->SetZoom(zoom, zoom);
        view->UpdateScrollSizes();
        const QImage before = Shot(*view);
        const int full = view->GetCache().FullCompositions();
        const int partial = view->GetCache().PartialCompositions();

        spy.paints = 0;
        doc.EditArea(floor, "Scale", [](CArea& a) { a.SetScale(a.GetScale() * 1.5); });
        QApplication::processEvents();
        EXPECT_EQ(spy.paints, 1);
        // The first area's place was not repainted.
        EXPECT_FALSE(spy.lastRegion.contains(view->PictureToClient(QPointF(100, 100)).toPoint()));
        EXPECT_TRUE(spy.lastRegion.contains(view->PictureToClient(QPointF(320, 220)).toPoint()));
        const QImage changed = Shot(*view);
        EXPECT_EQ(view->GetCache().FullCompositions(), full);
        EXPECT_EQ(view->GetCache().PartialCompositions(), partial + 1);
        EXPECT_NE(changed, before);

        view->Commands().OnCommand(ID_REFRESH);
        EXPECT_EQ(Shot(*view), changed) << "zoom " << zoom;

        doc.OnEditUndo();
        EXPECT_EQ(Shot(*view), before) << "zoom " << zoom;
        doc.OnEditRedo();
        EXPECT_EQ(Shot(*view), changed) << "zoom " << zoom;
    }
}

} // namespace
