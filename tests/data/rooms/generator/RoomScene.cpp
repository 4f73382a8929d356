#include "RoomScene.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

constexpr double kDegree = M_PI / 180.0;

double SmoothStep(double e0, double e1, double x)
{
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A point or direction in a turned box's own frame: turned back about the
// upright through (cx, cz).
CRoomScene::Vec3 Unturned(const CRoomScene::Vec3& p, double c, double s, double cx, double cz)
{
    const double dx = p[0] - cx, dz = p[2] - cz;
    return {cx + c * dx + s * dz, p[1], cz - s * dx + c * dz};
}

// Distance in the floor plane from (x, z) to a box's footprint; c and s the
// cosine and sine of its turn.
double FootprintDistance(const CRoomScene::SBox& b, double c, double s, double x, double z)
{
    if (b.turn != 0.0) {
        const auto local = Unturned({x, 0, z}, c, s, (b.lo[0] + b.hi[0]) / 2, (b.lo[2] + b.hi[2]) / 2);
        x = local[0];
        z = local[2];
    }
    const double dx = std::max({b.lo[0] - x, 0.0, x - b.hi[0]});
    const double dz = std::max({b.lo[2] - z, 0.0, z - b.hi[2]});
    // Not hypot: its care for overflow costs a fifth of a render here.
    return std::sqrt(dx * dx + dz * dz);
}

RoomRgb Scaled(const RoomRgb& c, double k)
{
    return {c[0] * k, c[1] * k, c[2] * k};
}

} // namespace

double CRoomScene::PatchLight(double x, double z) const
{
    // Coordinates in the parallelogram's own frame, soft at its edges as
    // sunlight through a window is.
    const double det = patchAx * patchBz - patchAz * patchBx;
    const double rx = x - patchX, rz = z - patchZ;
    const double s = (rx * patchBz - rz * patchBx) / det, t = (patchAx * rz - patchAz * rx) / det;
    const double soft = patchSoft;
    double light = SmoothStep(-soft, soft, s) * SmoothStep(-soft, soft, 1 - s) * SmoothStep(-soft, soft, t) *
                   SmoothStep(-soft, soft, 1 - t);
    if (patchBars > 0 && light > 0) {
        // The window's bars: thin shadows across the patch, as soft as its
        // edges (s and t are shares of the patch's sides).
        const double ls = std::hypot(patchAx, patchAz), lt = std::hypot(patchBx, patchBz);
        constexpr double bar = 0.04;
        for (int i = 1; i <= patchBars; ++i) {
            const double at = double(i) / (patchBars + 1);
            const double ds = std::fabs(s - at) * ls, dt = std::fabs(t - at) * lt;
            light *= SmoothStep(bar / 2 - soft / 2, bar / 2 + soft / 2, ds) * SmoothStep(bar / 2 - soft / 2, bar / 2 + soft / 2, dt);
        }
    }
    return light;
}

