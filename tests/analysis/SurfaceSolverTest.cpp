#include "analysis/SurfaceFinder.h"
#include "analysis/SurfaceSolver.h"

#include <QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>

namespace {

constexpr int kW = 320, kH = 240;
constexpr int kHorizon = 100;

// Deterministic grain in -1..1.
double Grain(int x, int y)
{
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double(h & 0xffff) / 32767.5 - 1.0;
}

// Planks of a warm grey with dark seams, each plank a little lighter or
// darker than the next.
QRgb Plank(int x, int y, double light = 1.0)
{
    const int row = y / 14;
    const int offset = (row * 37) % 60;
    double grey = 140 + (row % 3) * 6 + Grain(x, y) * 6;
    if (y % 14 == 0 || (x + offset) % 60 == 0)
        grey = 95;
    grey *= light;
    return qRgb(std::min(255, int(grey * 1.05)), std::min(255, int(grey)), std::min(255, int(grey * 0.9)));
}

QImage Draw(const std::function<QRgb(int, int)>& pixel)
{
    QImage image(kW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            image.setPixel(x, y, pixel(x, y));
    return image;
}

CRegionMask Truth(const std::function<bool(int, int)>& inside)
{
    CRegionMask mask(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            mask.Row(y)[x] = inside(x, y) ? 1 : 0;
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

CRegionMask Solve(const QImage& image, const std::vector<SSurfaceMark>& marks)
{
    const auto picture = CSurfaceSolver::Prepare(image);
    EXPECT_TRUE(picture);
    const auto found = CSurfaceSolver::Solve(*picture, marks);
    EXPECT_TRUE(found);
    return found ? *found : CRegionMask();
}

SSurfaceMark Part(int x, int y) { return {true, {QPoint(x, y)}}; }
SSurfaceMark Not(int x, int y) { return {false, {QPoint(x, y)}}; }

// A rug woven in fine stripes of two reds across the floor from side to
// side, parting it in two.
bool OnRug(int x, int y) { return y >= 150 && y < 185 && x >= 0 && x < kW; }
bool RugFloor(int x, int y) { return y >= kHorizon && !OnRug(x, y); }
QRgb RugRoom(int x, int y)
{
    if (y < kHorizon)
        return qRgb(205, 200, 185);
    if (OnRug(x, y))
        return (x + y) / 2 % 2 ? qRgb(150, 30, 35) : qRgb(175, 45, 40);
    return Plank(x, y);
}

} // namespace

// A rug is not floor unless it is marked; each mark adds the part it
// stands on, and the marks are solved together.
TEST(SurfaceSolver, TakesWhatIsMarkedAndLeavesTheRest)
{
    const QImage room = Draw(RugRoom);
    const CRegionMask near = Truth([](int x, int y) { return RugFloor(x, y) && y < 150; });
    const CRegionMask both = Truth(RugFloor);
    const CRegionMask all = Truth([](int, int y) { return y >= kHorizon; });

    EXPECT_GE(IoU(Solve(room, {Part(160, 120)}), near), 0.95);
    EXPECT_GE(IoU(Solve(room, {Part(160, 120), Part(100, 215)}), both), 0.95);
    EXPECT_GE(IoU(Solve(room, {Part(160, 120), Part(100, 215), Part(200, 165)}), all), 0.95);
    // A stroke across the rug marks all it passes over.
    SSurfaceMark stroke{true, {}};
    for (int y = 110; y < 230; y += 3)
        stroke.points.push_back(QPoint(60, y));
    EXPECT_GE(IoU(Solve(room, {stroke}), all), 0.95);
    // A later mark on the same spot rules: the rug is taken out again.
    EXPECT_GE(IoU(Solve(room, {Part(160, 120), Part(100, 215), Part(200, 165), Not(200, 165)}), both), 0.95);
}

// A wall of nearly the floor's colour and grain, only a little brighter,
// is taken with the floor at first; a "not" mark on the wall cuts it off
// where the brightness steps, not around the mark.
TEST(SurfaceSolver, ANotMarkMovesTheBoundaryToTheEdgeBetweenSurfaces)
{
    const QImage room = Draw([](int x, int y) {
        const double grey = (y < kHorizon ? 156 : 140) + Grain(x, y) * 6;
        return qRgb(int(grey * 1.05), int(grey), int(grey * 0.9));
    });
    const CRegionMask floor = Truth([](int, int y) { return y >= kHorizon; });
    const CRegionMask first = Solve(room, {Part(160, 180)});
    EXPECT_LT(IoU(first, floor), 0.8) << "the faint step should not stop one click";
    EXPECT_GE(IoU(Solve(room, {Part(160, 180), Not(40, 30)}), floor), 0.98);
    // Where the "not" mark lies does not matter, nor does a mark more.
    EXPECT_GE(IoU(Solve(room, {Part(160, 180), Not(300, 90)}), floor), 0.98);
    EXPECT_GE(IoU(Solve(room, {Part(160, 180), Not(40, 30), Part(20, 230)}), floor), 0.98);
}

// Sun through a window brightens a patch of the floor and warms it; the
// same planks under both lights are one surface.
TEST(SurfaceSolver, TakesTheSunlitPatchWithTheFloor)
{
    const auto sunny = [](int x, int y) { return x > 40 && x < 150 && y > 130 && y < 220; };
    const QImage room = Draw([&](int x, int y) {
        if (y < kHorizon)
            return qRgb(90, 120, 150);
        return Plank(x, y, sunny(x, y) ? 1.45 : 1.0);
    });
    EXPECT_GE(IoU(Solve(room, {Part(250, 200)}), Truth([](int, int y) { return y >= kHorizon; })), 0.95);
}

TEST(SurfaceSolver, GivesSoundAnswersWithoutAPartOfMark)
{
    const QImage room = Draw(RugRoom);
    for (const auto& marks : {std::vector<SSurfaceMark>{}, {Not(10, 10)}, {Part(-5, 10)}, {Part(kW, 10)},
                              {Part(100, 120), Not(100, 120)}}) {
        const CRegionMask found = Solve(room, marks);
        EXPECT_EQ(found.width, kW);
        EXPECT_EQ(found.height, kH);
        EXPECT_EQ(found.Count(), 0u);
    }
}

// The one-click finder and a round of one mark give the same region, and
// a cancelled solve gives nothing.
TEST(SurfaceSolver, OneMarkIsTheFinderAndCancelStopsIt)
{
    const QImage room = Draw(RugRoom);
    const auto finder = CSurfaceFinder::Find(room, {QPoint(160, 120), {}});
    ASSERT_TRUE(finder);
    EXPECT_EQ(*finder, Solve(room, {Part(160, 120)}));
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(CSurfaceSolver::Prepare(room, &cancel));
    const auto picture = CSurfaceSolver::Prepare(room);
    EXPECT_FALSE(CSurfaceSolver::Solve(*picture, {Part(160, 120)}, {}, &cancel));
}

// The finer cut along the boundary moves only what no mark spoke for: a
// small dark box at the foot of the wall, marked as part of the floor,
// stays in though the wall's colour is nearer its own, and a spot of plain
// floor next to the wall marked "not" stays out.
TEST(SurfaceSolver, WhatAMarkSaysHoldsThroughTheFinerCut)
{
    const auto box = [](int x, int y) { return x >= 200 && x < 208 && y >= kHorizon && y < kHorizon + 8; };
    const QImage room = Draw([&](int x, int y) {
        if (box(x, y))
            return qRgb(40, 45, 50);
        if (y < kHorizon)
            return qRgb(60, 70, 95);
        return Plank(x, y);
    });
    const CRegionMask in = Solve(room, {Part(100, 200), Part(204, kHorizon + 4)});
    EXPECT_TRUE(in.Row(kHorizon + 4)[204]);
    EXPECT_FALSE(in.Row(kHorizon - 20)[204]);
    EXPECT_FALSE(Solve(room, {Part(100, 200), Not(250, kHorizon + 3)}).Row(kHorizon + 3)[250]);
}
