#include "render/SkewedTexture.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <set>

namespace
{

// The area's corner order: top-left, top-right, bottom-left, bottom-right.
using AreaCorners = std::array<QPoint, 4>;

const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255),
           kYellow = qRgb(255, 255, 0), kBlack = qRgb(0, 0, 0);

// 100 x 50: red, green / blue, yellow quadrants (all exact in 5-6-5).
QImage Quadrants()
{
    QImage image(100, 50, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, 50, 25, QColor(kRed));
    painter.fillRect(50, 0, 50, 25, QColor(kGreen));
    painter.fillRect(0, 25, 50, 25, QColor(kBlue));
    painter.fillRect(50, 25, 50, 25, QColor(kYellow));
    return image;
}

QPointF Map(const QTransform& transform, double u, double v)
{
    return transform.map(QPointF(u, v));
}

} // namespace

TEST(TextureTransform, ScalesThenShiftsThenRotatesAboutTheOrigin)
{
    const QPointF rotated = Map(TextureTransform(90, 10, 0, 1), 0, 0);
    EXPECT_NEAR(rotated.x(), 0, 1e-9);
    EXPECT_NEAR(rotated.y(), 10, 1e-9);

    const QPointF scaled = Map(TextureTransform(0, 5, 5, 2), 1, 1);
    EXPECT_NEAR(scaled.x(), 7, 1e-9);
    EXPECT_NEAR(scaled.y(), 7, 1e-9);

    // All three together: (2 * 1 + 5, 2 * 1 + 5) turned clockwise on screen.
    const QPointF all = Map(TextureTransform(90, 5, 5, 2), 1, 1);
    EXPECT_NEAR(all.x(), -7, 1e-9);
    EXPECT_NEAR(all.y(), 7, 1e-9);
}

TEST(TextureTransform, PlacementPassesThroughSinglePrecision)
{
    // 0.1 is not a float: ten texels at float(0.1) land just past 1.
    const QPointF p = Map(TextureTransform(0, 0, 0, 0.1), 10, 0);
    EXPECT_NE(p.x(), 1.0);
    EXPECT_NEAR(p.x(), 10.0 * double(0.1f), 1e-12);
}

TEST(RenderSkewedTexture, StretchesCanvasOntoCornersUpright)
{
    const AreaCorners square = {QPoint(0, 0), QPoint(200, 0), QPoint(0, 200), QPoint(200, 200)};
    const QImage out = RenderSkewedTexture(Quadrants(), 0, 0, 0, 1, QSize(100, 50), square);
    ASSERT_EQ(out.size(), QSize(201, 201));
    // Corner pixels come from the texture's corresponding corners, the
    // quadrant centres from their quadrants.
    EXPECT_EQ(out.pixel(0, 0), kRed);
    EXPECT_EQ(out.pixel(200, 0), kGreen);
    EXPECT_EQ(out.pixel(0, 200), kBlue);
    EXPECT_EQ(out.pixel(200, 200), kYellow);
    EXPECT_EQ(out.pixel(50, 50), kRed);
    EXPECT_EQ(out.pixel(150, 50), kGreen);
    EXPECT_EQ(out.pixel(50, 150), kBlue);
    EXPECT_EQ(out.pixel(150, 150), kYellow);
}

TEST(RenderSkewedTexture, PixelZeroIsTheBoxCornerAndOutsideStaysBlack)
{
    // A triangle-ish quadrilateral away from the origin: the result covers
    // only the bounding box, and the half outside the shape is black.
    const AreaCorners corners = {QPoint(300, 100), QPoint(400, 100), QPoint(300, 200),
                                 QPoint(300, 200)};
    const QImage out = RenderSkewedTexture(Quadrants(), 0, 0, 0, 1, QSize(100, 50), corners);
    ASSERT_EQ(out.size(), QSize(101, 101));
    EXPECT_EQ(out.pixel(0, 0), kRed);
    EXPECT_EQ(out.pixel(95, 95), kBlack);
    EXPECT_EQ(out.pixel(100, 0), kGreen);
}

