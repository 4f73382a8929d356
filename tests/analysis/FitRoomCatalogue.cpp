#include "FitRoomCatalogue.h"

#include <cmath>

namespace {

using Box = CRoomScene::SBox;
using M = SFloorMaterial::EKind;

constexpr double kDegree = M_PI / 180.0;

// Stands a piece of furniture (boxes given square to the room, its front
// towards -z) turned by turn degrees about the middle of its footprint: each
// box keeps its size, its middle goes round the piece's and it turns as much
// itself. 90 turns the front towards +x, -90 towards -x.
void Place(CRoomScene& s, std::vector<Box> parts, double turn = 0)
{
    double x0 = 1e9, x1 = -1e9, z0 = 1e9, z1 = -1e9;
    for (const Box& b : parts) {
        x0 = std::min(x0, b.lo[0]), x1 = std::max(x1, b.hi[0]);
        z0 = std::min(z0, b.lo[2]), z1 = std::max(z1, b.hi[2]);
    }
    const double cx = (x0 + x1) / 2, cz = (z0 + z1) / 2, c = std::cos(turn * kDegree), sn = std::sin(turn * kDegree);
    for (Box b : parts) {
        if (turn != 0) {
            const double mx = (b.lo[0] + b.hi[0]) / 2 - cx, mz = (b.lo[2] + b.hi[2]) / 2 - cz;
            const double dx = cx + c * mx - sn * mz - (b.lo[0] + b.hi[0]) / 2;
            const double dz = cz + sn * mx + c * mz - (b.lo[2] + b.hi[2]) / 2;
            b.lo[0] += dx, b.hi[0] += dx, b.lo[2] += dz, b.hi[2] += dz;
            b.turn = turn;
        }
        s.boxes.push_back(b);
    }
}

// A sofa with its back along the far side (z1) and an arm at each end.
void Sofa(CRoomScene& s, double x0, double z0, double x1, double z1, RoomRgb colour, double turn = 0)
{
    Place(s,
          {{{x0 + 0.18, 0, z0}, {x1 - 0.18, 0.44, z1 - 0.2}, colour, 0.08},
           {{x0, 0, z1 - 0.2}, {x1, 0.85, z1}, colour, 0.08},
           {{x0, 0, z0}, {x0 + 0.18, 0.62, z1 - 0.2}, colour, 0.08},
           {{x1 - 0.18, 0, z0}, {x1, 0.62, z1 - 0.2}, colour, 0.08}},
          turn);
}

// A table: a top and four legs.
void Table(CRoomScene& s, double x0, double z0, double x1, double z1, double height, RoomRgb colour, double turn = 0)
{
    std::vector<Box> parts{{{x0, height - 0.04, z0}, {x1, height, z1}, colour, 0.02}};
    constexpr double leg = 0.05;
    for (double x : {x0 + 0.03, x1 - 0.03 - leg})
        for (double z : {z0 + 0.03, z1 - 0.03 - leg})
            parts.push_back({{x, 0, z}, {x + leg, height - 0.04, z + leg}, colour, 0.0});
    Place(s, parts, turn);
}

// A cabinet on a plinth, a top overhanging it and two doors standing a
// little proud of its front (the near side, z0). Only the body's shadow is
// drawn: the rest add nothing to it but time.
void Cabinet(CRoomScene& s, double x0, double z0, double x1, double z1, double height, RoomRgb colour,
             double turn = 0)
{
    const RoomRgb plinth{colour[0] * 0.5, colour[1] * 0.5, colour[2] * 0.5};
    const double mid = (x0 + x1) / 2;
    Place(s,
          {{{x0 + 0.03, 0, z0 + 0.04}, {x1 - 0.03, 0.08, z1}, plinth, 0.0, 0.0, -1, false},
           {{x0, 0.08, z0 + 0.02}, {x1, height - 0.03, z1}, colour, 0.01},
           {{x0 - 0.02, height - 0.03, z0}, {x1 + 0.02, height, z1 + 0.01}, colour, 0.02, 0.0, -1, false},
           {{x0 + 0.02, 0.1, z0}, {mid - 0.005, height - 0.05, z0 + 0.02}, colour, 0.0, 0.0, -1, false},
           {{mid + 0.005, 0.1, z0}, {x1 - 0.02, height - 0.05, z0 + 0.02}, colour, 0.0, 0.0, -1, false}},
          turn);
}

// A cube as plain as the floor it stands on: its edges are the only thing
// telling it apart.
void FloorCube(CRoomScene& s, double x, double z, double side, double turn = 0)
{
    Place(s, {{{x, 0, z}, {x + side, side, z + side}, s.floor.base, 0.0}}, turn);
}

void Plant(CRoomScene& s, double x, double z)
{
    s.boxes.push_back({{x - 0.15, 0, z - 0.15}, {x + 0.15, 0.35, z + 0.15}, {0.70, 0.38, 0.25}, 0.02});
    s.spheres.push_back({{x, 0.75, z}, 0.38, {0.25, 0.52, 0.2}});
}

CRoomScene::SOpening Door(int wall, double from, RoomRgb leaf, RoomRgb frame)
{
    CRoomScene::SOpening o;
    o.wall = wall, o.from = from, o.to = from + 0.85, o.panel = leaf, o.frame = frame;
    return o;
}

CRoomScene::SOpening Window(int wall, double from, double to, int bars)
{
    CRoomScene::SOpening o;
    o.wall = wall, o.from = from, o.to = to, o.bottom = 0.9, o.top = 2.1, o.bars = bars, o.door = false;
    o.panel = {0.86, 0.92, 0.99};
    return o;
}

void Camera(CRoomScene& s, int width, int height, double focal35, CRoomCamera::Vec3 position, double pitch,
            double yaw, double roll = 0, double k1 = 0, int samples = 2)
{
    s.camera.width = width, s.camera.height = height, s.camera.focal35 = focal35;
    s.camera.position = position, s.camera.pitch = pitch, s.camera.yaw = yaw, s.camera.roll = roll;
    s.camera.k1 = k1, s.camera.samples = samples;
}

void NoSun(CRoomScene& s) { s.patchStrength = 0; }

CFitRoom Room(const char* name, const char* material, const char* features)
{
    CFitRoom room;
    room.name = name;
    room.material = material;
    room.features = features;
    return room;
}

constexpr RoomRgb kWhite{0.95, 0.95, 0.93}, kOak{0.55, 0.38, 0.22}, kGrey{0.3, 0.3, 0.33};

} // namespace

