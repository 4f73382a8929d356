#include "document/Area.h"
#include "document/WarpCache.h"
#include "render/AreaDraw.h"
#include "render/AreaWarpUpdates.h"
#include "render/TemplateCompositor.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;

QImage Solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

CPolygon Rect(double x0, double y0, double x1, double y1)
{
    return CPolygon{{{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}}};
}

// An area over x 10..30, y 10..30 with a green texture, its corners on a
// larger square 5..45 so that clipping by outline and by corners differ.
CArea GreenArea()
{
    CArea area;
    const CPolygon outline = Rect(10, 10, 30, 30);
    area.SetOutline(&outline);
    const QImage texture = Solid(4, 4, kGreen);
    area.SetTexture(&texture);
    area.GetSkewCorners() = {QPoint(5, 5), QPoint(45, 5), QPoint(5, 45), QPoint(45, 45)};
    return area;
}

QImage DrawOnGrey(const CArea& area, bool isCurrent = false, CAreaDrawOptions options = {})
{
    QImage target = Solid(60, 60, kGrey);
    QPainter painter(&target);
    options.isCurrent = isCurrent;
    DrawArea(painter, area, options);
    return target;
}

// A warp cache holding image as the exact warp of the area's values.
struct CKeptWarp
{
    CKeptWarp(const CArea& area, const QImage& image)
    {
        warps.Put(area.GetId(), area.WarpInputs(), std::make_shared<const QImage>(image));
    }
    CWarpCache warps;
};

TEST(AreaDraw, PlainFillCoversTheOutlineOnly)
{
    CArea area = GreenArea();
    CWarpCache warps;
    const QImage out = DrawOnGrey(area, false, {.warps = &warps});
    EXPECT_EQ(out.pixel(20, 20), kGreen);
    EXPECT_EQ(out.pixel(10, 10), kGreen);
    EXPECT_EQ(out.pixel(29, 29), kGreen);
    EXPECT_EQ(out.pixel(30, 30), kGrey);
    EXPECT_EQ(out.pixel(8, 20), kGrey);
    EXPECT_EQ(warps.Count(), 0u); // no warp on a plain draw
}

TEST(AreaDraw, PreviewWithoutSkewFillsTheBoundsClippedToTheCorners)
{
    CArea area = GreenArea();
    CPolygon triangle{{{{10, 10}, {30, 10}, {10, 30}}}};
    area.SetOutline(&triangle);
    const CAreaDrawOptions preview{.skewPreview = true};
    const QImage out = DrawOnGrey(area, false, preview);
    EXPECT_EQ(out.pixel(28, 28), kGreen); // in the bounds, outside the triangle
    EXPECT_EQ(out.pixel(35, 35), kGrey);  // in the corners, outside the bounds

    // With all corners zero nothing clips the bounding rectangle.
    area.GetSkewCorners() = {};
    const QImage unclipped = DrawOnGrey(area, false, preview);
    EXPECT_EQ(unclipped.pixel(28, 28), kGreen);
}

TEST(AreaDraw, AppliedSkewDrawsTheWarpClippedByTheOutline)
{
    CArea area = GreenArea();
    area.SetSkewApplied(true);
    CKeptWarp kept(area, Solid(41, 41, kBlue));
    const QImage out = DrawOnGrey(area, false, {.warps = &kept.warps});
    EXPECT_EQ(out.pixel(20, 20), kBlue);
    EXPECT_EQ(out.pixel(7, 7), kGrey); // inside the warp's box, outside the outline
    EXPECT_EQ(out.pixel(40, 40), kGrey);
}

TEST(AreaDraw, EditingShowsTheWarpOnlyWithPreview)
{
    CArea area = GreenArea();
    CKeptWarp kept(area, Solid(41, 41, kBlue));

    const QImage hidden = DrawOnGrey(area, false, {.skewEdit = true, .warps = &kept.warps});
    EXPECT_EQ(hidden.pixel(20, 20), kGrey);

    // Without a kept warp the preview is built from the green texture.
    EXPECT_EQ(DrawOnGrey(area, false, {.skewEdit = true, .skewPreview = true}).pixel(20, 20), kGreen);
    const QImage shown = DrawOnGrey(area, false, {.skewEdit = true, .skewPreview = true, .warps = &kept.warps});
    EXPECT_EQ(shown.pixel(20, 20), kBlue);
    EXPECT_EQ(shown.pixel(7, 7), kBlue); // clipped by the corners, not the outline
    EXPECT_EQ(shown.pixel(3, 3), kGrey);
}

TEST(AreaDraw, MissingWarpIsBuiltWhenNeeded)
{
    CArea area = GreenArea();
    area.SetSkewApplied(true);
    CWarpCache warps;
    const QImage out = DrawOnGrey(area, false, {.warps = &warps});
    const auto built = warps.FindExact(area.GetId(), area.WarpInputs());
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->size(), QSize(41, 41));
    EXPECT_EQ(qGreen(out.pixel(20, 20)), 0xFF);
}

TEST(AreaDraw, UntexturedAreaIsRedOnlyWhenSelected)
{
    CArea area;
    const CPolygon outline = Rect(10, 10, 30, 30);
    area.SetOutline(&outline);
    EXPECT_EQ(DrawOnGrey(area, false).pixel(20, 20), kGrey);
    EXPECT_EQ(DrawOnGrey(area, true).pixel(20, 20), 0xFFFF0000u);
}

