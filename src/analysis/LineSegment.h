#pragma once

#include <QPointF>

#include <cmath>

// A straight edge found in the picture, in picture pixels.
struct CLineSegment
{
    QPointF a;
    QPointF b;

    double Length() const { return std::hypot(b.x() - a.x(), b.y() - a.y()); }
    QPointF Middle() const { return (a + b) / 2.0; }
};
