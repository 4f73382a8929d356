#include "Homography.h"

#include <cmath>

namespace {

using Mat = std::array<double, 9>;

double Det(const Mat& m)
{
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
           m[2] * (m[3] * m[7] - m[4] * m[6]);
}

Mat Adjugate(const Mat& m)
{
    return {m[4] * m[8] - m[5] * m[7], m[2] * m[7] - m[1] * m[8], m[1] * m[5] - m[2] * m[4],
            m[5] * m[6] - m[3] * m[8], m[0] * m[8] - m[2] * m[6], m[2] * m[3] - m[0] * m[5],
            m[3] * m[7] - m[4] * m[6], m[1] * m[6] - m[0] * m[7], m[0] * m[4] - m[1] * m[3]};
}

Mat Multiply(const Mat& a, const Mat& b)
{
    Mat r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i * 3 + j] = a[i * 3] * b[j] + a[i * 3 + 1] * b[3 + j] + a[i * 3 + 2] * b[6 + j];
    return r;
}

bool AllFinite(const Mat& m)
{
    for (double v : m)
        if (!std::isfinite(v))
            return false;
    return true;
}

// The map from the unit square's corners (0,0), (1,0), (0,1), (1,1) onto
// p[0..3] (the classic square-to-quad construction); nothing when the
// points are degenerate.
std::optional<Mat> SquareToQuad(const std::array<QPointF, 4>& p)
{
    // Ordered as a ring: (0,0) -> p0, (1,0) -> p1, (1,1) -> p3, (0,1) -> p2.
    const double x0 = p[0].x(), y0 = p[0].y(), x1 = p[1].x(), y1 = p[1].y();
    const double x2 = p[3].x(), y2 = p[3].y(), x3 = p[2].x(), y3 = p[2].y();
    const double sx = x0 - x1 + x2 - x3, sy = y0 - y1 + y2 - y3;
    const double dx1 = x1 - x2, dx2 = x3 - x2, dy1 = y1 - y2, dy2 = y3 - y2;
    const double den = dx1 * dy2 - dx2 * dy1;
    const double scale = std::max({std::fabs(dx1), std::fabs(dx2), std::fabs(dy1), std::fabs(dy2), 1.0});
    if (!(std::fabs(den) > 1e-12 * scale * scale))
        return std::nullopt;
    const double g = (sx * dy2 - dx2 * sy) / den;
    const double h = (dx1 * sy - sx * dy1) / den;
    const Mat m{x1 - x0 + g * x1, x3 - x0 + h * x3, x0, y1 - y0 + g * y1, y3 - y0 + h * y3, y0, g, h, 1.0};
    if (!AllFinite(m) || std::fabs(Det(m)) < 1e-300)
        return std::nullopt;
    // Three collinear corners make the map fold: the quad must be convex
    // for every corner to keep w > 0.
    for (int i = 0; i < 4; ++i) {
        const double u = (i & 1) ? 1.0 : 0.0, v = (i & 2) ? 1.0 : 0.0;
        if (!(g * u + h * v + 1.0 > 0.0))
            return std::nullopt;
    }
    return m;
}

} // namespace

std::optional<CHomography> CHomography::FromQuads(const std::array<QPointF, 4>& from,
                                                  const std::array<QPointF, 4>& to)
{
    const auto a = SquareToQuad(from);
    const auto b = SquareToQuad(to);
    if (!a || !b)
        return std::nullopt;
    const auto inverse = CHomography(*a).Inverted();
    if (!inverse)
        return std::nullopt;
    return (CHomography(*b) * *inverse).Normalized();
}

std::optional<CHomography> CHomography::FromRect(const QRectF& rect, const std::array<QPointF, 4>& corners)
{
    if (!(rect.width() > 0) || !(rect.height() > 0))
        return std::nullopt;
    const auto b = SquareToQuad(corners);
    if (!b)
        return std::nullopt;
    const CHomography toUnit = Affine(1.0 / rect.width(), 0, 0, 1.0 / rect.height(), -rect.x() / rect.width(),
                                      -rect.y() / rect.height());
    return (CHomography(*b) * toUnit).Normalized();
}

CHomography CHomography::Affine(double m11, double m12, double m21, double m22, double dx, double dy)
{
    // Qt's convention: x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
    return CHomography({m11, m21, dx, m12, m22, dy, 0, 0, 1});
}

std::optional<CHomography> CHomography::Inverted() const
{
    const double det = Det(m_m);
    if (!std::isfinite(det) || det == 0.0)
        return std::nullopt;
    Mat adj = Adjugate(m_m);
    for (double& v : adj)
        v /= det;
    if (!AllFinite(adj))
        return std::nullopt;
    return CHomography(adj);
}

CHomography CHomography::operator*(const CHomography& other) const
{
    return CHomography(Multiply(m_m, other.m_m));
}

std::optional<QPointF> CHomography::Map(QPointF p) const
{
    const double w = Weight(p);
    if (!(w > 0.0) && !(w < 0.0))
        return std::nullopt;
    const double x = (m_m[0] * p.x() + m_m[1] * p.y() + m_m[2]) / w;
    const double y = (m_m[3] * p.x() + m_m[4] * p.y() + m_m[5]) / w;
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

CHomography CHomography::Normalized() const
{
    if (m_m[8] == 0.0 || !std::isfinite(m_m[8]))
        return *this;
    Mat m = m_m;
    const double s = 1.0 / m_m[8];
    for (double& v : m)
        v *= s;
    return CHomography(m);
}
