#pragma once

#include "RoomMaterials.h"

#include <QImage>

#include <vector>

// A room for the surface finder's tests: a floor, walls with skirting,
// furniture standing on the floor, a window's light patch and soft shadows,
// photographed by a pinhole camera at eye height. Rendered by casting rays,
// which also gives the true floor mask.
class CRoomScene
{
public:
    using Vec3 = std::array<double, 3>;

    struct SBox  // axis-aligned, metres; y up from the floor
    {
        Vec3 lo, hi;
        RoomRgb colour;
        double texture = 0.0;  // fabric or wood-grain strength
    };
    struct SSphere
    {
        Vec3 centre;
        double radius;
        RoomRgb colour;
    };
    struct SCamera
    {
        int width = 640;
        int height = 480;
        double focal35 = 28.0;
        Vec3 position{0, 1.6, 0};
        double pitch = 25.0;  // degrees below level
        double yaw = 0.0;     // degrees, positive turns right
    };

    SCamera camera;
    SFloorMaterial floor;
    RoomRgb wall{0.85, 0.82, 0.74};
    RoomRgb skirting{0.95, 0.95, 0.93};
    double skirtingHeight = 0.1;
    double left = -2.5, right = 3.0, back = 5.0, front = -3.0;  // walls at x = left/right, z = back/front
    std::vector<SBox> boxes;
    std::vector<SSphere> spheres;
    // The window's light on the floor: a parallelogram from a corner along
    // two edges, in floor metres (x, z).
    double patchX = 0, patchZ = 2, patchAx = 1.0, patchAz = 0.3, patchBx = -0.4, patchBz = 1.2;
    double patchStrength = 0.55;

    // 3 x 3 samples a pixel; mask pixels are the floor where at least five
    // of the nine samples land on it.
    void Render(QImage& photo, QImage& floorMask) const;

private:
    struct SHit
    {
        double t = 1e300;
        RoomRgb colour{0, 0, 0};
        bool floor = false;
    };
    SHit Trace(const Vec3& origin, const Vec3& dir) const;
    RoomRgb FloorColour(double x, double z) const;
    double Occlusion(double x, double y, double z) const;
    double PatchLight(double x, double z) const;
};
