#include "geometry/Selection.h"
#include "view/SelectionAnts.h"
#include "view/TileMask.h"
#include "view/ViewGeometry.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

CContour Rect(double x, double y, double w, double h)
{
    return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
}

// The style every view sets when it is created.
void ViewStyle(CSelectionAnts& ants)
{
    ants.SetStyle(0xFF000000, 0xFFFFFFFF, 1.0f, 3.0f, 3.0f, 1.0f);
}

QImage Canvas(QSize size = QSize(64, 64))
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(QColor(128, 128, 128));
    return img;
}

QImage Draw(CSelectionAnts& ants, const CSelection& sel, float zoom = 1.0f, QImage img = Canvas())
{
    QPainter p(&img);
    ants.Draw(p, sel, zoom);
    return img;
}

// A big outline with a grid of holes, diamonds among them so that not every
// edge is straight, reaching well past any window the tests use.
CSelection Holes()
{
    CPolygon set;
    set.contours.push_back(Rect(-40.5, -30, 1300, 900));
    for (int row = 0; row < 24; ++row) {
        for (int col = 0; col < 36; ++col) {
            const double x = 10 + col * 33.3, y = 12 + row * 35.1;
            if ((row + col) % 3 == 0)
                set.contours.push_back({{x + 8, y}, {x + 16, y + 8}, {x + 8, y + 16}, {x, y + 8}});
            else
                set.contours.push_back(Rect(x, y, 14.6, 12.2));
        }
    }
    return CSelection(set);
}

CViewGeometry Geometry(float zoom, int scrollX, int scrollY)
{
    CViewGeometry g;
    g.zoomX = g.zoomY = zoom;
    g.offsetX = 7.0f;
    g.offsetY = 3.0f;
    g.scrollX = scrollX;
    g.scrollY = scrollY;
    g.client = QSize(320, 200);
    return g;
}

// The strip as marking every segment of every contour finds it, nothing
// left out.
QRegion StripOfEverySegment(const CSelection& sel, const CViewGeometry& g)
{
    const QTransform t = g.Transform();
    const auto map = [&t](const QPointF& p) { return t.map(QPointF(std::trunc(p.x()), std::trunc(p.y()))); };
    CTileMask mask(g.client);
    for (const CContour& c : sel.GetPolygon().contours)
        for (std::size_t i = 0; i < c.size(); ++i)
            mask.AddSegment(map(c[i]), map(c[(i + 1) % c.size()]), 3.0);
    return mask.IsEmpty() ? QRegion() : mask.Region();
}

const CViewGeometry kGeometries[] = {Geometry(0.25f, 0, 0), Geometry(0.3f, 20, 10), Geometry(1.0f, 0, 0),
                                     Geometry(1.0f, 500, 333), Geometry(1.3f, 700, 140), Geometry(3.0f, 1500, 900)};

} // namespace

TEST(SelectionAnts, PensAtConstructionAndAtEachZoom)
{
    CSelectionAnts ants;
    auto [dark, light] = ants.OutlinePens(1.0f);
    EXPECT_EQ(dark.color().rgba(), 0xFF000000u);
    EXPECT_EQ(light.color().rgba(), 0xFFFFFFFFu);
    EXPECT_EQ(dark.widthF(), 1.0);
    EXPECT_EQ(dark.dashPattern(), (QList<qreal>{4, 4}));
    EXPECT_EQ(dark.dashOffset(), 0.0);
    EXPECT_EQ(light.dashOffset(), 4.0);

    ViewStyle(ants);
    std::tie(dark, light) = ants.OutlinePens(0.5f);
    EXPECT_EQ(dark.widthF(), 2.0);
    EXPECT_EQ(light.widthF(), 2.0);
    EXPECT_EQ(dark.dashPattern(), (QList<qreal>{3, 3}));
    EXPECT_EQ(light.dashPattern(), (QList<qreal>{3, 3}));
    EXPECT_EQ(light.dashOffset() - dark.dashOffset(), 3.0);

    std::tie(dark, light) = ants.OutlinePens(2.0f);
    EXPECT_EQ(dark.widthF(), 0.5);
    EXPECT_EQ(dark.dashPattern(), (QList<qreal>{1.5, 1.5}));
    EXPECT_EQ(light.dashPattern(), (QList<qreal>{1.5, 1.5}));
    EXPECT_EQ(light.dashOffset() - dark.dashOffset(), 3.0);

    // A zoom that is no use draws as if at 1:1 rather than dividing by zero.
    EXPECT_EQ(ants.OutlinePens(0.0f).first.widthF(), 1.0);
    EXPECT_EQ(ants.OutlinePens(std::numeric_limits<float>::quiet_NaN()).first.widthF(), 1.0);
    EXPECT_EQ(ants.OutlinePens(1.0f).first.dashPattern(), (QList<qreal>{3, 3}));
}

