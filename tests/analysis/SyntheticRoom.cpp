#include "SyntheticRoom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kDegree = M_PI / 180.0;

// A deterministic value in [0, 1) for an integer cell.
double Hash(std::int64_t i, std::int64_t j, std::uint32_t salt)
{
    std::uint64_t h = static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull ^
                      static_cast<std::uint64_t>(j) * 0xC2B2AE3D27D4EB4Full ^ salt * 0x165667B19E3779F9ull;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return static_cast<double>(h >> 11) / 9007199254740992.0;
}

double Tiles(double u, double v)
{
    constexpr double size = 0.3, grout = 0.006;
    const double fu = u / size - std::floor(u / size), fv = v / size - std::floor(v / size);
    const double edge = std::min({fu, 1 - fu, fv, 1 - fv}) * size;
    if (edge < grout / 2)
        return 95;
    return 190 + 20 * Hash(std::int64_t(std::floor(u / size)), std::int64_t(std::floor(v / size)), 1);
}

double Planks(double u, double v)
{
    constexpr double width = 0.14, length = 1.2, gap = 0.003;
    const double row = std::floor(v / width);
    const double along = u + Hash(std::int64_t(row), 0, 2) * length;
    const double board = std::floor(along / length);
    const double fv = v / width - row, fu = along / length - board;
    if (std::min(fv, 1 - fv) * width < gap / 2 || std::min(fu, 1 - fu) * length < gap / 2)
        return 45;
    const double tone = 110 + 45 * Hash(std::int64_t(row), std::int64_t(board), 3);
    // Grain: soft stripes along the board.
    return tone + 8 * std::sin(v * 260.0 + 6.0 * Hash(std::int64_t(row), std::int64_t(board), 4));
}

double Stone(double u, double v)
{
    constexpr double cell = 0.45, mortar = 0.012;
    const double cu = std::floor(u / cell), cv = std::floor(v / cell);
    double d1 = 1e9, d2 = 1e9;
    std::int64_t bi = 0, bj = 0;
    for (int di = -1; di <= 1; ++di)
        for (int dj = -1; dj <= 1; ++dj) {
            const std::int64_t i = std::int64_t(cu) + di, j = std::int64_t(cv) + dj;
            const double sx = (double(i) + 0.15 + 0.7 * Hash(i, j, 5)) * cell;
            const double sy = (double(j) + 0.15 + 0.7 * Hash(i, j, 6)) * cell;
            const double d = std::hypot(u - sx, v - sy);
            if (d < d1) {
                d2 = d1;
                d1 = d;
                bi = i;
                bj = j;
            } else if (d < d2) {
                d2 = d;
            }
        }
    if (d2 - d1 < mortar)
        return 85;
    return 150 + 50 * Hash(bi, bj, 7);
}

double Carpet(double u, double v)
{
    constexpr double fibre = 0.004;
    return 140 + 10 * Hash(std::int64_t(std::floor(u / fibre)), std::int64_t(std::floor(v / fibre)), 8);
}

} // namespace

CSyntheticRoom::CSyntheticRoom(const SCamera& camera, EFloor floor, bool wall, double patternAngle)
    : m_camera(camera), m_floor(floor), m_wall(wall), m_patternAngle(patternAngle * kDegree)
{
    m_focal = camera.focal35 / 43.27 * std::hypot(camera.width, camera.height);
    const double p = camera.pitch * kDegree, y = camera.yaw * kDegree;
    m_right = {std::cos(y), 0, -std::sin(y)};
    m_forward = {std::sin(y) * std::cos(p), -std::sin(p), std::cos(y) * std::cos(p)};
    // right x forward: picture y runs down.
    m_down = {m_right[1] * m_forward[2] - m_right[2] * m_forward[1],
              m_right[2] * m_forward[0] - m_right[0] * m_forward[2],
              m_right[0] * m_forward[1] - m_right[1] * m_forward[0]};
}

std::optional<QPointF> CSyntheticRoom::Project(const Vec3& w) const
{
    const Vec3 r{w[0], w[1] - m_camera.height_m, w[2]};
    const auto dot = [&](const Vec3& a) { return a[0] * r[0] + a[1] * r[1] + a[2] * r[2]; };
    const double z = dot(m_forward);
    if (!(z > 1e-9))
        return std::nullopt;
    return QPointF(m_camera.width / 2.0 + m_focal * dot(m_right) / z,
                   m_camera.height / 2.0 + m_focal * dot(m_down) / z);
}

CHomography CSyntheticRoom::FloorToPicture() const
{
    // Camera coordinates of the floor's x and z axes and of its origin.
    const double h = m_camera.height_m, f = m_focal, cx = m_camera.width / 2.0, cy = m_camera.height / 2.0;
    const Vec3 a{m_right[0], m_down[0], m_forward[0]};
    const Vec3 b{m_right[2], m_down[2], m_forward[2]};
    const Vec3 o{-h * m_right[1], -h * m_down[1], -h * m_forward[1]};
    std::array<double, 9> m{};
    const Vec3* columns[3] = {&a, &b, &o};
    for (std::size_t c = 0; c < 3; ++c) {
        const Vec3& v = *columns[c];
        m[c] = f * v[0] + cx * v[2];
        m[3 + c] = f * v[1] + cy * v[2];
        m[6 + c] = v[2];
    }
    return CHomography(m);
}

