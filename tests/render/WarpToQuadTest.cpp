#include "render/WarpToQuad.h"
#include "render/WarpReference.h"

#include <gtest/gtest.h>

#include <QString>

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

namespace
{

using Corners = std::array<QPoint, 4>;

// Corners in the warp's order from the area's order (TL, TR, BL, BR).
Corners FromArea(QPoint tl, QPoint tr, QPoint bl, QPoint br)
{
    return {br, tr, tl, bl};
}

// Every texel different and none black, so any misplaced sample shows.
QImage Pattern(int w, int h, std::uint32_t seed = 1)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t v = (std::uint32_t(x) * 73856093u) ^ (std::uint32_t(y) * 19349663u) ^ seed;
            v *= 2654435761u;
            image.setPixel(x, y, qRgb(int(v >> 24) | 1, int(v >> 16) & 0xFF, int(v >> 8) & 0xFF));
        }
    return image;
}

// First differing pixel, or empty when the images are equal.
std::string Difference(const QImage& a, const QImage& b)
{
    if (a.isNull() != b.isNull())
        return "one image is null";
    if (a.size() != b.size())
        return QStringLiteral("size %1x%2 vs %3x%4")
            .arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height()).toStdString();
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("pixel (%1,%2): %3 vs %4")
                    .arg(x).arg(y).arg(a.pixel(x, y), 8, 16).arg(b.pixel(x, y), 8, 16).toStdString();
    return {};
}

struct Case
{
    const char* name;
    Corners corners;
};

Corners Rotated(double degrees, QPoint centre, int halfW, int halfH)
{
    const double r = degrees * M_PI / 180.0;
    const auto at = [&](int x, int y) {
        return QPoint(centre.x() + int(std::lround(x * std::cos(r) - y * std::sin(r))),
                      centre.y() + int(std::lround(x * std::sin(r) + y * std::cos(r))));
    };
    return FromArea(at(-halfW, -halfH), at(halfW, -halfH), at(-halfW, halfH), at(halfW, halfH));
}

const std::vector<Case>& Quadrilaterals()
{
    static const std::vector<Case> cases = {
        {"axis rectangle", FromArea({0, 0}, {10, 0}, {0, 5}, {10, 5})},
        {"perspective", FromArea({3, 2}, {60, 10}, {0, 45}, {70, 50})},
        {"strong perspective", FromArea({40, 0}, {60, 0}, {0, 80}, {100, 80})},
        {"rotated 30", Rotated(30, {50, 40}, 35, 20)},
        {"rotated 135", Rotated(135, {0, 0}, 25, 40)},
        {"twisted", FromArea({0, 0}, {50, 40}, {0, 40}, {50, 0})},
        {"bow tie", FromArea({0, 0}, {40, 0}, {40, 30}, {0, 30})},
        {"all equal", FromArea({5, 7}, {5, 7}, {5, 7}, {5, 7})},
        {"collinear diagonal", FromArea({0, 0}, {10, 10}, {20, 20}, {30, 30})},
        {"zero width", FromArea({4, 0}, {4, 0}, {4, 30}, {4, 30})},
        {"zero height", FromArea({0, 9}, {30, 9}, {0, 9}, {30, 9})},
        {"triangle", FromArea({0, 0}, {30, 0}, {0, 0}, {0, 30})},
        {"negative", FromArea({-50, -40}, {-5, -35}, {-45, -2}, {-1, -8})},
        {"straddling origin", FromArea({-20, -10}, {25, -12}, {-18, 14}, {22, 16})},
        {"near int max", FromArea({INT_MAX - 40, INT_MAX - 30}, {INT_MAX, INT_MAX - 33},
                                  {INT_MAX - 38, INT_MAX - 2}, {INT_MAX - 1, INT_MAX})},
        {"near int min", FromArea({INT_MIN, INT_MIN + 3}, {INT_MIN + 33, INT_MIN},
                                  {INT_MIN + 2, INT_MIN + 25}, {INT_MIN + 30, INT_MIN + 29})},
        {"one pixel", FromArea({0, 0}, {1, 0}, {0, 1}, {1, 1})},
        {"thin sliver", FromArea({0, 0}, {90, 3}, {0, 1}, {90, 4})},
    };
    return cases;
}

const std::vector<QSize>& Sources()
{
    static const std::vector<QSize> sizes = {{1, 1}, {7, 5}, {3, 120}, {120, 3}, {64, 48}, {257, 190}};
    return sizes;
}

} // namespace

TEST(WarpToQuad, MatchesReferenceOnVariedQuadrilateralsAndThreadCounts)
{
    for (const Case& quad : Quadrilaterals())
        for (const QSize& size : Sources()) {
            const QImage source = Pattern(size.width(), size.height());
            const QImage expected = ReferenceWarpToQuad(source, quad.corners);
            ASSERT_FALSE(expected.isNull()) << quad.name;
            for (int threads : {1, 2, 3, 0})
                for (bool portable : {false, true}) {
                    const QImage actual = WarpToQuad(source, quad.corners, {threads, portable});
                    EXPECT_EQ(Difference(actual, expected), std::string())
                        << quad.name << ", source " << size.width() << "x" << size.height()
                        << ", threads " << threads << (portable ? ", portable" : "");
                }
        }
}

TEST(WarpToQuad, MatchesReferenceOnLargeSkewedJob)
{
    // Big enough for the automatic thread choice to split the work, skewed
    // so that grid rows cross the band boundaries.
    const QImage source = Pattern(400, 300, 7);
    for (const Corners& corners :
         {FromArea({0, 0}, {800, 40}, {30, 600}, {780, 560}),
          Rotated(40, {0, 0}, 350, 260), FromArea({300, 0}, {900, 500}, {0, 350}, {500, 700})}) {
        const QImage expected = ReferenceWarpToQuad(source, corners);
        EXPECT_EQ(Difference(WarpToQuad(source, corners), expected), std::string());
        EXPECT_EQ(Difference(WarpToQuad(source, corners, {2, true}), expected), std::string());
    }
}

