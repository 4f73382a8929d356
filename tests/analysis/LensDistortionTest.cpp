#include "analysis/LensDistortion.h"
#include "analysis/LineRefiner.h"

#include <QImage>
#include <QPainter>

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const QSize kPicture(1600, 1200);

TEST(LensDistortion, DistortUndoesUndistort)
{
    for (double k : {-0.25, -0.06, 0.0, 0.08}) {
        const CLensDistortion lens(k, kPicture);
        for (const QPointF p : {QPointF(0, 0), QPointF(800, 600), QPointF(1590, 30), QPointF(400, 1100)}) {
            const QPointF back = lens.Distort(lens.Undistort(p));
            EXPECT_NEAR(back.x(), p.x(), 1e-6) << k;
            EXPECT_NEAR(back.y(), p.y(), 1e-6) << k;
        }
    }
}

// Straight lines of a room seen through a lens of bend k: each line broken
// into the nearly straight pieces a line finder gives of a bent edge.
std::vector<CLineSegment> BentLines(double k)
{
    const CLensDistortion lens(k, kPicture);
    std::vector<CLineSegment> pieces;
    const auto line = [&](QPointF a, QPointF b) {
        constexpr int kPieces = 6;
        for (int i = 0; i < kPieces; ++i) {
            // A small gap between pieces, as where a bend breaks an edge.
            const QPointF p = a + (b - a) * ((i + 0.03) / kPieces), q = a + (b - a) * ((i + 0.97) / kPieces);
            pieces.push_back({lens.Distort(p), lens.Distort(q)});
        }
    };
    for (int i = 0; i < 4; ++i) {
        line(QPointF(60 + 60 * i, 40), QPointF(1540 - 40 * i, 90 + 20 * i));       // near the top
        line(QPointF(50, 1150 - 50 * i), QPointF(1550, 1100 - 70 * i));           // near the bottom
        line(QPointF(70 + 40 * i, 60), QPointF(110 + 30 * i, 1140));              // down the left
        line(QPointF(1520 - 50 * i, 80), QPointF(1480 - 20 * i, 1150));           // down the right
    }
    // Texture: short edges of every direction, which say nothing.
    for (int i = 0; i < 60; ++i) {
        const QPointF c(300 + (i * 137) % 1000, 300 + (i * 71) % 600);
        const double a = i * 2.399;
        pieces.push_back({c, c + QPointF(std::cos(a), std::sin(a)) * 45.0});
    }
    return pieces;
}

TEST(LensDistortion, FindsTheBendOfAWideLensAndNoneWithout)
{
    for (double k : {-0.12, -0.05}) {
        const CLensDistortion found = CLensDistortion::Estimate(BentLines(k), kPicture);
        EXPECT_NEAR(found.K(), k, 0.2 * std::fabs(k)) << k;
    }
    EXPECT_EQ(CLensDistortion::Estimate(BentLines(0.0), kPicture).K(), 0.0);
}

// An edge at a known place in a large picture, drawn smooth; the segment
// found on a copy a fifth of the size is a pixel of that copy off.
TEST(LineRefiner, MovesAReducedCopysSegmentOntoTheFullSizeEdge)
{
    cv::Mat grey(2000, 3000, CV_8UC1, cv::Scalar(60));
    const QPointF a(200.3, 400.7), b(2800.6, 1500.2);
    // Bright on one side of the line, with a soft edge of about a pixel.
    const double nx = -(b.y() - a.y()), ny = b.x() - a.x(), n = std::hypot(nx, ny);
    for (int y = 0; y < grey.rows; ++y)
        for (int x = 0; x < grey.cols; ++x) {
            const double d = ((x - a.x()) * nx + (y - a.y()) * ny) / n;
            grey.at<uchar>(y, x) = static_cast<uchar>(60 + 140 / (1 + std::exp(-2.5 * d)));
        }
    const CLineSegment rough{a + QPointF(3, -2.5), b + QPointF(-1, 4)};
    const auto refined = CLineRefiner::Refine(grey, rough, 1.5 * 5 + 1);
    ASSERT_TRUE(refined);
    for (const QPointF p : {refined->a, refined->b}) {
        const double d = ((p.x() - a.x()) * nx + (p.y() - a.y()) * ny) / n;
        EXPECT_LT(std::fabs(d), 0.05);
    }
    // Nothing to find on a plain picture.
    EXPECT_FALSE(CLineRefiner::Refine(cv::Mat(500, 500, CV_8UC1, cv::Scalar(90)),
                                      CLineSegment{QPointF(10, 10), QPointF(400, 300)}, 5));
}

} // namespace
