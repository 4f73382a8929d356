#pragma once

#include "geometry/Polygon.h"

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The plane an area lies on, found from the photo's straight lines.
struct CPerspectiveFit
{
    // Picture pixels, in the order top-left, top-right, bottom-left,
    // bottom-right: the images of the canvas's corners. They may lie far
    // outside the picture.
    std::array<QPointF, 4> corners;
    // The canvas: a rectangle of the plane in true proportion, its x axis
    // along the surface's dominant direction.
    QSize canvas;
    // Homogeneous (x, y, w), picture pixels: w = 1 for a point, w = 0 for a
    // direction (lines parallel in the picture).
    std::vector<std::array<double, 3>> vanishingPoints;
    double focal = 0.0;          // picture pixels
    bool focalAssumed = false;   // true: not measured, a typical camera taken
    int supportingLines = 0;     // lines that agreed with the result
};

struct CPerspectiveFitOptions
{
    // Picture pixels; nothing: measured from two orthogonal vanishing
    // points when the photo has them, else a typical camera.
    std::optional<double> focal;
};

// Finds the plane of the surface outlined by outline (picture pixels) in
// picture. Nothing when too few straight edges agree; reason then says so
// for the user.
std::optional<CPerspectiveFit> FitPerspective(const QImage& picture, const CPolygon& outline,
                                              const CPerspectiveFitOptions& options, QString* reason = nullptr);
