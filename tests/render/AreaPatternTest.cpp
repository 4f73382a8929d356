#include "document/Area.h"
#include "document/PerspectiveEdits.h"
#include "render/AreaPattern.h"
#include "render/PatternLayout.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

// A flat area over x0..x1, y0..y1 with a reference line giving exactly
// `pxPerCm` picture pixels a cm.
CArea FlatArea(double x0, double y0, double x1, double y1, double pxPerCm)
{
    CArea area;
    area.SetName("Floor");
    const CPolygon outline{{{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}}};
    area.SetOutline(&outline);
    CRealSize real;
    real.reference = QLineF(x0, y0, x0 + 100 * pxPerCm, y0);
    real.referenceCm = 100;
    area.SetRealSize(real);
    return area;
}

QImage Plain(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Grain and knots from the seed: each variant its own plank.
QImage Noisy(int w, int h, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = 80 + static_cast<int>(random.bounded(120));
            image.setPixel(x, y, qRgb(v, v, v));
        }
    return image;
}

CLayingPattern WhitePieces(ELayout layout, double w, double h, double jointMm)
{
    CLayingPattern p;
    p.variants.push_back(PieceFromImage(Plain(static_cast<int>(w * 20), static_cast<int>(h * 20), 0xFFFFFFFF)));
    p.widthCm = w;
    p.heightCm = h;
    p.layout = layout;
    p.jointMm = jointMm;
    p.jointColour = qRgb(0, 0, 0);
    p.origin = EPatternOrigin::Corner;
    return p;
}

// How much of each column of rows y0..y1 is joint: 1 for black, 0 for
// white, in between where a joint's edge falls within the pixel.
std::vector<double> JointProfile(const QImage& image, int y0, int y1)
{
    std::vector<double> profile(static_cast<std::size_t>(image.width()));
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < image.width(); ++x)
            profile[static_cast<std::size_t>(x)] += (255 - qRed(image.pixel(x, y))) / 255.0 / (y1 - y0);
    return profile;
}

struct CJoint
{
    double centre, width;
};

// Each run of joint pixels, by its centre of coverage and its summed
// coverage.
std::vector<CJoint> Joints(const std::vector<double>& profile)
{
    std::vector<CJoint> joints;
    for (std::size_t x = 0; x < profile.size();) {
        if (profile[x] < 0.02) {
            ++x;
            continue;
        }
        double sum = 0, moment = 0;
        for (; x < profile.size() && profile[x] >= 0.02; ++x) {
            sum += profile[x];
            moment += profile[x] * (double(x) + 0.5);
        }
        joints.push_back({moment / sum, sum});
    }
    return joints;
}

TEST(AreaPattern, JointsLieWhereThePitchPutsThemAndAreAsWideAsAsked)
{
    // 3 m of floor at 10 px a cm; tiles 30 cm with 2.5 mm joints.
    const double pxPerCm = 10;
    CArea area = FlatArea(100, 100, 100 + 3000, 100 + 400, pxPerCm);
    const CLayingPattern p = WhitePieces(ELayout::Straight, 30, 30, 2.5);
    const auto laid = CAreaPattern::Lay(area, p);
    ASSERT_TRUE(laid);
    EXPECT_TRUE(laid->result.realScale);
    ASSERT_DOUBLE_EQ(laid->scale, 1.0);
    ASSERT_EQ(laid->shift, QPoint(100, 100));
    // Within the first row of tiles, away from its horizontal joints.
    const auto joints = Joints(JointProfile(laid->texture, 20, 280));
    ASSERT_GE(joints.size(), 9u);
    const double pitchPx = 30.25 * pxPerCm;
    double worstPlace = 0, worstWidth = 0;
    for (std::size_t k = 0; k < joints.size(); ++k) {
        // The first tile starts at the area's corner: its joint follows it.
        const double want = 300.0 + double(k) * pitchPx + 1.25;
        EXPECT_NEAR(joints[k].centre, want, 1.0) << "joint " << k;
        EXPECT_NEAR(joints[k].width, 2.5, 0.5) << "joint " << k;
        worstPlace = std::max(worstPlace, std::abs(joints[k].centre - want));
        worstWidth = std::max(worstWidth, std::abs(joints[k].width - 2.5));
    }
    RecordProperty("worstJointPlacePx", std::to_string(worstPlace));
    RecordProperty("worstJointWidthPx", std::to_string(worstWidth));
    EXPECT_GT(joints.back().centre, 2700.0);
}

