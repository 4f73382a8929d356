#include "document/TestImages.h"
#include "render/AreaShading.h"
#include "render/LightLayerStore.h"

#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace {

// A floor whose light falls off to the right and has a soft shadow, over
// a coarse two-tone pattern.
QImage Picture(int w = 240, int h = 160)
{
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double light = (1.0 - 0.5 * x / w) * (1.0 - 0.5 * std::exp(-std::hypot(x - 80.0, y - 90.0) / 25.0));
            const int v = std::clamp(int(200.0 * light) + ((x / 3 + y / 3) % 2 ? 6 : -6), 0, 255);
            picture.setPixel(x, y, qRgb(v, v - 20, v - 40));
        }
    return picture;
}

TEST(LightLayerStore, MeasuresEachPictureAndOutlineOnceAndAgainWhenEitherChanges)
{
    CLightLayerStore store;
    QImage picture = Picture();
    const CPolygon floor = RectPolygon(10, 20, 230, 150), other = RectPolygon(10, 20, 200, 150);
    const auto first = store.Layer(picture, floor);
    ASSERT_FALSE(first->IsNull());
    // A copy shares the pixels and so the layer; the shading at the same
    // strength is the same object, at another a new one.
    const QImage copy = picture;
    EXPECT_EQ(store.Layer(copy, floor), first);
    const auto shading = store.Shading(copy, floor, 1.0);
    EXPECT_EQ(store.Shading(picture, floor, 1.0), shading);
    const auto stronger = store.Shading(picture, floor, 1.5);
    EXPECT_NE(stronger, shading);
    EXPECT_EQ(store.Measured(), 1u);

    // The shading is the layer's own at that strength.
    const CAreaShading direct = CAreaShading::FromLayer(*first, 1.5);
    for (const QPointF at : {QPointF(30, 40), QPointF(80, 90), QPointF(220, 140)})
        EXPECT_DOUBLE_EQ(stronger->FactorAt(at), direct.FactorAt(at));

    EXPECT_NE(store.Layer(picture, other), first);
    EXPECT_EQ(store.Measured(), 2u);
    // A picture changed in place is another picture.
    picture.setPixel(100, 100, qRgb(0, 0, 0));
    EXPECT_NE(store.Layer(picture, floor), first);
    EXPECT_EQ(store.Measured(), 3u);
    EXPECT_EQ(store.Count(), 3u);
}

TEST(LightLayerStore, KeepsTheNewestLayersWithinItsBoundAndServesThreadsAlike)
{
    const QImage picture = Picture();
    const CPolygon a = RectPolygon(0, 0, 240, 160), b = RectPolygon(0, 0, 200, 160), c = RectPolygon(0, 0, 160, 160);
    // Room for about two layers of this size.
    CLightLayerStore store(240 * 160 * 2 + 100);
    store.Layer(picture, a);
    store.Layer(picture, b);
    store.Layer(picture, c);
    EXPECT_EQ(store.Count(), 2u);
    // a went first; b and c are still kept.
    store.Layer(picture, b);
    store.Layer(picture, c);
    EXPECT_EQ(store.Measured(), 3u);
    store.Layer(picture, a);
    EXPECT_EQ(store.Measured(), 4u);

    CLightLayerStore shared;
    std::vector<std::shared_ptr<const CAreaShading>> got(4);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < got.size(); ++i)
        threads.emplace_back([&, i] { got[i] = shared.Shading(picture, a, 1.0); });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(shared.Count(), 1u);
    for (const auto& s : got)
        EXPECT_DOUBLE_EQ(s->FactorAt(QPointF(50, 60)), got[0]->FactorAt(QPointF(50, 60)));
}

// The shading applied to an image's pixels in place agrees with the same
// shading drawn by the painter's blend modes (on a format it cannot shade
// in place), inside a clip and nowhere else.
TEST(LightLayerStore, ShadingInPlaceAgreesWithTheDrawnShading)
{
    const QImage picture = Picture(300, 200);
    const CAreaShading shading = CAreaShading::Measure(picture, RectPolygon(0, 0, 300, 200), 1.3);
    ASSERT_FALSE(shading.IsNull());
    QPainterPath clip;
    clip.addEllipse(QRectF(20, 10, 250, 170));
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB16}) {
        QImage inPlace(300, 200, format);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                inPlace.setPixel(x, y, qRgb(60 + x / 3, 140, 200 - y / 2));
        const QImage before = inPlace.copy();
        QImage drawn = before.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (QImage* image : {&inPlace, &drawn}) {
            QPainter painter(image);
            painter.setClipPath(clip);
            shading.Apply(painter);
        }
        int worst = 0, changed = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x) {
                const QColor a(inPlace.pixel(x, y)), b(drawn.pixel(x, y)), was(before.pixel(x, y));
                const bool inside = clip.contains(QPointF(x + 0.5, y + 0.5));
                if (!inside && !clip.intersects(QRectF(x, y, 1, 1))) {
                    EXPECT_EQ(a, was) << x << ", " << y;
                }
                if (inside && std::abs(clip.boundingRect().center().x() - x) < 100) {
                    worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                                      std::abs(a.blue() - b.blue())});
                    changed += a != was;
                }
            }
        // The drawn maps hold the factor to a 255th; 5-6-5 keeps 5 bits.
        EXPECT_LE(worst, format == QImage::Format_RGB16 ? 9 : 4) << format;
        EXPECT_GT(changed, 10000) << format;
    }
}

} // namespace
