#include "AreaShading.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The maps are measured at this size along the area's longer side: shading
// is smooth by nature, and a fixed size keeps the cost independent of the
// picture's.
constexpr int kMapSize = 256;
// Detail finer than this share of the area's longer side is the old
// surface's pattern, not light.
constexpr double kSmoothShare = 1.0 / 48.0;
// A picture several times brighter than usual under part of an area is a
// reflection, not light the new surface would show.
constexpr double kMaxFactor = 2.5;
constexpr double kMinFactor = 0.05;

// One pass of a running box blur along rows (or columns, through the
// strides), edge values repeated.
void BoxBlur(std::vector<float>& v, int w, int h, int radius, bool rows)
{
    const int n = rows ? w : h, lines = rows ? h : w;
    const int step = rows ? 1 : w, lineStep = rows ? w : 1;
    std::vector<float> line(static_cast<std::size_t>(n));
    for (int l = 0; l < lines; ++l) {
        float* p = v.data() + std::size_t(l) * std::size_t(lineStep);
        for (int i = 0; i < n; ++i)
            line[std::size_t(i)] = p[std::size_t(i) * std::size_t(step)];
        const auto at = [&](int i) { return line[std::size_t(std::clamp(i, 0, n - 1))]; };
        float sum = 0.0f;
        for (int i = -radius; i <= radius; ++i)
            sum += at(i);
        const float scale = 1.0f / float(2 * radius + 1);
        for (int i = 0; i < n; ++i) {
            p[std::size_t(i) * std::size_t(step)] = sum * scale;
            sum += at(i + radius + 1) - at(i - radius);
        }
    }
}

// Three box passes each way come close to a Gaussian.
void Smooth(std::vector<float>& v, int w, int h, int radius)
{
    for (int pass = 0; pass < 3; ++pass) {
        BoxBlur(v, w, h, radius, true);
        BoxBlur(v, w, h, radius, false);
    }
}

} // namespace

CAreaShading CAreaShading::Measure(const QImage& picture, const CPolygon& outline)
{
    QPainterPath path;
    PolygonToPath(outline, path);
    path.setFillRule(Qt::OddEvenFill);
    const QRect bounds = path.boundingRect().toAlignedRect().intersected(picture.rect());
    if (picture.isNull() || bounds.isEmpty())
        return {};

    // The picture under the area, reduced by area averaging: the averaging
    // itself already takes out much of the fine pattern.
    const double reduce = std::min(1.0, double(kMapSize) / std::max(bounds.width(), bounds.height()));
    const QSize size(std::max(1, int(std::lround(bounds.width() * reduce))),
                     std::max(1, int(std::lround(bounds.height() * reduce))));
    const QImage small = picture.copy(bounds)
                             .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB32);
    QImage mask(size, QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.scale(double(size.width()) / bounds.width(), double(size.height()) / bounds.height());
        painter.translate(-bounds.topLeft());
        painter.fillPath(path, Qt::white);
    }

    // Light inside the area only: the wall beside a floor must not lighten
    // its edge, so light and mask are smoothed together and divided.
    const int w = size.width(), h = size.height();
    std::vector<float> light(std::size_t(w) * std::size_t(h)), weight(light.size());
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(small.constScanLine(y));
        const uchar* m = mask.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            const float inside = m[x] / 255.0f;
            const float luma = 0.299f * qRed(row[x]) + 0.587f * qGreen(row[x]) + 0.114f * qBlue(row[x]);
            light[std::size_t(y) * std::size_t(w) + std::size_t(x)] = luma * inside;
            weight[std::size_t(y) * std::size_t(w) + std::size_t(x)] = inside;
        }
    }
    const int radius = std::max(1, int(std::lround(std::max(w, h) * kSmoothShare)));
    Smooth(light, w, h, radius);
    Smooth(weight, w, h, radius);

    std::vector<float> inside;
    for (std::size_t i = 0; i < light.size(); ++i)
        light[i] = weight[i] > 1e-3f ? light[i] / weight[i] : -1.0f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (mask.constScanLine(y)[x] >= 128 && light[std::size_t(y) * std::size_t(w) + std::size_t(x)] >= 0.0f)
                inside.push_back(light[std::size_t(y) * std::size_t(w) + std::size_t(x)]);
    if (inside.empty())
        return {};
    // The typical light: the median, so a shadow or a sunlit patch does not
    // move what counts as usual.
    std::nth_element(inside.begin(), inside.begin() + std::ptrdiff_t(inside.size() / 2), inside.end());
    const float typical = inside[inside.size() / 2];
    if (typical <= 0.5f)
        return {};

    CAreaShading shading;
    shading.m_darken = QImage(size, QImage::Format_RGB32);
    shading.m_lighten = QImage(size, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* dark = reinterpret_cast<QRgb*>(shading.m_darken.scanLine(y));
        QRgb* lit = reinterpret_cast<QRgb*>(shading.m_lighten.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float l = light[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            const double f = l < 0.0f ? 1.0 : std::clamp(double(l) / typical, kMinFactor, kMaxFactor);
            const int d = int(std::lround(255.0 * std::min(f, 1.0)));
            const int g = int(std::lround(255.0 * (1.0 - 1.0 / std::max(f, 1.0))));
            dark[x] = qRgb(d, d, d);
            lit[x] = qRgb(g, g, g);
        }
    }
    shading.m_rect = QRectF(bounds);
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
