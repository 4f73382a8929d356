#include "analysis/MaskOutline.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// The polygon filled by the even-odd rule at pixel centres, written from
// scratch: a pixel is inside when a ray from its centre to the left crosses
// an odd number of edges.
CRegionMask Rasterise(const CPolygon& polygon, int w, int h)
{
    CRegionMask mask(w, h);
    for (int y = 0; y < h; ++y) {
        const double cy = y + 0.5;
        std::vector<double> crossings;
        for (const CContour& c : polygon.contours)
            for (std::size_t i = 0; i < c.size(); ++i) {
                const QPointF a = c[i], b = c[(i + 1) % c.size()];
                if ((a.y() <= cy) != (b.y() <= cy))
                    crossings.push_back(a.x() + (cy - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
            }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
            for (int x = 0; x < w; ++x)
                if (x + 0.5 > crossings[i] && x + 0.5 < crossings[i + 1])
                    mask.Row(y)[x] = 1;
    }
    return mask;
}

// Parts of the region (8-connected) and its holes (4-connected parts of
// the outside not reaching the picture's edge), counted by OpenCV.
int PartsAndHoles(const CRegionMask& mask)
{
    cv::Mat in(mask.height, mask.width, CV_8U, const_cast<std::uint8_t*>(mask.bits.data()));
    cv::Mat inside = in != 0;
    cv::Mat padded;
    cv::copyMakeBorder(inside, padded, 1, 1, 1, 1, cv::BORDER_CONSTANT, 0);
    cv::Mat labels;
    const int parts = cv::connectedComponents(inside, labels, 8) - 1;
    // With a border of outside, every outside part but the one around the
    // picture is a hole.
    const int outsideParts = cv::connectedComponents(padded == 0, labels, 4) - 1;
    return parts + outsideParts - 1;
}

void ExpectExactOutline(const CRegionMask& mask)
{
    const CPolygon polygon = MaskOutline(mask);
    EXPECT_EQ(Rasterise(polygon, mask.width, mask.height).bits, mask.bits);
    EXPECT_EQ(int(polygon.contours.size()), PartsAndHoles(mask));
    for (const CContour& c : polygon.contours) {
        ASSERT_GE(c.size(), 4u);
        ASSERT_EQ(c.size() % 2, 0u);
        for (std::size_t i = 0; i < c.size(); ++i) {
            const QPointF a = c[i], b = c[(i + 1) % c.size()], n = c[(i + 2) % c.size()];
            ASSERT_EQ(a.x(), std::floor(a.x()));
            ASSERT_EQ(a.y(), std::floor(a.y()));
            // Axis-parallel edges that turn at every vertex: no vertex in
            // the middle of a straight stretch.
            ASSERT_TRUE((a.x() == b.x()) != (a.y() == b.y()));
            ASSERT_TRUE((a.x() == b.x()) != (b.x() == n.x()));
        }
    }
}

CRegionMask FromRows(const std::vector<const char*>& rows)
{
    CRegionMask mask(int(std::strlen(rows[0])), int(rows.size()));
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            mask.Row(y)[x] = rows[y][x] == '#';
    return mask;
}

TEST(MaskOutline, ShapesWithCornersHolesAndEdges)
{
    ExpectExactOutline(FromRows({"#"}));
    ExpectExactOutline(FromRows({"."}));
    ExpectExactOutline(FromRows({"####", "####"}));
    // Pixels meeting at corners only, both ways, and a ring around a hole
    // with an island in it.
    ExpectExactOutline(FromRows({"#.#.", ".#.#", "#.#.", ".#.#"}));
    ExpectExactOutline(FromRows({"#####.", "#...#.", "#.#.#.", "#...##", "#####.", "......"}));
    ExpectExactOutline(FromRows({"##..", "##..", "..##", "..##"}));
    ExpectExactOutline(FromRows({"..##", "..##", "##..", "##.."}));

    // A square with a unit hole: four vertices each, and exactly its area.
    const CPolygon ring = MaskOutline(FromRows({"###", "#.#", "###"}));
    ASSERT_EQ(ring.contours.size(), 2u);
    EXPECT_EQ(ring.contours[0].size(), 4u);
    EXPECT_EQ(ring.contours[1].size(), 4u);
}

TEST(MaskOutline, RandomBlobsMatchTheirRaster)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 30; ++trial) {
        const int w = 1 + int(random() % 90), h = 1 + int(random() % 70);
        // Thresholded smoothed noise: blobs with holes, touching corners
        // and the picture's edges, at densities from sparse to nearly full.
        cv::Mat noise(h, w, CV_32F);
        cv::randu(noise, 0.0f, 1.0f);
        cv::GaussianBlur(noise, noise, cv::Size(0, 0), 0.5 + trial % 4);
        const double level = cv::mean(noise)[0] + (int(random() % 11) - 5) * 0.01;
        CRegionMask mask(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                mask.Row(y)[x] = noise.at<float>(y, x) > level ? 1 : 0;
        SCOPED_TRACE(trial);
        ExpectExactOutline(mask);
    }
}

} // namespace