TEST(AreaPattern, NoJointLeavesNoGapAndRowsOffsetByExactlyTheirShare)
{
    CArea area = FlatArea(0, 0, 1200, 400, 10);
    for (auto [layout, share] : {std::pair{ELayout::OffsetHalf, 0.5}, std::pair{ELayout::OffsetThird, 1.0 / 3}}) {
        const CLayingPattern p = WhitePieces(layout, 40, 10, 3);
        const auto laid = CAreaPattern::Lay(area, p);
        ASSERT_TRUE(laid);
        const double pitchPx = 403;
        // Rows 0 and 1 (each 100 px tall with a 3 px joint below).
        const auto row0 = Joints(JointProfile(laid->texture, 20, 80));
        const auto row1 = Joints(JointProfile(laid->texture, 123, 183));
        ASSERT_GE(row0.size(), 2u);
        ASSERT_GE(row1.size(), 2u);
        double shift = std::fmod(row1[0].centre - row0[0].centre + 10 * pitchPx, pitchPx);
        EXPECT_NEAR(shift, share * pitchPx, 0.05) << LayoutName(layout).toStdString();
    }
    const auto seamless = CAreaPattern::Lay(area, WhitePieces(ELayout::Straight, 40, 10, 0));
    ASSERT_TRUE(seamless);
    // Pieces meeting edge to edge on whole pixels leave no joint colour.
    for (double v : JointProfile(seamless->texture, 0, seamless->texture.height() - 2))
        EXPECT_LT(v, 0.02);
}

TEST(AreaPattern, TheSameSeedLaysTheSamePictureAndAnotherSeedAnother)
{
    CArea area = FlatArea(0, 0, 800, 600, 4);
    CLayingPattern p = WhitePieces(ELayout::RandomOffset, 90, 15, 2);
    p.variants.clear();
    for (quint32 s = 1; s <= 4; ++s)
        p.variants.push_back(PieceFromImage(Noisy(180, 30, s)));
    p.seed = 5;
    const auto a = CAreaPattern::Lay(area, p), b = CAreaPattern::Lay(area, p);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->texture, b->texture);
    p.seed = 6;
    const auto c = CAreaPattern::Lay(area, p);
    ASSERT_TRUE(c);
    EXPECT_NE(a->texture, c->texture);
}

// The normalised autocorrelation of the picture's grey at a shift of dx.
double Autocorrelation(const QImage& image, int dx)
{
    double mean = 0;
    const int w = image.width(), h = image.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            mean += qRed(image.pixel(x, y));
    mean /= double(w) * h;
    double num = 0, den = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x + dx < w; ++x) {
            const double a = qRed(image.pixel(x, y)) - mean, b = qRed(image.pixel(x + dx, y)) - mean;
            num += a * b;
            den += (a * a + b * b) / 2;
        }
    return num / den;
}

