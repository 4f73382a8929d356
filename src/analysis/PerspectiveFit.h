#pragma once

#include "geometry/Polygon.h"

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>

#include <array>
#include <functional>
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
    // Per vanishing point, in the same order: how many lines meet there and
    // whether they are mostly the area's own (joints, its border) or the
    // room's (walls' uprights, door frames, furniture square to the room).
    struct SPointSupport
    {
        int lines = 0;
        bool fromArea = false;
    };
    std::vector<SPointSupport> pointSupport;
    double focal = 0.0;          // picture pixels
    bool focalAssumed = false;   // true: not measured, a typical camera taken
    int supportingLines = 0;     // lines that agreed with the result
    // The lens's barrel (negative) or pincushion (positive) bend of straight
    // lines: k of the division model p_u = c + (p_d - c) / (1 + k r^2),
    // r = |p_d - c| over half the picture's diagonal, c its centre. The
    // corners, the vanishing points and the focal length are those of the
    // picture with that bend taken out.
    double distortion = 0.0;
    bool wall = false;  // the area was taken as upright (a wall), not level
};

// What kind of surface an area is: found from its lines, or said.
enum class EFitSurface { Auto, Floor, Wall };

struct CPerspectiveFitOptions
{
    // Picture pixels; nothing: measured from the room's square directions
    // when the photo shows them, else a typical camera.
    std::optional<double> focal;
    // Asked between the fit's stages on the thread it runs on: true stops
    // the fit, which then returns nothing and gives kCancelled as reason.
    std::function<bool()> cancelled;
    // Told how far the fit has come, 0 to 100, on the thread it runs on.
    std::function<void(int percent)> progress;
    EFitSurface surface = EFitSurface::Auto;
};

// The reason a cancelled fit gives.
QString PerspectiveFitCancelledReason();

// Finds the plane of the surface outlined by outline (picture pixels) in
// picture. Nothing when too few straight edges agree; reason then says so
// for the user.
std::optional<CPerspectiveFit> FitPerspective(const QImage& picture, const CPolygon& outline,
                                              const CPerspectiveFitOptions& options, QString* reason = nullptr);
