#include "RoomScene.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDegree = M_PI / 180.0;

double SmoothStep(double e0, double e1, double x)
{
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Distance in the floor plane from (x, z) to a box's footprint.
double FootprintDistance(const CRoomScene::SBox& b, double x, double z)
{
    const double dx = std::max({b.lo[0] - x, 0.0, x - b.hi[0]});
    const double dz = std::max({b.lo[2] - z, 0.0, z - b.hi[2]});
    return std::hypot(dx, dz);
}

} // namespace

double CRoomScene::PatchLight(double x, double z) const
{
    // Coordinates in the parallelogram's own frame, soft at its edges as
    // sunlight through a window is.
    const double det = patchAx * patchBz - patchAz * patchBx;
    const double rx = x - patchX, rz = z - patchZ;
    const double s = (rx * patchBz - rz * patchBx) / det, t = (patchAx * rz - patchAz * rx) / det;
    constexpr double soft = 0.05;
    return SmoothStep(-soft, soft, s) * SmoothStep(-soft, soft, 1 - s) * SmoothStep(-soft, soft, t) *
           SmoothStep(-soft, soft, 1 - t);
}

double CRoomScene::Occlusion(double x, double y, double z) const
{
    // Soft shadows: light lost near walls and under and around furniture.
    double open = 1.0;
    const double walls = std::min({x - left, right - x, back - z});
    open *= 1 - 0.3 * std::exp(-std::max(walls, 0.0) / 0.3);
    for (const SBox& b : boxes) {
        if (y > b.hi[1] - 1e-6)
            continue;
        const double d = FootprintDistance(b, x, z);
        const double height = b.hi[1] - b.lo[1];
        // A low box (a table top) shades less but more widely.
        const double strength = b.lo[1] > 0.05 ? 0.35 : 0.5;
        const double reach = 0.08 + 0.12 * std::min(height, 1.0) + 0.1 * std::min(b.lo[1], 1.0);
        open *= 1 - strength * std::exp(-d / reach);
    }
    for (const SSphere& s : spheres) {
        const double d = std::max(std::hypot(x - s.centre[0], z - s.centre[2]) - s.radius, 0.0);
        open *= 1 - 0.25 * std::exp(-d / 0.2);
    }
    return open;
}

RoomRgb CRoomScene::FloorColour(double x, double z) const
{
    const RoomRgb albedo = floor.At(x, z);
    const double ambient = 0.8 * Occlusion(x, 0, z) * (1.0 - 0.04 * (x - left));
    const double sun = patchStrength * PatchLight(x, z);
    // Sunlight is warmer than the room's light.
    return {albedo[0] * (ambient + sun * 1.05), albedo[1] * (ambient + sun * 0.97), albedo[2] * (ambient + sun * 0.85)};
}