TEST(AreaPattern, FourVariantsBreakTheRepeatThatOneImageShows)
{
    // 20 cm tiles with no joint at 5 px a cm: the repeat is 100 px.
    CArea area = FlatArea(0, 0, 1500, 1000, 5);
    CLayingPattern p = WhitePieces(ELayout::Straight, 20, 20, 0);
    p.variants = {PieceFromImage(Noisy(100, 100, 11))};
    p.turn180 = false;
    const auto one = CAreaPattern::Lay(area, p);
    ASSERT_TRUE(one);
    EXPECT_GT(Autocorrelation(one->texture, 100), 0.9);

    p.variants.clear();
    for (quint32 s = 21; s <= 24; ++s)
        p.variants.push_back(PieceFromImage(Noisy(100, 100, s)));
    p.turn180 = true;
    const auto four = CAreaPattern::Lay(area, p);
    ASSERT_TRUE(four);
    const double peak = Autocorrelation(four->texture, 100);
    EXPECT_LE(peak, 0.3);
    RecordProperty("autocorrelation", std::to_string(peak));
}

TEST(AreaPattern, BalancedOriginLeavesNoCutPieceNarrowerThanAThird)
{
    // 250 x 130 cm: from the corner 60 x 40 cm tiles leave slivers of
    // about a sixth and a quarter.
    CArea area = FlatArea(0, 0, 2500, 1300, 10);
    CLayingPattern p = WhitePieces(ELayout::Straight, 60, 40, 2);
    const auto corner = CAreaPattern::Lay(area, p);
    ASSERT_TRUE(corner);
    EXPECT_LT(corner->result.smallestCut, 1.0 / 3);
    p.origin = EPatternOrigin::Balanced;
    const auto balanced = CAreaPattern::Lay(area, p);
    ASSERT_TRUE(balanced);
    EXPECT_GE(balanced->result.smallestCut, 1.0 / 3);
    EXPECT_GT(balanced->result.cut, 0);
    // 250 / 60.2 and 130 / 40.2 pitches: the count of pieces that show.
    EXPECT_GE(balanced->result.laid, 5 * 4);
    EXPECT_LE(balanced->result.laid, 6 * 5);
}

TEST(AreaPattern, CutsAreCountedAgainstTheOutlineNotItsBounds)
{
    // An L: the notch cuts pieces its bounds would leave whole.
    CArea area = FlatArea(0, 0, 1000, 1000, 10);
    const CPolygon ell{{{{0, 0}, {1000, 0}, {1000, 450}, {450, 450}, {450, 1000}, {0, 1000}}}};
    area.SetOutline(&ell);
    const auto laid = CAreaPattern::Lay(area, WhitePieces(ELayout::Straight, 30, 30, 0));
    ASSERT_TRUE(laid);
    // Whole tiles: 3 x 3 in the 100 cm square... counted by hand: the L
    // holds 10x10 cells less the 55x55 cm notch; cells of 30 cm at 0, 30,
    // 60, 90: columns 0..3 and rows 0..3, less those wholly in the notch.
    int laidByHand = 0, cutByHand = 0;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const double x0 = c * 30, y0 = r * 30, x1 = std::min(100.0, x0 + 30), y1 = std::min(100.0, y0 + 30);
            const bool inNotch = x0 >= 45 && y0 >= 45;
            if (inNotch)
                continue;
            ++laidByHand;
            const bool whole = x1 - x0 == 30 && y1 - y0 == 30 && !(x1 > 45 && y1 > 45);
            cutByHand += whole ? 0 : 1;
        }
    EXPECT_EQ(laid->result.laid, laidByHand);
    EXPECT_EQ(laid->result.cut, cutByHand);
    // The narrowest: the 10 cm strip along the far edges, a third of a tile.
    EXPECT_NEAR(laid->result.smallestCut, 10.0 / 30, 1e-6);
}