TEST(RenderSkewedTexture, TilesFromTheCanvasOriginWithThePlacement)
{
    // Shifted by half the texture width, the canvas starts with the green
    // quadrant and wraps round to red.
    const AreaCorners rect = {QPoint(0, 0), QPoint(99, 0), QPoint(0, 49), QPoint(99, 49)};
    const QImage out = RenderSkewedTexture(Quadrants(), 0, 50, 0, 1, QSize(100, 50), rect);
    ASSERT_EQ(out.size(), QSize(100, 50));
    EXPECT_EQ(out.pixel(10, 10), kGreen);
    EXPECT_EQ(out.pixel(80, 10), kRed);
    EXPECT_EQ(out.pixel(10, 40), kYellow);

    // Turned half round about the canvas origin: the visible canvas shows
    // the tile behind the origin, so the quadrants swap diagonally.
    const QImage turned = RenderSkewedTexture(Quadrants(), 180, 0, 0, 1, QSize(100, 50), rect);
    EXPECT_EQ(turned.pixel(10, 10), kYellow);
    EXPECT_EQ(turned.pixel(80, 40), kRed);
}

TEST(RenderSkewedTexture, ColoursPassThroughSixteenBitCanvas)
{
    QImage solid(8, 8, QImage::Format_RGB32);
    solid.fill(qRgb(100, 150, 203));
    const AreaCorners quad = {QPoint(3, 0), QPoint(60, 5), QPoint(0, 40), QPoint(55, 48)};
    const QImage out = RenderSkewedTexture(solid, 30, 3, 7, 1.5, QSize(40, 30), quad);
    ASSERT_FALSE(out.isNull());

    std::set<int> five, six;
    for (int v = 0; v < 32; ++v)
        five.insert((v << 3) | (v >> 2));
    for (int v = 0; v < 64; ++v)
        six.insert((v << 2) | (v >> 4));
    int painted = 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            if (p == kBlack)
                continue;
            ++painted;
            ASSERT_TRUE(five.count(qRed(p)) && six.count(qGreen(p)) && five.count(qBlue(p)))
                << x << "," << y << ": " << std::hex << p;
        }
    EXPECT_GT(painted, 1500);
    EXPECT_NE(out.pixel(30, 24), qRgb(100, 150, 203)); // 203 has no 5-bit level
}

TEST(RenderSkewedTexture, TransparentTexelsBecomeWhite)
{
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const AreaCorners rect = {QPoint(0, 0), QPoint(9, 0), QPoint(0, 9), QPoint(9, 9)};
    const QImage out = RenderSkewedTexture(clear, 0, 0, 0, 1, QSize(10, 10), rect);
    ASSERT_EQ(out.size(), QSize(10, 10));
    EXPECT_EQ(out.pixel(5, 5), qRgb(255, 255, 255));
}

TEST(RenderSkewedTexture, DegenerateAndRefusedInputs)
{
    const QImage texture = Quadrants();
    const AreaCorners origin = {QPoint(0, 0), QPoint(0, 0), QPoint(0, 0), QPoint(0, 0)};
    const QImage dot = RenderSkewedTexture(texture, 0, 0, 0, 1, QSize(100, 50), origin);
    ASSERT_EQ(dot.size(), QSize(1, 1));
    EXPECT_EQ(dot.pixel(0, 0), kBlack);

    const AreaCorners square = {QPoint(0, 0), QPoint(20, 0), QPoint(0, 20), QPoint(20, 20)};
    EXPECT_TRUE(RenderSkewedTexture(QImage(), 0, 0, 0, 1, QSize(100, 50), square).isNull());

    // Nothing to sample: the box comes back black.
    for (const QSize empty : {QSize(0, 0), QSize(100, 0), QSize(-5, -5)}) {
        const QImage blank = RenderSkewedTexture(texture, 0, 0, 0, 1, empty, square);
        ASSERT_EQ(blank.size(), QSize(21, 21));
        EXPECT_EQ(blank.pixel(10, 10), kBlack);
    }

    // A canvas size read from a damaged file is refused, not allocated.
    EXPECT_TRUE(
        RenderSkewedTexture(texture, 0, 0, 0, 1, QSize(100000, 100000), square).isNull());
    // A degenerate scale leaves the white canvas rather than failing.
    const QImage flat = RenderSkewedTexture(texture, 0, 0, 0, 0, QSize(100, 50), square);
    ASSERT_EQ(flat.size(), QSize(21, 21));
}
