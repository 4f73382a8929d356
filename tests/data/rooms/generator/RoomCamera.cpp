#include "RoomCamera.h"

#include <cmath>

namespace {

constexpr double kDegree = M_PI / 180.0;

double Dot(const CRoomCamera::Vec3& a, const CRoomCamera::Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

} // namespace

double CRoomCamera::Focal() const
{
    return focal35 / 43.27 * std::hypot(width, height);
}

CRoomCamera::SAxes CRoomCamera::Axes() const
{
    const double p = pitch * kDegree, y = yaw * kDegree;
    SAxes axes;
    axes.right = {std::cos(y), 0, -std::sin(y)};
    axes.forward = {std::sin(y) * std::cos(p), -std::sin(p), std::cos(y) * std::cos(p)};
    const Vec3& r = axes.right;
    const Vec3& f = axes.forward;
    // right x forward: picture y runs down.
    axes.down = {r[1] * f[2] - r[2] * f[1], r[2] * f[0] - r[0] * f[2], r[0] * f[1] - r[1] * f[0]};
    if (roll != 0.0) {
        // Turning the camera clockwise about its view turns the room the
        // other way in the picture.
        const double c = std::cos(roll * kDegree), s = std::sin(roll * kDegree);
        const Vec3 right = axes.right, down = axes.down;
        for (std::size_t i = 0; i < 3; ++i) {
            axes.right[i] = c * right[i] + s * down[i];
            axes.down[i] = -s * right[i] + c * down[i];
        }
    }
    return axes;
}

CRoomCamera::Vec3 CRoomCamera::Ray(const SAxes& axes, double focal, double px, double py) const
{
    double a = (px - width / 2.0) / focal;
    double b = (py - height / 2.0) / focal;
    if (k1 != 0.0) {
        const double rd = std::hypot(a, b);
        if (rd > 0) {
            const double scale = UndistortedRadius(rd) / rd;
            a *= scale;
            b *= scale;
        }
    }
    const Vec3& r = axes.right;
    const Vec3& d = axes.down;
    const Vec3& f = axes.forward;
    return {a * r[0] + b * d[0] + f[0], a * r[1] + b * d[1] + f[1], a * r[2] + b * d[2] + f[2]};
}

double CRoomCamera::UndistortedRadius(double rd) const
{
    // Newton on ru (1 + k1 ru^2) = rd, which rises steadily over any
    // photograph's radii for the mild bends of phone lenses.
    double ru = rd;
    for (int i = 0; i < 8; ++i) {
        const double g = ru * (1 + k1 * ru * ru) - rd;
        const double slope = 1 + 3 * k1 * ru * ru;
        const double step = g / slope;
        ru -= step;
        if (std::fabs(step) < 1e-15)
            break;
    }
    return ru;
}

QPointF CRoomCamera::Distort(QPointF undistorted) const
{
    const double f = Focal();
    const QPointF x = (undistorted - Centre()) / f;
    const double r2 = x.x() * x.x() + x.y() * x.y();
    return Centre() + x * (1 + k1 * r2) * f;
}

QPointF CRoomCamera::Undistort(QPointF distorted) const
{
    const double f = Focal();
    const QPointF x = (distorted - Centre()) / f;
    const double rd = std::hypot(x.x(), x.y());
    if (rd == 0 || k1 == 0)
        return distorted;
    return Centre() + x * (UndistortedRadius(rd) / rd) * f;
}

std::array<double, 9> CRoomCamera::PlaneToPicture(const Vec3& origin, const Vec3& along, const Vec3& across) const
{
    const SAxes axes = Axes();
    const double f = Focal(), cx = width / 2.0, cy = height / 2.0;
    const Vec3 offset{origin[0] - position[0], origin[1] - position[1], origin[2] - position[2]};
    const Vec3* columns[3] = {&along, &across, &offset};
    std::array<double, 9> m{};
    for (std::size_t c = 0; c < 3; ++c) {
        const double x = Dot(axes.right, *columns[c]), y = Dot(axes.down, *columns[c]);
        const double z = Dot(axes.forward, *columns[c]);
        m[c] = f * x + cx * z;
        m[3 + c] = f * y + cy * z;
        m[6 + c] = z;
    }
    return m;
}

double CRoomCamera::DivisionK() const
{
    if (k1 == 0.0)
        return 0.0;
    const double f = Focal(), half = std::hypot(width, height) / 2.0;
    // Each radius weighted by the share of the picture at it.
    double num = 0, den = 0;
    for (int i = 1; i <= 200; ++i) {
        const double s = i / 200.0;  // over half the diagonal
        const double rd = s * half / f;
        const double y = rd / UndistortedRadius(rd) - 1;
        num += s * s * s * y;
        den += s * s * s * s * s;
    }
    return num / den;
}
