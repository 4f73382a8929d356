#pragma once

#include <cstdint>

// The colour distance of the magic wand: CIE L*a*b* (D65) plus alpha.
//
// Why L*a*b*: equal distances there are roughly equal visible differences,
// which RGB distances are not (a step in dark blue looks far smaller than
// the same step in green). On top of plain Delta E 1976 the lightness
// difference counts half, as the CMC l:c = 2:1 acceptability measure
// weighs it: shading and soft light on a wall change mostly lightness, so
// they stay in, while a skirting board or a rug differs in hue or
// saturation as well and stays out.
class CWandColours
{
public:
    // A colour as the distance sees it: L* already halved, a*, b*, and
    // alpha at the scale of halved L* (opaque 50, clear 0).
    struct SLab
    {
        float l = 0;
        float a = 0;
        float b = 0;
        float alpha = 0;
    };

    // One colour (ARGB, not premultiplied). All fully transparent colours
    // come out alike: their colour means nothing.
    static SLab Lab(std::uint32_t argb);

    static float Distance2(const SLab& p, const SLab& q)
    {
        const float dl = p.l - q.l, da = p.a - q.a, db = p.b - q.b, dt = p.alpha - q.alpha;
        return dl * dl + da * da + db * db + dt * dt;
    }

    // The largest Distance2 a wand tolerance (1..254) admits: a distance of
    // tolerance / 2, so the default 32 takes in differences up to 16.
    static float Limit2(int tolerance) { return float(tolerance) * float(tolerance) / 4.0f; }
};