CRoomScene::SHit CRoomScene::Trace(const Vec3& o, const Vec3& d) const
{
    SHit hit;
    // Floor.
    if (d[1] < 0) {
        const double t = -o[1] / d[1];
        const double x = o[0] + t * d[0], z = o[2] + t * d[2];
        if (x > left && x < right && z < back && z > front) {
            hit.t = t;
            hit.floor = true;
            hit.colour = FloorColour(x, z);
        }
    }
    // Walls: the plane first reached among left, right and back.
    const auto wallHit = [&](double t, double along) {
        if (!(t > 0 && t < hit.t))
            return;
        const double y = o[1] + t * d[1];
        if (y < 0)
            return;
        hit.t = t;
        hit.floor = false;
        const RoomRgb& base = y < skirtingHeight ? skirting : wall;
        const double shade = 0.78 * (1 - 0.25 * std::exp(-y / 0.25)) * (0.92 + 0.08 * std::sin(along * 0.7)) -
                             0.03 * std::min(y, 2.5);
        hit.colour = {base[0] * shade, base[1] * shade, base[2] * shade};
    };
    if (d[0] < 0)
        wallHit((left - o[0]) / d[0], o[2] + (left - o[0]) / d[0] * d[2]);
    if (d[0] > 0)
        wallHit((right - o[0]) / d[0], o[2] + (right - o[0]) / d[0] * d[2]);
    if (d[2] > 0)
        wallHit((back - o[2]) / d[2], o[0] + (back - o[2]) / d[2] * d[0]);
    // Furniture boxes: slabs.
    for (const SBox& b : boxes) {
        double t0 = 0, t1 = hit.t;
        int axis = -1;
        bool inside = true;
        for (int k = 0; k < 3 && inside; ++k) {
            if (std::abs(d[k]) < 1e-12) {
                inside = o[k] >= b.lo[k] && o[k] <= b.hi[k];
                continue;
            }
            double a = (b.lo[k] - o[k]) / d[k], c = (b.hi[k] - o[k]) / d[k];
            if (a > c)
                std::swap(a, c);
            if (a > t0) {
                t0 = a;
                axis = k;
            }
            t1 = std::min(t1, c);
            inside = t0 < t1;
        }
        if (!inside || axis < 0 || t0 >= hit.t)
            continue;
        hit.t = t0;
        hit.floor = false;
        const Vec3 p{o[0] + t0 * d[0], o[1] + t0 * d[1], o[2] + t0 * d[2]};
        const double face = axis == 1 ? 1.0 : axis == 0 ? 0.72 : 0.6;
        const double weave = b.texture * (RoomHash(std::int64_t(p[0] * 300 + p[2] * 300), std::int64_t(p[1] * 300), 21) - 0.5);
        const double shade = face * (0.85 - 0.25 * std::exp(-p[1] / 0.12)) + weave;
        hit.colour = {b.colour[0] * shade, b.colour[1] * shade, b.colour[2] * shade};
    }
    // Foliage and round things.
    for (const SSphere& s : spheres) {
        const Vec3 r{o[0] - s.centre[0], o[1] - s.centre[1], o[2] - s.centre[2]};
        const double b = r[0] * d[0] + r[1] * d[1] + r[2] * d[2];
        const double dd = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        const double c = r[0] * r[0] + r[1] * r[1] + r[2] * r[2] - s.radius * s.radius;
        const double disc = b * b - dd * c;
        if (disc < 0)
            continue;
        const double t = (-b - std::sqrt(disc)) / dd;
        if (!(t > 0 && t < hit.t))
            continue;
        hit.t = t;
        hit.floor = false;
        const Vec3 p{o[0] + t * d[0], o[1] + t * d[1], o[2] + t * d[2]};
        const double up = (p[1] - s.centre[1]) / s.radius;
        const double leaf = 0.35 * RoomHash(std::int64_t(p[0] * 40), std::int64_t(p[1] * 40 + p[2] * 40), 22);
        const double shade = 0.55 + 0.3 * up + leaf;
        hit.colour = {s.colour[0] * shade, s.colour[1] * shade, s.colour[2] * shade};
    }
    return hit;
}

void CRoomScene::Render(QImage& photo, QImage& floorMask) const
{
    const SCamera& cam = camera;
    const double focal = cam.focal35 / 43.27 * std::hypot(cam.width, cam.height);
    const double p = cam.pitch * kDegree, y = cam.yaw * kDegree;
    const Vec3 right{std::cos(y), 0, -std::sin(y)};
    const Vec3 forward{std::sin(y) * std::cos(p), -std::sin(p), std::cos(y) * std::cos(p)};
    const Vec3 down{right[1] * forward[2] - right[2] * forward[1], right[2] * forward[0] - right[0] * forward[2],
                    right[0] * forward[1] - right[1] * forward[0]};
    photo = QImage(cam.width, cam.height, QImage::Format_RGB32);
    floorMask = QImage(cam.width, cam.height, QImage::Format_Grayscale8);
    for (int py = 0; py < cam.height; ++py) {
        auto* line = reinterpret_cast<std::uint32_t*>(photo.scanLine(py));
        std::uint8_t* maskLine = floorMask.scanLine(py);
        for (int px = 0; px < cam.width; ++px) {
            RoomRgb sum{0, 0, 0};
            int floorSamples = 0;
            for (int s = 0; s < 9; ++s) {
                const double a = (px + (s % 3 + 0.5) / 3.0 - cam.width / 2.0) / focal;
                const double b = (py + (s / 3 + 0.5) / 3.0 - cam.height / 2.0) / focal;
                const Vec3 dir{a * right[0] + b * down[0] + forward[0], a * right[1] + b * down[1] + forward[1],
                               a * right[2] + b * down[2] + forward[2]};
                const SHit hit = Trace(cam.position, dir);
                for (int k = 0; k < 3; ++k)
                    sum[k] += hit.colour[k];
                floorSamples += hit.floor;
            }
            std::uint32_t rgb = 0xFF000000u;
            for (int k = 0; k < 3; ++k) {
                // Sensor noise, a couple of levels, independent per channel.
                const double v = 255.0 * sum[k] / 9.0 + 5.0 * (RoomHash(px, py, 30 + k) - 0.5);
                rgb |= static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0)) << (16 - 8 * k);
            }
            line[px] = rgb;
            maskLine[px] = floorSamples >= 5 ? 255 : 0;
        }
    }
}
