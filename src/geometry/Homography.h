#pragma once

#include <QPointF>
#include <QRectF>

#include <array>
#include <optional>

// A plane projective map, p' ~ M * (x, y, 1), kept in double precision: an
// area laid in perspective maps its flat texture canvas onto the picture by
// one of these, and the perspective tools (fit, grid, real size) all reason
// through it. Row-major, m[0..2] the first row.
class CHomography
{
public:
    // The identity.
    CHomography() = default;
    explicit CHomography(const std::array<double, 9>& m) : m_m(m) {}

    const std::array<double, 9>& Matrix() const { return m_m; }
    double operator[](int i) const { return m_m[static_cast<std::size_t>(i)]; }

    // The map that takes from[i] to to[i] for i = 0..3; nothing when three
    // of either set are collinear (no plane map does it) or a number is not
    // finite.
    static std::optional<CHomography> FromQuads(const std::array<QPointF, 4>& from,
                                                const std::array<QPointF, 4>& to);
    // The map taking the rectangle's corners, in the order top-left,
    // top-right, bottom-left, bottom-right, onto the four given points.
    static std::optional<CHomography> FromRect(const QRectF& rect, const std::array<QPointF, 4>& corners);
    static CHomography Affine(double m11, double m12, double m21, double m22, double dx, double dy);

    std::optional<CHomography> Inverted() const;
    // (*this)(other(p)): other first.
    CHomography operator*(const CHomography& other) const;

    // The image of p; nothing where the point goes to infinity (w = 0) or
    // a number overflows. Points beyond a plane's horizon map too (w < 0):
    // callers that care ask Weight.
    std::optional<QPointF> Map(QPointF p) const;
    // The homogeneous weight w of p's image; its sign tells which side of
    // the horizon p lies on.
    double Weight(QPointF p) const { return m_m[6] * p.x() + m_m[7] * p.y() + m_m[8]; }

    // Divides by the last entry (when it is not zero), so equal maps compare
    // equal entry by entry.
    CHomography Normalized() const;

private:
    std::array<double, 9> m_m{1, 0, 0, 0, 1, 0, 0, 0, 1};
};
