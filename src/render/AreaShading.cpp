#include "AreaShading.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// A picture several times brighter than usual under part of an area is a
// reflection, not light the new surface would show.
constexpr double kMaxFactor = 2.5;
constexpr double kMinFactor = 0.05;

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
    std::vector<int> firstX(std::size_t(covered.width()));
    std::vector<float> shareX(firstX.size());
    for (int x = covered.left(); x <= covered.right(); ++x)
        cellAt(x, int(m_rect.left()), w, firstX[std::size_t(x - covered.left())], shareX[std::size_t(x - covered.left())]);
    std::vector<float> line(std::size_t(w), 1.0f);
    int lineRow = -1;
    {
        const QRect& r = covered;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            if (y != lineRow) {
                int y0 = 0;
                float fy = 0;
                cellAt(y, int(m_rect.top()), h, y0, fy);
                const int y1 = std::min(y0 + 1, h - 1);
                for (int x = 0; x < w; ++x)
                    line[std::size_t(x)] = m_factor[std::size_t(y0) * std::size_t(w) + std::size_t(x)] * (1 - fy) +
                                           m_factor[std::size_t(y1) * std::size_t(w) + std::size_t(x)] * fy;
                lineRow = y;
            }
            uchar* bits = image.scanLine(y);
            const uchar* inside = mask.constScanLine(y - maskOrigin.y()) - maskOrigin.x();
            for (int x = r.left(); x <= r.right(); ++x) {
                if (inside[x] < 128)
                    continue;
                const int x0 = firstX[std::size_t(x - covered.left())];
                const float fx = shareX[std::size_t(x - covered.left())];
                const float f = line[std::size_t(x0)] * (1 - fx) + line[std::size_t(std::min(x0 + 1, w - 1))] * fx;
                const auto scale = [f](int c) { return std::min(255, int(float(c) * f + 0.5f)); };
                if (wide) {
                    QRgb& p = reinterpret_cast<QRgb*>(bits)[x];
                    p = qRgb(scale(qRed(p)), scale(qGreen(p)), scale(qBlue(p)));
                } else {
                    quint16& p = reinterpret_cast<quint16*>(bits)[x];
                    // 5-6-5 widened to 8 bits as the painter does, and cut
                    // back the same way: a factor of 1 leaves it as it was.
                    const int r5 = p >> 11, g6 = (p >> 5) & 0x3F, b5 = p & 0x1F;
                    const int r8 = scale((r5 << 3) | (r5 >> 2)), g8 = scale((g6 << 2) | (g6 >> 4)),
                              b8 = scale((b5 << 3) | (b5 >> 2));
                    p = quint16(((r8 >> 3) << 11) | ((g8 >> 2) << 5) | (b8 >> 3));
                }
            }
        }
    }
}
