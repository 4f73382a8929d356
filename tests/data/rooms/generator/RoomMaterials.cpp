#include "RoomMaterials.h"

#include <algorithm>
#include <cmath>

double RoomHash(std::int64_t i, std::int64_t j, std::uint32_t salt)
{
    std::uint64_t h = static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull ^
                      static_cast<std::uint64_t>(j) * 0xC2B2AE3D27D4EB4Full ^ salt * 0x165667B19E3779F9ull;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return static_cast<double>(h >> 11) / 9007199254740992.0;
}

namespace {

RoomRgb Scaled(const RoomRgb& c, double k)
{
    return {c[0] * k, c[1] * k, c[2] * k};
}

RoomRgb Tiles(const SFloorMaterial& m, double u, double v)
{
    const double fu = u / m.size - std::floor(u / m.size), fv = v / m.size - std::floor(v / m.size);
    const double edge = std::min({fu, 1 - fu, fv, 1 - fv}) * m.size;
    if (edge < m.jointWidth / 2)
        return m.joint;
    const auto i = std::int64_t(std::floor(u / m.size)), j = std::int64_t(std::floor(v / m.size));
    // Glaze: a faint mottle inside each tile.
    const double mottle = 0.03 * (RoomHash(std::int64_t(u * 60), std::int64_t(v * 60), 11) - 0.5);
    return Scaled(m.base, 1 - m.variation / 2 + m.variation * RoomHash(i, j, 1) + mottle);
}

RoomRgb Planks(const SFloorMaterial& m, double u, double v)
{
    const double row = std::floor(v / m.size);
    // Offset rows: each row's joints start at a different place.
    const double along = u + RoomHash(std::int64_t(row), 0, 2) * m.length;
    double board = std::floor(along / m.length);
    const double fv = v / m.size - row;
    double endJoint = 0;  // distance to the nearer end joint
    if (m.lengthJitter > 0) {
        // Boards of random lengths: each stretch of a board's length holds
        // one end joint, moved by up to the jitter's share of a length.
        const auto joint = [&](double k) {
            return (k + m.lengthJitter * 0.45 * (2 * RoomHash(std::int64_t(row), std::int64_t(k), 13) - 1)) * m.length;
        };
        if (along < joint(board))
            board -= 1;
        else if (along >= joint(board + 1))
            board += 1;
        endJoint = std::min(along - joint(board), joint(board + 1) - along);
    } else {
        const double fu = along / m.length - board;
        endJoint = std::min(fu, 1 - fu) * m.length;
    }
    if (std::min(fv, 1 - fv) * m.size < m.jointWidth / 2 || endJoint < m.jointWidth / 2)
        return m.joint;
    const double tone = 1 - m.variation / 2 + m.variation * RoomHash(std::int64_t(row), std::int64_t(board), 3);
    const double grain = 0.05 * std::sin(v * 240.0 + 3 * std::sin(u * 7) + 6.0 * RoomHash(std::int64_t(row), std::int64_t(board), 4));
    return Scaled(m.base, tone + grain);
}

RoomRgb Stone(const SFloorMaterial& m, double u, double v)
{
    if (m.wobble > 0) {
        // Flagstones: the plane warped smoothly before the cells are cut,
        // so the joints between them bend and no line runs straight far.
        const double wu = std::sin(v * 7.3 + 2 * std::sin(u * 3.7)) + 0.5 * std::sin(v * 23.0 + u * 5.0);
        const double wv = std::sin(u * 6.1 + 2 * std::sin(v * 4.3)) + 0.5 * std::sin(u * 19.0 - v * 6.0);
        u += m.wobble * wu;
        v += m.wobble * wv;
    }
    const double cell = m.size;
    const double cu = std::floor(u / cell), cv = std::floor(v / cell);
    double d1 = 1e9, d2 = 1e9;
    std::int64_t bi = 0, bj = 0;
    for (int di = -1; di <= 1; ++di)
        for (int dj = -1; dj <= 1; ++dj) {
            const std::int64_t i = std::int64_t(cu) + di, j = std::int64_t(cv) + dj;
            const double sx = (double(i) + 0.15 + 0.7 * RoomHash(i, j, 5)) * cell;
            const double sy = (double(j) + 0.15 + 0.7 * RoomHash(i, j, 6)) * cell;
            const double d = std::sqrt((u - sx) * (u - sx) + (v - sy) * (v - sy));
            if (d < d1) {
                d2 = d1;
                d1 = d;
                bi = i;
                bj = j;
            } else if (d < d2) {
                d2 = d;
            }
        }
    if (d2 - d1 < m.jointWidth)
        return m.joint;
    // Each stone its own shade and a little warmth or coolness.
    const double tone = 1 - m.variation / 2 + m.variation * RoomHash(bi, bj, 7);
    const double warm = 0.06 * (RoomHash(bi, bj, 8) - 0.5);
    const double speck = 0.04 * (RoomHash(std::int64_t(u * 150), std::int64_t(v * 150), 12) - 0.5);
    return {m.base[0] * (tone + warm + speck), m.base[1] * (tone + speck), m.base[2] * (tone - warm + speck)};
}

RoomRgb Carpet(const SFloorMaterial& m, double u, double v)
{
    constexpr double fibre = 0.004;
    const double n = RoomHash(std::int64_t(std::floor(u / fibre)), std::int64_t(std::floor(v / fibre)), 8);
    return Scaled(m.base, 1 - m.variation / 2 + m.variation * n);
}

RoomRgb Slabs(const SFloorMaterial& m, double u, double v)
{
    // Running bond: every other row moved on by half a slab.
    const double row = std::floor(v / m.size);
    const double along = u + (std::fmod(std::fabs(row), 2.0) == 1.0 ? m.length / 2 : 0.0);
    const double slab = std::floor(along / m.length);
    const double fv = v / m.size - row, fu = along / m.length - slab;
    if (std::min(fv, 1 - fv) * m.size < m.jointWidth / 2 || std::min(fu, 1 - fu) * m.length < m.jointWidth / 2)
        return m.joint;
    const auto i = std::int64_t(slab), j = std::int64_t(row);
    const double tone = 1 - m.variation / 2 + m.variation * RoomHash(i, j, 14);
    const double speck = 0.05 * (RoomHash(std::int64_t(u * 120), std::int64_t(v * 120), 15) - 0.5);
    const double cloud = 0.03 * std::sin(u * 9 + 4 * RoomHash(i, j, 16)) * std::sin(v * 7);
    return Scaled(m.base, tone + speck + cloud);
}

} // namespace

RoomRgb SFloorMaterial::At(double x, double z) const
{
    const double a = angle * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
    const double u = c * x + s * z + 0.37 + 7.31 * seed, v = -s * x + c * z + 0.11 + 3.17 * seed;
    switch (kind) {
    case EKind::Tiles: return Tiles(*this, u, v);
    case EKind::Planks: return Planks(*this, u, v);
    case EKind::Stone:
    case EKind::Flagstones: return Stone(*this, u, v);
    case EKind::Slabs: return Slabs(*this, u, v);
    case EKind::Carpet: return Carpet(*this, u, v);
    }
    return base;
}
