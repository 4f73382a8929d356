#include "analysis/WandColours.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <system_error>
#include <thread>

namespace
{

// f(t) of the L*a*b* definition, tabulated over [0, 1] and interpolated: the
// cube root is the dearest part of the conversion, and the table's error
// (under 1e-4) is far below the quarter unit the result is rounded to.
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

int Byte(float v)
{
    return std::clamp(int(std::lround(v)), 0, 255);
}

// Rows are shared out in bands so both halves of a picture finish together.
constexpr int kBandRows = 64;
constexpr int kMaxThreads = 8;

} // namespace

std::uint32_t CWandColours::Pack(std::uint32_t argb)
{
    const CTables& t = Tables();
    const std::uint32_t alpha = argb >> 24;
    // Colour under full transparency means nothing: all such pixels alike.
    if (alpha == 0)
        return 0;
    const float r = t.linear[(argb >> 16) & 0xff];
    const float g = t.linear[(argb >> 8) & 0xff];
    const float b = t.linear[argb & 0xff];
    // sRGB to XYZ, each row divided by the D65 white point's component.
    const float x = (0.4124564f * r + 0.3575761f * g + 0.1804375f * b) / 0.95047f;
    const float y = 0.2126729f * r + 0.7151522f * g + 0.0721750f * b;
    const float z = (0.0193339f * r + 0.1191920f * g + 0.9503041f * b) / 1.08883f;
    const float fx = t.F(x), fy = t.F(y), fz = t.F(z);
    // L* in half units (0..200), a* and b* in whole units offset by 128,
    // alpha at the scale of L* (255 -> 100 L* units, counted as 200 halves).
    const int l = Byte(2.0f * (116.0f * fy - 16.0f));
    const int a = Byte(500.0f * (fx - fy) + 128.0f);
    const int bb = Byte(200.0f * (fy - fz) + 128.0f);
    const int al = Byte(float(alpha) * (200.0f / 255.0f));
    return std::uint32_t(l) | std::uint32_t(a) << 8 | std::uint32_t(bb) << 16 | std::uint32_t(al) << 24;
}

CWandColours::CWandColours(const QImage& picture)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return;
    const QImage argb = picture.format() == QImage::Format_ARGB32 || picture.format() == QImage::Format_RGB32
                            ? picture
                            : picture.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull())
        return;
    m_width = argb.width();
    m_height = argb.height();
    m_pixels.resize(std::size_t(m_width) * std::size_t(m_height));
    const bool opaque = argb.format() == QImage::Format_RGB32;
    const uchar* const bits = argb.constBits();
    const qsizetype stride = argb.bytesPerLine();

    std::atomic<int> next{0};
    const auto convert = [&] {
        for (int first = next.fetch_add(kBandRows); first < m_height; first = next.fetch_add(kBandRows)) {
            const int last = std::min(m_height, first + kBandRows);
            for (int y = first; y < last; ++y) {
                const auto* in = reinterpret_cast<const std::uint32_t*>(bits + y * stride);
                std::uint32_t* out = m_pixels.data() + std::size_t(y) * std::size_t(m_width);
                // Photographs repeat colours along a row often enough that
                // remembering the last one saves a good share of the work.
                std::uint32_t lastIn = ~in[0], lastOut = 0;
                for (int x = 0; x < m_width; ++x) {
                    const std::uint32_t c = opaque ? (in[x] | 0xff000000u) : in[x];
                    if (c != lastIn) {
                        lastIn = c;
                        lastOut = Pack(c);
                    }
                    out[x] = lastOut;
                }
            }
        }
    };
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, kMaxThreads);
    std::vector<std::thread> workers;
    for (int i = 1; i < threads && i * kBandRows < m_height; ++i) {
        try {
            workers.emplace_back(convert);
        } catch (const std::system_error&) {
            break;
        }
    }
    convert();
    for (std::thread& worker : workers)
        worker.join();
}
