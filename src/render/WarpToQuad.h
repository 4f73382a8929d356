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
// The sample grid, the 32-bit float position arithmetic and every truncation
// are fixed, so a given source and set of corners always gives the same
// image, pixel for pixel, whatever the thread count or instruction set.
//
// A source in another format is converted to RGB32 first; a null or empty
// source gives the black box. A null image is returned when the box exceeds
// kWarpMaxPixels or the sample grid exceeds kWarpMaxSamples (corners can come
// from files), or when the output cannot be allocated.
QImage WarpToQuad(const QImage& source, const std::array<QPoint, 4>& corners);

// Same as WarpToQuad with an explicit number of worker threads (1 = run on
// the calling thread only; 0 = choose from the hardware and the job size).
// The result never depends on the thread count.
QImage WarpToQuad(const QImage& source, const std::array<QPoint, 4>& corners, int threads);

inline constexpr std::int64_t kWarpMaxPixels = 200'000'000;
inline constexpr std::int64_t kWarpMaxSamples = std::int64_t(1) << 31;