TEST(SelectionAnts, DrawingAdvancesThePhaseOnlyWhenThereIsAnOutline)
{
    CSelectionAnts ants;
    ViewStyle(ants);
    const QImage before = Canvas();
    EXPECT_EQ(Draw(ants, CSelection()), before);
    EXPECT_EQ(ants.GetPhase(), 0.0f);

    const CSelection sel(CPolygon{{Rect(10.7, 10.2, 40, 40)}});
    const QImage first = Draw(ants, sel);
    EXPECT_EQ(ants.GetPhase(), 1.0f);
    EXPECT_EQ(ants.OutlinePens(1.0f).first.dashOffset(), 1.0);
    EXPECT_EQ(ants.OutlinePens(1.0f).second.dashOffset(), 4.0);

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

    // The next draw moves the dashes along.
    const QImage second = Draw(ants, sel);
    EXPECT_EQ(ants.GetPhase(), 2.0f);
    EXPECT_NE(second, first);

    // Restyling keeps the phase running; light dashes start one dash length
    // after the dark ones.
    ants.SetStyle(0xFFFF0000, 0xFF00FF00, 2.0f, 5.0f, 1.0f, 0.5f);
    EXPECT_EQ(ants.GetPhase(), 2.0f);
    EXPECT_EQ(ants.OutlinePens(1.0f).first.dashOffset(), 2.0);
    EXPECT_EQ(ants.OutlinePens(1.0f).second.dashOffset(), 7.0);
    EXPECT_EQ(ants.OutlinePens(1.0f).second.color().rgba(), 0xFF00FF00u);
    Draw(ants, sel);
    EXPECT_EQ(ants.GetPhase(), 2.5f);
}

TEST(SelectionAnts, StrokeBoundsCoverTheDrawnOutline)
{
    CSelectionAnts ants;
    ViewStyle(ants);
    EXPECT_TRUE(ants.StrokeBounds(CSelection(), 1.0f).isNull());
    EXPECT_EQ(ants.StrokeBounds(CSelection(CPolygon{{Rect(11, 2, 3, 4)}}), 1.0f), QRectF(10.5, 1.5, 4, 5));

    const CSelection sel(CPolygon{{Rect(10.9, 10.9, 20, 20)}});
    EXPECT_EQ(ants.StrokeBounds(sel, 1.0f), QRectF(9.5, 9.5, 21, 21));
    // Zoomed out, the drawn pen is two picture pixels wide.
    EXPECT_EQ(ants.StrokeBounds(sel, 0.5f), QRectF(9, 9, 22, 22));

    QImage img(64, 64, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        ants.Draw(p, sel, 0.5f);
    }
    QRect painted;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)))
                painted |= QRect(x, y, 1, 1);
    EXPECT_FALSE(painted.isEmpty());
    EXPECT_TRUE(ants.StrokeBounds(sel, 0.5f).toAlignedRect().contains(painted));
}

