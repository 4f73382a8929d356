#include "analysis/EdgeRefiner.h"
#include "analysis/SurfaceFinder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

namespace {

QImage Room(const char* name)
{
    return QImage(QStringLiteral(TILEMONT_ROOMS "/") + QLatin1String(name) + QStringLiteral(".jpg"));
}

CRegionMask Floor(const char* name)
{
    const QImage image = QImage(QStringLiteral(TILEMONT_ROOMS "/") + QLatin1String(name) +
                                QStringLiteral("-floor.png")).convertToFormat(QImage::Format_Grayscale8);
    CRegionMask mask(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            mask.Row(y)[x] = image.constScanLine(y)[x] ? 1 : 0;
    return mask;
}

double IoU(const CRegionMask& a, const CRegionMask& b)
{
    std::size_t both = 0, either = 0;
    for (std::size_t i = 0; i < a.bits.size(); ++i) {
        both += a.bits[i] && b.bits[i];
        either += a.bits[i] || b.bits[i];
    }
    return either ? double(both) / double(either) : 1.0;
}

// A region drawn roughly: the true one grown by some pixels on every side.
CRegionMask Grown(const CRegionMask& mask, int by)
{
    CRegionMask out(mask.width, mask.height);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            bool near = false;
            for (int dy = -by; dy <= by && !near; ++dy)
                for (int dx = -by; dx <= by && !near; ++dx)
                    near = dx * dx + dy * dy <= by * by && mask.Contains(x + dx, y + dy);
            out.Row(y)[x] = near;
        }
    return out;
}

TEST(EdgeRefiner, SnapsARoughOutlineToTheFloorAndKeepsWhatLiesFarFromIt)
{
    const QImage photo = Room("tiles-table");
    const CRegionMask truth = Floor("tiles-table");
    const CRegionMask rough = Grown(truth, 8);
    const int band = CEdgeRefiner::kDefaultBand;
    const auto refined = CEdgeRefiner::Refine(photo, rough, band);
    ASSERT_TRUE(refined);
    EXPECT_LT(IoU(rough, truth), 0.96);
    EXPECT_GT(IoU(*refined, truth), IoU(rough, truth) + 0.008);
    // Every pixel that changed lies within the band of the drawn boundary:
    // beyond it the drawing stands, inside and outside.
    int changedFar = 0;
    for (int y = 0; y < rough.height; ++y)
        for (int x = 0; x < rough.width; ++x) {
            if (refined->Contains(x, y) == rough.Contains(x, y))
                continue;
            bool nearEdge = false;
            for (int dy = -band - 1; dy <= band + 1 && !nearEdge; ++dy)
                for (int dx = -band - 1; dx <= band + 1 && !nearEdge; ++dx)
                    nearEdge = dx * dx + dy * dy <= (band + 1) * (band + 1) && x + dx >= 0 && y + dy >= 0 &&
                               x + dx < rough.width && y + dy < rough.height &&
                               rough.Contains(x + dx, y + dy) != rough.Contains(x, y);
            changedFar += !nearEdge;
        }
    EXPECT_EQ(changedFar, 0);
}

TEST(SurfaceFinder, GivesSoundAnswersOnDegeneratePictures)
{
    // One pixel; one flat colour (all of it is the surface); a click outside.
    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(Qt::red);
    auto found = CSurfaceFinder::Find(one, {QPoint(0, 0), {}});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Count(), 1u);

    QImage flat(300, 200, QImage::Format_ARGB32);
    flat.fill(QColor(90, 120, 200, 128));
    found = CSurfaceFinder::Find(flat, {QPoint(150, 100), {}});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Count(), 300u * 200u);
    found = CSurfaceFinder::Find(flat, {QPoint(300, 10), {}});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Count(), 0u);
    EXPECT_EQ(found->width, 300);

    // One huge gradient: whatever is found holds the click and stays in
    // the picture.
    QImage ramp(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < ramp.height(); ++y)
        for (int x = 0; x < ramp.width(); ++x)
            ramp.setPixel(x, y, qRgb(x * 255 / 799, y * 255 / 599, 128));
    found = CSurfaceFinder::Find(ramp, {std::nullopt, {QPointF(100, 100), QPointF(700, 100), QPointF(400, 500)}});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->width, 800);
    EXPECT_GT(found->Count(), 0u);
}

TEST(SurfaceFinder, StopsWhenCancelledAndRepeatsItself)
{
    const QImage photo = Room("stone-corner");
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(CSurfaceFinder::Find(photo, {QPoint(320, 400), {}}, &cancel));
    EXPECT_FALSE(CEdgeRefiner::Refine(photo, Floor("stone-corner"), 12, &cancel));
    // The same input gives the same region, pixel for pixel.
    const auto a = CSurfaceFinder::Find(photo, {QPoint(320, 400), {}});
    const auto b = CSurfaceFinder::Find(photo, {QPoint(320, 400), {}});
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(*a == *b);
}

} // namespace
