#pragma once

#include "geometry/Homography.h"
#include "geometry/Polygon.h"

#include <QImage>

#include <array>
#include <optional>

// A room photographed by a known pinhole camera, rendered by casting rays:
// a floor (the plane y = 0, metres), optionally a back wall, the camera at
// a height above the floor, pitched down and turned. The truth the
// perspective fit is measured against.
class CSyntheticRoom
{
public:
    enum class EFloor { Tiles, Planks, Stone, Carpet };

    struct SCamera
    {
        int width = 1200;
        int height = 900;
        double focal35 = 26.0;   // 35 mm-equivalent focal length
        double height_m = 1.5;   // above the floor
        double pitch = 25.0;     // degrees below level
        double yaw = 0.0;        // degrees
    };

    CSyntheticRoom(const SCamera& camera, EFloor floor, bool wall, double patternAngle = 0.0);

    // 2 x 2 samples a pixel.
    QImage Render() const;
    // The floor as the user would outline it: the picture below the wall's
    // foot, or below a line on the floor some metres ahead.
    CPolygon FloorOutline() const;
    // The map from floor coordinates (x, z) to picture pixels.
    CHomography FloorToPicture() const;
    double FocalPixels() const { return m_focal; }

private:
    using Vec3 = std::array<double, 3>;
    // The picture point of a world point; nothing behind the camera.
    std::optional<QPointF> Project(const Vec3& world) const;
    double FloorShade(double x, double z) const;
    double Sample(double px, double py) const;

    SCamera m_camera;
    EFloor m_floor;
    bool m_wall;
    double m_patternAngle;  // radians
    double m_focal;
    double m_wallZ = 4.5;
    Vec3 m_right, m_down, m_forward;
};
