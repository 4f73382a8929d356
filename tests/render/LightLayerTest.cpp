#include "document/TestImages.h"
#include "render/AreaShading.h"
#include "render/LightLayer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kW = 600, kH = 400;

// The room's light on a floor filling the picture: a table's soft shadow
// (a disc with a wide penumbra), a sun patch with sharp sides and a bar
// across it, and a fall-off to the right.
double TrueLight(int x, int y)
{
    const double d = std::hypot(x - 180.0, y - 220.0);
    double light = 1.0 - 0.55 * std::exp(-std::pow(d / 60.0, 2.0));
    const auto edge = [](double v) { return 1.0 / (1.0 + std::exp(-v / 1.5)); };
    double sun = edge(x - 380.0) * edge(540.0 - x) * edge(y - 60.0) * edge(300.0 - y);
    sun *= 1.0 - 0.8 * std::exp(-std::pow((y - 180.0) / 6.0, 2.0));
    light += 0.7 * sun;
    return light * (1.0 - 0.25 * x / kW);
}

// Tiles 40 px with 3 px dark grout, each tile its own tone, and a faint
// fine mottle: the old floor's pattern.
double OldFloor(int x, int y)
{
    if (x % 40 < 3 || y % 40 < 3)
        return 0.35;
    const int tile = (x / 40) * 31 + (y / 40) * 17;
    const double tone = 0.62 + 0.12 * ((tile * 7919) % 11) / 10.0;
    const double mottle = 0.02 * (((x * 13 + y * 7) % 5) - 2) / 2.0;
    return tone + mottle;
}

QImage Photo(const std::function<double(int, int)>& albedo)
{
    QImage picture(kW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const int v = std::clamp(int(std::lround(255.0 * 0.8 * albedo(x, y) * TrueLight(x, y))), 0, 255);
            picture.setPixel(x, y, qRgb(v, v, v));
        }
    return picture;
}

struct SFit
{
    double correlation = 0, slope = 0;
};

// Correlation and slope of b against a over the points given.
SFit Fit(const std::vector<double>& a, const std::vector<double>& b)
{
    double ma = 0, mb = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        ma += a[i], mb += b[i];
    ma /= double(a.size()), mb /= double(b.size());
    double aa = 0, bb = 0, ab = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        aa += (a[i] - ma) * (a[i] - ma), bb += (b[i] - mb) * (b[i] - mb), ab += (a[i] - ma) * (b[i] - mb);
    return {ab / std::sqrt(aa * bb), ab / aa};
}

TEST(LightLayer, KeepsShadowsAndTheSunPatchAndLeavesTheTilesBehind)
{
    const QImage picture = Photo(OldFloor);
    const CLightLayer layer = CLightLayer::Measure(picture, RectPolygon(0, 0, kW, kH));
    ASSERT_FALSE(layer.IsNull());
    ASSERT_EQ(layer.Step(), 1);
    // Away from the picture's edge: the layer against the true light, and
    // its residue against the tiles' own pattern.
    std::vector<double> truth, measured, pattern, residue;
    for (int y = 10; y < kH - 10; y += 2)
        for (int x = 10; x < kW - 10; x += 2) {
            truth.push_back(std::log(TrueLight(x, y)));
            measured.push_back(layer.At(x, y));
        }
    const SFit light = Fit(truth, measured);
    EXPECT_GT(light.correlation, 0.95);
    EXPECT_NEAR(light.slope, 1.0, 0.12);
    for (std::size_t i = 0, n = 0; i < truth.size(); ++i, ++n) {
        const int x = 10 + 2 * int(n % std::size_t((kW - 20) / 2)), y = 10 + 2 * int(n / std::size_t((kW - 20) / 2));
        pattern.push_back(std::log(OldFloor(x, y)));
        residue.push_back(measured[i] - truth[i] * light.slope);
    }
    EXPECT_LT(std::fabs(Fit(pattern, residue).correlation), 0.25);

    // The bar's shadow across the sun patch stays: darker than the patch
    // beside it by most of what it truly is.
    const double bar = layer.At(460, 180) - layer.At(460, 150);
    const double trueBar = std::log(TrueLight(460, 180) / TrueLight(460, 150));
    EXPECT_NEAR(bar / trueBar, 1.0, 0.3);
}

