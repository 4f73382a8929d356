#pragma once

#include "render/MipTexture.h"

#include <array>
#include <cstdint>

// The inner loop of WarpPerspective: paints runs of picture pixels from a
// prepared texture through a picture-to-texel homography.
//
// Each pixel is worked out on its own from its centre, in double precision
// from the matrix (so corners land exactly and a row split between threads
// gives the same pixels). The Jacobian of the map at the centre gives the
// pixel's footprint on the texture, an ellipse with axes smax >= smin texels:
//  - smax <= 1 (magnified): one bilinear sample of level 0;
//  - otherwise N = min(ceil(smax / smin), kMaxAnisotropy) trilinear samples
//    spread along the major axis, each from the level whose texels are
//    max(smin, smax / N) wide. A floor's far rows are squeezed far more one
//    way than the other: a level chosen from the major axis alone would blur
//    them to grey, one from the minor axis alone would alias.
//  - beyond the horizon (w <= 0), or where that level would be coarser than
//    the texture itself: the texture's mean colour.
class CPerspectiveSampler
{
public:
    static constexpr int kMaxAnisotropy = 8;

    CPerspectiveSampler(const CMipTexture& texture, const std::array<double, 9>& pictureToTexel);

    // Picture pixels (x0 + i, y) for i < count into out[i].
    void PaintRow(int x0, int y, int count, std::uint32_t* out) const;

private:
    std::uint32_t Filtered(double u, double v, double ux, double vx, double uy, double vy) const;
    std::uint64_t Trilinear(double u, double v, double lod) const;

    const CMipTexture& m_texture;
    std::array<double, 9> m_m;
    std::uint32_t m_mean;
};
