#pragma once

#include <QPointF>

#include <array>

// The camera the test rooms are photographed with: a pinhole at a position
// in the room (metres, y up), pitched down, turned and rolled, behind a lens
// that may bend straight lines as a wide phone lens does. The bend follows
// x_d = x_u (1 + k1 r_u^2) in focal-normalised coordinates about the
// picture's centre, so the undistorted picture keeps the distorted one's
// scale at its centre.
//
// Its maps from a plane in the room to the picture give the truth the
// perspective fit is measured against; they land in the undistorted picture,
// which Distort takes to the photograph's pixels.
class CRoomCamera
{
public:
    using Vec3 = std::array<double, 3>;

    int width = 640;
    int height = 480;
    double focal35 = 28.0;   // 35 mm equivalent, against the 43.27 mm diagonal
    Vec3 position{0, 1.6, 0};
    double pitch = 25.0;     // degrees below level
    double yaw = 0.0;        // degrees, positive turns right
    double roll = 0.0;       // degrees, positive turns the picture clockwise
    double k1 = 0.0;         // negative: barrel
    int samples = 3;         // per pixel along each axis

    double Focal() const;  // picture pixels
    QPointF Centre() const { return QPointF(width / 2.0, height / 2.0); }

    // The camera's axes in the room: to the picture's right, down it, and
    // along the view.
    struct SAxes
    {
        Vec3 right, down, forward;
    };
    SAxes Axes() const;

    // The ray's direction (not unit) through a point of the photograph, in
    // the axes given (taken once per picture, not per ray).
    Vec3 Ray(const SAxes& axes, double focal, double px, double py) const;

    // Photograph pixel <-> undistorted picture pixel.
    QPointF Distort(QPointF undistorted) const;
    QPointF Undistort(QPointF distorted) const;

    // The homography (row-major) taking plane coordinates (u, v) of the
    // plane origin + u * along + v * across to undistorted picture pixels;
    // its weight is the point's depth before the camera.
    std::array<double, 9> PlaneToPicture(const Vec3& origin, const Vec3& along, const Vec3& across) const;

    // The bend as the division model p_u = c + (p_d - c) / (1 + k r^2), r
    // the distance from the centre c over half the picture's diagonal: the
    // k that matches this lens best over the photograph (least squares).
    double DivisionK() const;

private:
    // The focal-normalised radius of the undistorted ray whose bent image
    // lies at radius rd.
    double UndistortedRadius(double rd) const;
};
