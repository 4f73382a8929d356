#pragma once

// The warp written the slow, obvious way: one loop over the sample grid, the
// position formulas exactly as the algorithm states them, a separate hit
// count per pixel and a real division for every running mean. The production
// warp must agree with it pixel for pixel. Also compiled into the benchmark
// as the baseline.

#include <QImage>
#include <QPoint>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

inline QImage ReferenceWarpToQuad(const QImage& sourceIn, const std::array<QPoint, 4>& c)
{
    const long long x0 = c[0].x(), x1 = c[1].x(), x2 = c[2].x(), x3 = c[3].x();
    const long long y0 = c[0].y(), y1 = c[1].y(), y2 = c[2].y(), y3 = c[3].y();
    const long long minX = std::min({x0, x1, x2, x3}), maxX = std::max({x0, x1, x2, x3});
    const long long minY = std::min({y0, y1, y2, y3}), maxY = std::max({y0, y1, y2, y3});
    const long long W = maxX - minX + 1, H = maxY - minY + 1;
    if (W * H > 200'000'000LL || W > 200'000'000LL || H > 200'000'000LL)
        return QImage();

    const auto length = [](long long dx, long long dy) {
        const float fx = float(dx), fy = float(dy);
        return std::sqrt(fx * fx + fy * fy);
    };
    const float V = 4.0f * std::max(length(x2 - x1, y2 - y1), length(x3 - x0, y3 - y0));
    const float U = 4.0f * std::max(length(x1 - x0, y1 - y0), length(x2 - x3, y2 - y3));

    // The same refusal as production: count the iterations first.
    long long nU = 0, nV = 0;
    while (float(nU) < U)
        ++nU;
    if (nU > 0)
        while (float(nV) < V && nU * nV <= (1LL << 31))
            ++nV;
    if (nU * nV > (1LL << 31))
        return QImage();

    QImage out(int(W), int(H), QImage::Format_RGB32);
    out.fill(0xFF000000u);
    std::vector<long long> hits(std::size_t(W * H), 0);
    const QImage source = sourceIn.convertToFormat(QImage::Format_RGB32);
    if (source.isNull() || source.width() == 0 || source.height() == 0 || nU == 0)
        return out;
    const int Ws = source.width(), Hs = source.height();
    const auto* src = reinterpret_cast<const std::uint32_t*>(source.constBits());
    const long long srcStride = source.bytesPerLine() / 4;
    auto* dst = reinterpret_cast<std::uint32_t*>(out.bits());
    const long long dstStride = out.bytesPerLine() / 4;

    for (int i = 0; float(i) < V; ++i) {
        const float s = float(i) / V;
        for (int j = 0; float(j) < U; ++j) {
            const float t = float(j) / U;
            const float X = s * ((1 - t) * float(x2 - x1) + t * float(x3 - x0)) + float(maxX - x2)
                + t * float(x2 - x3);
            const float Y = float(maxY - y2) + t * ((1 - s) * float(y2 - y3) + s * float(y1 - y0))
                + s * float(y2 - y1);
            const long long dx = (long long)X, dy = (long long)Y;
            if (dx < 0 || dx >= W || dy < 0 || dy >= H)
                continue;
            const int sx = std::min(int(float(Ws) * s), Ws - 1);
            const int sy = std::min(int(float(Hs) * t), Hs - 1);
            const std::uint32_t texel = src[sy * srcStride + sx];
            std::uint32_t& pixel = dst[dy * dstStride + dx];
            long long& n = hits[std::size_t(dy * W + dx)];
            std::uint32_t mixed = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const long long o = (pixel >> shift) & 0xFF, v = (texel >> shift) & 0xFF;
                mixed |= std::uint32_t((o * n + v) / (n + 1)) << shift;
            }
            pixel = mixed;
            ++n;
        }
    }
    return out;
}
