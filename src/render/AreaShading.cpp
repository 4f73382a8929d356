#include "AreaShading.h"

#include "LightFilters.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// A picture several times brighter than usual under part of an area is a
// reflection, not light the new surface would show.
constexpr double kMaxFactor = 2.5;
constexpr double kMinFactor = 0.05;

// A channel times a factor in 4096ths, rounded, at most white.
inline std::uint32_t Scaled(std::uint32_t c, std::uint32_t f)
{
    return std::min(255u, (c * f + 2048u) >> 12);
}

// The factor along a row of pixels in 4096ths, fy of the way down from
// the row of cells above (upper) to the one below: whole numbers for
// ShadeRow.
inline __attribute__((always_inline)) void RowFactorsBody(const float* upper, const float* lower, float fy,
                                                           std::uint32_t* fixed, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        fixed[i] = std::uint32_t(int((upper[i] * (1 - fy) + lower[i] * fy) * 4096.0f + 0.5f));
}

// One row of pixels shaded where inside is set. Whole numbers and no
// branches, so that the loops run several pixels a step, the more with
// wider registers where the processor has them.
inline __attribute__((always_inline)) void ShadeRowBody(QRgb* p, const uchar* inside, const std::uint32_t* fixed,
                                                         std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t was = p[i], f = fixed[i];
        const std::uint32_t shaded = 0xFF000000u | Scaled((was >> 16) & 0xFFu, f) << 16 |
                                     Scaled((was >> 8) & 0xFFu, f) << 8 | Scaled(was & 0xFFu, f);
        p[i] = inside[i] >= 128 ? shaded : was;
    }
}

inline __attribute__((always_inline)) void ShadeRowBody(quint16* p, const uchar* inside, const std::uint32_t* fixed,
                                                         std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        // 5-6-5 widened to 8 bits as the painter does, and cut back the
        // same way: a factor of 1 leaves it as it was.
        const std::uint32_t was = p[i], f = fixed[i];
        const std::uint32_t r5 = was >> 11, g6 = (was >> 5) & 0x3Fu, b5 = was & 0x1Fu;
        const std::uint32_t r8 = Scaled((r5 << 3) | (r5 >> 2), f), g8 = Scaled((g6 << 2) | (g6 >> 4), f),
                            b8 = Scaled((b5 << 3) | (b5 >> 2), f);
        const std::uint32_t shaded = ((r8 >> 3) << 11) | ((g8 >> 2) << 5) | (b8 >> 3);
        p[i] = quint16(inside[i] >= 128 ? shaded : was);
    }
}

// Each loop is built twice, for AVX2 and for the baseline, and picked once
// by what the processor has. Picked here rather than by the loader's
// indirect functions, which run before the thread checker has started and
// crash the thread-sanitizer build.
#if defined(__GNUC__) && defined(__x86_64__)
#define TILEMONT_AVX2_SHADING 1

bool HasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

__attribute__((target("avx2"))) void RowFactorsAvx2(const float* upper, const float* lower, float fy,
                                                    std::uint32_t* fixed, std::size_t n)
{
    RowFactorsBody(upper, lower, fy, fixed, n);
}

template <class Pixel>
__attribute__((target("avx2"))) void ShadeRowAvx2(Pixel* p, const uchar* inside, const std::uint32_t* fixed,
                                                  std::size_t n)
{
    ShadeRowBody(p, inside, fixed, n);
}
#endif

void RowFactors(const float* upper, const float* lower, float fy, std::uint32_t* fixed, std::size_t n)
{
#ifdef TILEMONT_AVX2_SHADING
    if (HasAvx2())
        return RowFactorsAvx2(upper, lower, fy, fixed, n);
#endif
    RowFactorsBody(upper, lower, fy, fixed, n);
}

template <class Pixel>
void ShadeRow(Pixel* p, const uchar* inside, const std::uint32_t* fixed, std::size_t n)
{
#ifdef TILEMONT_AVX2_SHADING
    if (HasAvx2())
        return ShadeRowAvx2(p, inside, fixed, n);
#endif
    ShadeRowBody(p, inside, fixed, n);
}

} // namespace

CAreaShading CAreaShading::Measure(const QImage& picture, const CPolygon& outline, double strength)
{
    return FromLayer(CLightLayer::Measure(picture, outline), strength);
}

