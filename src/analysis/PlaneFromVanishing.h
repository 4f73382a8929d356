#pragma once

#include "geometry/Homography.h"

#include <QPointF>

#include <array>
#include <optional>

// A plane seen by a pinhole camera (focal f, principal point at the
// picture's centre, square pixels), known from two orthogonal directions of
// it: its vanishing points. Plane coordinates (s, t) run along those
// directions, in units of the camera's distance to the plane.
class CPlaneFromVanishing
{
public:
    using Vec3 = std::array<double, 3>;

    // The focal length two orthogonal vanishing points (homogeneous, picture
    // pixels) imply: f^2 = -(v1 - c).(v2 - c). Nothing when a point is at or
    // near infinity (the product then says nothing about f) or the result is
    // no plausible camera (outside 0.3..4 times longerSide).
    static std::optional<double> FocalFrom(const Vec3& v1, const Vec3& v2, QPointF centre, double longerSide);

    // The plane through both vanishing points' directions (made exactly
    // orthogonal, the error shared between them); nothing when they coincide.
    static std::optional<CPlaneFromVanishing> FromPair(const Vec3& v1, const Vec3& v2, double focal,
                                                       QPointF centre);
    // The plane through v1's direction whose horizon is level in the
    // picture: for a surface with one family of lines, a camera held
    // without roll. Nothing when v1 is at infinity or on the centre row.
    static std::optional<CPlaneFromVanishing> FromLevelHorizon(const Vec3& v1, double focal, QPointF centre);

    // The plane through the direction of v1 that stands square to the
    // direction of normal (a floor from one line along it and the room's
    // uprights); nothing when the two are nearly the same direction.
    static std::optional<CPlaneFromVanishing> FromNormal(const Vec3& v1, const Vec3& normal, double focal,
                                                         QPointF centre);
    // The plane spanned by two directions in camera coordinates, made
    // exactly orthonormal keeping the first; nothing when they are nearly
    // parallel.
    static std::optional<CPlaneFromVanishing> FromDirections(const Vec3& d1, const Vec3& d2, double focal,
                                                             QPointF centre);
    // The unit direction in camera coordinates a vanishing point (homogeneous,
    // picture pixels) stands for.
    static std::optional<Vec3> Direction(const Vec3& v, double focal, QPointF centre);

    // Reverses the sense of an axis; the normal follows so that (s, t, n)
    // stays right-handed.
    void Flip(bool s, bool t);
    // Puts the picture's side of the plane in front: the normal so that
    // p's ray meets the plane at a positive distance.
    void FaceTowards(QPointF p);
    // The cosine between p's viewing ray and the normal: positive where
    // p sees the plane in front of the camera, near zero at its horizon.
    double Facing(QPointF p) const;

    // Plane coordinates of the picture point p; nothing beyond the horizon.
    std::optional<QPointF> ToPlane(QPointF p) const;
    // The map from plane coordinates to picture pixels.
    CHomography PlaneToPicture() const;
    double Focal() const { return m_focal; }
    // The vanishing points (homogeneous, picture pixels) of the plane's two
    // axes and of its normal.
    std::array<Vec3, 3> Points() const;

private:
    CPlaneFromVanishing(double focal, QPointF centre, const Vec3& e1, const Vec3& e2);
    Vec3 Ray(QPointF p) const;

    double m_focal;
    QPointF m_centre;
    Vec3 m_e1, m_e2, m_n;  // camera coordinates, orthonormal
};