TEST(AreaDraw, LeavesThePainterAsItWas)
{
    CArea area = GreenArea();
    QImage target = Solid(60, 60, kGrey);
    QPainter painter(&target);
    painter.setClipRect(0, 0, 60, 20);
    DrawArea(painter, area, {.skewPreview = true});
    EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 60, 20));
    EXPECT_EQ(target.pixel(20, 25), kGrey); // the caller's clip held
    EXPECT_EQ(target.pixel(20, 15), kGreen);
}

TEST(AreaDraw, UnskewedTexturesTileFromThePictureOrigin)
{
    // A 2 x 1 texture: left texel green, right texel blue. Two areas side by
    // side with the same placement continue one tiling.
    QImage texture(2, 1, QImage::Format_RGB32);
    texture.setPixel(0, 0, kGreen);
    texture.setPixel(1, 0, kBlue);
    CArea left, right;
    const CPolygon a = Rect(3, 0, 8, 4), b = Rect(8, 0, 13, 4);
    left.SetOutline(&a);
    right.SetOutline(&b);
    left.SetTexture(&texture);
    right.SetTexture(&texture);
    QImage target = Solid(20, 5, kGrey);
    QPainter painter(&target);
    DrawArea(painter, left);
    DrawArea(painter, right);
    for (int x = 3; x < 13; ++x)
        EXPECT_EQ(target.pixel(x, 1), x % 2 ? kBlue : kGreen) << x;
}

// Undoing the step that gave an area its corners leaves it without any
// while its skew is still being edited and previewed: it paints nothing
// outside its draw bounds, which is all a view repaints when it changes (a
// walk through the editor found a black box left at the picture's corner).
TEST(AreaDraw, EditingAnAreaWithoutCornersStaysWithinItsDrawBounds)
{
    CArea area = GreenArea();
    area.GetSkewCorners() = {};
    const QImage out = DrawOnGrey(area, false, {.skewEdit = true, .skewPreview = true});
    const QRect bounds = area.GetDrawBounds();
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            if (!bounds.contains(x, y)) {
                EXPECT_EQ(out.pixel(x, y), kGrey) << x << "," << y;
            }
        }
    }
}

// A scale of 0 squeezes the texture to nothing, tiling it infinitely fine:
// the area shows the texture's average colour, wherever the picture is
// drawn, and so does its warp. (Qt would lay the texture in unscaled from
// the window's corner instead, which a walk through the editor found
// smeared across the window as it scrolled.)
TEST(AreaDraw, TextureAtScaleZeroShowsItsAverageColour)
{
    QImage texture(2, 1, QImage::Format_RGB32);
    texture.setPixel(0, 0, qRgb(0, 200, 0));
    texture.setPixel(1, 0, qRgb(0, 0, 100));
    CArea area;
    const CPolygon outline = Rect(10, 10, 30, 30);
    area.SetOutline(&outline);
    area.SetTexture(&texture);
    area.SetScale(0);
    area.GetSkewCorners() = {QPoint(10, 10), QPoint(30, 10), QPoint(10, 30), QPoint(30, 30)};
    const QRgb average = qRgb(0, 100, 50);
    for (const QPointF shift : {QPointF(0, 0), QPointF(7.5, -3)}) {
        QImage target = Solid(60, 60, kGrey);
        QPainter painter(&target);
        painter.translate(shift);
        DrawArea(painter, area);
        painter.end();
        EXPECT_EQ(target.pixel(QPoint(20, 20) + shift.toPoint()), average);
        EXPECT_EQ(target.pixel(QPoint(11, 28) + shift.toPoint()), average);
    }
    area.SetSkewApplied(true);
    CWarpCache warps;
    const auto warp = KeepExactWarp(warps, area);
    ASSERT_TRUE(warp);
    // Through the warp's 16-bit canvas.
    const QImage canvasShade =
        Solid(1, 1, average).convertToFormat(QImage::Format_RGB16).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(warp->pixel(10, 10), canvasShade.pixel(0, 0));
}

TEST(TemplateComposition, PictureAtOriginThenAreasInOrder)
{
    QImage picture = Solid(40, 30, 0xFFFFFFFF);
    picture.setPixel(0, 0, 0xFFFF0000);
    std::vector<CArea> areas;
    areas.push_back(GreenArea());
    CArea cover;
    const CPolygon outline = Rect(20, 20, 35, 28);
    cover.SetOutline(&outline);
    const QImage blue = Solid(2, 2, kBlue);
    cover.SetTexture(&blue);
    areas.push_back(std::move(cover));
    CArea bare;
    const CPolygon bareOutline = Rect(0, 0, 40, 30);
    bare.SetOutline(&bareOutline);
    areas.push_back(std::move(bare));

    const QImage out = ComposeTemplate(picture, areas);
    ASSERT_EQ(out.format(), QImage::Format_RGB16);
    ASSERT_EQ(out.size(), QSize(40, 30));
    EXPECT_EQ(out.pixel(0, 0), 0xFFFF0000u);    // the first pixel is the picture's own
    EXPECT_EQ(out.pixel(39, 29), 0xFFFFFFFFu);  // and so is the last: no stretch
    EXPECT_EQ(out.pixel(15, 15), kGreen);
    EXPECT_EQ(out.pixel(25, 25), kBlue);        // the later area covers the earlier
    EXPECT_EQ(out.pixel(5, 5), 0xFFFFFFFFu);    // the untextured area shows nothing
}

TEST(TemplateComposition, StopsWhenTold)
{
    std::vector<CArea> areas(3);
    int calls = 0;
    const QImage out = ComposeTemplate(Solid(10, 10, kGrey), areas, [&](int done, int count) {
        EXPECT_EQ(count, 3);
        EXPECT_EQ(done, ++calls);
        return done < 2;
    });
    EXPECT_TRUE(out.isNull());
    EXPECT_EQ(calls, 2);
}

} // namespace
