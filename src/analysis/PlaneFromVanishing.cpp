#include "PlaneFromVanishing.h"

#include <cmath>

namespace {

using Vec3 = CPlaneFromVanishing::Vec3;

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

std::optional<Vec3> Unit(const Vec3& v)
{
    const double n = std::sqrt(Dot(v, v));
    if (!(n > 1e-12) || !std::isfinite(n))
        return std::nullopt;
    return Vec3{v[0] / n, v[1] / n, v[2] / n};
}

Vec3 Add(const Vec3& a, const Vec3& b, double k) { return {a[0] + k * b[0], a[1] + k * b[1], a[2] + k * b[2]}; }

} // namespace

std::optional<Vec3> CPlaneFromVanishing::Direction(const Vec3& v, double focal, QPointF centre)
{
    return Unit({v[0] - centre.x() * v[2], v[1] - centre.y() * v[2], focal * v[2]});
}

std::optional<CPlaneFromVanishing> CPlaneFromVanishing::FromNormal(const Vec3& v1, const Vec3& normal, double focal,
                                                                   QPointF centre)
{
    if (!(focal > 0) || !std::isfinite(focal))
        return std::nullopt;
    const auto d1 = Direction(v1, focal, centre), n = Direction(normal, focal, centre);
    if (!d1 || !n || std::fabs(Dot(*d1, *n)) > std::cos(20.0 * M_PI / 180.0))
        return std::nullopt;
    const auto e1 = Unit(Add(*d1, *n, -Dot(*d1, *n)));
    if (!e1)
        return std::nullopt;
    return CPlaneFromVanishing(focal, centre, *e1, Cross(*n, *e1));
}

std::optional<CPlaneFromVanishing> CPlaneFromVanishing::FromDirections(const Vec3& d1, const Vec3& d2, double focal,
                                                                       QPointF centre)
{
    if (!(focal > 0) || !std::isfinite(focal))
        return std::nullopt;
    const auto e1 = Unit(d1);
    if (!e1)
        return std::nullopt;
    const auto e2 = Unit(Add(d2, *e1, -Dot(d2, *e1)));
    if (!e2 || std::fabs(Dot(*e1, d2)) > std::cos(20.0 * M_PI / 180.0) * std::sqrt(Dot(d2, d2)))
        return std::nullopt;
    return CPlaneFromVanishing(focal, centre, *e1, *e2);
}

CPlaneFromVanishing::CPlaneFromVanishing(double focal, QPointF centre, const Vec3& e1, const Vec3& e2)
    : m_focal(focal), m_centre(centre), m_e1(e1), m_e2(e2), m_n(Cross(e1, e2))
{
}

std::optional<double> CPlaneFromVanishing::FocalFrom(const Vec3& v1, const Vec3& v2, QPointF centre,
                                                     double longerSide)
{
    // A point further out than this many picture sizes is as good as at
    // infinity: its position, and so f, is at the mercy of a pixel's error.
    constexpr double kFar = 12.0;
    const double far = kFar * longerSide;
    if (std::fabs(v1[2]) * far <= std::hypot(v1[0], v1[1]) || std::fabs(v2[2]) * far <= std::hypot(v2[0], v2[1]))
        return std::nullopt;
    const double x1 = v1[0] / v1[2] - centre.x(), y1 = v1[1] / v1[2] - centre.y();
    const double x2 = v2[0] / v2[2] - centre.x(), y2 = v2[1] / v2[2] - centre.y();
    const double f2 = -(x1 * x2 + y1 * y2);
    if (!(f2 > 0))
        return std::nullopt;
    const double f = std::sqrt(f2);
    if (f < 0.3 * longerSide || f > 4.0 * longerSide)
        return std::nullopt;
    return f;
}

