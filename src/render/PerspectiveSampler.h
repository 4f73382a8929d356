#pragma once

#include "render/MipTexture.h"
#include "render/TrackPainter.h"

#include <array>
#include <cstdint>

// The inner loop of WarpPerspective: paints runs of picture pixels from a
// prepared texture through a picture-to-texel homography.
//
// Positions come from the matrix in double precision at pixel centres (so
// corners land exactly). A run of a row whose pixels all take the same
// number of samples at about one level, and along which each sample's texel
// point moves in a line bent by less than 1/128 texel of the level read, is
// stepped in fixed point between its exact ends; a run bent more is tried
// again as two halves. Runs start at fixed places in a row, so bands of
// rows on threads give the same pixels. The Jacobian of the map at the
// centre gives the pixel's footprint on the texture, an ellipse with axes
// smax >= smin texels:
//  - smax <= 1 (magnified): one bilinear sample of level 0;
//  - otherwise N trilinear samples spread along the major axis, each from
//    the level whose texels are max(smin, smax / N) wide: N = smax / smin
//    rounded, at most kMaxAnisotropy; where smin < 1, N = smax rounded up,
//    the samples a texel apart. A floor's far rows are squeezed far more
//    one way than the other: a level chosen from the major axis alone would
//    blur them to grey, one from the minor axis alone would alias.
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
    // A unit direction on the texture.
    struct Axis
    {
        double x = 1, y = 0;
        Axis Toward(const Axis& other) const { return x * other.x + y * other.y < 0 ? Axis{-x, -y} : *this; }
    };

    // A pixel centre's texel point and the Jacobian there; w <= 0 beyond
    // the horizon, the rest then unset.
    struct Point
    {
        double w = 0, u = 0, v = 0, ux = 0, vx = 0, uy = 0, vy = 0;
        double Spread() const { return ux * ux + vx * vx + uy * uy + vy * vy; }
    };

    // What a pixel covers: lod is the level (fractional) of a minified one,
    // n its samples along the major axis; a, b, c are J Jᵀ.
    struct Footprint
    {
        enum Kind { Beyond, Magnified, Minified, Whole } kind = Beyond;
        int n = 1;
        double lod = 0, smax = 0, smax2 = 0, a = 0, b = 0, c = 0;
        // The footprint's major axis (of a Minified one).
        Axis MajorAxis() const;
    };

    Point MapCentre(double X, double Y) const;
    Footprint Measure(const Point& p) const;
    std::uint32_t Pixel(const Point& p) const;
    // Pixels (Xa - 0.5 + k, Y - 0.5), k < length: as one span, as two
    // halves, or one by one.
    void PaintRun(double Xa, double Y, int length, std::uint32_t* out) const;
    // A run of one footprint kind, sample count and about one level, along
    // which every sample's texel point moves nearly in a straight line,
    // stepped in fixed point; false when the run is not one.
    bool PaintSpan(const Point& a, const Point& mid, const Point& b, int length, std::uint32_t* out) const;
    std::uint32_t Filtered(const Point& p) const;
    std::uint32_t Trilinear(double u, double v, double lod) const;

    const CMipTexture& m_texture;
    CTrackPainter m_painter;
    std::array<double, 9> m_m;
    std::uint32_t m_mean;
};
