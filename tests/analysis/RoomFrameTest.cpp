#include "analysis/RoomFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using Vec3 = CPlaneFromVanishing::Vec3;

// A camera in a room, in the room's metres (x right, y up, z ahead): the
// picture of a room's edges, with the truth of its directions.
struct SCamera
{
    QSize size{1600, 1200};
    double focal = 1300;
    double pitch = 25 * M_PI / 180;  // down
    double yaw = 20 * M_PI / 180;
    Vec3 position{0, 1.5, 0};

    // Camera coordinates (x right, y down, z ahead) of a room direction.
    Vec3 Camera(const Vec3& d) const
    {
        const double x = d[0], y = -d[1], z = d[2];
        const double x1 = std::cos(yaw) * x - std::sin(yaw) * z, z1 = std::sin(yaw) * x + std::cos(yaw) * z;
        return {x1, std::cos(pitch) * y - std::sin(pitch) * z1, std::sin(pitch) * y + std::cos(pitch) * z1};
    }
    QPointF Project(const Vec3& p) const
    {
        const Vec3 c = Camera({p[0] - position[0], p[1] - position[1], p[2] - position[2]});
        return QPointF(size.width() / 2.0 + focal * c[0] / c[2], size.height() / 2.0 + focal * c[1] / c[2]);
    }
};

struct SScene
{
    std::vector<CLineSegment> segments;
    std::vector<char> onArea;
};

// How a segment lies on the area, as the line finder tells it.
enum EOn : char { Off = 0, Border = 1, Inside = 2 };

// A room with a plain carpet: nothing on the floor but its border along
// the walls; the walls' corners, a door, a window, a tiled dado on the
// back wall and a cabinet.
SScene Room(const SCamera& camera, bool wallIsArea)
{
    SScene scene;
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.3);
    const auto add = [&](const Vec3& a, const Vec3& b, EOn onFloor, EOn onBackWall) {
        const QPointF pa = camera.Project(a), pb = camera.Project(b);
        scene.segments.push_back({pa + QPointF(noise(random), noise(random)), pb + QPointF(noise(random), noise(random))});
        scene.onArea.push_back(wallIsArea ? onBackWall : onFloor);
    };
    // Uprights: the back corners, a door and a window on the back wall, a cabinet.
    for (double x : {-2.5, 3.0})
        add({x, 0.05, 5}, {x, 2.55, 5}, Off, Border);
    for (double x : {0.5, 1.4})
        add({x, 0.1, 5}, {x, 2.1, 5}, Off, Inside);
    for (double x : {-1.6, -0.6})
        add({x, 0.9, 5}, {x, 2.0, 5}, Off, Inside);
    for (double x : {2.0, 2.9})
        add({x, 0.02, 3.4}, {x, 0.9, 3.4}, Off, Off);
    // The dado's tile joints: uprights and rows only a wall holds inside.
    for (double x = -2.2; x < 0.4; x += 0.3)
        add({x, 0.12, 5}, {x, 0.85, 5}, Off, Inside);
    for (double y : {0.4, 0.7})
        add({-2.4, y, 5}, {0.4, y, 5}, Off, Inside);
    // Level lines along the back wall: its foot, the skirting, the door's
    // top, the window's sill and top, the ceiling's line.
    add({-2.4, 0.0, 5}, {2.9, 0.0, 5}, Border, Border);
    add({-2.4, 0.1, 5}, {2.9, 0.1, 5}, Off, Border);
    add({0.5, 2.1, 5}, {1.4, 2.1, 5}, Off, Inside);
    for (double y : {0.9, 2.0})
        add({-1.6, y, 5}, {-0.6, y, 5}, Off, Inside);
    add({-2.4, 2.6, 5}, {2.9, 2.6, 5}, Off, Border);
    // And across: the side walls' feet and skirting, the cabinet's side.
    for (double y : {0.0, 0.1}) {
        add({-2.5, y, 1.5}, {-2.5, y, 4.9}, y == 0.0 ? Border : Off, Off);
        add({3.0, y, 2.0}, {3.0, y, 4.9}, y == 0.0 ? Border : Off, Off);
    }
    add({2.0, 0.9, 3.4}, {2.0, 0.9, 4.4}, Off, Off);
    // The carpet's fluff and a patterned cushion: short edges every way.
    for (int i = 0; i < 40; ++i) {
        const Vec3 at{-1.5 + (i * 37 % 30) / 10.0, 0.0, 2.0 + (i * 17 % 25) / 10.0};
        const double a = i * 2.4;
        add(at, {at[0] + 0.12 * std::cos(a), 0.0, at[2] + 0.12 * std::sin(a)}, Inside, Off);
    }
    return scene;
}