double CSyntheticRoom::FloorShade(double x, double z) const
{
    const double c = std::cos(m_patternAngle), s = std::sin(m_patternAngle);
    const double u = c * x + s * z + 0.37, v = -s * x + c * z + 0.11;
    switch (m_floor) {
    case EFloor::Tiles: return Tiles(u, v);
    case EFloor::Planks: return Planks(u, v);
    case EFloor::Stone: return Stone(u, v);
    case EFloor::Carpet: return Carpet(u, v);
    }
    return 0;
}

double CSyntheticRoom::Sample(double px, double py) const
{
    const double a = (px - m_camera.width / 2.0) / m_focal, b = (py - m_camera.height / 2.0) / m_focal;
    Vec3 d;
    for (std::size_t i = 0; i < 3; ++i)
        d[i] = a * m_right[i] + b * m_down[i] + m_forward[i];
    const double h = m_camera.height_m;
    const double tFloor = d[1] < 0 ? h / -d[1] : 1e300;
    const double tWall = m_wall && d[2] > 0 ? m_wallZ / d[2] : 1e300;
    constexpr double kSky = 200;
    if (tWall < tFloor) {
        const double height = h + tWall * d[1];
        // A white skirting board 8 cm high, then paint.
        return height < 0.08 ? 235 : 172 - 6 * std::min(height, 2.5);
    }
    if (tFloor >= 1e300)
        return kSky;
    const double x = tFloor * d[0], z = tFloor * d[2];
    // Distance haze keeps the far floor from swimming in aliasing, as a
    // camera's blur would; soft light falls off from the camera.
    const double distance = std::hypot(x, z);
    const double haze = std::exp(-distance / 9.0);
    const double light = 1.0 - 0.03 * distance;
    return haze * FloorShade(x, z) * light + (1 - haze) * kSky;
}

QImage CSyntheticRoom::Render() const
{
    QImage image(m_camera.width, m_camera.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            double sum = 0;
            for (int s = 0; s < 4; ++s)
                sum += Sample(x + 0.25 + 0.5 * (s & 1), y + 0.25 + 0.5 * (s >> 1));
            // Sensor noise, a couple of levels.
            const double noisy = sum / 4 + 4 * (Hash(x, y, 9) - 0.5);
            const auto g = static_cast<std::uint32_t>(std::clamp(noisy, 0.0, 255.0));
            const std::uint32_t r = std::min(255u, g + 12), b = g > 10 ? g - 10 : 0;
            line[x] = 0xFF000000u | r << 16 | g << 8 | b;
        }
    }
    return image;
}

CPolygon CSyntheticRoom::FloorOutline() const
{
    // A line on the floor: the wall's foot, or one 7 m ahead across the view.
    const Vec3 across{m_right[0], 0, m_right[2]};
    const double fx = m_forward[0], fz = m_forward[2], fn = std::hypot(fx, fz);
    Vec3 p1, p2, inside;
    if (m_wall) {
        p1 = {-50, 0, m_wallZ};
        p2 = {50, 0, m_wallZ};
    } else {
        const double ahead = 7.0;
        p1 = {ahead * fx / fn - 40 * across[0], 0, ahead * fz / fn - 40 * across[2]};
        p2 = {ahead * fx / fn + 40 * across[0], 0, ahead * fz / fn + 40 * across[2]};
    }
    inside = {1.0 * fx / fn, 0, 1.0 * fz / fn};
    // Points far to the side may be behind the camera: walk them in.
    auto a = Project(p1), b = Project(p2);
    for (double k = 0.5; (!a || !b) && k > 1e-3; k *= 0.5) {
        const Vec3 mid{(p1[0] + p2[0]) / 2, 0, (p1[2] + p2[2]) / 2};
        a = Project({mid[0] + k * (p1[0] - mid[0]), 0, mid[2] + k * (p1[2] - mid[2])});
        b = Project({mid[0] + k * (p2[0] - mid[0]), 0, mid[2] + k * (p2[2] - mid[2])});
    }
    const auto in = Project(inside);
    CContour rect{QPointF(0, 0), QPointF(m_camera.width, 0), QPointF(m_camera.width, m_camera.height),
                  QPointF(0, m_camera.height)};
    if (!a || !b || !in)
        return CPolygon{{rect}};
    const auto side = [&](QPointF p) {
        return (b->x() - a->x()) * (p.y() - a->y()) - (b->y() - a->y()) * (p.x() - a->x());
    };
    const double sign = side(*in) > 0 ? 1 : -1;
    CContour clipped;
    for (std::size_t i = 0; i < rect.size(); ++i) {
        const QPointF p = rect[i], q = rect[(i + 1) % rect.size()];
        const double sp = sign * side(p), sq = sign * side(q);
        if (sp >= 0)
            clipped.push_back(p);
        if ((sp >= 0) != (sq >= 0))
            clipped.push_back(p + (q - p) * (sp / (sp - sq)));
    }
    return CPolygon{{clipped}};
}