TEST(AreaPattern, WithoutAReferenceThePiecesLieAtTheirImagesScale)
{
    CArea area = FlatArea(0, 0, 600, 300, 10);
    area.SetRealSize({});
    area.SetScale(0.5);
    CLayingPattern p = WhitePieces(ELayout::Straight, 30, 15, 0); // 600 x 300 px images: 20 px a cm
    const auto laid = CAreaPattern::Lay(area, p);
    ASSERT_TRUE(laid);
    EXPECT_FALSE(laid->result.realScale);
    // A flat area draws one texture pixel to one picture pixel at most.
    EXPECT_DOUBLE_EQ(laid->result.pxPerCm * laid->scale, 0.5 * 20);

    CArea applied = FlatArea(0, 0, 600, 300, 10);
    const auto result = CAreaPattern::Apply(applied, p);
    ASSERT_TRUE(result);
    ASSERT_NE(applied.GetPattern(), nullptr);
    EXPECT_EQ(*applied.GetPattern(), p);
    EXPECT_EQ(applied.GetRotation(), 0.0);
    // The texture's real width is what the reference then makes of it.
    EXPECT_NEAR(applied.GetRealSize().textureWidthCm * result->pxPerCm, applied.GetTexture()->width(), 1e-6);
    // A texture of its own replaces the pattern.
    const QImage other = Plain(8, 8, 0xFF336699);
    applied.SetTexture(&other);
    EXPECT_EQ(applied.GetPattern(), nullptr);
}

TEST(AreaPattern, UnusablePatternsAndAreasLayNothing)
{
    CArea area = FlatArea(0, 0, 600, 300, 10);
    CLayingPattern p = WhitePieces(ELayout::Straight, 30, 15, 0);
    CLayingPattern noPieces = p;
    noPieces.variants.clear();
    EXPECT_FALSE(CAreaPattern::Lay(area, noPieces));
    CLayingPattern noSize = p;
    noSize.widthCm = 0;
    EXPECT_FALSE(CAreaPattern::Lay(area, noSize));
    CArea empty;
    EXPECT_FALSE(CAreaPattern::Lay(empty, p));
    // Corners all in one point make no plane to lay on.
    CArea flatCorners = area;
    flatCorners.SetSkewApplied(true);
    flatCorners.GetSkewCorners() = {QPoint(5, 5), QPoint(5, 5), QPoint(5, 5), QPoint(5, 5)};
    EXPECT_FALSE(CAreaPattern::Lay(flatCorners, p));
}

TEST(AreaPattern, APerspectiveFloorIsLaidOverItsCanvasAtTheReferencesScale)
{
    // A floor seen in perspective: its back edge shorter than its front.
    CArea area;
    area.SetName("Floor");
    const CPolygon outline{{{{300, 200}, {700, 200}, {950, 600}, {50, 600}}}};
    area.SetOutline(&outline);
    area.GetSkewCorners() = {QPoint(300, 200), QPoint(700, 200), QPoint(50, 600), QPoint(950, 600)};
    area.SetInitialRect({0, 0, 800, 800});
    area.SetPerspective(true);
    area.SetSkewApplied(true);
    CRealSize real;
    real.reference = QLineF(50, 600, 950, 600); // the front edge: 4 m
    real.referenceCm = 400;
    area.SetRealSize(real);
    CLayingPattern p = WhitePieces(ELayout::Herringbone, 60, 10, 2);
    const auto result = CAreaPattern::Apply(area, p);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->realScale);
    // The real-size scale the Real Size dialog would set for this texture,
    // worked out through the plane from the reference line, is the one laid.
    const auto scale = RealSizeScale(area);
    ASSERT_TRUE(scale);
    EXPECT_NEAR(area.GetScale() / *scale, 1.0, 1e-9);
    // The texture covers the whole canvas the outline maps onto, without
    // repeating: the outline's corners are the canvas's.
    const QImage* texture = area.GetTexture();
    EXPECT_LE(area.GetShiftX(), 0);
    EXPECT_LE(area.GetShiftY(), 0);
    EXPECT_GE(area.GetShiftX() + texture->width() * area.GetScale(), 800 - 1e-6);
    EXPECT_GE(area.GetShiftY() + texture->height() * area.GetScale(), 800 - 1e-6);
    EXPECT_LE(double(texture->width()) * texture->height(), CAreaPattern::kMaxTexturePixels);
    EXPECT_GT(result->laid, 100);
}

} // namespace