CAreaShading CAreaShading::FromLayer(const CLightLayer& layer, double strength)
{
    if (layer.IsNull() || strength <= 0.0)
        return {};
    const int w = layer.Width(), h = layer.Height();
    CAreaShading shading;
    shading.m_darken = QImage(w, h, QImage::Format_RGB32);
    shading.m_lighten = QImage(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* dark = reinterpret_cast<QRgb*>(shading.m_darken.scanLine(y));
        QRgb* lit = reinterpret_cast<QRgb*>(shading.m_lighten.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double f = std::clamp(std::exp(strength * double(layer.At(x, y))), kMinFactor, kMaxFactor);
            const int d = int(std::lround(255.0 * std::min(f, 1.0)));
            const int g = int(std::lround(255.0 * (1.0 - 1.0 / std::max(f, 1.0))));
            dark[x] = qRgb(d, d, d);
            lit[x] = qRgb(g, g, g);
            shading.m_factor.push_back(float(f));
        }
    }
    shading.m_step = layer.Step();
    shading.m_rect = QRectF(layer.Origin(), QSizeF(double(w) * layer.Step(), double(h) * layer.Step()));
    return shading;
}
void CAreaShading::Apply(QPainter& painter) const
{
    if (IsNull())
        return;
    // A composition on an image, pixel for pixel: shaded in place, which
    // costs a tenth of two blended drawings of the maps.
    QPaintDevice* device = painter.device();
    // (Picture pixels are the image's own: a view's offset or zoom goes the
    // painter's way.)
    if (device && device->devType() == QInternal::Image && painter.transform().isIdentity()) {
        auto* image = static_cast<QImage*>(device);
        const QImage::Format format = image->format();
        if (format == QImage::Format_RGB16 || format == QImage::Format_RGB32) {
            // The clip filled as the painter fills it, so that exactly the
            // pixels it lets through are shaded.
            const QRect covered = Covered(image->rect());
            QImage mask(covered.size(), QImage::Format_Alpha8);
            if (covered.isEmpty() || mask.isNull())
                return;
            mask.fill(painter.hasClipping() ? 0 : 255);
            if (painter.hasClipping()) {
                QPainter fill(&mask);
                fill.translate(-QPointF(covered.topLeft()));
                fill.fillPath(painter.clipPath(), Qt::black);
            }
            ApplyTo(*image, mask, covered.topLeft());
            return;
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.drawImage(m_rect, m_darken);
    painter.setCompositionMode(QPainter::CompositionMode_ColorDodge);
    painter.drawImage(m_rect, m_lighten);
    painter.restore();
}

double CAreaShading::FactorAt(QPointF picturePoint) const
{
    if (IsNull() || !m_rect.contains(picturePoint))
        return 1.0;
    const int x = std::clamp(int((picturePoint.x() - m_rect.left()) * m_darken.width() / m_rect.width()), 0,
                             m_darken.width() - 1);
    const int y = std::clamp(int((picturePoint.y() - m_rect.top()) * m_darken.height() / m_rect.height()), 0,
                             m_darken.height() - 1);
    const double dark = qRed(m_darken.pixel(x, y)) / 255.0;
    const double lit = qRed(m_lighten.pixel(x, y));
    return dark * (lit >= 255.0 ? kMaxFactor : 255.0 / (255.0 - lit));
}

QRect CAreaShading::Covered(const QRect& image) const
{
    return QRect(m_rect.topLeft().toPoint(), QSize(m_darken.width() * m_step, m_darken.height() * m_step))
        .intersected(image);
}

void CAreaShading::ApplyTo(QImage& image, const QImage& mask, QPoint maskOrigin) const
{
    if (IsNull())
        return;
    const int w = m_darken.width(), h = m_darken.height();
    const QRect covered = Covered(image.rect()).intersected(QRect(maskOrigin, mask.size()));
    const bool wide = image.format() == QImage::Format_RGB32;
    // Cell centres lie at (i + 0.5) * step; between them the factor runs
    // linearly, as the smoothly drawn maps do.
    const auto cellAt = [this](int pixel, int origin, int cells, int& first, float& share) {
        const float at = (float(pixel - origin) + 0.5f) / float(m_step) - 0.5f;
        first = std::clamp(int(std::floor(at)), 0, cells - 1);
        share = std::clamp(at - float(first), 0.0f, 1.0f);
        if (first == cells - 1)
            share = 0.0f;
    };
    const std::size_t cw = std::size_t(std::max(0, covered.width()));
    std::vector<int> firstX(cw), nextX(cw);
    std::vector<float> shareX(cw);
    for (std::size_t i = 0; i < cw; ++i) {
        cellAt(covered.left() + int(i), int(m_rect.left()), w, firstX[i], shareX[i]);
        nextX[i] = std::min(firstX[i] + 1, w - 1);
    }
    // The factor along x for the two rows of cells a picture row lies
    // between, kept while the next rows lie between the same two.
    // Rows apart shade apart, side by side.
    CLightFilters::Sliced(covered.height(), [&](int firstRow, int lastRow) {
        std::vector<float> upper(cw), lower(cw);
        std::vector<std::uint32_t> fixed(cw);
        int upperCell = -1, lowerCell = -1;
        const auto alongX = [&](int cell, std::vector<float>& to) {
            const float* row = m_factor.data() + std::size_t(cell) * std::size_t(w);
            for (std::size_t i = 0; i < cw; ++i)
                to[i] = row[firstX[i]] * (1 - shareX[i]) + row[nextX[i]] * shareX[i];
        };
        for (int y = covered.top() + firstRow; y < covered.top() + lastRow; ++y) {
            int y0 = 0;
            float fy = 0;
            cellAt(y, int(m_rect.top()), h, y0, fy);
            const int y1 = std::min(y0 + 1, h - 1);
            if (y0 != upperCell) {
                if (y0 == lowerCell) {
                    std::swap(upper, lower);
                    std::swap(upperCell, lowerCell);
                } else {
                    alongX(y0, upper);
                    upperCell = y0;
                }
            }
            if (y1 != lowerCell) {
                alongX(y1, lower);
                lowerCell = y1;
            }
            const uchar* inside = mask.constScanLine(y - maskOrigin.y()) + (covered.left() - maskOrigin.x());
            RowFactors(upper.data(), lower.data(), fy, fixed.data(), cw);
            if (wide)
                ShadeRow(reinterpret_cast<QRgb*>(image.scanLine(y)) + covered.left(), inside, fixed.data(), cw);
            else
                ShadeRow(reinterpret_cast<quint16*>(image.scanLine(y)) + covered.left(), inside, fixed.data(), cw);
        }
    });
}