TEST(LightLayer, WhatStandsBesideTheAreaAddsNoShadow)
{
    // An even floor with a black cabinet standing on it, outside the
    // outline, which runs round it: the floor beside the cabinet keeps the
    // usual light.
    QImage picture(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const bool cabinet = x >= 100 && x < 160 && y >= 60 && y < 140;
            const int v = cabinet ? 10 : 150 + ((x / 2 + y / 2) % 2 ? 8 : -8);
            picture.setPixel(x, y, qRgb(v, v, v));
        }
    CPolygon outline = RectPolygon(0, 0, 300, 200);
    outline.contours.push_back(RectPolygon(100, 60, 160, 140).contours.front());
    const CLightLayer layer = CLightLayer::Measure(picture, outline);
    ASSERT_FALSE(layer.IsNull());
    for (const QPoint p : {QPoint(98, 100), QPoint(162, 100), QPoint(130, 58), QPoint(130, 142), QPoint(20, 20)})
        EXPECT_NEAR(layer.At(p.x(), p.y()), 0.0, 0.03) << p.x() << ", " << p.y();
}

TEST(LightLayer, WhatLiesOnTheAreaInsideItsOutlineAddsNoLightOrShadow)
{
    // A beige floor under a soft shadow on its left, outlined whole, with a
    // dark red rug and a bright blue box lying on it: the rug's and the
    // box's cells take the light round them, and the floor beside them keeps
    // its own, while the shadow stays.
    QImage picture(300, 200, QImage::Format_RGB32);
    const auto shadow = [](int x) { return 1.0 - 0.5 * std::exp(-std::pow((x - 40) / 30.0, 2.0)); };
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const bool rug = x >= 120 && x < 200 && y >= 50 && y < 150, box = x >= 230 && x < 260 && y >= 20 && y < 60;
            const double k = shadow(x) * ((x / 2 + y / 2) % 2 ? 1.04 : 0.96);
            const QRgb base = rug ? qRgb(90, 20, 25) : box ? qRgb(60, 120, 250) : qRgb(200, 175, 140);
            picture.setPixel(x, y, qRgb(int(qRed(base) * k), int(qGreen(base) * k), int(qBlue(base) * k)));
        }
    const CLightLayer layer = CLightLayer::Measure(picture, RectPolygon(0, 0, 300, 200));
    ASSERT_FALSE(layer.IsNull());
    for (const QPoint p : {QPoint(160, 100), QPoint(117, 100), QPoint(203, 100), QPoint(160, 47), QPoint(245, 40),
                           QPoint(245, 63), QPoint(280, 150)})
        EXPECT_NEAR(layer.At(p.x(), p.y()), 0.0, 0.05) << p.x() << ", " << p.y();
    EXPECT_NEAR(layer.At(40, 100), std::log(0.5), 0.1);
}

TEST(LightLayer, StrengthScalesTheLightsContrast)
{
    const QImage picture = Photo(OldFloor);
    const CPolygon outline = RectPolygon(0, 0, kW, kH);
    const CLightLayer layer = CLightLayer::Measure(picture, outline);
    const CAreaShading full = CAreaShading::FromLayer(layer, 1.0);
    const CAreaShading half = CAreaShading::FromLayer(layer, 0.5);
    const CAreaShading more = CAreaShading::FromLayer(layer, 1.5);
    // In the table's shadow and in the sun: half the strength is the
    // square root of the factor, half as much again its power 1.5.
    for (const QPointF p : {QPointF(180.5, 220.5), QPointF(450.5, 120.5)}) {
        const double f = full.FactorAt(p);
        EXPECT_GT(std::fabs(std::log(f)), 0.25);
        EXPECT_NEAR(half.FactorAt(p), std::sqrt(f), 0.02);
        EXPECT_NEAR(more.FactorAt(p), std::pow(f, 1.5), 0.06);
    }
    EXPECT_TRUE(CAreaShading::FromLayer(layer, 0.0).IsNull());
    EXPECT_TRUE(CLightLayer::Measure(picture, RectPolygon(700, 0, 800, 100)).IsNull());
}

} // namespace

namespace {

// Wood grain: faint streaks 4 to 5 px apart, wavering along the boards,
// too wide to close over as a joint.
double Grain(int x, int y)
{
    return 0.7 * (1.0 + 0.05 * std::sin(y * 1.4 + 1.5 * std::sin(x * 0.02 + y * 0.01)));
}

} // namespace

TEST(LightLayer, FaintGrainLeavesNoStreaksAndTheShadowsStay)
{
    const QImage picture = Photo(Grain);
    const CLightLayer layer = CLightLayer::Measure(picture, RectPolygon(0, 0, kW, kH));
    ASSERT_FALSE(layer.IsNull());
    std::vector<double> truth, measured, pattern;
    for (int y = 10; y < kH - 10; y += 2)
        for (int x = 10; x < kW - 10; x += 2) {
            truth.push_back(std::log(TrueLight(x, y)));
            measured.push_back(layer.At(x, y));
            pattern.push_back(std::log(Grain(x, y)));
        }
    const SFit light = Fit(truth, measured);
    EXPECT_GT(light.correlation, 0.97);
    EXPECT_NEAR(light.slope, 1.0, 0.12);
    std::vector<double> residue(measured.size());
    for (std::size_t i = 0; i < measured.size(); ++i)
        residue[i] = measured[i] - truth[i] * light.slope;
    EXPECT_LT(std::fabs(Fit(pattern, residue).correlation), 0.15);
    // The bar across the sun patch keeps most of its depth.
    const double bar = layer.At(460, 180) - layer.At(460, 150);
    EXPECT_NEAR(bar / std::log(TrueLight(460, 180) / TrueLight(460, 150)), 1.0, 0.3);
}

