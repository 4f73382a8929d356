#include "analysis/WandColours.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

// f(t) of the L*a*b* definition, tabulated over [0, 1] and interpolated: the
// cube root is the dearest part of the conversion, and the table's error
// (under 1e-4 in f, a hundredth of a unit of distance) is far below what
// anyone can see.
constexpr int kCubeSteps = 4096;

struct CTables
{
    std::array<float, 256> linear{};
    std::array<float, kCubeSteps + 2> cube{};

    CTables()
    {
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            linear[i] = float(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        for (int i = 0; i <= kCubeSteps + 1; ++i) {
            const double t = double(i) / kCubeSteps;
            cube[i] = float(t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0);
        }
    }

    float F(float t) const
    {
        const float s = std::clamp(t, 0.0f, 1.0f) * float(kCubeSteps);
        const int i = int(s);
        const float r = s - float(i);
        return cube[i] + r * (cube[i + 1] - cube[i]);
    }
};

const CTables& Tables()
{
    static const CTables tables;
    return tables;
}

} // namespace

CWandColours::SLab CWandColours::Lab(std::uint32_t argb)
{
    const CTables& t = Tables();
    const std::uint32_t alpha = argb >> 24;
    if (alpha == 0)
        return SLab();
    const float r = t.linear[(argb >> 16) & 0xff];
    const float g = t.linear[(argb >> 8) & 0xff];
    const float b = t.linear[argb & 0xff];
    // sRGB to XYZ, each row divided by the D65 white point's component.
    const float x = (0.4124564f * r + 0.3575761f * g + 0.1804375f * b) / 0.95047f;
    const float y = 0.2126729f * r + 0.7151522f * g + 0.0721750f * b;
    const float z = (0.0193339f * r + 0.1191920f * g + 0.9503041f * b) / 1.08883f;
    const float fx = t.F(x), fy = t.F(y), fz = t.F(z);
    return SLab{(116.0f * fy - 16.0f) / 2.0f, 500.0f * (fx - fy), 200.0f * (fy - fz), float(alpha) * (50.0f / 255.0f)};
}
