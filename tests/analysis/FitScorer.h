#pragma once

#include "analysis/PerspectiveFit.h"
#include "geometry/Homography.h"
#include "geometry/Polygon.h"

#include <optional>
#include <vector>

// How well a perspective fit matches the true plane: the fitted canvas laid
// onto the plane through the true map, where a right fit is a rectangle of
// the canvas's proportions.
class CFitScorer
{
public:
    struct SScore
    {
        double angle = 0;   // worst corner's deviation from 90 degrees
        double aspect = 0;  // relative error of width over height
    };

    // truth: plane coordinates to the picture the fit's corners are in,
    // its weight the depth before the camera. outline: the area there,
    // whose middle the canvas is shrunk about when a corner lies beyond the
    // true horizon (it then has no place on the plane). Nothing when the
    // maps are singular or no shrinking brings the canvas onto the plane.
    static std::optional<SScore> Score(const CHomography& truth, const CPerspectiveFit& fit, const CPolygon& outline);

    // The fit a perfect finder would give: the canvas's corners where the
    // truth takes the plane rectangle's corners (s0, t0)-(s1, t1).
    static CPerspectiveFit TrueFit(const CHomography& truth, double s0, double t0, double s1, double t1);

    static double Median(std::vector<double> values);
};