std::vector<CFitRoom> CFitRoomCatalogue::Tuning()
{
    std::vector<CFitRoom> rooms;
    {
        CFitRoom r = Room("tiles-square", "square tiles 30 cm", "sofa, table, cabinet, window, sun, JPEG 88");
        CRoomScene& s = r.scene;
        r.jpegQuality = 88;
        s.floor = {M::Tiles, {0.86, 0.85, 0.82}, {0.50, 0.50, 0.48}, 0.3, 0, 0.006, 0.06, 0};
        Camera(s, 1200, 900, 26, {0.2, 1.55, 0}, 28, 15);
        Sofa(s, -1.8, 4.1, 0.4, 4.95, {0.35, 0.42, 0.55});
        Table(s, -0.3, 2.5, 0.9, 3.2, 0.75, {0.30, 0.18, 0.10});
        Cabinet(s, 2.1, 1.95, 3.3, 2.45, 0.9, kWhite, -90);
        s.AddOpening(Window(CRoomScene::kBack, 1.0, 2.2, 1));
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("planks-offset", "planks 14 cm, random lengths", "cabinet, table, door, barrel lens");
        CRoomScene& s = r.scene;
        s.floor = {M::Planks, {0.62, 0.45, 0.30}, {0.25, 0.17, 0.10}, 0.14, 1.4, 0.003, 0.25, 0};
        s.floor.lengthJitter = 0.7;
        s.wall = {0.80, 0.83, 0.86};
        Camera(s, 1200, 900, 28, {0.3, 1.5, -0.5}, 22, -20, 0, -0.05);
        Cabinet(s, -2.8, 2.35, -1.6, 2.85, 0.8, kWhite, 90);
        Table(s, 0.2, 2.2, 1.2, 3.0, 0.72, kGrey);
        s.AddOpening(Door(CRoomScene::kBack, -1.6, {0.9, 0.88, 0.84}, kWhite));
        NoSun(s);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("flagstones-corner", "irregular flagstones", "two walls, door, sofa, floor-coloured cube, sun, JPEG 85");
        CRoomScene& s = r.scene;
        r.jpegQuality = 85;
        s.floor = {M::Flagstones, {0.72, 0.68, 0.60}, {0.42, 0.40, 0.36}, 0.5, 0, 0.014, 0.22, 0};
        s.floor.wobble = 0.06;
        s.wall = {0.90, 0.89, 0.86};
        s.skirting = {0.40, 0.30, 0.22};
        Camera(s, 1200, 900, 26, {-0.5, 1.6, 0.3}, 24, 38);
        s.AddOpening(Door(CRoomScene::kRight, 2.6, {0.45, 0.30, 0.18}, {0.40, 0.30, 0.22}));
        Sofa(s, 0.0, 4.1, 2.0, 4.95, {0.60, 0.20, 0.20});
        FloorCube(s, 1.2, 2.2, 0.45);
        s.patchX = -0.6, s.patchZ = 1.6, s.patchAx = 1.0, s.patchAz = 0.5, s.patchBx = -0.3, s.patchBz = 1.0;
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("carpet-plain", "near-plain carpet", "portrait, window, cabinet, plant");
        CRoomScene& s = r.scene;
        s.floor = {M::Carpet, {0.76, 0.70, 0.60}, {0, 0, 0}, 0, 0, 0, 0.03, 0};
        s.wall = {0.70, 0.76, 0.66};
        Camera(s, 900, 1200, 27, {0, 1.55, 0.3}, 30, 10);
        s.AddOpening(Window(CRoomScene::kBack, -1.2, 0.2, 2));
        Cabinet(s, 1.2, 4.45, 2.6, 4.95, 0.75, kOak);
        Plant(s, -1.9, 4.4);
        NoSun(s);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("planks-rug", "planks 18 cm, random lengths", "rug turned 20°, sofa, table, sun, roll");
        CRoomScene& s = r.scene;
        s.floor = {M::Planks, {0.55, 0.40, 0.27}, {0.22, 0.15, 0.09}, 0.18, 1.6, 0.004, 0.2, 0};
        s.floor.lengthJitter = 0.5;
        Camera(s, 1200, 900, 24, {0, 1.6, 0}, 32, 25, 1.5);
        CRoomScene::SRug rug;
        rug.x = 0.6, rug.z = 2.9, rug.width = 2.0, rug.depth = 1.4, rug.turn = 20, rug.pattern = 1;
        s.rugs.push_back(rug);
        Sofa(s, -0.4, 4.1, 1.8, 4.95, {0.80, 0.72, 0.60});
        Table(s, 0.2, 2.6, 1.0, 3.2, 0.45, kWhite, 20);
        s.patchX = -1.4, s.patchZ = 1.5, s.patchAx = 0.9, s.patchAz = 0.2, s.patchBx = 0.4, s.patchBz = 1.1;
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("tiles-diagonal", "diagonal tiles 35 cm", "1600 x 1200, turned table, cabinet, sun");
        CRoomScene& s = r.scene;
        s.floor = {M::Tiles, {0.70, 0.40, 0.28}, {0.78, 0.74, 0.68}, 0.35, 0, 0.008, 0.12, 45};
        s.wall = {0.92, 0.91, 0.88};
        Camera(s, 1600, 1200, 30, {0.3, 1.6, 0.2}, 36, -10);
        Table(s, -0.6, 2.4, 0.6, 3.2, 0.75, {0.12, 0.12, 0.12}, 15);
        Cabinet(s, -2.8, 3.35, -1.6, 3.85, 1.1, {0.25, 0.35, 0.55}, 90);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("carpet-sofa", "near-plain carpet", "sofa, table, floor-coloured cube, door, window, ceiling, barrel lens");
        CRoomScene& s = r.scene;
        s.floor = {M::Carpet, {0.45, 0.50, 0.58}, {0, 0, 0}, 0, 0, 0, 0.04, 0};
        s.wall = {0.93, 0.90, 0.80};
        s.ceiling = true;
        Camera(s, 1200, 900, 26, {0.4, 1.45, 0}, 12, -15, 0, -0.07);
        Sofa(s, -1.2, 4.0, 1.4, 4.95, kGrey);
        Table(s, -0.5, 2.7, 0.7, 3.3, 0.45, kWhite);
        FloorCube(s, -1.9, 2.3, 0.5);
        s.AddOpening(Door(CRoomScene::kBack, -2.3, kWhite, kWhite));
        s.AddOpening(Window(CRoomScene::kBack, 1.7, 2.7, 1));
        NoSun(s);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("slabs-bond", "stone slabs 60 x 30, running bond", "turned cabinet, sun, 3 x 3 samples");
        CRoomScene& s = r.scene;
        s.floor = {M::Slabs, {0.66, 0.64, 0.60}, {0.45, 0.44, 0.42}, 0.3, 0.6, 0.005, 0.1, 0};
        Camera(s, 1200, 900, 35, {-0.8, 1.5, -0.5}, 15, 30, 0, 0, 3);
        Cabinet(s, 1.0, 3.0, 2.0, 3.5, 0.8, kOak, 30);
        s.patchX = -0.2, s.patchZ = 2.0, s.patchAx = 1.2, s.patchAz = 0.3, s.patchBx = 0.4, s.patchBz = 1.0;
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("wall-door-window", "painted back wall", "door, window with bars, cabinet, ceiling, planks");
        CRoomScene& s = r.scene;
        r.wall = CRoomScene::kBack;
        s.floor = {M::Planks, {0.62, 0.60, 0.56}, {0.30, 0.30, 0.30}, 0.2, 1.8, 0.004, 0.15, 0};
        s.wall = {0.86, 0.80, 0.70};
        s.ceiling = true;
        Camera(s, 1200, 900, 26, {0.3, 1.55, 0.5}, 10, 12);
        s.AddOpening(Door(CRoomScene::kBack, -1.9, {0.55, 0.36, 0.2}, kWhite));
        s.AddOpening(Window(CRoomScene::kBack, 0.4, 1.9, 2));
        Cabinet(s, 2.0, 4.5, 2.9, 4.95, 0.7, kWhite);
        NoSun(s);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("wall-tiled", "tiled right wall 20 cm", "vanity cabinet, ceiling, slabs, roll");
        CRoomScene& s = r.scene;
        r.wall = CRoomScene::kRight;
        s.floor = {M::Slabs, {0.5, 0.5, 0.52}, {0.35, 0.35, 0.36}, 0.3, 0.6, 0.004, 0.08, 0};
        s.finishes.push_back({CRoomScene::kRight, {M::Tiles, {0.93, 0.93, 0.90}, {0.62, 0.62, 0.60}, 0.2, 0, 0.004, 0.04, 0}, 2.6});
        s.ceiling = true;
        Camera(s, 1200, 900, 28, {-0.5, 1.6, 1.0}, 10, 50, -1.0);
        Cabinet(s, 2.1, 2.55, 3.3, 3.05, 0.85, kOak, -90);
        NoSun(s);
        rooms.push_back(r);
    }
    return rooms;
}

