#pragma once

#include "analysis/LineSegment.h"

#include <QPointF>
#include <QSize>

#include <vector>

// The bend a lens gives straight lines, as one number: k of the division
// model p_u = c + (p_d - c) / (1 + k r^2), r = |p_d - c| over half the
// picture's diagonal, c the picture's centre. Barrel distortion, the bend
// of a phone's wide lens, has k < 0; a picture without is k = 0.
class CLensDistortion
{
public:
    CLensDistortion() = default;
    CLensDistortion(double k, QSize picture);

    // From lines that should be straight: the pieces a bent edge breaks into
    // (each piece nearly straight, so the line finder cuts it) must lie on
    // one line once the bend is taken out. k = 0 unless the pieces say
    // clearly otherwise.
    static CLensDistortion Estimate(const std::vector<CLineSegment>& segments, QSize picture);

    double K() const { return m_k; }
    bool IsNone() const { return m_k == 0.0; }
    QPointF Undistort(QPointF p) const;
    CLineSegment Undistort(const CLineSegment& s) const { return {Undistort(s.a), Undistort(s.b)}; }
    // The picture point a point of the undistorted picture came from.
    QPointF Distort(QPointF p) const;

private:
    double m_k = 0.0;
    QPointF m_centre;
    double m_radius = 1.0;  // half the diagonal
};
