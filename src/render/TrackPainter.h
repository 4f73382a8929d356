#pragma once

#include "render/MipTexture.h"

#include <cstdint>

// Paints a short run of picture pixels, each the mean of n trilinear samples,
// where the texel point of each sample moves along a straight track as the
// run goes on: the map is so nearly affine along the run that those points
// are stepped in 16.16 fixed point instead of being divided out pixel by
// pixel. Each sample is blended exactly as a lone trilinear sample is, and
// the mean rounded as the sampler rounds it, so a run differs from its
// pixels done one by one only by the fixed-point steps.
class CTrackPainter
{
public:
    static constexpr int kMaxLength = 32;
    static constexpr int kMaxTracks = 8;

    // One sample's level-0 texel point at the run's first and last pixel.
    struct Track
    {
        double u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    };

    explicit CTrackPainter(const CMipTexture& texture);

    // length in [2, kMaxLength] pixels, n in [1, kMaxTracks] tracks, the
    // level of detail going straight from lodA at the first pixel to lodB at
    // the last, int(lodA) = int(lodB) a level below the last. False when a
    // track steps too far to wrap at most once a pixel; out is then left
    // unfinished.
    bool Paint(const Track* tracks, int n, double lodA, double lodB, int length, std::uint32_t* out) const;

private:
    const CMipTexture& m_texture;
};