namespace {

// A sun patch and a shadow whose edges run along the grout, so that whole
// tiles lie lit or shaded, as under a window's square panes.
double PaneLight(int x, int y)
{
    const auto edge = [](double v) { return 1.0 / (1.0 + std::exp(-v)); };
    const double sun = edge(x - 201.5) * edge(361.5 - x) * edge(y - 121.5) * edge(281.5 - y);
    const double shade = edge(x - 441.5) * edge(521.5 - x) * edge(y - 201.5) * edge(281.5 - y);
    return (1.0 + 0.8 * sun) * (1.0 - 0.45 * shade);
}

} // namespace

TEST(LightLayer, TilesWhollyLitOrShadedKeepTheirLight)
{
    QImage picture(kW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const int v = std::clamp(int(std::lround(255.0 * 0.6 * OldFloor(x, y) * PaneLight(x, y))), 0, 255);
            picture.setPixel(x, y, qRgb(v, v, v));
        }
    const CLightLayer layer = CLightLayer::Measure(picture, RectPolygon(0, 0, kW, kH));
    ASSERT_FALSE(layer.IsNull());
    // Tile middles inside the patch and the shadow against tiles beside
    // them in the usual light, averaged over a few tiles each.
    const auto mean = [&](int x0, int y0, int tiles) {
        double sum = 0;
        for (int i = 0; i < tiles; ++i)
            for (int j = 0; j < tiles; ++j)
                sum += layer.At(x0 + 40 * i + 21, y0 + 40 * j + 21);
        return sum / (tiles * tiles);
    };
    const double usual = (mean(40, 40, 2) + mean(40, 280, 2)) / 2;
    EXPECT_NEAR((mean(200, 120, 4) - usual) / std::log(1.8), 1.0, 0.2);
    EXPECT_NEAR((mean(440, 200, 2) - usual) / std::log(0.55), 1.0, 0.2);
}

namespace {

// Stone cells 50 px with 6 px of mortar, wide enough to need the wider
// closing, under a sun patch with a window bar's shadow across it: the
// bar's edges step as far from one pixel to the next as the mortar's, but
// spread over three pixels each side.
double Stones(int x, int y)
{
    if (x % 50 < 6 || y % 50 < 6)
        return 0.3;
    return 0.6 + 0.1 * (((x / 50) * 7 + (y / 50) * 3) % 4) / 3.0;
}

double BarLight(int x, int y)
{
    const auto edge = [](double v) { return 1.0 / (1.0 + std::exp(-v)); };
    const double sun = edge(x - 150.5) * edge(550.5 - x) * edge(y - 120.5) * edge(330.5 - y);
    const double across = std::fabs(y - 225.0);
    const double bar = std::clamp((4.0 - across) / 3.0, 0.0, 1.0);
    return 1.0 + 1.2 * sun * (1.0 - 0.85 * bar);
}

} // namespace

TEST(LightLayer, AWindowBarsShadowIsNoJointThoughItsEdgesAreSteep)
{
    QImage picture(kW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const int v = std::clamp(int(std::lround(255.0 * 0.5 * Stones(x, y) * BarLight(x, y))), 0, 255);
            picture.setPixel(x, y, qRgb(v, v, v));
        }
    const CLightLayer layer = CLightLayer::Measure(picture, RectPolygon(0, 0, kW, kH));
    ASSERT_FALSE(layer.IsNull());
    // Across the middles of the stones the bar crosses, its depth against
    // the patch beside it.
    double bar = 0, trueBar = 0;
    for (int x = 225; x <= 475; x += 50) {
        bar += layer.At(x, 225) - layer.At(x, 237);
        trueBar += std::log(BarLight(x, 225) / BarLight(x, 237));
    }
    EXPECT_NEAR(bar / trueBar, 1.0, 0.3);
    // The mortar still leaves no lines: along a stone's row through the
    // patch, away from the bar and from the stones at the patch's sides,
    // the light is even.
    for (int x = 200; x < 500; ++x)
        EXPECT_NEAR(layer.At(x, 262), layer.At(275, 262), 0.08) << x;
}