double AngleBetween(const Vec3& a, const Vec3& b)
{
    const double dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    const double n = std::sqrt((a[0] * a[0] + a[1] * a[1] + a[2] * a[2]) * (b[0] * b[0] + b[1] * b[1] + b[2] * b[2]));
    return std::acos(std::min(1.0, std::fabs(dot) / n)) * 180 / M_PI;
}

Vec3 Normal(const CPlaneFromVanishing& plane)
{
    const auto p = plane.Points()[2];
    return *CPlaneFromVanishing::Direction(p, plane.Focal(), QPointF(800, 600));
}

std::vector<CRoomFrame::SPlane> Planes(const SScene& scene, const SCamera& camera,
                                       std::vector<CVanishingFamily>& families)
{
    const QPointF centre(camera.size.width() / 2.0, camera.size.height() / 2.0);
    families = CVanishingPointFinder::Find(scene.segments, centre, 1600, 7);
    CRoomFrame::SInput input;
    input.segments = &scene.segments;
    input.onArea = &scene.onArea;
    input.families = &families;
    input.picture = camera.size;
    input.typicalFocal = 960;
    return CRoomFrame::Planes(input);
}

TEST(RoomFrame, APlainFloorTakesItsPlaneAndTheFocalFromTheRoom)
{
    const SCamera camera;
    std::vector<CVanishingFamily> families;
    const auto planes = Planes(Room(camera, false), camera, families);
    ASSERT_FALSE(planes.empty());
    const CRoomFrame::SPlane& floor = planes.front();
    EXPECT_FALSE(floor.wall);
    EXPECT_FALSE(floor.focalAssumed);
    EXPECT_NEAR(floor.focal, camera.focal, 0.02 * camera.focal);
    EXPECT_LT(AngleBetween(Normal(floor.plane), camera.Camera({0, 1, 0})), 0.3);
    // Its rows run along the walls, the area's border.
    const auto rows = CPlaneFromVanishing::Direction(floor.plane.Points()[0], floor.focal, QPointF(800, 600));
    EXPECT_LT(std::min(AngleBetween(*rows, camera.Camera({1, 0, 0})), AngleBetween(*rows, camera.Camera({0, 0, 1}))),
              0.3);
}

TEST(RoomFrame, AWallsAreaIsUprightAndFacesTheCamera)
{
    const SCamera camera;
    std::vector<CVanishingFamily> families;
    const auto planes = Planes(Room(camera, true), camera, families);
    ASSERT_FALSE(planes.empty());
    EXPECT_TRUE(planes.front().wall);
    EXPECT_LT(AngleBetween(Normal(planes.front().plane), camera.Camera({0, 0, 1})), 0.3);
}

TEST(RoomFrame, NoUprightsNoRoomFrame)
{
    const SCamera camera;
    SScene scene = Room(camera, false);
    // Only the level lines: a photo cropped to the floor.
    SScene level;
    for (std::size_t i = 0; i < scene.segments.size(); ++i) {
        const CLineSegment& s = scene.segments[i];
        if (std::fabs(s.b.x() - s.a.x()) > 0.5 * s.Length()) {
            level.segments.push_back(s);
            level.onArea.push_back(scene.onArea[i]);
        }
    }
    std::vector<CVanishingFamily> families;
    EXPECT_TRUE(Planes(level, camera, families).empty());
}

} // namespace
