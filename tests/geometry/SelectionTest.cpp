#include "GeometryTestUtil.h"

#include "geometry/ISelectionView.h"
#include "geometry/Selection.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <limits>

using namespace geomtest;

namespace
{

class FakeView : public ISelectionView
{
public:
    explicit FakeView(float zoom) : m_zoom(zoom) {}
    float GetZoomX() const override { return m_zoom; }
    float m_zoom;
};

// The style every view sets when it is created.
void ViewStyle(CSelection& sel)
{
    sel.SetStyle(0xFF000000, 0xFFFFFFFF, 1.0f, 3.0f, 3.0f, 1.0f);
}

QImage Canvas()
{
    QImage img(64, 64, QImage::Format_ARGB32);
    img.fill(QColor(128, 128, 128));
    return img;
}

QImage Draw(CSelection& sel, QImage img = Canvas())
{
    QPainter p(&img);
    sel.DrawOutline(p);
    return img;
}

} // namespace

TEST(Selection, HoldsADeepCopyOfItsPolygon)
{
    CSelection sel;
    EXPECT_TRUE(sel.IsEmpty());
    CPolygon set = Set({Rect(1, 2, 3, 4)});
    sel.SetPolygon(&set);
    set.contours.clear();
    EXPECT_FALSE(sel.IsEmpty());
    EXPECT_EQ(sel.GetPolygon(), Set({Rect(1, 2, 3, 4)}));

    // Callers edit the polygon in place; the outline follows.
    TranslatePolygon(sel.GetPolygon(), 10, 0);
    EXPECT_EQ(sel.GetBounds(), QRectF(10.5, 1.5, 4, 5));

    sel.SetPolygon(nullptr);
    EXPECT_TRUE(sel.IsEmpty());
    EXPECT_TRUE(sel.GetBounds().isNull());
}

TEST(Selection, PensAtConstruction)
{
    const CSelection sel;
    const auto [dark, light] = sel.OutlinePens();
    EXPECT_EQ(dark.color().rgba(), 0xFF000000u);
    EXPECT_EQ(light.color().rgba(), 0xFFFFFFFFu);
    EXPECT_EQ(dark.widthF(), 1.0);
    EXPECT_EQ(dark.dashPattern(), (QList<qreal>{4, 4}));
    EXPECT_EQ(dark.dashOffset(), 0.0);
    EXPECT_EQ(light.dashOffset(), 4.0);
}

TEST(Selection, PensFollowTheZoom)
{
    CSelection sel;
    ViewStyle(sel);

    FakeView zoomOut(0.5f);
    sel.SetView(&zoomOut);
    auto [dark, light] = sel.OutlinePens();
    EXPECT_EQ(dark.widthF(), 2.0);
    EXPECT_EQ(light.widthF(), 2.0);
    EXPECT_EQ(dark.dashPattern(), (QList<qreal>{3, 3}));
    EXPECT_EQ(light.dashPattern(), (QList<qreal>{3, 3}));
    EXPECT_EQ(light.dashOffset() - dark.dashOffset(), 3.0);

    FakeView zoomIn(2.0f);
    sel.SetView(&zoomIn);
    std::tie(dark, light) = sel.OutlinePens();
    EXPECT_EQ(dark.widthF(), 0.5);
    EXPECT_EQ(dark.dashPattern(), (QList<qreal>{1.5, 1.5}));
    EXPECT_EQ(light.dashPattern(), (QList<qreal>{1.5, 1.5}));
    EXPECT_EQ(light.dashOffset() - dark.dashOffset(), 3.0);

    // A view without a usable zoom draws as if at 1:1 rather than dividing by zero.
    FakeView broken(0.0f);
    sel.SetView(&broken);
    EXPECT_EQ(sel.OutlinePens().first.widthF(), 1.0);
    broken.m_zoom = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(sel.OutlinePens().first.widthF(), 1.0);
    sel.SetView(nullptr);
    EXPECT_EQ(sel.OutlinePens().first.dashPattern(), (QList<qreal>{3, 3}));
}

