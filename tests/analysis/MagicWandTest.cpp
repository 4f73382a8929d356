#include "analysis/MagicWand.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <random>

namespace {

// The wand's distance worked out independently: OpenCV's floating-point
// L*a*b* conversion, lightness counted half, in Delta E units.
double Difference(QRgb p, QRgb q)
{
    cv::Mat rgb(1, 2, CV_32FC3);
    rgb.at<cv::Vec3f>(0, 0) = cv::Vec3f(qRed(p), qGreen(p), qBlue(p)) / 255.0f;
    rgb.at<cv::Vec3f>(0, 1) = cv::Vec3f(qRed(q), qGreen(q), qBlue(q)) / 255.0f;
    cv::Mat lab;
    cv::cvtColor(rgb, lab, cv::COLOR_RGB2Lab);
    const cv::Vec3f a = lab.at<cv::Vec3f>(0, 0), b = lab.at<cv::Vec3f>(0, 1);
    return std::hypot((a[0] - b[0]) / 2, a[1] - b[1], a[2] - b[2]);
}

cv::Mat AsMat(CRegionMask& mask)
{
    return cv::Mat(mask.height, mask.width, CV_8U, mask.bits.data());
}

// A picture of random palette colours in blotches: the palette keeps every
// colour clear of the tolerance's edge, so rounding cannot decide a pixel.
struct SPalettePicture
{
    QImage image;
    CRegionMask similar; // pixels within the tolerance of the seed's colour
};

SPalettePicture MakePicture(int w, int h, QPoint seed, int tolerance, unsigned salt)
{
    std::mt19937 random(salt);
    const QRgb seedColour = qRgb(150, 120, 90);
    std::vector<QRgb> palette{seedColour};
    while (palette.size() < 8) {
        const QRgb c = qRgb(int(150 + int(random() % 61) - 30), int(120 + int(random() % 61) - 30),
                            int(90 + int(random() % 61) - 30));
        if (std::abs(Difference(c, seedColour) - tolerance / 2.0) > 1.5)
            palette.push_back(c);
    }
    cv::Mat noise(h, w, CV_32F);
    cv::randu(noise, 0.0f, 1.0f);
    cv::GaussianBlur(noise, noise, cv::Size(0, 0), 1.5);
    cv::normalize(noise, noise, 0, palette.size() - 0.001, cv::NORM_MINMAX);
    SPalettePicture out{QImage(w, h, QImage::Format_RGB32), CRegionMask(w, h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = QPoint(x, y) == seed ? seedColour : palette[std::size_t(noise.at<float>(y, x))];
            out.image.setPixel(x, y, c);
            out.similar.Row(y)[x] = Difference(c, seedColour) <= tolerance / 2.0;
        }
    return out;
}

TEST(MagicWand, MatchesOpenCvFillOfTheSimilarPixels)
{
    for (unsigned salt = 1; salt <= 6; ++salt) {
        SCOPED_TRACE(salt);
        const QPoint seed(37, 23);
        const int tolerance = 10 + int(salt) * 7;
        SPalettePicture picture = MakePicture(120, 80, seed, tolerance, salt);
        const CMagicWand wand(picture.image);

        // Global: exactly the similar pixels.
        EXPECT_EQ(wand.Select(seed, {tolerance, false, 0}).bits, picture.similar.bits);

        // Contiguous: OpenCV's 8-connected flood fill of those pixels.
        CRegionMask filled = picture.similar;
        cv::Mat mat = AsMat(filled);
        cv::floodFill(mat, cv::Point(seed.x(), seed.y()), 2, nullptr, 0, 0, 8);
        for (std::uint8_t& b : filled.bits)
            b = b == 2;
        const CRegionMask region = wand.Select(seed, {tolerance, true, 0});
        EXPECT_EQ(region.bits, filled.bits);

        // Specks: OpenCV's connected parts with their sizes, islands
        // 8-connected, then holes 4-connected.
        const int speck = 12;
        CRegionMask expected = filled;
        cv::Mat labels, stats, centroids;
        cv::Mat inside = AsMat(expected) != 0;
        cv::connectedComponentsWithStats(inside, labels, stats, centroids, 8);
        const int kept = labels.at<int>(seed.y(), seed.x());
        for (int y = 0; y < expected.height; ++y)
            for (int x = 0; x < expected.width; ++x) {
                const int l = labels.at<int>(y, x);
                if (expected.Row(y)[x] && l != kept && stats.at<int>(l, cv::CC_STAT_AREA) < speck)
                    expected.Row(y)[x] = 0;
            }
        cv::Mat outside = AsMat(expected) == 0;
        cv::connectedComponentsWithStats(outside, labels, stats, centroids, 4);
        for (int y = 0; y < expected.height; ++y)
            for (int x = 0; x < expected.width; ++x)
                if (!expected.Row(y)[x] && stats.at<int>(labels.at<int>(y, x), cv::CC_STAT_AREA) < speck)
                    expected.Row(y)[x] = 1;
        EXPECT_EQ(wand.Select(seed, {tolerance, true, speck}).bits, expected.bits);
        EXPECT_EQ(wand.Select(seed, {tolerance, false, speck}).Count() >= expected.Count(), true);
    }
}

TEST(MagicWand, ShadingStaysInAndTheSkirtingStaysOut)
{
    // A beige wall lit from the left (lightness falling by about 20 L*
    // units over its width), a white skirting board below it, and a pale
    // grey door frame of about the wall's lightness.
    QImage room(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const double light = 1.0 - 0.25 * x / 199.0;
            QRgb c = qRgb(int(215 * light), int(195 * light), int(165 * light));
            if (y >= 85)
                c = qRgb(245, 245, 240);
            else if (x >= 180)
                c = qRgb(185, 185, 190);
            room.setPixel(x, y, c);
        }
    const CMagicWand wand(room);
    const CRegionMask wall = wand.Select(QPoint(5, 40), SWandOptions());
    EXPECT_EQ(wall.Count(), 180u * 85u);
    EXPECT_TRUE(wall.Contains(179, 84));
    EXPECT_FALSE(wall.Contains(180, 10));
    EXPECT_FALSE(wall.Contains(10, 85));
}

TEST(MagicWand, ToleranceEndsAlphaAndBadSeeds)
{
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(qRgba(100, 100, 100, 255));
    for (int x = 0; x < 40; ++x)
        picture.setPixel(x, 10, qRgba(101, 100, 100, 255)); // one unit off, across the picture
    for (int y = 20; y < 30; ++y)
        for (int x = 0; x < 10; ++x)
            picture.setPixel(x, y, qRgba(0, 0, 0, 0)); // a transparent corner
    const CMagicWand wand(picture);
    const SWandOptions exact{0, true, 0};
    EXPECT_EQ(wand.Select(QPoint(5, 5), exact).Count(), 40u * 10u);
    EXPECT_EQ(wand.Select(QPoint(5, 5), {0, false, 0}).Count(), 40u * 30u - 40u - 100u);
    EXPECT_EQ(wand.Select(QPoint(5, 25), exact).Count(), 100u);
    EXPECT_EQ(wand.Select(QPoint(5, 25), {255, true, 0}).Count(), 40u * 30u);
    // A small tolerance steps over the one-unit line but not into the
    // transparent corner.
    EXPECT_EQ(wand.Select(QPoint(5, 5), {4, true, 0}).Count(), 40u * 30u - 100u);
    EXPECT_EQ(wand.Select(QPoint(5, 25), {4, true, 16}).Count(), 100u);

    EXPECT_EQ(wand.Select(QPoint(-1, 5), exact).width, 0);
    EXPECT_EQ(wand.Select(QPoint(40, 5), exact).width, 0);
    EXPECT_EQ(CMagicWand(QImage()).Select(QPoint(0, 0), exact).width, 0);
    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(Qt::red);
    EXPECT_EQ(CMagicWand(one).Select(QPoint(0, 0), SWandOptions()).Count(), 1u);
}

} // namespace