double CRoomScene::Occlusion(double x, double y, double z) const
{
    // Soft shadows: light lost near walls and under and around furniture.
    double open = 1.0;
    double walls = std::min({x - left, right - x, back - z});
    if (frontWall)
        walls = std::min(walls, z - front);
    open *= 1 - 0.3 * std::exp(-std::max(walls, 0.0) / 0.3);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const SBox& b = boxes[i];
        if (y > b.hi[1] - 1e-6 || b.wall >= 0 || !b.shades)
            continue;
        const double d = FootprintDistance(b, m_frames[i].c, m_frames[i].s, x, z);
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

bool CRoomScene::RugAt(double x, double z, RoomRgb& albedo) const
{
    for (std::size_t i = 0; i < rugs.size(); ++i) {
        const SRug& rug = rugs[i];
        const double c = m_rugTurns[i][0], s = m_rugTurns[i][1];
        const double u = c * (x - rug.x) + s * (z - rug.z), v = -s * (x - rug.x) + c * (z - rug.z);
        const double du = rug.width / 2 - std::fabs(u), dv = rug.depth / 2 - std::fabs(v);
        if (du < 0 || dv < 0)
            continue;
        RoomRgb colour = rug.field;
        const double edge = std::min(du, dv);
        switch (rug.pattern) {
        case 1:  // a band round a plain field
            if (edge < 0.12 || (edge > 0.17 && edge < 0.2))
                colour = rug.border;
            break;
        case 2:  // stripes across
            if (std::fmod(std::fabs(u) + 0.05, 0.3) < 0.1)
                colour = rug.border;
            break;
        case 3:  // checks
            if ((int(std::floor(u / 0.25)) + int(std::floor(v / 0.25))) % 2)
                colour = rug.border;
            break;
        default:
            break;
        }
        // Pile: a fine, faint grain.
        const double pile = 1 + 0.06 * (RoomHash(std::int64_t(std::floor(x / 0.005)), std::int64_t(std::floor(z / 0.005)), 40) - 0.5);
        albedo = Scaled(colour, pile);
        return true;
    }
    return false;
}

RoomRgb CRoomScene::FloorColour(double x, double z) const
{
    RoomRgb albedo{plainFloor, plainFloor, plainFloor};
    if (plainFloor <= 0.0) {
        albedo = floor.At(x, z);
        if (!rugs.empty())
            RugAt(x, z, albedo);
    }
    const double open = Occlusion(x, 0, z);
    double ambient = 0.8 * open * (1.0 - 0.04 * (x - left));
    for (const SSpot& spot : spots) {
        // Furniture shades a spot's light much as the room's.
        const double d = std::hypot(x - spot.x, z - spot.z);
        ambient += spot.strength * (1 - SmoothStep(spot.radius, spot.radius + spot.soft, d)) * open;
    }
    const double sun = patchStrength * PatchLight(x, z);
    // Sunlight is warmer than the room's light.
    return {albedo[0] * (ambient + sun * 1.05), albedo[1] * (ambient + sun * 0.97), albedo[2] * (ambient + sun * 0.85)};
}

RoomRgb CRoomScene::WallColour(int wallIndex, double along, double y) const
{
    const RoomRgb* base = y < skirtingHeight ? &skirting : &wall;
    RoomRgb finish;
    for (const SOpening& o : openings) {
        if (o.wall != wallIndex || along < o.from || along > o.to || y < o.bottom || y > o.top)
            continue;
        if (!o.door) {
            // The sky through the glass, brighter than anything the room's
            // own light makes.
            const double up = std::clamp((y - o.bottom) / std::max(o.top - o.bottom, 0.1), 0.0, 1.0);
            return {o.panel[0] * (0.9 + 0.1 * up), o.panel[1] * (0.9 + 0.1 * up), o.panel[2]};
        }
        // A door leaf with two sunk panels.
        const double u = along - o.from, v = y - o.bottom, w = o.to - o.from, h = o.top - o.bottom;
        const double split = 0.55 * h;
        const auto groove = [](double d) { return d > 0 && d < 0.015; };
        const bool inPanel = u > 0.12 && u < w - 0.12 && ((v > 0.15 && v < split - 0.08) || (v > split + 0.08 && v < h - 0.15));
        const bool edge = inPanel && (groove(u - 0.12) || groove(w - 0.12 - u) || groove(v - 0.15) ||
                                      groove(split - 0.08 - v) || groove(v - split - 0.08) || groove(h - 0.15 - v));
        finish = Scaled(o.panel, edge ? 0.8 : 1.0);
        base = &finish;
        break;
    }
    if (base == &wall)
        for (const SWallFinish& f : finishes)
            if (f.wall == wallIndex && y < f.top && y >= skirtingHeight) {
                finish = f.material.At(along, y);
                base = &finish;
                break;
            }
    const double shade = 0.78 * (1 - 0.25 * std::exp(-y / 0.25)) * (0.92 + 0.08 * std::sin(along * 0.7)) -
                         0.03 * std::min(y, 2.5);
    return {(*base)[0] * shade, (*base)[1] * shade, (*base)[2] * shade};
}

RoomRgb CRoomScene::CeilingColour(double x, double z) const
{
    // Lit from below by the room: darker towards the walls.
    const double walls = std::min({x - left, right - x, back - z, z - front});
    const double shade = 0.8 * (1 - 0.2 * std::exp(-std::max(walls, 0.0) / 0.4));
    return Scaled(ceilingColour, shade);
}

CRoomScene::Vec3 CRoomScene::WallPoint(int wallIndex, double along, double up, double out) const
{
    switch (wallIndex) {
    case kLeft: return {left + out, up, along};
    case kRight: return {right - out, up, along};
    case kFront: return {along, up, front + out};
    default: return {along, up, back - out};
    }
}

void CRoomScene::AddOpening(const SOpening& o)
{
    openings.push_back(o);
    const double fw = o.frameWidth, depth = 0.025;
    const auto add = [&](double a0, double y0, double a1, double y1, double out, RoomRgb colour) {
        const Vec3 p = WallPoint(o.wall, a0, y0, 0), q = WallPoint(o.wall, a1, y1, out);
        SBox b{{std::min(p[0], q[0]), y0, std::min(p[2], q[2])}, {std::max(p[0], q[0]), y1, std::max(p[2], q[2])},
               colour, 0.0};
        b.wall = o.wall;
        boxes.push_back(b);
    };
    add(o.from - fw, o.door ? 0.0 : o.bottom - fw, o.from, o.top + fw, depth, o.frame);
    add(o.to, o.door ? 0.0 : o.bottom - fw, o.to + fw, o.top + fw, depth, o.frame);
    add(o.from - fw, o.top, o.to + fw, o.top + fw, depth, o.frame);
    if (o.door) {
        // The handle, on the side away from the hinges.
        add(o.to - 0.1, 0.98, o.to - 0.06, 1.02, 0.06, {0.75, 0.72, 0.6});
        return;
    }
    add(o.from - fw - 0.04, o.bottom - fw - 0.04, o.to + fw + 0.04, o.bottom - fw, 0.08, o.frame);
    add(o.from, o.bottom - 0.01, o.to, o.bottom, 0.02, o.frame);
    constexpr double bar = 0.03;
    for (int i = 1; i <= o.bars; ++i) {
        const double a = o.from + (o.to - o.from) * i / (o.bars + 1);
        const double y = o.bottom + (o.top - o.bottom) * i / (o.bars + 1);
        add(a - bar / 2, o.bottom, a + bar / 2, o.top, 0.02, o.frame);
        add(o.from, y - bar / 2, o.to, y + bar / 2, 0.02, o.frame);
    }
}

void CRoomScene::TraceBoxes(const Vec3& origin, const Vec3& dir, SHit& hit) const
{
    const double dd = dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2];
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const SBox& b = boxes[i];
        const SBoxFrame& frame = m_frames[i];
        // Rays passing clear of the box's sphere, or meeting it only beyond
        // what they hit already, cannot hit the box.
        const Vec3 r{frame.centre[0] - origin[0], frame.centre[1] - origin[1], frame.centre[2] - origin[2]};
        const double along = r[0] * dir[0] + r[1] * dir[1] + r[2] * dir[2];
        const double r2 = r[0] * r[0] + r[1] * r[1] + r[2] * r[2];
        const double miss2 = r2 - along * along / dd;
        if (miss2 > frame.radius2 || (along < 0 && r2 > frame.radius2))
            continue;
        if (along - std::sqrt(frame.radius2 * dd) > hit.t * dd)
            continue;
        Vec3 turnedO, turnedD;
        const Vec3* po = &origin;
        const Vec3* pd = &dir;
        if (b.turn != 0.0) {
            turnedO = Unturned(origin, frame.c, frame.s, (b.lo[0] + b.hi[0]) / 2, (b.lo[2] + b.hi[2]) / 2);
            turnedD = Unturned(dir, frame.c, frame.s, 0, 0);
            po = &turnedO;
            pd = &turnedD;
        }
        const Vec3& o = *po;
        const Vec3& d = *pd;
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
        hit.rug = false;
        hit.wall = b.wall;
        const Vec3 p{o[0] + t0 * d[0], o[1] + t0 * d[1], o[2] + t0 * d[2]};
        const double face = axis == 1 ? 1.0 : axis == 0 ? 0.72 : 0.6;
        const double weave = b.texture * (RoomHash(std::int64_t(p[0] * 300 + p[2] * 300), std::int64_t(p[1] * 300), 21) - 0.5);
        const double shade = face * (0.85 - 0.25 * std::exp(-p[1] / 0.12)) + weave;
        hit.colour = {b.colour[0] * shade, b.colour[1] * shade, b.colour[2] * shade};
    }
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
            RoomRgb ignored;
            hit.rug = !rugs.empty() && RugAt(x, z, ignored);
        }
    }
    // Walls: the plane first reached among left, right and back (and front).
    const auto wallHit = [&](int index, double t, double along) {
        if (!(t > 0 && t < hit.t))
            return;
        const double y = o[1] + t * d[1];
        if (y < 0 || (ceiling && y > ceilingHeight))
            return;
        hit.t = t;
        hit.floor = false;
        hit.rug = false;
        hit.wall = index;
        hit.colour = WallColour(index, along, y);
    };
    if (d[0] < 0)
        wallHit(kLeft, (left - o[0]) / d[0], o[2] + (left - o[0]) / d[0] * d[2]);
    if (d[0] > 0)
        wallHit(kRight, (right - o[0]) / d[0], o[2] + (right - o[0]) / d[0] * d[2]);
    if (d[2] > 0)
        wallHit(kBack, (back - o[2]) / d[2], o[0] + (back - o[2]) / d[2] * d[0]);
    if (frontWall && d[2] < 0)
        wallHit(kFront, (front - o[2]) / d[2], o[0] + (front - o[2]) / d[2] * d[0]);
    if (ceiling && d[1] > 0) {
        const double t = (ceilingHeight - o[1]) / d[1];
        if (t < hit.t) {
            hit.t = t;
            hit.floor = false;
            hit.rug = false;
            hit.wall = -1;
            hit.colour = CeilingColour(o[0] + t * d[0], o[2] + t * d[2]);
        }
    }
    // Furniture boxes and what is fixed to the walls.
    TraceBoxes(o, d, hit);
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
        hit.rug = false;
        hit.wall = -1;
        const Vec3 p{o[0] + t * d[0], o[1] + t * d[1], o[2] + t * d[2]};
        const double up = (p[1] - s.centre[1]) / s.radius;
        const double leaf = 0.35 * RoomHash(std::int64_t(p[0] * 40), std::int64_t(p[1] * 40 + p[2] * 40), 22);
        const double shade = 0.55 + 0.3 * up + leaf;
        hit.colour = {s.colour[0] * shade, s.colour[1] * shade, s.colour[2] * shade};
    }
    return hit;
}

