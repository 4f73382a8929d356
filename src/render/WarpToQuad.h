#pragma once

#include <QImage>
#include <QPoint>

#include <array>
#include <cstdint>

// Forward bilinear warp of a rectangular image onto a four-corner
// quadrilateral.
//
// corners are c0..c3; the skewed-texture builder passes bottom-right,
// top-right, top-left, bottom-left. The result covers the corners' bounding
// box (maxX - minX + 1) x (maxY - minY + 1) in Format_RGB32, starts black and
// comes out turned by 180 degrees: its pixel (0, 0) belongs to picture point
// (maxX, maxY). Every pixel holds the truncating running mean of the source
// texels that landed in it, in sample order; pixels that receive none stay
// black.
//
// Sampling: V = 4 * max(|c2 - c1|, |c3 - c0|) and U = 4 * max(|c1 - c0|,
// |c2 - c3|) as floats; grid rows s = i / V (i < V), grid columns t = j / U
// (j < U), rows outer. Sample (s, t) reads texel (trunc(Ws * s),
// trunc(Hs * t)) and lands in pixel (trunc(X), trunc(Y)) with
//   X = s * ((1 - t)(x2 - x1) + t(x3 - x0)) + (maxX - x2) + t(x2 - x3)
//   Y = (maxY - y2) + t((1 - s)(y2 - y3) + s(y1 - y0)) + s(y2 - y1)
// evaluated left to right in 32-bit floats. This arithmetic and every
// truncation are fixed, so a given source and set of corners always gives
// the same image, pixel for pixel, whatever the thread count or instruction
// set.
//
// Working memory is about twice the output (hit counts live in the pixels'
// spare byte, the work is done on a column-major copy) plus a copy of the
// source.
//
// A source in another format is converted to RGB32 first; a null or empty
// source gives the black box. A null image is returned when the box exceeds
// kWarpMaxPixels or the sample grid exceeds kWarpMaxSamples (corners can come
// from files), or when the output cannot be allocated.
QImage WarpToQuad(const QImage& source, const std::array<QPoint, 4>& corners);

// How the work is done; the result never depends on it.
struct WarpOptions
{
    int threads = 0;              // 0: chosen from the hardware and the job size
    bool portableKernels = false; // true: no processor-specific vector code
};

QImage WarpToQuad(const QImage& source, const std::array<QPoint, 4>& corners,
                  const WarpOptions& options);

inline constexpr std::int64_t kWarpMaxPixels = 200'000'000;
inline constexpr std::int64_t kWarpMaxSamples = std::int64_t(1) << 31;
