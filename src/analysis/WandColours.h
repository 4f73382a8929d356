#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

// A picture's pixels as the magic wand compares them: CIE L*a*b* (D65) plus
// alpha, packed one 32-bit word per pixel, worked out once per picture.
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
    CWandColours() = default;
    // Converts every pixel; a null picture gives an empty set.
    explicit CWandColours(const QImage& picture);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_pixels.empty(); }

    const std::uint32_t* Row(int y) const { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    std::uint32_t At(int x, int y) const { return Row(y)[x]; }

    // The packed word of one colour (ARGB, not premultiplied).
    static std::uint32_t Pack(std::uint32_t argb);

    // The squared distance between two packed words, in sixteenths of a
    // Delta E squared: (dL/2)^2 + da^2 + db^2, alpha counting like L*.
    static std::uint32_t Distance2(std::uint32_t p, std::uint32_t q)
    {
        const int dl = int(p & 0xff) - int(q & 0xff);
        const int da = int((p >> 8) & 0xff) - int((q >> 8) & 0xff);
        const int db = int((p >> 16) & 0xff) - int((q >> 16) & 0xff);
        const int dt = int(p >> 24) - int(q >> 24);
        return std::uint32_t(dl * dl + 16 * (da * da + db * db) + dt * dt);
    }

    // The largest Distance2 a wand tolerance (1..254) admits: Delta E of
    // tolerance / 2, so the default 32 takes in differences up to 16.
    static std::uint32_t Limit2(int tolerance)
    {
        const std::uint32_t t = std::uint32_t(tolerance);
        return 4 * t * t;
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};