TEST(WarpToQuad, MatchesReferenceWithOverAMillionSamplesPerGridRow)
{
    // A tall sliver: U is over a million, more than the warp keeps its
    // per-column tables for, so they are rebuilt chunk by chunk.
    const QImage source = Pattern(6, 40, 11);
    const Corners corners = FromArea({0, 0}, {2, 0}, {5, 270000}, {7, 270000});
    const QImage expected = ReferenceWarpToQuad(source, corners);
    ASSERT_EQ(expected.size(), QSize(8, 270001));
    EXPECT_EQ(Difference(WarpToQuad(source, corners, {1, false}), expected), std::string());
    EXPECT_EQ(Difference(WarpToQuad(source, corners, {2, true}), expected), std::string());
}

TEST(WarpToQuad, AxisRectangleCoversEveryPixelTurnedBy180)
{
    const Corners corners = FromArea({0, 0}, {10, 0}, {0, 5}, {10, 5});
    // 40 x 20 texels: one texel column per grid row (V = 40), one texel row
    // per grid column (U = 20).
    QImage source = Pattern(40, 20);
    // Blue values of texel column 0, rows 1..4, all of which land in output
    // pixel (10, 4): stepwise truncation gives 3, 1, 1, 1 where the plain
    // mean would give 2.
    const int blues[] = {3, 0, 3, 3};
    for (int row = 1; row <= 4; ++row)
        source.setPixel(0, row, qRgb(9, 9, blues[row - 1]));

    const QImage out = WarpToQuad(source, corners);
    ASSERT_EQ(out.size(), QSize(11, 6));
    EXPECT_EQ(out.format(), QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            EXPECT_NE(out.pixel(x, y), 0xFF000000u) << x << "," << y;

    // Turned by 180 degrees: the top-left corner's texel ends bottom-right,
    // alone in its pixel.
    EXPECT_EQ(out.pixel(10, 5), source.pixel(0, 0));
    EXPECT_EQ(out.pixel(10, 4), qRgb(9, 9, 1));
    EXPECT_EQ(Difference(out, ReferenceWarpToQuad(source, corners)), std::string());
}

TEST(WarpToQuad, DegenerateCornersGiveBlackBoxes)
{
    const QImage source = Pattern(16, 16);
    const QImage single = WarpToQuad(source, FromArea({3, 4}, {3, 4}, {3, 4}, {3, 4}));
    ASSERT_EQ(single.size(), QSize(1, 1));
    EXPECT_EQ(single.pixel(0, 0), 0xFF000000u);

    // No height means no grid columns, so not a single sample.
    const QImage flat = WarpToQuad(source, FromArea({0, 2}, {500, 2}, {0, 2}, {500, 2}));
    ASSERT_EQ(flat.size(), QSize(501, 1));
    for (int x = 0; x < flat.width(); ++x)
        ASSERT_EQ(flat.pixel(x, 0), 0xFF000000u) << x;
}

TEST(WarpToQuad, EmptySourceGivesBlackBox)
{
    const Corners corners = FromArea({0, 0}, {10, 0}, {0, 5}, {10, 5});
    for (const QImage& empty : {QImage(), QImage(0, 0, QImage::Format_RGB32)}) {
        const QImage out = WarpToQuad(empty, corners);
        ASSERT_EQ(out.size(), QSize(11, 6));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 11; ++x)
                EXPECT_EQ(out.pixel(x, y), 0xFF000000u);
    }
}

TEST(WarpToQuad, OtherSourceFormatsAreReadAsRgb)
{
    const QImage source = Pattern(50, 30, 3);
    const Corners corners = FromArea({2, 1}, {40, 5}, {0, 33}, {45, 30});
    const QImage expected = WarpToQuad(source, corners);
    EXPECT_EQ(Difference(WarpToQuad(source.convertToFormat(QImage::Format_ARGB32), corners),
                         expected),
              std::string());
    EXPECT_EQ(Difference(WarpToQuad(source.convertToFormat(QImage::Format_RGB888), corners),
                         expected),
              std::string());
}

TEST(WarpToQuad, RefusesOversizedJobs)
{
    const QImage source = Pattern(8, 8);
    // Bounding box wider than any int difference.
    EXPECT_TRUE(WarpToQuad(source, FromArea({INT_MIN, 0}, {INT_MAX, 0}, {INT_MIN, 1}, {INT_MAX, 1}))
                    .isNull());
    EXPECT_TRUE(WarpToQuad(source, FromArea({INT_MIN, INT_MIN}, {INT_MAX, INT_MIN},
                                            {INT_MIN, INT_MAX}, {INT_MAX, INT_MAX}))
                    .isNull());
    // Just over the pixel limit: 20000 x 10001.
    EXPECT_TRUE(WarpToQuad(source, FromArea({0, 0}, {19999, 0}, {0, 10000}, {19999, 10000}))
                    .isNull());
    // Within the pixel limit (144 million) but 48000 x 48000 samples.
    EXPECT_TRUE(WarpToQuad(source, FromArea({0, 0}, {12000, 0}, {0, 12000}, {12000, 12000}))
                    .isNull());
    // A long thin quad passes both limits and is drawn.
    const QImage thin = WarpToQuad(source, FromArea({0, 0}, {3000, 0}, {0, 1}, {3000, 1}));
    EXPECT_EQ(thin.size(), QSize(3001, 2));
}