TEST(SelectionAnts, HostileStyleAndCoordinatesDoNotHang)
{
    CSelectionAnts ants;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ants.SetStyle(0xFF000000, 0xFFFFFFFF, nan, 0.0f, -1.0f, 1.0f);
    const CSelection sel(CPolygon{{{{1e300, 0}, {-1e300, 5}, {3, 1e300}}, Rect(5, 5, 10, 10)}});
    EXPECT_NO_THROW(Draw(ants, sel));
    EXPECT_EQ(ants.GetPhase(), 1.0f);
    EXPECT_FALSE(ants.StrokeBounds(sel, 1.0f).isNull());
    QImage window = Canvas(QSize(320, 200));
    QPainter p(&window);
    EXPECT_NO_THROW(ants.DrawOnWindow(p, sel, Geometry(1.0f, 0, 0)));
    EXPECT_EQ(ants.GetPhase(), 2.0f);
}

// On a window only the contours near each clip rectangle are stroked, one
// rectangle at a time; the pixels must be those of the whole outline stroked
// under the whole clip, at zooms that scale the pen and dashes every way.
TEST(SelectionAnts, WindowDrawingPaintsWhatTheWholeOutlineDoes)
{
    const CSelection sel = Holes();
    CSelectionAnts ants, reference;
    ViewStyle(ants);
    ViewStyle(reference);
    for (const CViewGeometry& g : kGeometries) {
        // Uneven clips: the strip a tick repaints, less a hole, plus a
        // block; and a checkerboard of more pieces than are stroked one by
        // one.
        QRegion checkers;
        for (int y = 0; y < g.client.height(); y += 20)
            for (int x = (y / 20) % 2 * 20; x < g.client.width(); x += 40)
                checkers |= QRect(x, y, 20, 20);
        const QRegion clips[] = {(ants.TickRegion(sel, g) - QRegion(100, 50, 60, 40)) | QRegion(250, 120, 40, 60),
                                 checkers};
        ASSERT_GT(clips[0].rectCount(), 3);
        ASSERT_GT(clips[1].rectCount(), 64);
        for (int tick = 0; tick < 4; ++tick) {
            const QRegion& clip = clips[tick % 2];
            QImage drawn = Canvas(g.client), expected = Canvas(g.client);
            {
                QPainter p(&drawn);
                p.setClipRegion(clip);
                ants.DrawOnWindow(p, sel, g);
            }
            {
                QPainterPath whole;
                PolygonToPath(sel.GetPolygon(), whole);
                const auto [dark, light] = reference.OutlinePens(g.zoomX);
                QPainter p(&expected);
                p.setClipRegion(clip);
                p.setTransform(g.Transform());
                p.strokePath(whole, dark);
                p.strokePath(whole, light);
            }
            EXPECT_NE(drawn, Canvas(g.client)) << "zoom " << g.zoomX;
            EXPECT_EQ(drawn, expected) << "zoom " << g.zoomX << " scroll " << g.scrollX << "," << g.scrollY
                                       << " tick " << tick;
            // The reference's phase one step on too, as the window's draw took it.
            QImage scratch = Canvas(QSize(1, 1));
            QPainter step(&scratch);
            reference.Draw(step, sel, 1.0f);
            EXPECT_EQ(ants.GetPhase(), reference.GetPhase());
        }
    }
}

TEST(SelectionAnts, TickRegionIsTheStripOfEverySegment)
{
    const CSelection sel = Holes();
    CSelectionAnts ants;
    for (const CViewGeometry& g : kGeometries) {
        const QRegion expected = StripOfEverySegment(sel, g);
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(ants.TickRegion(sel, g), expected) << "zoom " << g.zoomX << " scroll " << g.scrollX;
        // Kept, and the same when asked again.
        EXPECT_EQ(ants.TickRegion(sel, g), expected);
    }
    // A new selection is a new strip, even at the same geometry.
    const CSelection other(CPolygon{{Rect(20, 20, 30, 30)}});
    EXPECT_EQ(ants.TickRegion(other, kGeometries[2]), StripOfEverySegment(other, kGeometries[2]));
    EXPECT_TRUE(ants.TickRegion(CSelection(), kGeometries[2]).isEmpty());
}