void CRoomScene::Prepare()
{
    m_frames.clear();
    for (const SBox& b : boxes) {
        SBoxFrame f;
        f.c = std::cos(b.turn * kDegree);
        f.s = std::sin(b.turn * kDegree);
        double r2 = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            f.centre[k] = (b.lo[k] + b.hi[k]) / 2;
            r2 += (b.hi[k] - b.lo[k]) * (b.hi[k] - b.lo[k]) / 4;
        }
        // A margin for rounding: a box is never turned away wrongly.
        f.radius2 = r2 * 1.001 + 1e-9;
        m_frames.push_back(f);
    }
    m_rugTurns.clear();
    for (const SRug& rug : rugs)
        m_rugTurns.push_back({std::cos(rug.turn * kDegree), std::sin(rug.turn * kDegree)});
}

CRoomScene::SPhoto CRoomScene::Render(int maskWall, int threads) const
{
    CRoomScene prepared = *this;
    prepared.Prepare();
    return prepared.RenderPrepared(maskWall, threads);
}

CRoomScene::SPhoto CRoomScene::RenderPrepared(int maskWall, int threads) const
{
    const CRoomCamera& cam = camera;
    const double focal = cam.Focal();
    const CRoomCamera::SAxes axes = cam.Axes();
    const int n = std::max(1, cam.samples), count = n * n;
    SPhoto out;
    out.photo = QImage(cam.width, cam.height, QImage::Format_RGB32);
    out.floorMask = QImage(cam.width, cam.height, QImage::Format_Grayscale8);
    out.wallMask = QImage(cam.width, cam.height, QImage::Format_Grayscale8);
    if (!rugs.empty())
        out.rugMask = QImage(cam.width, cam.height, QImage::Format_Grayscale8);
    uchar* rugBits = out.rugMask.isNull() ? nullptr : out.rugMask.bits();
    // The rows' memory is taken once: the threads only write their own rows.
    uchar* photoBits = out.photo.bits();
    uchar* floorBits = out.floorMask.bits();
    uchar* wallBits = out.wallMask.bits();
    const qsizetype photoStride = out.photo.bytesPerLine(), maskStride = out.floorMask.bytesPerLine();
    const auto rows = [&](int first, int step) {
        for (int py = first; py < cam.height; py += step) {
            auto* line = reinterpret_cast<std::uint32_t*>(photoBits + py * photoStride);
            std::uint8_t* floorLine = floorBits + py * maskStride;
            std::uint8_t* wallLine = wallBits + py * maskStride;
            for (int px = 0; px < cam.width; ++px) {
                RoomRgb sum{0, 0, 0};
                int floorSamples = 0, wallSamples = 0, rugSamples = 0;
                for (int s = 0; s < count; ++s) {
                    const Vec3 dir = cam.Ray(axes, focal, px + (s % n + 0.5) / n, py + (s / n + 0.5) / n);
                    const SHit hit = Trace(cam.position, dir);
                    for (int k = 0; k < 3; ++k)
                        sum[k] += hit.colour[k];
                    floorSamples += hit.floor;
                    rugSamples += hit.rug;
                    wallSamples += maskWall >= 0 && hit.wall == maskWall;
                }
                std::uint32_t rgb = 0xFF000000u;
                for (int k = 0; k < 3; ++k) {
                    // Sensor noise, independent per channel.
                    const double v = 255.0 * sum[k] / count + noise * (RoomHash(px, py, 30 + k) - 0.5);
                    rgb |= static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0)) << (16 - 8 * k);
                }
                line[px] = rgb;
                floorLine[px] = 2 * floorSamples >= count ? 255 : 0;
                wallLine[px] = 2 * wallSamples >= count ? 255 : 0;
                if (rugBits)
                    rugBits[py * maskStride + px] = 2 * rugSamples >= count ? 255 : 0;
            }
        }
    };
    threads = std::clamp(threads, 1, 64);
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(rows, t, threads);
    rows(0, threads);
    for (std::thread& worker : workers)
        worker.join();
    return out;
}

void CRoomScene::Render(QImage& photo, QImage& floorMask) const
{
    SPhoto out = Render();
    photo = out.photo;
    floorMask = out.floorMask;
}

std::array<double, 9> CRoomScene::FloorToPicture() const
{
    return camera.PlaneToPicture({0, 0, 0}, {1, 0, 0}, {0, 0, 1});
}

std::array<double, 9> CRoomScene::WallToPicture(int wallIndex) const
{
    const Vec3 origin = WallPoint(wallIndex, 0, 0, 0);
    const Vec3 along = wallIndex == kLeft || wallIndex == kRight ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
    return camera.PlaneToPicture(origin, along, {0, 1, 0});
}