std::vector<CFitRoom> CFitRoomCatalogue::Judging()
{
    std::vector<CFitRoom> rooms;
    {
        CFitRoom r = Room("j-tiles-large", "dark tiles 60 cm", "sofa, cabinet, sun, roll");
        CRoomScene& s = r.scene;
        s.floor = {M::Tiles, {0.35, 0.35, 0.37}, {0.55, 0.55, 0.55}, 0.6, 0, 0.005, 0.06, 0};
        s.floor.seed = 3;
        Camera(s, 1200, 900, 24, {0.5, 1.7, 0.5}, 33, -25, -1.2);
        Sofa(s, -3.1, 2.675, -0.9, 3.525, {0.80, 0.72, 0.60}, 90);
        Cabinet(s, 0.5, 4.45, 1.9, 4.95, 0.9, kWhite);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("j-planks-checked-rug", "planks 20 cm, random lengths", "portrait, checked rug turned -12°, table");
        CRoomScene& s = r.scene;
        s.floor = {M::Planks, {0.62, 0.60, 0.56}, {0.30, 0.30, 0.30}, 0.2, 1.8, 0.004, 0.15, 0};
        s.floor.lengthJitter = 0.4, s.floor.seed = 2;
        Camera(s, 900, 1200, 30, {0, 1.5, 0}, 27, 5);
        CRoomScene::SRug rug;
        rug.x = -0.2, rug.z = 2.8, rug.width = 1.6, rug.depth = 1.2, rug.turn = -12, rug.pattern = 3;
        rug.field = {0.2, 0.25, 0.45}, rug.border = {0.8, 0.78, 0.7};
        s.rugs.push_back(rug);
        Table(s, 0.8, 3.6, 1.8, 4.4, 0.75, kOak);
        NoSun(s);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("j-flagstones", "irregular flagstones", "cabinet, floor-coloured cube, sun, barrel lens");
        CRoomScene& s = r.scene;
        s.floor = {M::Flagstones, {0.62, 0.60, 0.55}, {0.38, 0.37, 0.34}, 0.4, 0, 0.012, 0.25, 0};
        s.floor.wobble = 0.04, s.floor.seed = 5;
        Camera(s, 1200, 900, 26, {0.6, 1.6, 0.2}, 38, -30, 0, -0.03);
        Cabinet(s, -2.8, 2.15, -1.6, 2.65, 0.9, kOak, 90);
        FloorCube(s, 0.2, 2.0, 0.4, 0);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("j-carpet-grey", "near-plain carpet", "sofa, table, door on the right wall, JPEG 85");
        CRoomScene& s = r.scene;
        r.jpegQuality = 85;
        s.floor = {M::Carpet, {0.55, 0.55, 0.57}, {0, 0, 0}, 0, 0, 0, 0.03, 0};
        Camera(s, 1200, 900, 28, {-0.6, 1.55, 0}, 24, 35);
        Sofa(s, -1.0, 4.1, 1.2, 4.95, {0.55, 0.30, 0.20});
        Table(s, -0.2, 2.8, 0.8, 3.4, 0.45, kGrey);
        s.AddOpening(Door(CRoomScene::kRight, 2.4, kWhite, kWhite));
        NoSun(s);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("j-tiles-diagonal", "diagonal tiles 25 cm",
                          "facing the front wall, door, floor-coloured cube, sun");
        CRoomScene& s = r.scene;
        s.floor = {M::Tiles, {0.90, 0.88, 0.84}, {0.40, 0.40, 0.40}, 0.25, 0, 0.005, 0.05, 45};
        s.floor.seed = 1;
        s.frontWall = true;
        r.shownWall = CRoomScene::kFront;
        Camera(s, 1200, 900, 27, {0.3, 1.6, 3.6}, 30, 180);
        s.AddOpening(Door(CRoomScene::kFront, -1.2, {0.35, 0.25, 0.2}, kWhite));
        FloorCube(s, -0.8, 1.2, 0.45, 0);
        s.patchX = 0.3, s.patchZ = 1.4, s.patchAx = 0.9, s.patchAz = -0.2, s.patchBx = 0.3, s.patchBz = 1.0;
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("j-slabs-along", "slabs 80 x 40 along the view", "turned sofa, barrel lens, JPEG 90");
        CRoomScene& s = r.scene;
        r.jpegQuality = 90;
        s.floor = {M::Slabs, {0.72, 0.70, 0.66}, {0.50, 0.48, 0.46}, 0.4, 0.8, 0.006, 0.1, 90};
        s.floor.seed = 4;
        Camera(s, 1200, 900, 32, {1.0, 1.5, -0.5}, 18, -40, 0, -0.06);
        Sofa(s, -1.5, 3.0, 0.5, 3.85, kGrey, -25);
        NoSun(s);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("j-planks-plain-rug", "planks 12 cm, random lengths", "plain rug turned 35°, floor-coloured cube, low camera");
        CRoomScene& s = r.scene;
        s.floor = {M::Planks, {0.70, 0.55, 0.40}, {0.28, 0.20, 0.12}, 0.12, 1.0, 0.003, 0.2, 0};
        s.floor.lengthJitter = 0.8, s.floor.seed = 7;
        Camera(s, 1200, 900, 35, {-0.5, 1.4, -0.5}, 12, 15);
        CRoomScene::SRug rug;
        rug.x = 0.5, rug.z = 3.0, rug.width = 1.8, rug.depth = 1.2, rug.turn = 35, rug.pattern = 0;
        rug.field = {0.75, 0.72, 0.62};
        s.rugs.push_back(rug);
        FloorCube(s, -1.2, 3.4, 0.5, 10);
        rooms.push_back(r);
    }
    {
        CFitRoom r = Room("j-wall-left", "painted left wall", "window, door, ceiling, tiles");
        CRoomScene& s = r.scene;
        r.wall = CRoomScene::kLeft;
        s.floor = {M::Tiles, {0.8, 0.78, 0.74}, {0.5, 0.5, 0.48}, 0.4, 0, 0.005, 0.06, 0};
        s.wall = {0.78, 0.84, 0.80};
        s.ceiling = true;
        Camera(s, 1200, 900, 24, {0.8, 1.6, 0.5}, 10, -45);
        s.AddOpening(Window(CRoomScene::kLeft, 1.5, 2.7, 1));
        s.AddOpening(Door(CRoomScene::kLeft, 3.4, {0.5, 0.5, 0.52}, kWhite));
        NoSun(s);
        rooms.push_back(r);
    }
    return rooms;
}
