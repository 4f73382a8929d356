#pragma once

#include <QPoint>

#include <vector>

// One mark of a round of the surface finder: a click (one point) or a
// painted stroke (its points in order), saying that what it touches is, or
// is not, part of the surface.
struct SSurfaceMark
{
    bool part = true;
    std::vector<QPoint> points;
};
