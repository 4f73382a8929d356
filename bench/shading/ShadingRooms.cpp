#include "ShadingRooms.h"

#include "analysis/FitRoomCatalogue.h"

namespace {

using Box = CRoomScene::SBox;
using M = SFloorMaterial::EKind;

void Camera(CRoomScene& s, int width, int height, double focal35, CRoomCamera::Vec3 position, double pitch,
            double yaw)
{
    s.camera.width = width, s.camera.height = height, s.camera.focal35 = focal35;
    s.camera.position = position, s.camera.pitch = pitch, s.camera.yaw = yaw, s.camera.samples = 2;
}

CFitRoom Room(const char* name, const char* material, const char* features)
{
    CFitRoom room;
    room.name = name;
    room.material = material;
    room.features = features;
    return room;
}

void Table(CRoomScene& s, double x0, double z0, double x1, double z1, double height, RoomRgb colour)
{
    s.boxes.push_back({{x0, height - 0.04, z0}, {x1, height, z1}, colour, 0.02});
    constexpr double leg = 0.05;
    for (double x : {x0 + 0.03, x1 - 0.03 - leg})
        for (double z : {z0 + 0.03, z1 - 0.03 - leg})
            s.boxes.push_back({{x, 0, z}, {x + leg, height - 0.04, z + leg}, colour, 0.0});
}

void Sofa(CRoomScene& s, double x0, double z0, double x1, double z1, RoomRgb colour)
{
    s.boxes.push_back({{x0 + 0.18, 0, z0}, {x1 - 0.18, 0.44, z1 - 0.2}, colour, 0.08});
    s.boxes.push_back({{x0, 0, z1 - 0.2}, {x1, 0.85, z1}, colour, 0.08});
    s.boxes.push_back({{x0, 0, z0}, {x0 + 0.18, 0.62, z1 - 0.2}, colour, 0.08});
    s.boxes.push_back({{x1 - 0.18, 0, z0}, {x1, 0.62, z1 - 0.2}, colour, 0.08});
}

void Plant(CRoomScene& s, double x, double z)
{
    s.boxes.push_back({{x - 0.15, 0, z - 0.15}, {x + 0.15, 0.35, z + 0.15}, {0.70, 0.38, 0.25}, 0.02});
    s.spheres.push_back({{x, 0.75, z}, 0.38, {0.25, 0.52, 0.2}});
}

std::vector<CFitRoom> Floors(std::vector<CFitRoom> rooms)
{
    std::erase_if(rooms, [](const CFitRoom& r) { return r.IsWall(); });
    return rooms;
}

} // namespace

std::vector<CFitRoom> CShadingRooms::Tuning()
{
    std::vector<CFitRoom> rooms = Floors(CFitRoomCatalogue::Tuning());
    {
        CFitRoom r = Room("s-tiles-table-plant", "white tiles 30 cm", "table and plant in a barred sun patch");
        CRoomScene& s = r.scene;
        s.floor = {M::Tiles, {0.84, 0.83, 0.80}, {0.45, 0.45, 0.43}, 0.3, 0, 0.006, 0.06, 0};
        Camera(s, 1800, 1200, 26, {0.2, 1.6, 0}, 30, 5);
        Table(s, -0.4, 2.4, 0.8, 3.1, 0.75, {0.30, 0.18, 0.10});
        Plant(s, 1.6, 3.0);
        s.patchX = -0.8, s.patchZ = 1.8, s.patchAx = 1.6, s.patchAz = 0.2, s.patchBx = 0.5, s.patchBz = 1.6;
        s.patchSoft = 0.02, s.patchBars = 1;
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("s-planks-spot", "oak planks 16 cm", "ceiling spot, sofa, low table");
        CRoomScene& s = r.scene;
        s.floor = {M::Planks, {0.58, 0.42, 0.28}, {0.22, 0.15, 0.09}, 0.16, 1.5, 0.003, 0.2, 0};
        s.floor.lengthJitter = 0.6;
        Camera(s, 1500, 1000, 28, {0.4, 1.55, 0.2}, 28, -8);
        Sofa(s, -1.5, 4.0, 0.9, 4.95, {0.35, 0.40, 0.45});
        Table(s, -0.6, 2.8, 0.4, 3.4, 0.42, {0.9, 0.9, 0.88});
        s.spots.push_back({0.6, 2.4, 0.35, 0.45, 0.6});
        s.patchStrength = 0;
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("s-stone-sun", "stone cells 35 cm", "sun patch with bars, cabinet, table");
        CRoomScene& s = r.scene;
        s.floor = {M::Stone, {0.70, 0.66, 0.58}, {0.40, 0.38, 0.34}, 0.35, 0, 0.01, 0.2, 0};
        Camera(s, 1200, 900, 26, {0.0, 1.6, 0.2}, 30, 10);
        Table(s, 0.3, 2.6, 1.3, 3.3, 0.75, {0.15, 0.15, 0.15});
        s.boxes.push_back({{-2.4, 0.08, 3.0}, {-1.9, 0.9, 4.2}, {0.95, 0.95, 0.93}, 0.01});
        s.patchX = -1.0, s.patchZ = 1.6, s.patchAx = 1.2, s.patchAz = 0.3, s.patchBx = 0.3, s.patchBz = 1.3;
        s.patchSoft = 0.03, s.patchBars = 2;
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("s-carpet-spot-rug", "near-plain carpet", "ceiling spot, sofa, striped rug, plant");
        CRoomScene& s = r.scene;
        s.floor = {M::Carpet, {0.70, 0.66, 0.60}, {0, 0, 0}, 0, 0, 0, 0.05, 0};
        Camera(s, 1200, 900, 26, {0.3, 1.5, 0}, 26, 12);
        Sofa(s, -1.2, 4.1, 1.2, 4.95, {0.55, 0.25, 0.20});
        Plant(s, 2.2, 4.3);
        CRoomScene::SRug rug;
        rug.x = 0.0, rug.z = 3.0, rug.width = 1.6, rug.depth = 1.0, rug.turn = 8, rug.pattern = 2;
        s.rugs.push_back(rug);
        s.spots.push_back({1.2, 2.2, 0.3, 0.5, 0.5});
        s.patchStrength = 0;
        rooms.push_back(r);
    }
    return rooms;
}

std::vector<CFitRoom> CShadingRooms::Judging()
{
    std::vector<CFitRoom> rooms = Floors(CFitRoomCatalogue::Judging());
    {
        CFitRoom r = Room("j-slabs-sofa-spot", "slabs 60 x 30", "sofa, table, ceiling spot, sun");
        CRoomScene& s = r.scene;
        s.floor = {M::Slabs, {0.62, 0.60, 0.57}, {0.42, 0.41, 0.40}, 0.3, 0.6, 0.005, 0.12, 20};
        Camera(s, 1200, 900, 30, {-0.3, 1.6, 0.0}, 27, 18);
        Sofa(s, 0.2, 4.0, 2.6, 4.95, {0.30, 0.30, 0.33});
        Table(s, 0.6, 2.7, 1.6, 3.3, 0.45, {0.55, 0.38, 0.22});
        s.spots.push_back({-0.8, 2.6, 0.3, 0.4, 0.45});
        s.patchX = 1.2, s.patchZ = 1.4, s.patchAx = 0.8, s.patchAz = 0.3, s.patchBx = -0.2, s.patchBz = 0.9;
        rooms.push_back(r);
    }
    return rooms;
}