TEST(Selection, DrawingAdvancesThePhaseOnlyWhenThereIsAnOutline)
{
    CSelection sel;
    ViewStyle(sel);
    const QImage before = Canvas();
    EXPECT_EQ(Draw(sel), before);
    EXPECT_EQ(sel.GetPhase(), 0.0f);

    const CPolygon set = Set({Rect(10.7, 10.2, 40, 40)});
    sel.SetPolygon(&set);
    const QImage first = Draw(sel);
    EXPECT_EQ(sel.GetPhase(), 1.0f);
    EXPECT_EQ(sel.OutlinePens().first.dashOffset(), 1.0);
    EXPECT_EQ(sel.OutlinePens().second.dashOffset(), 4.0);

    // Truncated to (10,10)-(50,50): both colours appear along the outline,
    // nothing is painted inside or outside it.
    EXPECT_NE(first, before);
    int black = 0, white = 0;
    for (int x = 10; x < 50; ++x) {
        const QRgb c = first.pixel(x, 10);
        black += c == qRgb(0, 0, 0);
        white += c == qRgb(255, 255, 255);
    }
    EXPECT_GT(black, 5);
    EXPECT_GT(white, 5);
    EXPECT_EQ(first.pixel(30, 30), before.pixel(30, 30));
    EXPECT_EQ(first.pixel(5, 5), before.pixel(5, 5));
    EXPECT_EQ(first.pixel(52, 30), before.pixel(52, 30));

    // The next tick moves the dashes along.
    const QImage second = Draw(sel);
    EXPECT_EQ(sel.GetPhase(), 2.0f);
    EXPECT_NE(second, first);

    // Restyling keeps the phase running; light dashes start one dash length
    // after the dark ones.
    sel.SetStyle(0xFFFF0000, 0xFF00FF00, 2.0f, 5.0f, 1.0f, 0.5f);
    EXPECT_EQ(sel.GetPhase(), 2.0f);
    EXPECT_EQ(sel.OutlinePens().first.dashOffset(), 2.0);
    EXPECT_EQ(sel.OutlinePens().second.dashOffset(), 7.0);
    EXPECT_EQ(sel.OutlinePens().second.color().rgba(), 0xFF00FF00u);
    Draw(sel);
    EXPECT_EQ(sel.GetPhase(), 2.5f);
}

TEST(Selection, BoundsCoverTheDrawnOutline)
{
    CSelection sel;
    ViewStyle(sel);
    const CPolygon set = Set({Rect(10.9, 10.9, 20, 20)});
    sel.SetPolygon(&set);
    EXPECT_EQ(sel.GetBounds(), QRectF(9.5, 9.5, 21, 21));

    // Zoomed out, the drawn pen is two picture pixels wide.
    FakeView zoomOut(0.5f);
    sel.SetView(&zoomOut);
    EXPECT_EQ(sel.GetBounds(), QRectF(9, 9, 22, 22));

    QImage img(64, 64, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        sel.DrawOutline(p);
    }
    const QRect painted = [&] {
        QRect r;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qAlpha(img.pixel(x, y)))
                    r |= QRect(x, y, 1, 1);
        return r;
    }();
    EXPECT_FALSE(painted.isEmpty());
    EXPECT_TRUE(sel.GetBounds().toAlignedRect().contains(painted));
}

TEST(Selection, HostileStyleAndCoordinatesDoNotHang)
{
    CSelection sel;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    sel.SetStyle(0xFF000000, 0xFFFFFFFF, nan, 0.0f, -1.0f, 1.0f);
    const CPolygon set = Set({{{1e300, 0}, {-1e300, 5}, {3, 1e300}}, Rect(5, 5, 10, 10)});
    sel.SetPolygon(&set);
    EXPECT_NO_THROW(Draw(sel));
    EXPECT_EQ(sel.GetPhase(), 1.0f);
    EXPECT_FALSE(sel.GetBounds().isNull());
}
