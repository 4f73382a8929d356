#include "AreaShading.h"

#include <QPainter>

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
        }
    }
    shading.m_rect = QRectF(layer.Origin(), QSizeF(double(w) * layer.Step(), double(h) * layer.Step()));
    return shading;
}
void CAreaShading::Apply(QPainter& painter) const
{
    if (IsNull())
        return;
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