std::optional<CPlaneFromVanishing> CPlaneFromVanishing::FromPair(const Vec3& v1, const Vec3& v2, double focal,
                                                                 QPointF centre)
{
    if (!(focal > 0) || !std::isfinite(focal))
        return std::nullopt;
    auto d1 = Direction(v1, focal, centre), d2 = Direction(v2, focal, centre);
    if (!d1 || !d2)
        return std::nullopt;
    if (Dot(*d1, *d2) < 0)
        *d2 = Add({0, 0, 0}, *d2, -1.0);
    // The bisectors of two unit vectors are orthogonal; turning each back by
    // 45 degrees about the normal gives the orthonormal pair closest to both.
    const auto a = Unit(Add(*d1, *d2, 1.0)), b = Unit(Add(*d1, *d2, -1.0));
    if (!a || !b || std::fabs(Dot(*d1, *d2)) > std::cos(20.0 * M_PI / 180.0))
        return std::nullopt;
    const auto e1 = Unit(Add(*a, *b, 1.0)), e2 = Unit(Add(*a, *b, -1.0));
    if (!e1 || !e2)
        return std::nullopt;
    return CPlaneFromVanishing(focal, centre, *e1, *e2);
}

std::optional<CPlaneFromVanishing> CPlaneFromVanishing::FromLevelHorizon(const Vec3& v1, double focal,
                                                                         QPointF centre)
{
    if (!(focal > 0) || !std::isfinite(focal))
        return std::nullopt;
    const auto d1 = Direction(v1, focal, centre);
    if (!d1 || std::fabs((*d1)[2]) < 1e-3)
        return std::nullopt;
    // The horizon y = vy in pixels is the plane's normal K^T (0, 1, -vy).
    const double vy = v1[1] / v1[2];
    const auto n = Unit({0.0, focal, centre.y() - vy});
    if (!n)
        return std::nullopt;
    const auto e1 = Unit(Add(*d1, *n, -Dot(*d1, *n)));
    if (!e1)
        return std::nullopt;
    return CPlaneFromVanishing(focal, centre, *e1, Cross(*n, *e1));
}

CPlaneFromVanishing::Vec3 CPlaneFromVanishing::Ray(QPointF p) const
{
    return {(p.x() - m_centre.x()) / m_focal, (p.y() - m_centre.y()) / m_focal, 1.0};
}

void CPlaneFromVanishing::Flip(bool s, bool t)
{
    if (s)
        m_e1 = Add({0, 0, 0}, m_e1, -1.0);
    if (t)
        m_e2 = Add({0, 0, 0}, m_e2, -1.0);
    m_n = Cross(m_e1, m_e2);
}

double CPlaneFromVanishing::Facing(QPointF p) const
{
    const Vec3 r = Ray(p);
    return Dot(r, m_n) / std::sqrt(Dot(r, r));
}

void CPlaneFromVanishing::FaceTowards(QPointF p)
{
    // Swapping the axes' order turns the normal round and keeps the pair
    // right-handed.
    if (Facing(p) < 0)
        Flip(false, true);
}

std::optional<QPointF> CPlaneFromVanishing::ToPlane(QPointF p) const
{
    const Vec3 r = Ray(p);
    const double w = Dot(r, m_n);
    if (!(w > 1e-12))
        return std::nullopt;
    // The plane n.X = 1: the point where the ray meets it.
    const Vec3 x{r[0] / w, r[1] / w, r[2] / w};
    return QPointF(Dot(x, m_e1), Dot(x, m_e2));
}

CHomography CPlaneFromVanishing::PlaneToPicture() const
{
    // p ~ K [e1 e2 n] (s, t, 1): the plane point n + s e1 + t e2.
    const double f = m_focal, cx = m_centre.x(), cy = m_centre.y();
    std::array<double, 9> m{};
    const Vec3* columns[3] = {&m_e1, &m_e2, &m_n};
    for (int c = 0; c < 3; ++c) {
        const Vec3& v = *columns[c];
        m[static_cast<std::size_t>(c)] = f * v[0] + cx * v[2];
        m[static_cast<std::size_t>(3 + c)] = f * v[1] + cy * v[2];
        m[static_cast<std::size_t>(6 + c)] = v[2];
    }
    return CHomography(m);
}

std::array<CPlaneFromVanishing::Vec3, 3> CPlaneFromVanishing::Points() const
{
    std::array<Vec3, 3> points;
    const Vec3* axes[3] = {&m_e1, &m_e2, &m_n};
    for (std::size_t i = 0; i < 3; ++i) {
        const Vec3& d = *axes[i];
        points[i] = {m_focal * d[0] + m_centre.x() * d[2], m_focal * d[1] + m_centre.y() * d[2], d[2]};
    }
    return points;
}
