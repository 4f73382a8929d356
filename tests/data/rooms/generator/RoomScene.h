#pragma once

#include "RoomCamera.h"
#include "RoomMaterials.h"

#include <QImage>

#include <vector>

// A room for the analysis tests: a floor, walls with skirting, furniture
// standing on the floor, a window's light patch and soft shadows,
// photographed at eye height. Rendered by casting rays, which also gives the
// true floor mask (and a wall's), and the camera gives the true maps from
// floor and walls to the picture.
//
// Everything past the surface finder's first rooms (a ceiling, the front
// wall, doors and windows, rugs, turned furniture, tiled walls, a bent lens)
// is off by default, so those rooms' photographs render as they always did.
class CRoomScene
{
public:
    using Vec3 = CRoomCamera::Vec3;

    // Walls by index; a wall's own coordinates are (along, up): along runs
    // with x on the back and front walls and with z on the side walls.
    enum EWall { kLeft = 0, kRight = 1, kBack = 2, kFront = 3 };

    struct SBox  // metres; y up from the floor
    {
        Vec3 lo, hi;
        RoomRgb colour;
        double texture = 0.0;  // fabric or wood-grain strength
        double turn = 0.0;     // degrees about the upright through its middle
        int wall = -1;         // fixed to this wall (a frame), part of its area
        bool shades = true;    // darkens the floor round it (a cabinet's doors need not)
    };
    struct SSphere
    {
        Vec3 centre;
        double radius;
        RoomRgb colour;
    };
    // A door or a window in a wall: a panel flush with the wall (the door's
    // leaf, or the sky through the glass) in a frame standing out of it.
    struct SOpening
    {
        int wall = kBack;
        double from = 0, to = 0.9;     // along the wall
        double bottom = 0, top = 2.05; // above the floor
        RoomRgb panel{0.9, 0.9, 0.9};
        RoomRgb frame{0.95, 0.95, 0.93};
        double frameWidth = 0.07;
        int bars = 0;                  // a window's glazing bars, each way
        bool door = true;
    };
    // A rug lying on the floor, perhaps turned against the room.
    struct SRug
    {
        double x = 0, z = 2, width = 2, depth = 1.4;  // middle and size, metres
        double turn = 0;                               // degrees
        RoomRgb field{0.6, 0.2, 0.2}, border{0.85, 0.8, 0.7};
        int pattern = 0;  // 0 plain, 1 bordered, 2 striped, 3 checked
    };
    // Tiles or panelling over a wall up to a height.
    struct SWallFinish
    {
        int wall = kBack;
        SFloorMaterial material;
        double top = 2.0;
    };
    struct SPhoto
    {
        QImage photo;      // the photograph, through the bent lens if any
        QImage floorMask;  // white: floor (rugs included)
        QImage wallMask;   // white: the wall asked for, with what is fixed to it
        QImage rugMask;    // white: a rug on the floor (null in a room without rugs)
    };
    // A ceiling spot's pool of light on the floor: full strength out to
    // radius, then falling away over soft metres.
    struct SSpot
    {
        double x = 0, z = 2, radius = 0.4, soft = 0.3, strength = 0.5;
    };

    CRoomCamera camera;
    SFloorMaterial floor;
    RoomRgb wall{0.85, 0.82, 0.74};
    RoomRgb skirting{0.95, 0.95, 0.93};
    double skirtingHeight = 0.1;
    double left = -2.5, right = 3.0, back = 5.0, front = -3.0;  // walls at x = left/right, z = back/front
    bool frontWall = false;
    bool ceiling = false;
    double ceilingHeight = 2.6;
    RoomRgb ceilingColour{0.95, 0.95, 0.94};
    std::vector<SBox> boxes;
    std::vector<SSphere> spheres;
    std::vector<SOpening> openings;
    std::vector<SRug> rugs;
    std::vector<SWallFinish> finishes;
    // The window's light on the floor: a parallelogram from a corner along
    // two edges, in floor metres (x, z).
    double patchX = 0, patchZ = 2, patchAx = 1.0, patchAz = 0.3, patchBx = -0.4, patchBz = 1.2;
    double patchStrength = 0.55;
    double patchSoft = 0.05;  // metres over which the patch's edge fades
    int patchBars = 0;        // the window's bars' shadows across the patch, each way
    std::vector<SSpot> spots;
    // The floor's true light: a plain matte grey floor of this albedo
    // without its rugs, everything else as it is (0: the floor as set).
    double plainFloor = 0.0;
    double noise = 5.0;  // sensor noise, levels of 255

    // Adds the opening with its frame (and a window's sill and bars, a
    // door's handle) as boxes fixed to its wall.
    void AddOpening(const SOpening& opening);

    // camera.samples^2 samples a pixel; mask pixels are those where at least
    // half the samples land on the floor (the wall). maskWall: the wall
    // whose mask to give, or -1; the rows are shared among threads.
    SPhoto Render(int maskWall = -1, int threads = 1) const;
    void Render(QImage& photo, QImage& floorMask) const;

    // Undistorted picture pixels of floor (x, z) and of a wall's (along, up).
    std::array<double, 9> FloorToPicture() const;
    std::array<double, 9> WallToPicture(int wallIndex) const;
    // The room point at a wall's (along, up, out into the room).
    Vec3 WallPoint(int wallIndex, double along, double up, double out) const;

private:
    // Per box, worked out once before a render: its turn's cosine and sine
    // and a sphere round it that rays missing it are turned away by.
    struct SBoxFrame
    {
        double c = 1, s = 0;
        Vec3 centre;
        double radius2 = 0;
    };
    std::vector<SBoxFrame> m_frames;
    std::vector<std::array<double, 2>> m_rugTurns;  // cosine, sine
    void Prepare();
    SPhoto RenderPrepared(int maskWall, int threads) const;

    struct SHit
    {
        double t = 1e300;
        RoomRgb colour{0, 0, 0};
        bool floor = false;
        bool rug = false;
        int wall = -1;  // the wall hit, or what was hit is fixed to
    };
    SHit Trace(const Vec3& origin, const Vec3& dir) const;
    void TraceBoxes(const Vec3& o, const Vec3& d, SHit& hit) const;
    RoomRgb FloorColour(double x, double z) const;
    RoomRgb WallColour(int wallIndex, double along, double y) const;
    RoomRgb CeilingColour(double x, double z) const;
    bool RugAt(double x, double z, RoomRgb& albedo) const;
    double Occlusion(double x, double y, double z) const;
    double PatchLight(double x, double z) const;
};
